// The settings file: defaults, sliders, reading and the broken files.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>

#include "base/game_audio.h"
#include "database/system_config.h"
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
  const std::vector<uint8_t> expected = {26,  0,  0, 0,  'S', 'C', 'F', 'G', 0, 1, 0, 0,   'W', 'S', 'A',
                                         'D', 30, 0, 30, 0,   208, 7,   1,   1, 0, 0, 250, 68,  2,   2};
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

TEST(Settings, BrokenFilesGiveTheDefaultsAndAreKeptAside) {
  struct Case {
    const char* name;
    datagen::SystemConfigSpec spec;
  };
  std::vector<Case> cases(6);
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
  cases[5].name = "far larger than a settings file";
  cases[5].spec.extraBytes = 1 << 20;
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScopedWorkDir dir;
    c.spec.musicVolume = 77;
    c.spec.keys[0] = 'Z';
    std::string error;
    ASSERT_TRUE(datagen::WriteSystemConfig(CSystemConfig::kPath, c.spec, error)) << error;
    CGameAudio audio;
    {
      CSystemConfig config(&audio);
      ExpectDefaults(config);
      EXPECT_EQ(audio.musicVolume, 30);
    }
    EXPECT_EQ(ReadConfigFile(), datagen::BuildSystemConfig({})) << "the defaults are written at quit";
    std::vector<uint8_t> kept;
    EXPECT_TRUE(plat::ReadWholeFile(CSystemConfig::kDamagedPath, kept));
    EXPECT_EQ(kept, datagen::BuildSystemConfig(c.spec)) << "the damaged file is kept aside whole";
  }
  testsupport::ScopedWorkDir missing;
  {
    CSystemConfig config(nullptr);
    ExpectDefaults(config);
  }
  EXPECT_FALSE(plat::FileExists(CSystemConfig::kDamagedPath));
}

TEST(Settings, BytesAfterTheRecordAreNotReadAndTheSettingsStay) {
  testsupport::ScopedWorkDir dir;
  datagen::SystemConfigSpec spec;
  spec.extraBytes = 1;
  spec.musicVolume = 77;
  spec.keys[0] = 'I';
  std::string error;
  ASSERT_TRUE(datagen::WriteSystemConfig(CSystemConfig::kPath, spec, error)) << error;
  {
    CSystemConfig config(nullptr);
    EXPECT_EQ(config.musicVolume, 77);
    EXPECT_EQ(config.keyForward, 'I');
  }
  spec.extraBytes = 0;
  EXPECT_EQ(ReadConfigFile(), datagen::BuildSystemConfig(spec));
  EXPECT_FALSE(plat::FileExists(CSystemConfig::kDamagedPath));
}

// The settings a file can hold, for comparing whole.
struct Fields {
  uint8_t keys[4];
  int music, sound, view, shadows, effects;
  float detail;
  bool operator==(const Fields&) const = default;
};

Fields FieldsOf(const CSystemConfig& c) {
  return {{c.keyForward, c.keyBack, c.keyLeft, c.keyRight},
          c.musicVolume,
          c.soundVolume,
          c.viewDistance,
          c.shadows,
          c.effects,
          c.detailDistance};
}

void PrintTo(const Fields& f, std::ostream* os) {
  *os << "keys " << int(f.keys[0]) << " " << int(f.keys[1]) << " " << int(f.keys[2]) << " " << int(f.keys[3])
      << ", volumes " << f.music << " " << f.sound << ", view " << f.view << ", switches " << f.shadows << " "
      << f.effects << ", detail " << f.detail;
}

// Each field at a value no slider, switch or key button can produce takes
// its own default; the other fields keep the file's values.
TEST(Settings, AFieldOutsideItsRangeTakesItsDefault) {
  using Spec = datagen::SystemConfigSpec;
  struct Case {
    const char* name;
    void (*damage)(Spec&);
    void (*fallBack)(Fields&);
  };
  const Case cases[] = {
      {"forward key 0", [](Spec& s) { s.keys[0] = 0; }, [](Fields& f) { f.keys[0] = 'W'; }},
      {"back key Esc", [](Spec& s) { s.keys[1] = 27; }, [](Fields& f) { f.keys[1] = 'S'; }},
      {"left key 255", [](Spec& s) { s.keys[2] = 255; }, [](Fields& f) { f.keys[2] = 'A'; }},
      {"right key F1", [](Spec& s) { s.keys[3] = 0x70; }, [](Fields& f) { f.keys[3] = 'D'; }},
      {"music 65535 %", [](Spec& s) { s.musicVolume = 65535; }, [](Fields& f) { f.music = 30; }},
      {"sound 101 %", [](Spec& s) { s.soundVolume = 101; }, [](Fields& f) { f.sound = 30; }},
      {"view 0", [](Spec& s) { s.viewDistance = 0; }, [](Fields& f) { f.view = 2000; }},
      {"view 65535", [](Spec& s) { s.viewDistance = 65535; }, [](Fields& f) { f.view = 2000; }},
      {"shadows 255", [](Spec& s) { s.shadows = 255; }, [](Fields& f) { f.shadows = 1; }},
      {"effects 2", [](Spec& s) { s.effects = 2; }, [](Fields& f) { f.effects = 1; }},
      {"detail NaN", [](Spec& s) { s.detailDistance = std::numeric_limits<float>::quiet_NaN(); },
       [](Fields& f) { f.detail = 2000; }},
      {"detail infinite", [](Spec& s) { s.detailDistance = std::numeric_limits<float>::infinity(); },
       [](Fields& f) { f.detail = 2000; }},
      {"detail 0", [](Spec& s) { s.detailDistance = 0; }, [](Fields& f) { f.detail = 2000; }},
      {"detail 1e30", [](Spec& s) { s.detailDistance = 1e30f; }, [](Fields& f) { f.detail = 2000; }},
  };
  Spec good;
  const uint8_t keys[4] = {'I', 'K', 'J', 'L'};
  std::copy(keys, keys + 4, good.keys);
  good.musicVolume = 70;
  good.soundVolume = 60;
  good.viewDistance = 1500;
  good.shadows = 0;
  good.effects = 0;
  good.detailDistance = 2600.0f;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::ScopedWorkDir dir;
    Spec spec = good;
    c.damage(spec);
    std::string error;
    ASSERT_TRUE(datagen::WriteSystemConfig(CSystemConfig::kPath, spec, error)) << error;
    CSystemConfig config(nullptr);
    Fields expected{{'I', 'K', 'J', 'L'}, 70, 60, 1500, 0, 0, 2600.0f};
    c.fallBack(expected);
    EXPECT_EQ(FieldsOf(config), expected);
    EXPECT_EQ(config.GetDetailDistanceSlider(), static_cast<int>((expected.detail - 1000) * 0.05));
  }
}

TEST(Settings, EveryKeyTheSystemPageCanNameIsAWalkKey) {
  for (int key :
       {int{'0'}, int{'9'}, int{'A'}, int{'Z'}, 0x08, 0x10, 0x20, 0x26, 0x28, 0x2D, 0x60, 0x6F, 0xBA, 0xC0, 0xDB, 0xDE})
    EXPECT_TRUE(CSystemConfig::IsWalkKey(key)) << key;
  for (int key : {0, 1, 0x1B, 0x0D, 0x29, 0x70, 0x7B, 0x90, 0xC1, 0xDF, 0xFF})
    EXPECT_FALSE(CSystemConfig::IsWalkKey(key)) << key;
}

}  // namespace
