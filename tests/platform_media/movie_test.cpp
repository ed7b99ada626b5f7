#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/movie.h"
#include "platform/sound.h"
#include "tests/support/captures.h"
#include "tools/datagen/movie_writer.h"
#include "tools/datagen/wave_writer.h"

namespace {

constexpr uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
constexpr uint16_t kUntouched = 0x1234;

// Two 32 x 32 frames at 10 per second: red over blue, then green.
datagen::MovieSpec TwoFrames() {
  datagen::MovieSpec spec;
  std::vector<uint32_t> first = datagen::SolidFrame(32, 32, kRed);
  std::fill(first.begin() + 16 * 32, first.end(), kBlue);
  spec.frames = {first, datagen::SolidFrame(32, 32, kGreen)};
  return spec;
}

struct Surface {
  int width, height;
  std::vector<uint16_t> pixels;
  Surface(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h, kUntouched) {}
  uint16_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  plat::MovieTarget Target(int x, int y, int w, int h, plat::PixelLayout layout = plat::PixelLayout::Rgb565) {
    plat::MovieTarget t;
    t.pixels = pixels.data();
    t.surfaceWidth = width;
    t.surfaceHeight = height;
    t.pitch = width * 2;
    t.layout = layout;
    t.x = x;
    t.y = y;
    t.width = w;
    t.height = h;
    return t;
  }
};

class Movie : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plat::SetOutputFormat(2, 44100, 16));
    plat::SetBusGain(plat::SoundBus::Wave, 1);
  }
  testsupport::ScopedWorkDir dir_;
  testsupport::ScopedTestClock clock_;
};

TEST_F(Movie, DrawsEachFrameWhenItIsDueThenEnds) {
  ASSERT_TRUE(datagen::WriteAvi("starting.avi", TwoFrames()));
  auto movie = plat::Movie::Open("STARTING.AVI");
  ASSERT_TRUE(movie);
  EXPECT_EQ(movie->Width(), 32);
  EXPECT_EQ(movie->Height(), 32);

  Surface screen(64, 48);
  plat::MovieTarget target = screen.Target(8, 4, 32, 32);
  uint64_t start = clock_->Counter();
  ASSERT_EQ(movie->Update(target), plat::MovieFrame::Shown);
  EXPECT_EQ(clock_->Counter(), start) << "the first frame is due at once";
  EXPECT_EQ(screen.At(8, 4), 0xF800);
  EXPECT_EQ(screen.At(39, 19), 0xF800);
  EXPECT_EQ(screen.At(8, 20), 0x001F);
  EXPECT_EQ(screen.At(39, 35), 0x001F);
  EXPECT_EQ(screen.At(7, 4), kUntouched);
  EXPECT_EQ(screen.At(40, 4), kUntouched);
  EXPECT_EQ(screen.At(8, 3), kUntouched);
  EXPECT_EQ(screen.At(8, 36), kUntouched);

  ASSERT_EQ(movie->Update(target), plat::MovieFrame::Shown);
  double waited = static_cast<double>(clock_->Counter() - start) / clock_->Frequency();
  EXPECT_GE(waited, 0.1);
  EXPECT_LT(waited, 0.12);
  EXPECT_EQ(screen.At(8, 4), 0x07E0);
  EXPECT_EQ(screen.At(39, 35), 0x07E0);

  EXPECT_EQ(movie->Update(target), plat::MovieFrame::Ended);
  EXPECT_EQ(movie->Update(target), plat::MovieFrame::Ended);
}

TEST_F(Movie, ScalesClipsAndUses555) {
  ASSERT_TRUE(datagen::WriteAvi("m.avi", TwoFrames()));
  auto movie = plat::Movie::Open("m.avi");
  ASSERT_TRUE(movie);
  // Twice the size, hanging over every edge of a 32 x 32 surface.
  Surface small(32, 32);
  ASSERT_EQ(movie->Update(small.Target(-16, -16, 64, 64, plat::PixelLayout::Rgb555)), plat::MovieFrame::Shown);
  EXPECT_EQ(small.At(0, 0), 0x7C00);
  EXPECT_EQ(small.At(31, 14), 0x7C00);
  EXPECT_EQ(small.At(31, 17), 0x001F);
  for (uint16_t p : small.pixels) EXPECT_NE(p, kUntouched);

  // A target that cannot be drawn into still moves the movie on.
  plat::MovieTarget none;
  EXPECT_EQ(movie->Update(none), plat::MovieFrame::Shown);
  EXPECT_EQ(movie->Update(none), plat::MovieFrame::Ended);
}

