#include <algorithm>
#include <vector>

#include "engine/core/back_buffer.h"
#include "engine/core/input_hooks.h"
#include "engine/media/movies.h"
#include "platform/files.h"
#include "platform/keys.h"
#include "tests/sound/sound_fixture.h"
#include "tools/datagen/movie_writer.h"

namespace soundtest {
namespace {

constexpr uint16_t kRed565 = 0xF800, kGreen565 = 0x07E0;

std::vector<std::pair<int, int>> g_keys;  // (key, state)

void RecordKey(int key, int state) { g_keys.emplace_back(key, state); }

class MovieTest : public SoundTest {
 protected:
  MovieTest() {
    g_keys.clear();
    datagen::MovieSpec spec;  // 32 x 32 at 10 frames per second
    spec.frames = {datagen::SolidFrame(32, 32, 0xFF0000), datagen::SolidFrame(32, 32, 0x00FF00)};
    EXPECT_TRUE(datagen::WriteAvi("opening.avi", spec));
  }
  static uint16_t Pixel(int x, int y) {
    int bits = 0, pitch = 0;
    auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
    EXPECT_NE(pixels, nullptr);
    uint16_t value = pixels ? reinterpret_cast<uint16_t*>(pixels + y * pitch)[x] : 0;
    UnlockBackBuffer();
    return value;
  }
  static void FillBackBuffer(uint16_t value) {
    int bits = 0, pitch = 0;
    auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
    ASSERT_NE(pixels, nullptr);
    for (int y = 0; y < 480; ++y) std::fill_n(reinterpret_cast<uint16_t*>(pixels + y * pitch), 640, value);
    UnlockBackBuffer();
  }
  double Seconds(uint64_t since) { return (clock_->Counter() - since) / 1e9; }
};

TEST_F(MovieTest, EscEndsThePlayAfterTheFirstFrameAtItsPlaceOnBlack) {
  ASSERT_EQ(Open(), 1);
  HOBJECT movie = OpenMovie("opening.avi");
  ASSERT_EQ(movie, 0x0F000001u);
  EXPECT_EQ(LookupMovie(movie)->frameWidth, 32);
  FillBackBuffer(0xFFFF);
  Post(plat::WM_KEYDOWN, plat::VK_ESCAPE);
  uint64_t start = clock_->Counter();
  EXPECT_EQ(PlayMovie(movie, 100, 100, 320, 240, 7), 1);
  EXPECT_LT(Seconds(start), 0.05) << "the second frame was never waited for";
  struct Case {
    int x, y;
    uint16_t pixel;
  } cases[] = {{100, 100, kRed565}, {131, 131, kRed565}, {99, 100, 0}, {132, 100, 0},
               {100, 132, 0},       {0, 0, 0},           {639, 479, 0}};
  for (const Case& c : cases) EXPECT_EQ(Pixel(c.x, c.y), c.pixel) << c.x << "," << c.y;
  EXPECT_EQ(LookupMovie(movie)->requestedWidth, 320);
  plat::Message left;
  EXPECT_FALSE(plat::PeekMessage(left)) << "the Esc press was taken";
  EXPECT_EQ(CloseMovie(movie), 1);
  EXPECT_EQ(CloseMovie(movie), 0);
}

TEST_F(MovieTest, WithoutEscEveryFrameIsShownAndOtherMessagesAreDispatched) {
  ASSERT_EQ(Open(), 1);
  SetKeyHook('A', RecordKey, 0);
  HOBJECT movie = OpenMovie("OPENING.AVI");
  ASSERT_NE(movie, 0u);
  Post(plat::WM_KEYDOWN, 'A');
  Post(plat::WM_KEYUP, 'A', plat::kKeyReleased | plat::kKeyWasDown);
  plat::PostQuitMessage(0);
  uint64_t start = clock_->Counter();
  EXPECT_EQ(PlayMovie(movie, 0, 0, 0, 0, 0), 1);
  EXPECT_GE(Seconds(start), 0.1) << "the second frame is due 0.1 s after the first";
  EXPECT_EQ(Pixel(0, 0), kGreen565);
  EXPECT_EQ(Pixel(31, 31), kGreen565);
  EXPECT_EQ(g_keys, (std::vector<std::pair<int, int>>{{'A', 1}, {'A', 0}}));
  EXPECT_EQ(g_quitRequested, 1) << "a quit request during the movie is kept";
  SetQuitFlag(0);
}

TEST_F(MovieTest, ClosingTheWindowDuringAMovieEndsItSafely) {
  ASSERT_EQ(Open(), 1);
  HOBJECT movie = OpenMovie("opening.avi");
  ASSERT_NE(movie, 0u);
  Post(plat::WM_CLOSE);
  EXPECT_EQ(PlayMovie(movie, 0, 0, 32, 32, 0), 1);
  EXPECT_EQ(g_engineOpen, 0);
  SetQuitFlag(0);
}

TEST_F(MovieTest, MissingOrUnreadableMovieIsNotOpened) {
  ASSERT_EQ(Open(), 1);
  std::vector<uint8_t> junk(600, 0x5A);
  ASSERT_TRUE(plat::WriteFileAtomic("junk.avi", junk.data(), junk.size()));
  testsupport::DebugOutputCapture debug;
  for (const char* name : {"missing.avi", "junk.avi"}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(OpenMovie(name), 0u);
  }
  EXPECT_TRUE(debug.Contains("QXAudioDDK: File format not supported."));
  EXPECT_EQ(g_movieTable.mark, 0);
  EXPECT_EQ(PlayMovie(0x0F000001u, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(PlayMovie(0x0E000001u, 0, 0, 0, 0, 0), 0);
}

TEST_F(MovieTest, ThirtyMoviesAtMostAndClosingTheTopLowersTheMark) {
  ASSERT_EQ(Open(), 1);
  std::vector<HOBJECT> open;
  for (int i = 0; i < 30; ++i) open.push_back(OpenMovie("opening.avi"));
  EXPECT_EQ(open.back(), 0x0F00001Eu);
  EXPECT_EQ(OpenMovie("opening.avi"), 0u) << "the 31st";
  EXPECT_EQ(CloseMovie(open[28]), 1);
  EXPECT_EQ(g_movieTable.mark, 30);
  EXPECT_EQ(CloseMovie(open[29]), 1);
  EXPECT_EQ(g_movieTable.mark, 28);
  EXPECT_EQ(OpenMovie("opening.avi"), 0x0F00001Du);
  for (HOBJECT h : open) CloseMovie(h);
  EXPECT_EQ(g_movieTable.mark, 0);
}

TEST_F(MovieTest, MoviesLeftOpenAreClosedWhenTheEngineOpensAgain) {
  ASSERT_EQ(Open(), 1);
  ASSERT_NE(OpenMovie("opening.avi"), 0u);
  CloseEngine(1);
  SetQuitFlag(0);
  EXPECT_EQ(OpenMovie("opening.avi"), 0u) << "engine closed";
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_movieTable.mark, 0);
  EXPECT_EQ(OpenMovie("opening.avi"), 0x0F000001u);
}

}  // namespace
}  // namespace soundtest
