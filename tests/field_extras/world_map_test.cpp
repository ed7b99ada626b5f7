#include <set>
#include <string>
#include <vector>

#include "engine/core/engine_queries.h"
#include "engine/media/sprites.h"
#include "tests/field_extras/field_extras_fixture.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "world/transition_scene.h"
#include "world/world_map_pixels.h"
#include "world/world_map_screen.h"

namespace fieldtest {
namespace {

std::string g_reportedFile;
int g_reportedPoint = -1;
int g_reports = 0;

void OnResult(const char* file, int point) {
  g_reportedFile = file;
  g_reportedPoint = point;
  ++g_reports;
}

// Centre of a place's rectangle in screen pixels.
struct Point {
  int x, y;
};
constexpr Point kCentres[CWorldMapScreen::kPlaces] = {{525, 68},  {477, 129}, {452, 186}, {307, 303}, {231, 210},
                                                      {152, 276}, {91, 354},  {457, 328}, {404, 258}, {548, 209},
                                                      {572, 268}, {313, 197}, {277, 148}, {367, 370}, {371, 99}};

class WorldMapTest : public FieldExtrasTest {
 protected:
  WorldMapTest() {
    // Day grey 0x646464, night black; icons red, green and blue by variant.
    std::vector<datagen::PackageFile> files = {{"map00.bmp", Bitmap(640, 480, 0x646464)},
                                               {"map01.bmp", Bitmap(640, 480, 0x000000)}};
    const uint32_t variantColours[3] = {0xC80000, 0x00C800, 0x0000C8};
    for (int id = 1; id <= CWorldMapScreen::kPlaces; ++id) {
      for (int v = 1; v <= 3; ++v) {
        char name[32];
        std::snprintf(name, sizeof name, "mp_d%02d%d.bmp", id, v);
        files.push_back({name, Bitmap(8, 4, variantColours[v - 1])});
        std::snprintf(name, sizeof name, "mp_n%02d%d.bmp", id, v);
        files.push_back({name, Bitmap(8, 4, variantColours[v - 1] / 2)});
      }
    }
    plat::ByteWriter out;
    std::string error;
    EXPECT_TRUE(datagen::WritePackage(files, out, error)) << error;
    EXPECT_TRUE(plat::WriteFileAtomic("map.qxo", out.Bytes().data(), out.Size()));
    g_reportedFile.clear();
    g_reportedPoint = -1;
    g_reports = 0;
    screen.Init("map.qxo");
    screen.SetResultCallback(OnResult);
  }

  void OpenAll(int page, int variant, int current = -1) {
    for (int id = 0; id < CWorldMapScreen::kPlaces; ++id) screen.SetPlaceState(id, 1, page, variant);
    screen.Open(current, 1, page, variant);
  }
  std::set<int> Enabled() const {
    std::set<int> ids;
    for (const CWorldMapPlace& place : screen.places) {
      if (place.enabled) ids.insert(place.id);
    }
    return ids;
  }
  static uint16_t FirstPixel(HOBJECT sprite) {
    std::vector<uint16_t> pixels = CopySpritePixels(sprite);
    return pixels.empty() ? 0xFFFF : pixels[0];
  }
  // Updates until the report or the limit; the frames taken.
  int UpdateUntilReport(int limit = 100) {
    for (int frame = 1; frame <= limit; ++frame) {
      screen.Update();
      if (g_reports) return frame;
    }
    return -1;
  }

