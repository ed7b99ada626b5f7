#include <filesystem>

#include "engine/media/data_directories.h"
#include "engine/media/sound.h"
#include "platform/files.h"
#include "platform/test_caps.h"
#include "tests/sound/sound_fixture.h"

namespace soundtest {
namespace {

constexpr int16_t kLevel = 8192;

TEST_F(SoundTest, SameNameGivesClonesThatPlayOnTheirOwn) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel);
  HOBJECT first = LoadSound("beep");
  HOBJECT second = LoadSound("beep");
  EXPECT_EQ(first, 0x0E000001u);
  EXPECT_EQ(second, 0x0E000002u);

  EXPECT_EQ(StartSound(first, 0), 1);
  EXPECT_NEAR(PullLeft(), Level(kLevel), 1e-4);
  EXPECT_EQ(IsSoundPlaying(second), 0);
  EXPECT_EQ(StartSound(second, 0), 1);
  EXPECT_NEAR(PullLeft(), 2 * Level(kLevel), 1e-4);
  EXPECT_NE(PositionOf(first), PositionOf(second));

  EXPECT_EQ(FreeSound(first), 1);
  EXPECT_EQ(IsSoundPlaying(first), 0);
  EXPECT_EQ(IsSoundPlaying(second), 1);
  EXPECT_NEAR(PullLeft(), Level(kLevel), 1e-4);
}

TEST_F(SoundTest, NamesAreComparedAsGivenSoAnExtensionMeansANewRead) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel);
  ASSERT_NE(LoadSound("beep"), 0u);
  std::filesystem::remove("beep.wav");
  EXPECT_NE(LoadSound("beep"), 0u) << "a clone reads nothing";
  EXPECT_EQ(LoadSound("beep.wav"), 0u) << "another name reads the file again";
  EXPECT_EQ(LoadSound("BEEP"), 0u);
}

TEST_F(SoundTest, FreeingTheTopSlotLowersTheMarkPastEmptySlots) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel);
  HOBJECT a = LoadSound("beep"), b = LoadSound("beep"), c = LoadSound("beep");
  ASSERT_EQ(g_soundTable.mark, 3);
  EXPECT_EQ(FreeSound(b), 1);
  EXPECT_EQ(g_soundTable.mark, 3);
  EXPECT_EQ(FreeSound(c), 1);
  EXPECT_EQ(g_soundTable.mark, 1) << "slot 2 was empty too";
  EXPECT_EQ(StartSound(c, 0), 0) << "a handle above the mark does not resolve";
  EXPECT_EQ(FreeSound(c), 0);
  EXPECT_EQ(LoadSound("beep"), 0x0E000002u) << "the lowest free slot is reused";
  EXPECT_EQ(FreeSound(a), 1);
  EXPECT_EQ(g_soundTable.mark, 2);
}

TEST_F(SoundTest, TableHoldsSlotsOneTo254) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel, 16);
  HOBJECT last = 0;
  for (int i = 0; i < 254; ++i) last = LoadSound("beep");
  EXPECT_EQ(last, 0x0E0000FEu);
  EXPECT_EQ(LoadSound("beep"), 0u);
  EXPECT_EQ(CloneSound(last), 0u);
  EXPECT_EQ(LookupSound(0x0E0000FFu), nullptr);
  EXPECT_EQ(LookupSound(0x0E000000u), nullptr);
  EXPECT_EQ(LookupSound(0x0F000001u), nullptr);
}

TEST_F(SoundTest, FailedDuplicateGivesNoHandle) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel);
  HOBJECT source = LoadSound("beep");
  plat::SetFailPoint(plat::FailPoint::DuplicateSoundBuffer, 0, 2);
  EXPECT_EQ(CloneSound(source), 0u);
  EXPECT_EQ(LoadSound("beep"), 0u);
  EXPECT_EQ(g_soundTable.mark, 1) << "no empty slot was handed out";
  EXPECT_EQ(CloneSound(source), 0x0E000002u);
}

