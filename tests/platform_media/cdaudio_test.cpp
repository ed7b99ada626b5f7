#include <gtest/gtest.h>

#include "platform/cdaudio.h"
#include "platform/files.h"
#include "platform/sound.h"
#include "tests/support/captures.h"
#include "tests/support/named_pipe.h"
#include "tools/datagen/wave_writer.h"

namespace {

constexpr int kRate = 22050;
constexpr size_t kOutputRate = 44100;

// A disc with track 2 only: two seconds at half scale, as a ".wav".
class CdAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(plat::SetOutputFormat(2, static_cast<int>(kOutputRate), 16));
    plat::SetBusGain(plat::SoundBus::Wave, 1);
    plat::SetBusGain(plat::SoundBus::Cd, 1);
    ASSERT_TRUE(plat::CreateDirectories("cdaudio"));
    datagen::WaveSpec spec;
    spec.sampleRate = kRate;
    spec.samples = datagen::ConstantSamples(2 * kRate, 1, 16384);
    ASSERT_TRUE(datagen::WriteWave("cdaudio/track02.wav", spec));
    ASSERT_TRUE(plat::OpenCdAudio());
  }
  void TearDown() override {
    plat::CloseCdAudio();
    plat::SetBusGain(plat::SoundBus::Cd, 1);
  }
  static std::vector<float> PullSeconds(double seconds) {
    return plat::PullMixedFrames(static_cast<size_t>(seconds * kOutputRate));
  }
  testsupport::ScopedWorkDir dir_;
};

const uint32_t kTrackStart = plat::PackTmsf(2, 0, 0, 0);
const uint32_t kTrackEnd = plat::PackTmsf(2, 0, 2, 0);

TEST_F(CdAudio, PacksPositionsAndLengthsAsTheCdDeviceDoes) {
  EXPECT_EQ(plat::PackTmsf(2, 1, 30, 74), 0x4A1E0102u);
  EXPECT_EQ(plat::PackMsf(1, 30, 74), 0x004A1E01u);
}

TEST_F(CdAudio, ANamedPipeIsNoTrack) {
  testsupport::NamedPipe pipe("cdaudio/track03.wav");
  ASSERT_TRUE(pipe.Made());
  uint32_t msf = 0;
  EXPECT_FALSE(plat::CdTrackLength(3, msf));
  EXPECT_FALSE(plat::PlayCd(plat::PackTmsf(3, 0, 0, 0), plat::PackTmsf(3, 0, 1, 0)));
  EXPECT_EQ(plat::CdTrackCount(), 2);
  EXPECT_FALSE(pipe.ReaderWaited());
}

TEST_F(CdAudio, CountsTracksAndMeasuresThem) {
  EXPECT_EQ(plat::CdTrackCount(), 2);
  uint32_t msf = 0;
  ASSERT_TRUE(plat::CdTrackLength(2, msf));
  EXPECT_EQ(msf, plat::PackMsf(0, 2, 0));
  for (int missing : {0, 1, 9, 100, -1}) EXPECT_FALSE(plat::CdTrackLength(missing, msf)) << missing;

  // Longer tracks, any letter case, and a damaged file.
  datagen::WaveSpec longer;
  longer.sampleRate = 7500;  // 100 samples to the frame
  longer.samples = datagen::ConstantSamples(7500 * 61 + 100 * 10 + 5, 1, 0);
  ASSERT_TRUE(datagen::WriteWave("cdaudio/TRACK04.WAV", longer));
  ASSERT_TRUE(plat::WriteFileAtomic("cdaudio/track05.wav", "not a sound", 11));
  EXPECT_EQ(plat::CdTrackCount(), 5);
  ASSERT_TRUE(plat::CdTrackLength(4, msf));
  EXPECT_EQ(msf, plat::PackMsf(1, 1, 10));
  EXPECT_FALSE(plat::CdTrackLength(5, msf));
}

TEST_F(CdAudio, PlaysATrackToItsEndOnTheCdBus) {
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Playing);
  std::vector<float> out = PullSeconds(1.5);
  EXPECT_NEAR(out[0], 0.5f, 1e-3f);
  EXPECT_NEAR(out.back(), 0.5f, 1e-3f);
  // 1.5 s is 112.5 frames of 1/75 s.
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 37));

  PullSeconds(0.49);
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Playing);
  out = PullSeconds(0.02);
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Stopped);
  EXPECT_EQ(plat::CdPosition(), kTrackEnd);
  EXPECT_FLOAT_EQ(out.back(), 0.0f);
}

