#pragma once
#include <string>

#include "database/game_resource.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/game_resource_writer.h"
#include "ui/screen_manager.h"

namespace uitest {

// The widget framework under a screen manager whose game resource holds
// messages 1 "first", 2 "second", 51 " gold" and 124 "Money".
class ScreenTest : public UiTest {
 protected:
  ScreenTest() {
    datagen::GameResourceData data;
    data.messages.assign(124, "");
    data.messages[0] = "first";
    data.messages[1] = "second";
    data.messages[50] = " gold";
    data.messages[123] = "Money";
    std::string error;
    EXPECT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    resource.Open(nullptr);
    CreateScreenManager(nullptr, &resource, nullptr, nullptr, nullptr);
  }
  ~ScreenTest() override { DestroyScreenManager(); }

  CScreenManager& Manager() { return *g_screenManager; }
  // Updates until a result other than "still open" comes, at most limit times.
  int UpdateUntilClosed(int limit = 100) {
    for (int i = 0; i < limit; ++i) {
      PumpMessages();
      if (int result = UpdateScreens(1)) return result;
    }
    return 0;
  }

  CGameResource resource;
};

}  // namespace uitest
