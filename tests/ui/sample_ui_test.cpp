// The sample world's interface files read back by the screens.
#include <string>
#include <vector>

#include "database/game_resource.h"
#include "engine/media/data_directories.h"
#include "engine/media/packages.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/sample_world_battle_hud.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"
#include "ui/am_text.h"
#include "ui/item_boxes.h"
#include "ui/screen_manager.h"

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
      {"ifsv00", 18, 22, 1, 3, 20},      {"ifsv01", 18, 22, 1, 3, 20},     {"ifsv02", 18, 14, 1, 1, 20},
      {"ifsh00", 22, 18, 1, 3, 24},      {"ifsh01", 22, 18, 1, 3, 24},     {"ifsh02", 16, 18, 1, 1, 16},
      {"ifsh200", 20, 22, 1, 3, 20},     {"ifsh201", 20, 22, 1, 3, 20},    {"ifsh202", 14, 18, 1, 1, 16},
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

// The battle display's commands are told apart by their words, and the
// rewards window shows its dark numbers on paper beside words of its own.
TEST_F(SampleUiTest, TheBattleCommandsAndRewardsCarryTheirWords) {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleBattleHud("./", error)) << error;
  SetImageDirectory(".\\image");
  std::vector<std::vector<uint16_t>> commands;
  for (const char* name : {"bif0300", "bif0400", "bif0500"}) {
    HOBJECT sprite = LoadGridPicture(name, 44, 39, 1, 1);
    ASSERT_NE(sprite, 0u) << name;
    std::vector<uint16_t> pixels;
    for (int y = 0; y < 39; ++y)
      for (int x = 0; x < 44; ++x) pixels.push_back(SpritePixel(sprite, x, y));
    DeleteSprite(sprite);
    commands.push_back(std::move(pixels));
  }
  EXPECT_NE(commands[0], commands[1]);
  EXPECT_NE(commands[0], commands[2]);
  EXPECT_NE(commands[1], commands[2]);

  HOBJECT rewards = LoadGridPicture("bifvgx", 240, 290, 2, 1);
  ASSERT_NE(rewards, 0u);
  const uint16_t paper = static_cast<uint16_t>(MapRGB(235, 225, 200));
  const uint16_t ink = static_cast<uint16_t>(MapRGB(45, 22, 19));
  EXPECT_EQ(SpritePixel(rewards, 200, 250), paper) << "light under the dark numbers";
  EXPECT_GT(CountNot(rewards, paper, 24, 40, 134, 142), 100) << "the words left of the numbers";
  int words = 0;
  for (int y = 40; y < 142; ++y)
    for (int x = 24; x < 134; ++x) words += SpritePixel(rewards, x, y) == ink;
  EXPECT_GT(words, 100);
  DeleteSprite(rewards);
}

}  // namespace
}  // namespace uitest
