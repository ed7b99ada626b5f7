// The sample world's interface files read back by the screens.
#include <string>

#include "engine/media/data_directories.h"
#include "engine/media/packages.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"
#include "ui/am_text.h"
#include "ui/item_boxes.h"
#include "ui/screen_manager.h"
#include "world/game_resource.h"

namespace uitest {
namespace {

class SampleUiTest : public UiTest {
 protected:
  SampleUiTest() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleUi("./", error)) << error;
    EXPECT_TRUE(datagen::WriteSampleMapTables("./", error)) << error;
    SetSoundDirectory(".\\waves");
  }
};

TEST_F(SampleUiTest, EveryPictureLoadsWithItsCellGrid) {
  struct Case {
    const char* name;
    int cellWidth, cellHeight, columns, rows;
    int paddedWidth;
  } cases[] = {
      {"ifsv00", 18, 22, 1, 3, 20},  {"ifsv01", 18, 22, 1, 3, 20},  {"ifsv02", 18, 14, 1, 1, 20},
      {"ifsh00", 22, 18, 1, 3, 24},  {"ifsh01", 22, 18, 1, 3, 24},  {"ifsh02", 16, 18, 1, 1, 16},
      {"ifsh200", 20, 22, 1, 3, 20}, {"ifsh201", 20, 22, 1, 3, 20}, {"ifsh202", 14, 18, 1, 1, 16},
      {"twCursor00", 24, 24, 5, 1, 120}, {"ifi6100", 240, 144, 1, 1, 240}, {"p087", 48, 48, 1, 1, 48},
  };
  OpenImagePackage(".\\image\\ui.qxo");
  const uint16_t key = static_cast<uint16_t>(MapRGB(255, 0, 255));
  for (const Case& c : cases) {
    HOBJECT sprite = LoadGridPicture(c.name, c.cellWidth, c.cellHeight, c.columns, c.rows);
    if (!sprite) continue;
    if (c.paddedWidth > c.cellWidth * c.columns) {
      EXPECT_EQ(SpritePixel(sprite, c.paddedWidth - 1, 0), key) << "the padding is transparent";
    }
    DeleteSprite(sprite);
  }
  EXPECT_EQ(SpritePixel(0, 0, 0), 0xDEAD);
  OpenImagePackage(nullptr);
}

TEST_F(SampleUiTest, TheScreenManagerTakesTheSampleFiles) {
  CGameResource resource;
  resource.Open(nullptr);
  CreateScreenManager(nullptr, &resource, nullptr, nullptr, nullptr);
  for (int key : {0, 1, 2, 3, 5}) EXPECT_NE(g_amWndManager->Sound(key), 0u) << key;
  CAmObject* cursor = GetWndCursor();
  ASSERT_NE(cursor, nullptr);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(cursor->sprite, &frames, &columns, &rows);
  EXPECT_EQ(columns, 5);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(g_amFontNames[0], datagen::sample::kFontFace);

  ITEMINFODESC money;
  money.money = 50;
  ShowItemInfo(&money);
  ASSERT_NE(g_screenManager->itemInfoBox, nullptr);
  EXPECT_EQ(g_screenManager->itemInfoBox->lines[0]->text, "Money 50 gold");
  EXPECT_NE(LookupSprite(g_screenManager->itemInfoBox->sprite)->image, nullptr) << "the box has its picture";
  DestroyScreenManager();
}

}  // namespace
}  // namespace uitest
