#include "world/automap_panel.h"

#include <gtest/gtest.h>

#include "tests/automap/automap_fixture.h"

namespace automaptest {
namespace {

class PanelTest : public AutomapTest {
 protected:
  void SetUp() override {
    AutomapTest::SetUp();
    panel_ = std::make_unique<CAutomapPanel>();
    ASSERT_EQ(panel_->BuildForScene("a004.SB", MakeTerrain({{0, 0, 1200, 1200}}), 1), 0);
  }
  // Marks the layer so that a redraw shows: a draw clears it to blue.
  void MarkLayer() { FillSprite(panel_->Layer(), 0, 255, 0, 0); }
  bool Drawn() { return PixelAt(panel_->Layer(), 0, 0) == kBlue; }

  std::unique_ptr<CAutomapPanel> panel_;
};

TEST_F(PanelTest, SampleImagesSitAtTheTopLeft) {
  int x = 0, y = 0, w = 0, h = 0;
  GetSpritePosition(panel_->Frame(), &x, &y);
  GetSpriteSize(panel_->Frame(), &w, &h);
  EXPECT_EQ(x, 4);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(w, 140);
  EXPECT_EQ(h, 140);
  EXPECT_NE(LockSprite(panel_->Frame(), 0), nullptr) << "automap.bmp loaded";
  UnlockSprite(panel_->Frame(), 0);
  int sx = 0, sy = 0, lx = 0, ly = 0;
  GetSpritePosition(panel_->Surface(), &sx, &sy);
  GetSpritePosition(panel_->Layer(), &lx, &ly);
  EXPECT_EQ(lx + sx, 16) << "map pixel (0, 0) on the screen";
  EXPECT_EQ(ly + sy, 15);
  GetSpriteSize(panel_->Automap().PositionIcon(), &w, &h);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(h, 16);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(panel_->Automap().PositionIcon(), &frames, &columns, &rows);
  EXPECT_EQ(rows, 8) << "eight headings";
  // The frame's inside is its key, so the map shows through it.
  EXPECT_EQ(HitTestSprite(panel_->Frame(), 4 + 70, 4 + 70, 1), 0);
  EXPECT_EQ(HitTestSprite(panel_->Frame(), 4 + 2, 4 + 2, 1), 1);
}

TEST_F(PanelTest, RedrawDrawsAtMostTenTimesASecond) {
  clock_->AdvanceSeconds(1);
  MarkLayer();
  EXPECT_EQ(panel_->Redraw(1), 0);
  EXPECT_TRUE(Drawn());
  MarkLayer();
  clock_->AdvanceSeconds(0.05);
  EXPECT_EQ(panel_->Redraw(1), 0);
  EXPECT_FALSE(Drawn()) << "within a tenth of a second";
  clock_->AdvanceSeconds(0.06);
  EXPECT_EQ(panel_->Redraw(1), 0);
  EXPECT_TRUE(Drawn());
}

TEST_F(PanelTest, HiddenPanelNeverDrawsNorUsesItsTimer) {
  panel_->Show(0);
  EXPECT_EQ(ShownOf(panel_->Frame()), 0);
  EXPECT_EQ(ShownOf(panel_->Layer()), 0);
  EXPECT_EQ(ShownOf(panel_->Automap().PositionIcon()), 0);
  clock_->AdvanceSeconds(0.5);
  MarkLayer();
  for (int i = 0; i < 20; ++i) {
    EXPECT_EQ(panel_->Redraw(i), 0);
    clock_->AdvanceSeconds(0.01);
  }
  EXPECT_FALSE(Drawn());
  panel_->Show(0x101);  // the low byte counts
  EXPECT_EQ(panel_->Visible(), 1);
  EXPECT_EQ(panel_->Redraw(0), 0);
  EXPECT_TRUE(Drawn()) << "the periods that fell due while hidden are still there";
}

TEST_F(PanelTest, DrawnMapLandsInTheLayerUnderTheSurface) {
  panel_->UpdatePlayer(600, 600, 1, 0);
  clock_->AdvanceSeconds(1);
  ASSERT_EQ(panel_->Redraw(0), 0);
  EXPECT_EQ(PixelAt(panel_->Layer(), 12 + 60, 11 + 60), kFill);
  EXPECT_EQ(PixelAt(panel_->Layer(), 12 + 5, 11 + 5), kBlue);
  panel_->SetFollowMode(1);
  panel_->UpdatePlayer(600, 600, 1, 0);
  clock_->AdvanceSeconds(1);
  ASSERT_EQ(panel_->Redraw(0), 0);
  EXPECT_EQ(PixelAt(panel_->Layer(), 12 + 5, 11 + 5), kFill) << "no fog in the follow view";
}

TEST_F(PanelTest, UpdatePlayerAnswers) {
  EXPECT_EQ(panel_->UpdatePlayer(600, 600, 0, 1), 0) << "new";
  EXPECT_EQ(panel_->UpdatePlayer(600, 600, 0, 1), 0) << "explored";
  EXPECT_EQ(panel_->UpdatePlayer(-5000, 600, 0, 1), -1) << "outside";
  panel_->ClearScene();
  EXPECT_EQ(panel_->UpdatePlayer(600, 600, 0, 1), -1) << "no map";
}

TEST_F(PanelTest, PortalsSaveLoadAndClearPassThrough) {
  panel_->SetPortalIcons({{1000, 200, 1, 1, 3}});
  EXPECT_EQ(panel_->UpdatePortalIcon({0, 0, 1, 5, 3}), 0);
  EXPECT_EQ(panel_->UpdatePortalIcon({0, 0, 1, 5, 2}), -1);
  panel_->UpdatePlayer(600, 600, 0, 1);
  ASSERT_EQ(panel_->SaveFile("TWSave03.map"), 0);
  panel_->Clear();
  EXPECT_TRUE(panel_->Automap().ExploredScenes().empty());
  EXPECT_EQ(panel_->LoadFile("TWSave03.map", "a004.sb", MakeTerrain({{0, 0, 1200, 1200}})), 0);
  EXPECT_EQ(panel_->Automap().UpdatePlayer(600, 600, 0, 1), 1);
  EXPECT_EQ(panel_->Automap().CurrentCells()->Bits()[14], 0x80) << "cell 112 came back explored";
  EXPECT_EQ(panel_->LoadFile("nothing.map", "a004.sb", 0), -1);
  EXPECT_EQ(panel_->SaveFile(nullptr), -1);
}

}  // namespace
}  // namespace automaptest
