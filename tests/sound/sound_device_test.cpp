#include "engine/media/cdaudio.h"
#include "engine/media/sound.h"
#include "engine/media/sound_volumes.h"
#include "platform/cdaudio.h"
#include "platform/test_caps.h"
#include "tests/sound/sound_fixture.h"

namespace soundtest {
namespace {

constexpr int16_t kLevel = 8192;

class SoundDeviceTest : public SoundTest {
 protected:
  ~SoundDeviceTest() override { EnableCDAudio(1); }
};

// The flag the engine keeps says whether the sound device opened; CD audio
// is optional, and engine close releases what was opened.
TEST_F(SoundDeviceTest, SoundOpensWithOrWithoutCdAudioAndIsReleasedAtClose) {
  WriteLevelWave("beep.wav", kLevel);
  struct Case {
    const char* name;
    int cdEnabled;
    bool deviceFails;
    int opened;
    bool cdOpen;
  } cases[] = {
      {"CD audio enabled", 1, false, 1, true},
      {"CD audio switched off by the game", 0, false, 1, false},
      {"no sound device", 1, true, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnableCDAudio(c.cdEnabled);
    if (c.deviceFails) plat::SetFailPoint(plat::FailPoint::OpenSoundOutput);
    ASSERT_EQ(Open(), 1);
    EXPECT_EQ(g_soundOpened, c.opened);
    EXPECT_EQ(plat::SoundOutputOpen(), c.opened == 1);
    EXPECT_EQ(plat::CdAudioOpen(), c.cdOpen);
    EXPECT_EQ(g_cdAudio.deviceId != 0, c.cdOpen);

    HOBJECT h = LoadSound("beep");
    EXPECT_EQ(h != 0, c.opened == 1) << "without a device the game runs silent";
    StartSound(h, 1);
    EXPECT_NEAR(PullLeft(), c.opened ? Level(kLevel) : 0.0f, 1e-4);

    CloseEngine(1);
    SetQuitFlag(0);
    plat::ClearFailPoints();
    EXPECT_FALSE(plat::SoundOutputOpen());
    EXPECT_FALSE(plat::CdAudioOpen());
    EXPECT_EQ(g_cdAudio.deviceId, 0);
    EXPECT_EQ(g_soundTable.mark, 0);
    EXPECT_NEAR(PullLeft(), 0.0f, 1e-6) << "every sound was freed";
  }
}

TEST_F(SoundDeviceTest, VolumesClampAndScaleTheOutput) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel);
  HOBJECT h = LoadSound("beep");
  StartSound(h, 1);
  struct Case {
    float set;
    float read;
  } cases[] = {{1.5f, 1.0f}, {-1.0f, 0.0f}, {0.25f, 0.25f}, {1.0f, 1.0f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.set);
    EXPECT_EQ(SetWaveVolume(c.set), 1);
    EXPECT_FLOAT_EQ(GetWaveVolume(), c.read);
    EXPECT_NEAR(PullLeft(), c.read * Level(kLevel), 1e-4);
    EXPECT_EQ(SetCDVolume(c.set), 1);
    EXPECT_FLOAT_EQ(GetCDVolume(), c.read);
  }
}

TEST_F(SoundDeviceTest, VolumesFoundAtOpenAreGivenBackAtClose) {
  plat::SetBusGain(plat::SoundBus::Wave, 0.75f);
  plat::SetBusGain(plat::SoundBus::Cd, 0.5f);
  ASSERT_EQ(Open(), 1);
  SetWaveVolume(0.1f);
  SetCDVolume(0.2f);
  CloseEngine(1);
  EXPECT_FLOAT_EQ(plat::BusGain(plat::SoundBus::Wave), 0.75f);
  EXPECT_FLOAT_EQ(plat::BusGain(plat::SoundBus::Cd), 0.5f);
  EXPECT_EQ(SetWaveVolume(0.3f), 0) << "engine closed";
  EXPECT_EQ(GetWaveVolume(), 0.0f);
  plat::SetBusGain(plat::SoundBus::Wave, 1);
  plat::SetBusGain(plat::SoundBus::Cd, 1);
}

TEST_F(SoundDeviceTest, SoundConfigSetsTheOutputFormatAndDistanceScale) {
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(plat::OutputSampleRate(), 44100);
  EXPECT_EQ(SetSoundConfig(2, 11025, 8, 0.5f), 1);
  EXPECT_EQ(plat::OutputSampleRate(), 11025);
  EXPECT_FLOAT_EQ(g_soundDevice.distanceScale, 0.5f);
  EXPECT_EQ(SetSoundConfig(3, 11025, 8, 0.25f), 0) << "three channels are refused";
  EXPECT_FLOAT_EQ(g_soundDevice.distanceScale, 0.25f) << "the scale is stored first";
  CloseEngine(1);
  SetQuitFlag(0);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(plat::OutputSampleRate(), 44100) << "the next open takes the best format again";
  SetSoundConfig(2, 44100, 16, 0.01f);
}

}  // namespace
}  // namespace soundtest