TEST_F(CdAudio, PlaysFromAPositionToAPosition) {
  ASSERT_TRUE(plat::PlayCd(plat::PackTmsf(2, 0, 1, 0), plat::PackTmsf(2, 0, 1, 60)));
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 0));
  PullSeconds(0.5);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 37));
  PullSeconds(0.31);
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Stopped);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 60));
}

TEST_F(CdAudio, PauseHoldsThePositionAndPlayingOnResumesIt) {
  EXPECT_FALSE(plat::PauseCd()) << "nothing plays yet";
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  PullSeconds(0.5);
  ASSERT_TRUE(plat::PauseCd());
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Paused);
  EXPECT_FALSE(plat::PauseCd());
  std::vector<float> out = PullSeconds(1.0);
  EXPECT_FLOAT_EQ(out[0], 0.0f);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 0, 37));

  ASSERT_TRUE(plat::PlayCdTo(kTrackEnd));
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Playing);
  out = PullSeconds(1.0);
  EXPECT_NEAR(out[0], 0.5f, 1e-3f);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 37));
  PullSeconds(0.51);
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Stopped);
}

TEST_F(CdAudio, StopSilencesAndKeepsThePlace) {
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  PullSeconds(1.0);
  ASSERT_TRUE(plat::StopCd());
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Stopped);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 1, 0));
  EXPECT_FLOAT_EQ(PullSeconds(0.1)[0], 0.0f);
  EXPECT_TRUE(plat::StopCd());
}

TEST_F(CdAudio, CdGainIsItsOwn) {
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  plat::SetBusGain(plat::SoundBus::Wave, 0);
  EXPECT_NEAR(PullSeconds(0.01)[0], 0.5f, 1e-3f);
  plat::SetBusGain(plat::SoundBus::Cd, 0.5f);
  EXPECT_NEAR(PullSeconds(0.01)[0], 0.25f, 1e-3f);
}

TEST_F(CdAudio, BadRangesFailAndLeaveThePlayAlone) {
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  PullSeconds(0.5);
  const uint32_t bad[][2] = {
      {plat::PackTmsf(9, 0, 0, 0), plat::PackTmsf(9, 0, 1, 0)},  // no such track
      {plat::PackTmsf(1, 0, 0, 0), plat::PackTmsf(1, 0, 1, 0)},
      {plat::PackTmsf(2, 0, 1, 0), plat::PackTmsf(2, 0, 0, 10)},  // backwards
      {plat::PackTmsf(2, 0, 1, 0), plat::PackTmsf(2, 0, 1, 0)},   // empty
      {plat::PackTmsf(2, 0, 0, 0), plat::PackTmsf(2, 0, 3, 0)},   // past the end
      {plat::PackTmsf(2, 0, 3, 0), plat::PackTmsf(2, 0, 4, 0)},
      {plat::PackTmsf(2, 0, 0, 0), plat::PackTmsf(3, 0, 0, 0)},  // across tracks
      {plat::PackTmsf(2, 0, 60, 0), kTrackEnd},                  // no such second
      {plat::PackTmsf(2, 0, 0, 75), kTrackEnd},                  // no such frame
  };
  for (const auto& range : bad) EXPECT_FALSE(plat::PlayCd(range[0], range[1])) << std::hex << range[0];
  EXPECT_FALSE(plat::PlayCdTo(plat::PackTmsf(2, 0, 0, 10)));
  EXPECT_EQ(plat::GetCdMode(), plat::CdMode::Playing);
  EXPECT_EQ(plat::CdPosition(), plat::PackTmsf(2, 0, 0, 37));
}

TEST_F(CdAudio, EverythingFailsWhileClosed) {
  EXPECT_FALSE(plat::OpenCdAudio()) << "already open";
  ASSERT_TRUE(plat::PlayCd(kTrackStart, kTrackEnd));
  ASSERT_TRUE(plat::CloseCdAudio());
  EXPECT_FALSE(plat::CdAudioOpen());
  EXPECT_FLOAT_EQ(PullSeconds(0.01)[0], 0.0f) << "closing stops the music";
  EXPECT_FALSE(plat::CloseCdAudio());
  uint32_t msf = 0;
  EXPECT_EQ(plat::CdTrackCount(), 0);
  EXPECT_FALSE(plat::CdTrackLength(2, msf));
  EXPECT_FALSE(plat::PlayCd(kTrackStart, kTrackEnd));
  EXPECT_FALSE(plat::PlayCdTo(kTrackEnd));
  EXPECT_FALSE(plat::PauseCd());
  EXPECT_FALSE(plat::StopCd());
  EXPECT_EQ(plat::CdPosition(), 0u);
}

}  // namespace
