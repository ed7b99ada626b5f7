// The settings file: defaults, sliders, reading and the broken files.
#include <gtest/gtest.h>

#include "game/game_audio.h"
#include "game/system_config.h"
#include "platform/files.h"
#include "tests/support/captures.h"
#include "tools/datagen/system_config_writer.h"

namespace {

std::vector<uint8_t> ReadConfigFile() {
  std::vector<uint8_t> bytes;
  plat::ReadWholeFile(CSystemConfig::kPath, bytes);
  return bytes;
}

void ExpectDefaults(const CSystemConfig& config) {
  EXPECT_EQ(config.keyForward, 'W');
  EXPECT_EQ(config.keyBack, 'S');
  EXPECT_EQ(config.keyLeft, 'A');
  EXPECT_EQ(config.keyRight, 'D');
  EXPECT_EQ(config.musicVolume, 30);
  EXPECT_EQ(config.soundVolume, 30);
  EXPECT_EQ(config.viewDistance, 2000);
  EXPECT_EQ(config.shadows, 1);
  EXPECT_EQ(config.effects, 1);
  EXPECT_FLOAT_EQ(config.detailDistance, 2000.0f);
  EXPECT_EQ(config.option1, 2);
  EXPECT_EQ(config.option2, 2);
}

TEST(Settings, DefaultsAreWrittenAsThirtyBytes) {
  testsupport::ScopedWorkDir dir;
  CGameAudio audio;
  {
    CSystemConfig config(&audio);
    ExpectDefaults(config);
    EXPECT_EQ(audio.musicVolume, 30) << "the defaults go to the audio";
    EXPECT_EQ(audio.soundVolume, 30);
  }
  const std::vector<uint8_t> expected = {26,  0,   0,   0,   'S', 'C', 'F', 'G', 0,   1,
                                         0,   0,   'W', 'S', 'A', 'D', 30,  0,   30,  0,
                                         208, 7,   1,   1,   0,   0,   250, 68,  2,   2};
  EXPECT_EQ(ReadConfigFile(), expected);
  EXPECT_EQ(ReadConfigFile(), datagen::BuildSystemConfig({}));
}

TEST(Settings, SlidersMapToDistances) {
  testsupport::ScopedWorkDir dir;
  CSystemConfig config(nullptr);
  EXPECT_EQ(config.GetViewDistanceSlider(), 50);
  EXPECT_EQ(config.GetDetailDistanceSlider(), 50);
  struct Case {
    int slider;
    int view;
    float detail;
  };
  for (const Case& c : {Case{0, 3000, 1000.0f}, Case{50, 2000, 2000.0f}, Case{100, 1000, 3000.0f}}) {
    SCOPED_TRACE(c.slider);
    config.SetViewDistanceSlider(c.slider);
    config.SetDetailDistanceSlider(c.slider);
    EXPECT_EQ(config.viewDistance, c.view);
    EXPECT_FLOAT_EQ(config.detailDistance, c.detail);
    EXPECT_EQ(config.GetViewDistanceSlider(), c.slider);
    EXPECT_EQ(config.GetDetailDistanceSlider(), c.slider);
  }
}

TEST(Settings, AStoredFileIsReadBackWithoutApplyingItsVolumes) {
  testsupport::ScopedWorkDir dir;
  datagen::SystemConfigSpec spec;
  spec.keys[0] = 'I';
  spec.musicVolume = 70;
  spec.soundVolume = 0;
  spec.viewDistance = 1500;
  spec.shadows = 0;
  spec.detailDistance = 2600.0f;
  spec.option1 = 9;
  std::string error;
  ASSERT_TRUE(datagen::WriteSystemConfig(CSystemConfig::kPath, spec, error)) << error;
  CGameAudio audio;
  {
    CSystemConfig config(&audio);
    EXPECT_EQ(config.keyForward, 'I');
    EXPECT_EQ(config.musicVolume, 70);
    EXPECT_EQ(config.soundVolume, 0);
    EXPECT_EQ(config.viewDistance, 1500);
    EXPECT_EQ(config.shadows, 0);
    EXPECT_FLOAT_EQ(config.detailDistance, 2600.0f);
    EXPECT_EQ(config.option1, 9);
    EXPECT_EQ(audio.musicVolume, 20) << "the audio keeps what it started with";
    EXPECT_EQ(audio.soundVolume, 20);
    config.SetMusicVolume(55);
    EXPECT_EQ(audio.musicVolume, 55);
  }
  spec.musicVolume = 55;
  EXPECT_EQ(ReadConfigFile(), datagen::BuildSystemConfig(spec)) << "written back whole";
}

TEST(Settings, BrokenFilesGiveTheDefaults) {
  struct Case {
    const char* name;
    datagen::SystemConfigSpec spec;
  };
  std::vector<Case> cases(5);
  cases[0].name = "short";
  cases[0].spec.cutTo = 20;
  cases[1].name = "bad magic";
  cases[1].spec.magic = "SCFX";
  cases[2].name = "version 255";
  cases[2].spec.version = 255;
  cases[3].name = "length 8";
  cases[3].spec.length = 8;
  cases[4].name = "length beyond the file";
  cases[4].spec.length = 0x7FFFFFFF;
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScopedWorkDir dir;
    c.spec.musicVolume = 77;
    c.spec.keys[0] = 'Z';
    std::string error;
    ASSERT_TRUE(datagen::WriteSystemConfig(CSystemConfig::kPath, c.spec, error)) << error;
    CGameAudio audio;
    CSystemConfig config(&audio);
    ExpectDefaults(config);
    EXPECT_EQ(audio.musicVolume, 30);
  }
  testsupport::ScopedWorkDir missing;
  CSystemConfig config(nullptr);
  ExpectDefaults(config);
}

}  // namespace