TEST_F(Movie, TheSoundTrackGoesToTheMixer) {
  datagen::MovieSpec spec = TwoFrames();
  spec.soundRate = 22050;
  spec.sound = datagen::ConstantSamples(22050 / 5, 1, 8192);
  ASSERT_TRUE(datagen::WriteAvi("talk.avi", spec));
  auto movie = plat::Movie::Open("talk.avi");
  ASSERT_TRUE(movie);
  Surface screen(32, 32);
  ASSERT_EQ(movie->Update(screen.Target(0, 0, 32, 32)), plat::MovieFrame::Shown);
  std::vector<float> out = plat::PullMixedFrames(100);
  EXPECT_NEAR(out[0], 0.25f, 1e-3f);
  EXPECT_NEAR(out[199], 0.25f, 1e-3f);

  plat::SetBusGain(plat::SoundBus::Wave, 0.5f);
  EXPECT_NEAR(plat::PullMixedFrames(1)[0], 0.125f, 1e-3f);
  movie->Stop();
  EXPECT_FLOAT_EQ(plat::PullMixedFrames(1)[0], 0.0f);
  movie.reset();
  EXPECT_FLOAT_EQ(plat::PullMixedFrames(1)[0], 0.0f);
}

TEST_F(Movie, StopHoldsTheClock) {
  ASSERT_TRUE(datagen::WriteAvi("m.avi", TwoFrames()));
  auto movie = plat::Movie::Open("m.avi");
  Surface screen(32, 32);
  movie->Start();
  ASSERT_EQ(movie->Update(screen.Target(0, 0, 32, 32)), plat::MovieFrame::Shown);
  clock_->AdvanceSeconds(0.05);
  movie->Stop();
  clock_->AdvanceSeconds(10);
  uint64_t resumed = clock_->Counter();
  ASSERT_EQ(movie->Update(screen.Target(0, 0, 32, 32)), plat::MovieFrame::Shown);
  double waited = static_cast<double>(clock_->Counter() - resumed) / clock_->Frequency();
  EXPECT_GE(waited, 0.05);
  EXPECT_LT(waited, 0.07);
}

TEST_F(Movie, FilesThatAreNotMoviesDoNotOpen) {
  datagen::WaveSpec wave;
  wave.samples = datagen::ConstantSamples(1000, 1, 100);
  ASSERT_TRUE(datagen::WriteWave("sound.avi", wave));
  ASSERT_TRUE(plat::WriteFileAtomic("text.avi", "this is not a movie at all\n", 27));
  std::vector<uint8_t> noise(4096);
  uint32_t state = 99;
  for (uint8_t& b : noise) b = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16);
  ASSERT_TRUE(plat::WriteFileAtomic("noise.avi", noise.data(), noise.size()));
  ASSERT_TRUE(plat::WriteFileAtomic("empty.avi", "", 0));
  ASSERT_TRUE(plat::CreateDirectories("folder.avi"));
  for (const char* name : {"missing.avi", "sound.avi", "text.avi", "noise.avi", "empty.avi", "folder.avi"})
    EXPECT_FALSE(plat::Movie::Open(name)) << name;
}

TEST_F(Movie, DamagedMoviesEndWithoutHarm) {
  datagen::MovieSpec spec = TwoFrames();
  spec.soundRate = 11025;
  spec.sound = datagen::ConstantSamples(2205, 1, 1000);
  const std::vector<uint8_t> good = datagen::BuildAvi(spec);
  uint32_t state = 7;
  auto next = [&] { return (state = state * 1103515245u + 12345u) >> 8; };
  for (int round = 0; round < 40; ++round) {
    std::vector<uint8_t> bytes = good;
    if (round % 2) {
      bytes.resize(next() % bytes.size());
    } else {
      for (int k = 0; k < 8; ++k) bytes[next() % bytes.size()] = static_cast<uint8_t>(next());
    }
    ASSERT_TRUE(plat::WriteFileAtomic("hurt.avi", bytes.data(), bytes.size()));
    auto movie = plat::Movie::Open("hurt.avi");
    if (!movie) continue;
    Surface screen(32, 32);
    int frames = 0;
    while (movie->Update(screen.Target(0, 0, 32, 32)) == plat::MovieFrame::Shown)
      ASSERT_LT(++frames, 100) << "round " << round;
    plat::PullMixedFrames(512);
  }
}

}  // namespace
