#include <gtest/gtest.h>

#include <memory>

#include "tests/automap/automap_fixture.h"

namespace automaptest {
namespace {

// World points of follow-view pixels around a player at (0, 0): the view
// spans 500 units at 0.24 pixels per unit; half a pixel in keeps truncation exact.
float WorldX(float pixelX) { return (pixelX + 0.5f) / 0.24f - 250; }
float WorldY(float pixelY) { return 250 - (pixelY + 0.5f) / 0.24f; }
// The world square covering view pixels [x0, x1) x [y0, y1).
Square ViewSquare(float x0, float y0, float x1, float y1) { return {WorldX(x0), WorldY(y1), WorldX(x1), WorldY(y0)}; }

class DrawTest : public AutomapTest {
 protected:
  void SetUp() override {
    AutomapTest::SetUp();
    map_.reset(NewAutomap());
    target_ = MakeTarget(120, 120);
  }
  std::unique_ptr<CAutomap> map_;
  HOBJECT target_ = 0;
};

TEST_F(DrawTest, WrongTargetDrawsNothingAndHiddenMapOnlyClears) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", MakeTerrain({{0, 0, 1200, 1200}}), 1), 1);
  HOBJECT narrow = MakeTarget(100, 120);
  FillSprite(narrow, 0, 255, 0, 0);
  EXPECT_EQ(map_->Draw(0, narrow), -1);
  EXPECT_EQ(CountPixels(narrow, 0xF800), 100 * 120);
  EXPECT_EQ(map_->Draw(0, 0), -1);
  map_->Show(0);
  FillSprite(target_, 0, 255, 0, 0);
  EXPECT_EQ(map_->Draw(0, target_), 1);
  EXPECT_EQ(CountPixels(target_, kBlue), 120 * 120);
}

TEST_F(DrawTest, FixedMapShowsOnlyWhatWasExplored) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", MakeTerrain({{0, 0, 1200, 1200}}), 1), 1);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(CountPixels(target_, kBlue), 120 * 120) << "all fog";
  map_->UpdatePlayer(600, 600, 1, 0);  // uncovers [35, 85) square
  map_->UpdatePlayer(100, 100, 1, 0);  // uncovers x [-13, 37), y [83, 133)
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(PixelAt(target_, 60, 60), kFill);
  EXPECT_EQ(PixelAt(target_, 20, 100), kFill);
  EXPECT_EQ(PixelAt(target_, 0, 100), kWhite) << "the outline";
  EXPECT_EQ(PixelAt(target_, 100, 20), kBlue) << "fog";
  EXPECT_EQ(CountPixels(target_, kBlue), 120 * 120 - 50 * 50 - 37 * 37 + 2 * 2) << "the squares overlap by 2 x 2";
}

TEST_F(DrawTest, WithoutTrackingTheWholeMapShows) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", MakeTerrain({{0, 0, 1200, 1200}}), 0), 1);
  map_->SetIcons({{1000, 200, 1, 1, 0}, {200, 200, 1, 5, 1}});
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(CountPixels(target_, kBlue), 0);
  EXPECT_EQ(PixelAt(target_, 60, 60), kFill);
  EXPECT_EQ(ShownOf(map_->HiddenIcons()[0].sprite), 1);
  EXPECT_EQ(ShownOf(map_->HiddenIcons()[1].sprite), 0) << "a closed portal";
}