  CWorldMapScreen screen;
};

TEST(WorldMapPixelsTest, PackingAndUnpacking) {
  EXPECT_EQ(PackPixel555(0xFF00FF), 0) << "magenta is the colour key";
  EXPECT_EQ(PackPixel565(0xFF00FF), 0xF81F);
  EXPECT_EQ(PackPixel555(0xFF0000), 0x7C00);
  EXPECT_EQ(UnpackPixel565(0xF800), 0xF80000u);
  EXPECT_EQ(UnpackPixel565(0x07E0), 0x00FC00u);
  EXPECT_EQ(UnpackPixel555(0x03E0), 0x00F800u);
  EXPECT_EQ(CombineChannelsSwapped(1, 2, 3), 0x030201u);
  struct Case {
    int code;
    uint16_t redPixel;
  };
  for (const Case& c : {Case{1, 0xF800}, Case{2, 0x001F}, Case{3, 0x7C00}, Case{4, 0x001F}, Case{5, 0xF800}}) {
    const SpritePixelFormat format = SpritePixelFormat::FromCode(c.code);
    EXPECT_EQ(format.Pack(255, 0, 0), c.redPixel) << c.code;
    int r, g, b;
    format.Unpack(c.redPixel, &r, &g, &b);
    EXPECT_EQ(r, 248) << c.code;
    EXPECT_EQ(g + b, 0) << c.code;
  }
}

TEST_F(WorldMapTest, ThePlacesThatCanBeChosen) {
  ASSERT_NE(screen.dayBackground.sprite, 0u);
  ASSERT_NE(screen.places[14].icons[5].sprite, 0u);
  EXPECT_EQ(screen.dayPixels.size(), 640u * 480u);
  EXPECT_EQ(screen.places[0].savedIcons[0].size(), 32u) << "sized from the sprite";
  struct Case {
    int page, variant;
    std::set<int> enabled;
  };
  const Case cases[] = {{0, 1, {0, 2, 3, 5, 6}},
                        {1, 0, {1, 4, 8, 9, 10, 11, 12, 14}},
                        {1, 1, {1, 3, 4}},
                        {0, 0, {2, 3, 5, 6, 7, 8, 9, 10, 11, 13, 14}}};
  for (const Case& c : cases) {
    OpenAll(c.page, c.variant);
    EXPECT_EQ(Enabled(), c.enabled) << c.page << " " << c.variant;
  }
}

TEST_F(WorldMapTest, ChoosingOnTheShownPageDarkensThenReports) {
  OpenAll(0, 1, 2);
  screen.OnMouseMove(kCentres[0].x, kCentres[0].y);
  EXPECT_EQ(screen.places[0].state, 1);
  EXPECT_TRUE(LookupSprite(screen.places[0].icons[1].sprite)->visible);
  EXPECT_TRUE(LookupSprite(screen.places[2].icons[2].sprite)->visible) << "the current place";
  screen.OnMouseDown(kCentres[5].x, kCentres[5].y);
  EXPECT_EQ(screen.chosenPlace, 5);
  EXPECT_EQ(screen.selecting, 1);
  const int before = FirstPixel(screen.dayBackground.sprite);
  screen.Update();
  int r0, g0, b0, r1, g1, b1;
  screen.pixelFormat.Unpack(static_cast<uint16_t>(before), &r0, &g0, &b0);
  screen.pixelFormat.Unpack(FirstPixel(screen.dayBackground.sprite), &r1, &g1, &b1);
  EXPECT_EQ(r1, (r0 - 14) & ~7) << "less 14, kept to 5 bits";
  EXPECT_EQ(b1, (b0 - 14) & ~7);
  screen.OnMouseMove(kCentres[0].x, kCentres[0].y);
  EXPECT_EQ(screen.places[0].state, 0) << "moves change nothing while darkening";
  EXPECT_EQ(UpdateUntilReport(), 29);
  EXPECT_EQ(g_reportedFile, "h001.sb");
  EXPECT_EQ(g_reportedPoint, 1);
  EXPECT_EQ(screen.open, 0);
  EXPECT_FALSE(LookupSprite(screen.dayBackground.sprite)->visible);
}

TEST_F(WorldMapTest, ChoosingOnTheOtherPageSwitchesFirst) {
  OpenAll(0, 1);
  screen.places[3].page = 1;  // place 3 lies on the night page
  screen.OnMouseDown(kCentres[3].x, kCentres[3].y);
  EXPECT_EQ(screen.busy, 1);
  EXPECT_EQ(screen.afterSwitch, 1);
  for (int frame = 1; frame < CWorldMapScreen::kSwitchFrames; ++frame) {
    screen.Update();
    screen.OnMouseMove(kCentres[0].x, kCentres[0].y);
    screen.OnMouseDown(kCentres[0].x, kCentres[0].y);
  }
  EXPECT_EQ(screen.chosenPlace, 3) << "presses during the switch change nothing";
  EXPECT_EQ(screen.places[0].state, 0);
  EXPECT_EQ(screen.page, 0);
  screen.Update();
  EXPECT_EQ(screen.page, 1);
  EXPECT_EQ(screen.busy, 0);
  EXPECT_EQ(FirstPixel(screen.dayBackground.sprite), screen.dayPixels[0]) << "kept pixels written back";
  EXPECT_EQ(UpdateUntilReport(), 22);
  EXPECT_EQ(g_reportedFile, "f002.sb");
  EXPECT_EQ(g_reportedPoint, 7);
}

TEST_F(WorldMapTest, HalfwayThroughTheSwitchTheBackgroundIsBlended) {
  OpenAll(0, 1);
  screen.places[3].page = 1;
  screen.OnMouseDown(kCentres[3].x, kCentres[3].y);
  for (int frame = 0; frame < CWorldMapScreen::kSwitchFrames - 1; ++frame) screen.Update();
  int r, g, b;
  screen.pixelFormat.Unpack(FirstPixel(screen.dayBackground.sprite), &r, &g, &b);
  EXPECT_EQ(r, (96 - 96 * 14 / 30) & ~7);  // 0x64 as 5-6-5 red is 96
}

TEST_F(WorldMapTest, APressWhileDarkeningChoosesAgain) {
  OpenAll(0, 1);
  screen.OnMouseDown(kCentres[0].x, kCentres[0].y);
  for (int i = 0; i < 10; ++i) screen.Update();
  screen.OnMouseDown(kCentres[6].x, kCentres[6].y);
  EXPECT_EQ(screen.chosenPlace, 6);
  EXPECT_EQ(screen.fadeFrame, 0);
  EXPECT_EQ(UpdateUntilReport(), 30);
  EXPECT_EQ(g_reportedFile, "i008.sb");
  EXPECT_EQ(g_reportedPoint, 2);
}

TEST_F(WorldMapTest, ClosedScreenIgnoresInput) {
  screen.OnMouseDown(kCentres[0].x, kCentres[0].y);
  EXPECT_EQ(screen.selecting, 0);
  for (int i = 0; i < 40; ++i) screen.Update();
  EXPECT_EQ(g_reports, 0);
}

}  // namespace
}  // namespace fieldtest

namespace fieldtest {
namespace {

TEST_F(FieldExtrasTest, TheSampleWorldsPicturesAndModels) {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleFieldExtras("./", error)) << error;
  CWorldMapScreen screen;
  screen.Init("image/map.qxo");
  ASSERT_NE(screen.nightBackground.sprite, 0u);
  for (const CWorldMapPlace& place : screen.places) {
    for (const CBSprite& icon : place.icons) ASSERT_NE(icon.sprite, 0u) << place.id;
    EXPECT_EQ(place.savedIcons[0].size(),
              static_cast<size_t>(place.label.right - place.label.left) * (place.label.bottom - place.label.top));
  }
  CTransScene pieces("3deffect.sb");
  EXPECT_EQ(pieces.GetModelCount(), 192);
  CTransScene planes("2_sided.sb");
  EXPECT_EQ(planes.GetModelCount(), 2);
}

}  // namespace
}  // namespace fieldtest
