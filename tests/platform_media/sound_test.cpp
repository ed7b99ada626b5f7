#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/sound.h"
#include "tests/support/captures.h"
#include "tools/datagen/wave_writer.h"

namespace {

constexpr float kTolerance = 1.0f / 4096;

// Every test starts from the mixer's defaults and leaves them behind.
class Sound : public ::testing::Test {
 protected:
  void SetUp() override { Reset(); }
  void TearDown() override { Reset(); }
  static void Reset() {
    plat::SetManualMixing(false);
    ASSERT_TRUE(plat::SetOutputFormat(2, 44100, 16));
    plat::SetBusGain(plat::SoundBus::Wave, 1);
    plat::SetBusGain(plat::SoundBus::Cd, 1);
    plat::SetListenerPosition(0, 0, 0);
    plat::SetListenerOrientation(0, 0, 1, 0, 1, 0);
    plat::Commit3DSettings();
  }
};

// Frame n holds (n + 1) * 64, so the level heard tells which frame played.
plat::Wave Ramp(size_t frames, int rate = 44100) {
  datagen::WaveSpec spec;
  spec.sampleRate = rate;
  for (size_t i = 0; i < frames; ++i) spec.samples.push_back(static_cast<int16_t>((i + 1) * 64));
  std::vector<uint8_t> bytes = datagen::BuildWave(spec);
  plat::Wave wave;
  EXPECT_TRUE(plat::ParseWave(bytes.data(), bytes.size(), wave));
  return wave;
}

plat::Wave Constant(int16_t level, size_t frames = 44100) {
  plat::Wave wave;
  wave.format = {1, 44100, 16};
  wave.samples.assign(frames, level);
  return wave;
}

float RampLevel(size_t frame) { return static_cast<float>((frame + 1) * 64) / 32768.0f; }
float Left(const std::vector<float>& out, size_t frame) { return out[2 * frame]; }
float Right(const std::vector<float>& out, size_t frame) { return out[2 * frame + 1]; }

TEST_F(Sound, WaveWrittenToDiskLoadsAndPlays) {
  testsupport::ScopedWorkDir dir;
  datagen::WaveSpec spec;
  spec.sampleRate = 44100;
  spec.samples = {1000, 2000, 3000, -4000};
  ASSERT_TRUE(datagen::WriteWave("blip.wav", spec));
  plat::Wave wave;
  ASSERT_TRUE(plat::ReadWaveFile("blip.wav", wave));
  auto buffer = plat::SoundBuffer::Create(wave, false);
  ASSERT_TRUE(buffer);
  EXPECT_EQ(buffer->FrameCount(), 4u);
  buffer->Play(false);
  std::vector<float> out = plat::PullMixedFrames(6);
  for (size_t n = 0; n < 4; ++n) {
    EXPECT_NEAR(Left(out, n), spec.samples[n] / 32768.0f, kTolerance) << n;
    EXPECT_NEAR(Right(out, n), spec.samples[n] / 32768.0f, kTolerance) << n;
  }
  EXPECT_FLOAT_EQ(Left(out, 4), 0.0f);
  // A one-shot that played out stops and is back at its start.
  EXPECT_FALSE(buffer->IsPlaying());
  EXPECT_EQ(buffer->Position(), 0u);
}

TEST_F(Sound, UnplayableWavesMakeNoBuffer) {
  plat::Wave empty = Constant(1, 0);
  plat::Wave tooManyChannels = Constant(1, 30);
  tooManyChannels.format.channels = 3;
  EXPECT_FALSE(plat::SoundBuffer::Create(empty, false));
  EXPECT_FALSE(plat::SoundBuffer::Create(tooManyChannels, false));
}

TEST_F(Sound, DuplicatesShareSamplesButPlayIndependently) {
  auto first = plat::SoundBuffer::Create(Ramp(1000), false);
  ASSERT_TRUE(first);
  first->SetPan(-1);  // left only, so each buffer is heard on its own side
  first->Play(false);
  plat::PullMixedFrames(100);

  auto second = first->Duplicate();
  ASSERT_TRUE(second);
  EXPECT_FALSE(second->IsPlaying());
  EXPECT_EQ(second->Position(), 0u);
  EXPECT_EQ(second->FrameCount(), 1000u);
  second->SetPan(1);
  second->Play(false);
  std::vector<float> out = plat::PullMixedFrames(10);
  EXPECT_NEAR(Left(out, 0), RampLevel(100), kTolerance);
  EXPECT_NEAR(Right(out, 0), RampLevel(0), kTolerance);

  first.reset();  // freeing the original leaves the duplicate playing
  out = plat::PullMixedFrames(10);
  EXPECT_FLOAT_EQ(Left(out, 0), 0.0f);
  EXPECT_NEAR(Right(out, 0), RampLevel(10), kTolerance);
  EXPECT_EQ(second->Position(), 20u);
}

TEST_F(Sound, LoopingWrapsToTheStart) {
  auto buffer = plat::SoundBuffer::Create(Ramp(100), false);
  buffer->Play(true);
  std::vector<float> out = plat::PullMixedFrames(250);
  EXPECT_NEAR(Left(out, 99), RampLevel(99), kTolerance);
  EXPECT_NEAR(Left(out, 100), RampLevel(0), kTolerance);
  EXPECT_NEAR(Left(out, 249), RampLevel(49), kTolerance);
  EXPECT_TRUE(buffer->IsPlaying());
  EXPECT_EQ(buffer->Position(), 50u);
  // Play on a playing buffer changes only the loop setting: no restart.
  buffer->Play(false);
  out = plat::PullMixedFrames(60);
  EXPECT_NEAR(Left(out, 0), RampLevel(50), kTolerance);
  EXPECT_FLOAT_EQ(Left(out, 50), 0.0f);
  EXPECT_FALSE(buffer->IsPlaying());
}

TEST_F(Sound, StopKeepsThePositionAndRewindingIsASeparateStep) {
  auto buffer = plat::SoundBuffer::Create(Ramp(1000), false);
  buffer->Play(false);
  plat::PullMixedFrames(30);
  buffer->Stop();
  EXPECT_FALSE(buffer->IsPlaying());
  std::vector<float> out = plat::PullMixedFrames(20);
  EXPECT_FLOAT_EQ(Left(out, 0), 0.0f);
  EXPECT_EQ(buffer->Position(), 30u);

  buffer->Play(false);  // continues where it stopped
  out = plat::PullMixedFrames(5);
  EXPECT_NEAR(Left(out, 0), RampLevel(30), kTolerance);

  buffer->Stop();  // stop and rewind, as a sound is stopped for good
  EXPECT_TRUE(buffer->SetPosition(0));
  buffer->Play(false);
  out = plat::PullMixedFrames(5);
  EXPECT_NEAR(Left(out, 0), RampLevel(0), kTolerance);

  EXPECT_TRUE(buffer->SetPosition(999));
  EXPECT_FALSE(buffer->SetPosition(1000));
  EXPECT_EQ(buffer->Position(), 999u);
}

TEST_F(Sound, ResamplesToTheOutputRate) {
  // 22050 Hz into 44100 Hz: every source frame lasts two output frames,
  // the second halfway to the next frame.
  auto buffer = plat::SoundBuffer::Create(Ramp(100, 22050), false);
  buffer->Play(false);
  std::vector<float> out = plat::PullMixedFrames(202);
  EXPECT_NEAR(Left(out, 10), RampLevel(5), kTolerance);
  EXPECT_NEAR(Left(out, 11), (RampLevel(5) + RampLevel(6)) / 2, kTolerance);
  EXPECT_NEAR(Left(out, 199), RampLevel(99), kTolerance);
  EXPECT_FLOAT_EQ(Left(out, 200), 0.0f);

  // And the output rate itself can change.
  ASSERT_TRUE(plat::SetOutputFormat(2, 22050, 16));
  EXPECT_EQ(plat::OutputSampleRate(), 22050);
  buffer->Play(false);
  out = plat::PullMixedFrames(3);
  EXPECT_NEAR(Left(out, 2), RampLevel(2), kTolerance);
  EXPECT_FALSE(plat::SetOutputFormat(3, 22050, 16));
  EXPECT_FALSE(plat::SetOutputFormat(2, 22050, 24));
  EXPECT_FALSE(plat::SetOutputFormat(2, 100, 16));
  EXPECT_EQ(plat::OutputSampleRate(), 22050);
}

TEST_F(Sound, StereoChannelsVolumeAndPan) {
  plat::Wave stereo;
  stereo.format = {2, 44100, 16};
  stereo.samples = {8192, -16384, 8192, -16384};
  auto buffer = plat::SoundBuffer::Create(stereo, false);
  buffer->Play(true);
  struct Case {
    float volume, pan, left, right;
  } cases[] = {
      {1, 0, 0.25f, -0.5f}, {0.5f, 0, 0.125f, -0.25f}, {1, 0.5f, 0.125f, -0.5f}, {1, -1, 0.25f, 0.0f},
      {2, 0, 0.25f, -0.5f}, {-1, 0, 0.0f, 0.0f},       {1, 5, 0.0f, -0.5f},
  };
  for (const Case& c : cases) {
    buffer->SetVolume(c.volume);
    buffer->SetPan(c.pan);
    std::vector<float> out = plat::PullMixedFrames(1);
    EXPECT_NEAR(Left(out, 0), c.left, kTolerance) << c.volume << " " << c.pan;
    EXPECT_NEAR(Right(out, 0), c.right, kTolerance) << c.volume << " " << c.pan;
  }
}

TEST_F(Sound, BusGainScalesOnlyItsOwnBus) {
  auto buffer = plat::SoundBuffer::Create(Constant(16384), false);
  buffer->Play(true);
  EXPECT_NEAR(Left(plat::PullMixedFrames(1), 0), 0.5f, kTolerance);
  plat::SetBusGain(plat::SoundBus::Wave, 0.5f);
  EXPECT_FLOAT_EQ(plat::BusGain(plat::SoundBus::Wave), 0.5f);
  std::vector<float> out = plat::PullMixedFrames(64);
  for (size_t n = 0; n < 64; ++n) EXPECT_NEAR(Left(out, n), 0.25f, kTolerance);
  plat::SetBusGain(plat::SoundBus::Cd, 0.0f);
  EXPECT_NEAR(Right(plat::PullMixedFrames(1), 0), 0.25f, kTolerance);
  plat::SetBusGain(plat::SoundBus::Wave, 1.5f);
  EXPECT_FLOAT_EQ(plat::BusGain(plat::SoundBus::Wave), 1.0f);
  plat::SetBusGain(plat::SoundBus::Wave, -1.0f);
  EXPECT_FLOAT_EQ(plat::BusGain(plat::SoundBus::Wave), 0.0f);
  EXPECT_FLOAT_EQ(Left(plat::PullMixedFrames(1), 0), 0.0f);
}

TEST_F(Sound, MixedOutputIsClampedToFullScale) {
  auto a = plat::SoundBuffer::Create(Constant(30000), false);
  auto b = a->Duplicate();
  a->Play(true);
  b->Play(true);
  EXPECT_FLOAT_EQ(Left(plat::PullMixedFrames(1), 0), 1.0f);
}

TEST_F(Sound, DistanceGainFallsLinearlyFromMinToMax) {
  struct Case {
    float distance, minD, maxD, gain;
  } cases[] = {
      {0, 0, 2.5f, 1}, {1.25f, 0, 2.5f, 0.5f}, {2.5f, 0, 2.5f, 0},  {4, 0, 2.5f, 0}, {0.5f, 1, 3, 1},
      {1, 1, 3, 1},    {2, 1, 3, 0.5f},        {2.5f, 1, 3, 0.25f}, {1.5f, 2, 2, 1}, {2.5f, 2, 2, 0},
  };
  for (const Case& c : cases) {
    auto buffer = plat::SoundBuffer::Create(Constant(16384), true);
    buffer->SetMinDistance(c.minD);
    buffer->SetMaxDistance(c.maxD);
    buffer->Set3DPosition(0, 0, c.distance);  // straight ahead: no pan
    plat::Commit3DSettings();
    buffer->Play(true);
    std::vector<float> out = plat::PullMixedFrames(1);
    EXPECT_NEAR(Left(out, 0), 0.5f * c.gain, kTolerance) << c.distance << " in " << c.minD << ".." << c.maxD;
    EXPECT_NEAR(Right(out, 0), 0.5f * c.gain, kTolerance) << c.distance << " in " << c.minD << ".." << c.maxD;
  }
}

TEST_F(Sound, ThreeDSettingsWaitForTheCommit) {
  auto buffer = plat::SoundBuffer::Create(Constant(16384), true);
  buffer->SetMinDistance(0);
  buffer->SetMaxDistance(2.5f);
  buffer->Set3DPosition(0, 0, 1.25f);
  plat::Commit3DSettings();
  buffer->Play(true);
  EXPECT_NEAR(Left(plat::PullMixedFrames(1), 0), 0.25f, kTolerance);

  buffer->Set3DPosition(0, 0, 2.5f);
  plat::SetListenerPosition(0, 0, -1);
  buffer->SetMaxDistance(100);
  std::vector<float> out = plat::PullMixedFrames(1);
  EXPECT_NEAR(Left(out, 0), 0.25f, kTolerance) << "changed before the commit";
  plat::Commit3DSettings();
  out = plat::PullMixedFrames(1);
  EXPECT_NEAR(Left(out, 0), 0.5f * (100 - 3.5f) / 100, kTolerance);
}

TEST_F(Sound, PanFollowsTheListenersSides) {
  auto buffer = plat::SoundBuffer::Create(Constant(16384), true);
  buffer->SetMinDistance(10);
  buffer->SetMaxDistance(20);
  buffer->Play(true);
  struct Case {
    const char* what;
    float front[3], top[3], at[3];
    float left, right;
  } cases[] = {
      {"ahead", {0, 0, 1}, {0, 1, 0}, {0, 0, 3}, 0.5f, 0.5f},
      {"to the right", {0, 0, 1}, {0, 1, 0}, {3, 0, 0}, 0.0f, 0.5f},
      {"to the left", {0, 0, 1}, {0, 1, 0}, {-3, 0, 0}, 0.5f, 0.0f},
      {"half right", {0, 0, 1}, {0, 1, 0}, {3, 0, 3}, 0.5f * (1 - 0.70710678f), 0.5f},
      {"above", {0, 0, 1}, {0, 1, 0}, {0, 3, 0}, 0.5f, 0.5f},
      {"facing +x, sound ahead", {1, 0, 0}, {0, 1, 0}, {3, 0, 0}, 0.5f, 0.5f},
      {"facing +x, sound at -z is right", {1, 0, 0}, {0, 1, 0}, {0, 0, -3}, 0.0f, 0.5f},
      {"on the listener", {0, 0, 1}, {0, 1, 0}, {0, 0, 0}, 0.5f, 0.5f},
  };
  for (const Case& c : cases) {
    plat::SetListenerOrientation(c.front[0], c.front[1], c.front[2], c.top[0], c.top[1], c.top[2]);
    buffer->Set3DPosition(c.at[0], c.at[1], c.at[2]);
    plat::Commit3DSettings();
    std::vector<float> out = plat::PullMixedFrames(1);
    EXPECT_NEAR(Left(out, 0), c.left, kTolerance) << c.what;
    EXPECT_NEAR(Right(out, 0), c.right, kTolerance) << c.what;
  }
}

TEST_F(Sound, PlainBuffersIgnoreThreeDSettings) {
  auto buffer = plat::SoundBuffer::Create(Constant(16384), false);
  EXPECT_FALSE(buffer->Is3D());
  buffer->SetMaxDistance(1);
  buffer->Set3DPosition(50, 0, 0);
  plat::Commit3DSettings();
  buffer->Play(true);
  std::vector<float> out = plat::PullMixedFrames(1);
  EXPECT_NEAR(Left(out, 0), 0.5f, kTolerance);
  EXPECT_NEAR(Right(out, 0), 0.5f, kTolerance);

  // A 3D duplicate starts from the original's placement.
  auto original = plat::SoundBuffer::Create(Constant(16384), true);
  original->SetMinDistance(0);
  original->SetMaxDistance(2);
  original->Set3DPosition(0, 0, 1);
  plat::Commit3DSettings();
  auto copy = original->Duplicate();
  EXPECT_TRUE(copy->Is3D());
  buffer->Stop();
  copy->Play(true);
  EXPECT_NEAR(Left(plat::PullMixedFrames(1), 0), 0.25f, kTolerance);
}

using testsupport::ScopedEnv;

TEST_F(Sound, TheDeviceOpensOnTheDummyDriverAndManualMixingTakesOver) {
  ScopedEnv driver("SDL_AUDIODRIVER", "dummy");
  plat::OpenSoundOutput();
  ASSERT_TRUE(plat::SoundOutputOpen());
  plat::SetManualMixing(true);
  ASSERT_TRUE(plat::SetOutputFormat(1, 22050, 8));
  EXPECT_TRUE(plat::SoundOutputOpen());
  auto buffer = plat::SoundBuffer::Create(Ramp(1000, 22050), false);
  buffer->Play(false);
  std::vector<float> out = plat::PullMixedFrames(10);
  EXPECT_NEAR(Left(out, 9), RampLevel(9), kTolerance);
  EXPECT_EQ(buffer->Position(), 10u);
  plat::CloseSoundOutput();
  EXPECT_FALSE(plat::SoundOutputOpen());
}

TEST_F(Sound, WithoutAnyDevicePullingStillPlays) {
  ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
  plat::OpenSoundOutput();
  EXPECT_FALSE(plat::SoundOutputOpen());
  auto buffer = plat::SoundBuffer::Create(Ramp(10), false);
  buffer->Play(false);
  EXPECT_NEAR(Left(plat::PullMixedFrames(4), 3), RampLevel(3), kTolerance);
  plat::CloseSoundOutput();
}

}  // namespace