TEST_F(DrawTest, PortalIconAppearsOnceItsPlaceIsExplored) {
  ASSERT_EQ(map_->BuildForScene("a004.sb", MakeTerrain({{0, 0, 1200, 1200}}), 1), 1);
  map_->SetIcons({{1000, 200, 1, 1, 4}});
  map_->Show(1);
  map_->UpdatePlayer(200, 1000, 1, 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  ASSERT_EQ(map_->HiddenIcons().size(), 1u);
  EXPECT_EQ(ShownOf(map_->HiddenIcons()[0].sprite), 0);

  map_->UpdatePlayer(1000, 200, 1, 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  ASSERT_EQ(map_->DiscoveredIcons().size(), 1u);
  const AUTOMAPICON& icon = map_->DiscoveredIcons()[0];
  EXPECT_EQ(icon.discovered, 1);
  EXPECT_EQ(ShownOf(icon.sprite), 1);
  int x = 0, y = 0;
  GetSpritePosition(icon.sprite, &x, &y);
  EXPECT_EQ(x, 16 + 100 - 6);
  EXPECT_EQ(y, 15 + 100 - 6);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(map_->DiscoveredIcons().size(), 1u) << "it stays discovered";
  EXPECT_EQ(map_->UpdateIcon({0, 0, 1, 5, 4}), 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(ShownOf(icon.sprite), 0) << "closed";
}

TEST_F(DrawTest, FollowViewDeepInsideALargeAreaIsFilled) {
  ASSERT_EQ(map_->BuildForScene("e001.sb", MakeTerrain({{0, 0, 100000, 100000}}), 1), 1);
  map_->SetDisplayMode(1);
  map_->UpdatePlayer(50000, 50000, 1, 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(CountPixels(target_, kFill), 120 * 120);
}

TEST_F(DrawTest, FollowViewFillsTheCornerBetweenTwoCrossings) {
  // Terrain leaving the view through the top at x = 30 and coming back through the right at y = 90.
  ASSERT_EQ(map_->BuildForScene("e001.sb", MakeTerrain({ViewSquare(30, -50, 200, 90)}), 1), 1);
  map_->SetDisplayMode(1);
  map_->UpdatePlayer(0, 0, 1, 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  EXPECT_EQ(PixelAt(target_, 119, 0), kFill) << "the top-right corner";
  EXPECT_EQ(PixelAt(target_, 30, 0), kFill);
  EXPECT_EQ(PixelAt(target_, 29, 45), kBlue);
  EXPECT_EQ(PixelAt(target_, 60, 90), kBlue);
  EXPECT_EQ(CountPixels(target_, kFill), 90 * 90);
}

TEST_F(DrawTest, OppositeCornerWalkKeepsToTheSegmentsSide) {
  // A triangle with an edge from the top-left to the bottom-right region
  // that misses the view, its third corner top-right: the view lies outside
  // it when the edge passes above the view and inside when it passes below.
  struct Case {
    const char* what;
    float x0, y0, x1, y1;
    int filled;
  };
  const Case cases[] = {
      {"edge above and right: the view is outside", -10, -100, 300, 130, 0},
      {"edge below and left: the view is inside", -100, -10, 130, 300, 120 * 120},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<VECTOR3> points = {
        {WorldX(c.x0), WorldY(c.y0), 0}, {WorldX(c.x1), WorldY(c.y1), 0}, {WorldX(300), WorldY(-100), 0}};
    for (int turn = 0; turn < 2; ++turn) {
      // Either winding of the triangle draws the same.
      const std::array<int, 3> corners = turn ? std::array<int, 3>{0, 2, 1} : std::array<int, 3>{0, 1, 2};
      HOBJECT terrain = enginetest::MakeMesh(points, {corners});
      ASSERT_EQ(map_->BuildForScene("e001.sb", terrain, 1), 1);
      map_->SetDisplayMode(1);
      map_->UpdatePlayer(0, 0, 1, 0);
      ASSERT_EQ(map_->Draw(0, target_), 0);
      EXPECT_EQ(CountPixels(target_, kFill), c.filled) << turn;
    }
  }
}

TEST_F(DrawTest, FollowViewPlacesIconsInsideTheViewOnly) {
  ASSERT_EQ(map_->BuildForScene("e001.sb", MakeTerrain({{-1000, -1000, 1000, 1000}}), 1), 1);
  map_->SetIcons({{WorldX(30), WorldY(40), 1, 1, 0}, {WorldX(30), WorldY(0), 1, 1, 1}, {600, 0, 1, 1, 2}});
  map_->SetDisplayMode(1);
  map_->UpdatePlayer(0, 0, 1, 0);
  ASSERT_EQ(map_->Draw(0, target_), 0);
  const auto& icons = map_->HiddenIcons();
  ASSERT_EQ(icons.size(), 3u);
  EXPECT_EQ(ShownOf(icons[0].sprite), 1);
  int x = 0, y = 0;
  GetSpritePosition(icons[0].sprite, &x, &y);
  EXPECT_EQ(x, 16 + 30 - 6);
  EXPECT_EQ(y, 15 + 40 - 6);
  EXPECT_EQ(ShownOf(icons[1].sprite), 0) << "row 0 is left out";
  EXPECT_EQ(ShownOf(icons[2].sprite), 0) << "outside the view";
}

TEST_F(DrawTest, ClipSegmentResultsAndRegions) {
  struct Case {
    const char* what;
    int x0, y0, x1, y1;
    int result, start, end;
    int cx0, cy0, cx1, cy1;  // the coordinates afterwards
  };
  constexpr int kIn = -999;
  const Case cases[] = {
      {"inside", 10, 10, 50, 50, 2, kIn, kIn, 10, 10, 50, 50},
      {"across", -20, 60, 140, 60, 1, 7, 3, 0, 60, 120, 60},
      {"diagonal across", 60, -10, 130, 60, 1, 1, 3, 70, 0, 120, 50},
      {"past the corner", -10, 5, 5, -10, -1, 7, 1, -10, 5, 5, -10},
      {"along the top, corner to corner", -10, -5, 130, -5, -1, 0, 2, -10, -5, 130, -5},
      {"one region", -10, 10, -20, 100, -2, 7, 7, -10, 10, -20, 100},
      {"along the top", 10, -5, 100, -5, -2, 1, 1, 10, -5, 100, -5},
      {"touching the border", 0, 60, -10, 60, -3, 7, 7, 0, 60, -10, 60},
      {"leaving", 60, 60, 200, 60, -4, 3, 3, 60, 60, 200, 60},
      {"entering", 200, 60, 60, 60, -5, 3, 3, 200, 60, 60, 60},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    int x0 = c.x0, y0 = c.y0, x1 = c.x1, y1 = c.y1, start = 0, end = 0;
    EXPECT_EQ(map_->ClipSegment(x0, y0, x1, y1, &start, &end), c.result);
    EXPECT_EQ(start, c.start);
    EXPECT_EQ(end, c.end);
    EXPECT_EQ(x0, c.cx0);
    EXPECT_EQ(y0, c.cy0);
    EXPECT_EQ(x1, c.cx1);
    EXPECT_EQ(y1, c.cy1);
  }
  // The regions, clockwise from the top-left, of a segment entering from each.
  const int from[8][2] = {{-10, -10}, {60, -10}, {130, -10}, {130, 60}, {130, 130}, {60, 130}, {-10, 130}, {-10, 60}};
  for (int region = 0; region < 8; ++region) {
    int x0 = from[region][0], y0 = from[region][1], x1 = 60, y1 = 60, start = 0, end = 0;
    EXPECT_EQ(map_->ClipSegment(x0, y0, x1, y1, &start, &end), -5) << region;
    EXPECT_EQ(start, region);
    EXPECT_EQ(end, region);
  }
}

}  // namespace
}  // namespace automaptest