TEST_F(SoundTest, WaveIsFoundInTheOverrideDirectoryFirstThenTheSoundDirectory) {
  std::filesystem::create_directories("extra");
  std::filesystem::create_directories("waves");
  WriteLevelWave("extra/both.wav", 1000);
  WriteLevelWave("waves/both.wav", 2000);
  WriteLevelWave("waves/only.wav", 3000);
  WriteLevelWave("here.wav", 4000);
  ASSERT_EQ(Open(), 1);
  SetOverrideDirectory("extra");
  SetSoundDirectory("waves");
  struct Case {
    const char* name;
    int16_t level;  // 0: not found
  } cases[] = {
      {"both", 1000}, {"only.wav", 3000}, {"waves\\both", 2000}, {".\\here", 4000},
      {"here", 0},    {"missing", 0},     {"waves\\missing", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HOBJECT h = LoadSound(c.name);
    if (!c.level) {
      EXPECT_EQ(h, 0u);
      continue;
    }
    ASSERT_NE(h, 0u);
    StartSound(h, 0);
    EXPECT_NEAR(PullLeft(), Level(c.level), 1e-4);
    FreeSound(h);
  }
}

TEST_F(SoundTest, OnlyPcmWavesOf8Or16BitsLoad) {
  ASSERT_EQ(Open(), 1);
  struct Case {
    const char* name;
    uint16_t formatTag;
    uint32_t fmtSize;
    int bits;
    bool loads;
  } cases[] = {
      {"plain", 1, 16, 16, true},                                  // the common 16-byte format chunk
      {"extended", 1, 18, 16, true},                               // with an empty extension
      {"eight", 1, 16, 8, true},     {"float", 3, 16, 16, false},  // format tag other than PCM
      {"adpcm", 2, 20, 16, false},   {"short", 1, 14, 16, false},  // format chunk cut short
      {"wide", 1, 16, 24, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    datagen::WaveSpec spec;
    spec.formatTag = c.formatTag;
    spec.fmtChunkSize = c.fmtSize;
    spec.bitsPerSample = c.bits;
    spec.samples = datagen::ConstantSamples(64, 1, kLevel);
    ASSERT_TRUE(datagen::WriteWave(std::string(c.name) + ".wav", spec));
    HOBJECT h = LoadSound(c.name);
    EXPECT_EQ(h != 0, c.loads);
    FreeSound(h);
  }
  std::vector<uint8_t> noData = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
  ASSERT_TRUE(plat::WriteFileAtomic("nodata.wav", noData.data(), noData.size()));
  EXPECT_EQ(LoadSound("nodata"), 0u);
}

TEST_F(SoundTest, LoopRewindAndPause) {
  ASSERT_EQ(Open(), 1);
  WriteLevelWave("beep.wav", kLevel, 1000);
  HOBJECT h = LoadSound("beep");

  EXPECT_EQ(StartSound(h, 0), 1);
  plat::PullMixedFrames(1200);
  EXPECT_EQ(IsSoundPlaying(h), 0) << "a plain play ends at the end";
  EXPECT_EQ(PositionOf(h), 0u);

  EXPECT_EQ(StartSound(h, 1), 1);
  plat::PullMixedFrames(1200);
  EXPECT_EQ(IsSoundPlaying(h), 1) << "loops";
  EXPECT_EQ(PositionOf(h), 200u);

  EXPECT_EQ(StartSound(h, 0), 1);
  EXPECT_EQ(PositionOf(h), 200u) << "a playing sound is not restarted";
  EXPECT_EQ(StartSound(h, 0x01000001), 1);
  EXPECT_EQ(PositionOf(h), 0u) << "the rewind bit restarts it";
  plat::PullMixedFrames(1500);
  EXPECT_EQ(IsSoundPlaying(h), 1) << "and it loops";

  EXPECT_EQ(StartSound(h, 0x01000000), 1);
  plat::PullMixedFrames(300);
  EXPECT_EQ(PauseSound(h), 1);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  plat::PullMixedFrames(300);
  EXPECT_EQ(PositionOf(h), 300u);
  EXPECT_EQ(StartSound(h, 0), 1);
  EXPECT_EQ(PositionOf(h), 300u) << "continues where it paused";
  plat::PullMixedFrames(100);
  EXPECT_EQ(PositionOf(h), 400u);

  EXPECT_EQ(StopSound(h), 1);
  EXPECT_EQ(IsSoundPlaying(h), 0);
  EXPECT_EQ(PositionOf(h), 0u);
}

TEST_F(SoundTest, CallsAnswerZeroWithoutEngineOrHandle) {
  WriteLevelWave("beep.wav", kLevel);
  EXPECT_EQ(LoadSound("beep"), 0u) << "engine closed";
  ASSERT_EQ(Open(), 1);
  for (HOBJECT bad : {0u, 0x0E000001u, 0x02000001u}) {
    SCOPED_TRACE(bad);
    EXPECT_EQ(StartSound(bad, 0), 0);
    EXPECT_EQ(PauseSound(bad), 0);
    EXPECT_EQ(StopSound(bad), 0);
    EXPECT_EQ(IsSoundPlaying(bad), 0);
    EXPECT_EQ(FreeSound(bad), 0);
    EXPECT_EQ(CloneSound(bad), 0u);
  }
  EXPECT_EQ(LoadSound(nullptr), 0u);
}

}  // namespace
}  // namespace soundtest
