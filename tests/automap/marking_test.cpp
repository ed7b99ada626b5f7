#include <gtest/gtest.h>

#include <memory>

#include "engine/media/sprite_images.h"
#include "tests/automap/automap_fixture.h"

namespace automaptest {
namespace {

class MarkingTest : public AutomapTest {
 protected:
  void SetUp() override {
    AutomapTest::SetUp();
    map_.reset(NewAutomap());
    // 1200 x 1200 units: 0.1 map pixels per unit, a cell of 8 pixels is 80 units.
    terrain_ = MakeTerrain({{0, 0, 1200, 1200}});
  }
  int Row(HOBJECT sprite) { return LookupSprite(sprite)->image->currentRow; }

  std::unique_ptr<CAutomap> map_;
  HOBJECT terrain_ = 0;
};

TEST_F(MarkingTest, FreshRecordHasFifteenByFifteenCellsInTwentyNineBytes) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  const CExploredCells* cells = map_->CurrentCells();
  ASSERT_NE(cells, nullptr);
  EXPECT_EQ(cells->Columns(), 15);
  EXPECT_EQ(cells->Rows(), 15);
  EXPECT_EQ(cells->GetInfo().byteCount, 29);
  // Cell 17 is column 2 of row 1: byte 2, bit 0x80 >> 1.
  EXPECT_EQ(map_->UpdatePlayer(2 * 80 + 5, 1200 - (80 + 5), 1, 0), 0);
  std::vector<uint8_t> expected(29, 0);
  expected[2] = 0x40;
  EXPECT_EQ(cells->Bits(), expected);
}

TEST_F(MarkingTest, UpdatePlayerResults) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  EXPECT_EQ(map_->UpdatePlayer(600, 600, 0, 1), 0) << "new cell";
  EXPECT_EQ(map_->UpdatePlayer(610, 590, 0, 1), 1) << "same cell";
  EXPECT_EQ(map_->UpdatePlayer(5000, 600, 0, 1), -2) << "outside";
  EXPECT_EQ(map_->UpdatePlayer(600, -5000, 0, 1), -2) << "outside below";
  map_->ClearScene();
  EXPECT_EQ(map_->UpdatePlayer(600, 600, 0, 1), -1) << "no record";
  ASSERT_EQ(map_->BuildForScene("e001.sb", terrain_, 0), 1);
  EXPECT_EQ(map_->UpdatePlayer(600, 600, 0, 1), 0) << "tracking off";
  EXPECT_EQ(map_->UpdatePlayer(600, 600, 0, 1), 0) << "tracking off, again";
  EXPECT_EQ(map_->ExploredScenes().count("e001"), 0u);
}

TEST_F(MarkingTest, NewCellUncoversTheFogAroundIt) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  const int blueBefore = CountPixels(map_->FogLayer(), kBlue);
  EXPECT_EQ(blueBefore, 120 * 120);
  map_->UpdatePlayer(600, 600, 0, 1);
  // Two view radii of 250 units at 0.1 pixels per unit: a square of 50 pixels.
  EXPECT_EQ(CountPixels(map_->FogLayer(), 0), 50 * 50);
  EXPECT_EQ(PixelAt(map_->FogLayer(), 60, 60), 0);
  EXPECT_EQ(PixelAt(map_->FogLayer(), 10, 10), kBlue);
}

TEST_F(MarkingTest, HeadingCellFollowsTheFacing) {
  struct Case {
    float fx, fy;
    int cell;
  };
  const Case cases[] = {{0, 1, 2}, {-1, 0, 4}, {1, -1, 7}, {1, 0, 0}, {-1, -1, 5}, {-1, 1, 3}, {0, -1, 6}, {1, 1, 1}};
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  for (const Case& c : cases) {
    map_->UpdatePlayer(600, 600, c.fx, c.fy);
    EXPECT_EQ(Row(map_->PositionIcon()), c.cell) << c.fx << ", " << c.fy;
  }
}

TEST_F(MarkingTest, PositionIconCentresOnThePlayer) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  map_->UpdatePlayer(600, 600, 1, 0);
  int x = 0, y = 0;
  GetSpritePosition(map_->PositionIcon(), &x, &y);
  EXPECT_EQ(x, 16 + 60 - 8);
  EXPECT_EQ(y, 15 + 60 - 8);
  map_->SetDisplayMode(1);
  map_->UpdatePlayer(100, 100, 1, 0);
  GetSpritePosition(map_->PositionIcon(), &x, &y);
  EXPECT_EQ(x, 16 + 60 - 8);
  EXPECT_EQ(y, 15 + 60 - 8);
}

TEST_F(MarkingTest, IconUpdates) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", terrain_, 1), 1);
  map_->SetIcons({{100, 100, 1, 1, 0}, {900, 900, 1, 1, 3}, {500, 500, 2, 1, 0}});
  ASSERT_EQ(map_->HiddenIcons().size(), 3u);
  EXPECT_NE(map_->HiddenIcons()[0].sprite, 0u);
  EXPECT_EQ(map_->HiddenIcons()[2].sprite, 0u) << "only portals have an image";
  EXPECT_EQ(map_->UpdateIcon({0, 0, 1, 5, 9}), -1) << "unknown portal";
  map_->Show(1);
  ShowSprite(map_->HiddenIcons()[1].sprite, 1);
  EXPECT_EQ(map_->UpdateIcon({0, 0, 1, 5, 3}), 0);
  EXPECT_EQ(map_->HiddenIcons()[1].desc.state, 5);
  EXPECT_EQ(ShownOf(map_->HiddenIcons()[1].sprite), 0) << "a closed portal is hidden";
  EXPECT_EQ(map_->UpdateIcon({0, 0, 1, 1, 3}), 0);
  EXPECT_EQ(ShownOf(map_->HiddenIcons()[1].sprite), 0) << "opening does not show it";
}

}  // namespace
}  // namespace automaptest
