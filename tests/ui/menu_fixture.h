#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "database/game_database.h"
#include "database/item_pool.h"
#include "database/system_config.h"
#include "game/event_runner.h"
#include "tests/database/database_test_support.h"
#include "tests/ui/screen_fixture.h"
#include "ui/screen_manager.h"

namespace uitest {

// A note of the resource's event-note table: its text, visibility and done flags.
struct NoteSpec {
  std::string text;
  int16_t shownFlag = 0;
  int16_t doneFlag = 0;
};

// The main window's world: every picture of its pages at its size, help
// messages "m<n>" for 52 to 126, a party of hero 1 with a potion (type 8,
// id 1) and a vest (type 2, id 20), a settings record and an event runner.
class MenuTest : public ScreenTest {
 protected:
  MenuTest() {
    dbtest::ClearDatabase();
    WriteGrid("ifi0100b", 640, 123, 1, 1);
    for (const char* name : {"ifi0100", "ifi0200", "ifi0600"}) WriteGrid(name, 640, 357, 1, 1);
    for (const char* name : {"ifib0600", "ifib0700", "ifib0800", "ifib0900", "if6b0200", "if6b0300", "if6b0400"})
      WriteGrid(name, 96, 21, 1, 3);
    WriteGrid("if6b0100", 16, 15, 1, 3);
    WriteGrid("ifib05001", 49, 49, 1, 3);
    WriteGrid("ifib0400", 20, 32, 1, 3);
    WriteGrid("icon", 46, 46, 1, 1);
    WriteGrid("ifi5100", 188, 77, 1, 1);
    WriteGrid("ifbtn00", 38, 19, 1, 3);
    WriteGrid("ifbtn01", 38, 19, 1, 3);
    for (const char* name : {"ifsv00", "ifsv01", "ifsh00", "ifsh01"}) WriteGrid(name, 22, 22, 1, 3);
    WriteGrid("ifsv02", 18, 14, 1, 1);
    WriteGrid("ifsh02", 16, 18, 1, 1);

    g_gameDataBase.items = {Item(8, 1, "Potion"), Item(2, 20, "Vest")};
    CGDMainManSoul leader;
    leader.id = 1;
    g_gameDataBase.heroes.push_back(leader);
    g_gameDataBase.party.members = {1};
    pool.AddItem(8, 1, 3, -1);
    pool.AddItem(2, 20, 1, -1);
    WriteResource({});
    SetScreenContext(nullptr, &resource, &pool, &runner, &config);
  }
  ~MenuTest() override {
    DestroyScreenManager();
    g_systemConfig = nullptr;
    dbtest::ClearDatabase();
  }

  static ITEMDESC Item(int type, int id, const char* name) {
    ITEMDESC item = dbtest::Item(type, id);
    item.name = name;
    item.description = std::string(name) + " text";
    item.iconName = "icon";
    item.values[kItemUseKind] = 1;
    return item;
  }

  // Rewrites the game resource with the help messages and the notes.
  void WriteResource(const std::vector<NoteSpec>& notes) {
    datagen::GameResourceData data;
    data.messages.assign(126, "");
    for (int n = 52; n <= 126; ++n) data.messages[static_cast<size_t>(n - 1)] = "m" + std::to_string(n);
    datagen::ResourceSectionData table{35, static_cast<int16_t>(notes.size()), {}, {}};
    datagen::ResourceSectionData texts{36, 0, {}, {}};
    for (const NoteSpec& note : notes) {
      texts.data.insert(texts.data.end(), note.text.begin(), note.text.end());
      for (int v :
           {static_cast<int>(texts.data.size()), static_cast<int>(note.shownFlag), static_cast<int>(note.doneFlag)}) {
        table.data.push_back(static_cast<uint8_t>(v & 0xFF));
        table.data.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
      }
    }
    data.raw = {table, texts};
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    resource.Open(nullptr);
  }

  // Clicks and lets the manager deliver what the click posted.
  void ClickAndUpdate(int x, int y) {
    Click(x, y);
    UpdateScreens(1);
  }

  CGDItemPool pool{&g_gameDataBase};
  CEventRunner runner{&resource};
  CSystemConfig config{nullptr};
};

}  // namespace uitest
