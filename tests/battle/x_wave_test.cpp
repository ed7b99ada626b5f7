#include "battle/x_wave.h"

#include <gtest/gtest.h>

#include "engine/media/sound_table.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/wave_writer.h"

namespace battletest {
namespace {

class XWaveTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    plat::CreateDirectories("waves");
    SetSoundDirectory(".\\waves");
    datagen::WaveSpec spec;
    spec.sampleRate = 11025;
    spec.samples.assign(11025, 1000);
    ASSERT_TRUE(datagen::WriteWave("waves/tune.wav", spec));
  }
};

TEST_F(XWaveTest, HoldsOneSoundAtATime) {
  CXWave wave;
  EXPECT_EQ(wave.Sound(), 0u);
  wave.Play(1);  // nothing held: nothing happens
  ASSERT_EQ(wave.Open("tune"), 1);
  const HOBJECT first = wave.Sound();
  ASSERT_NE(first, 0u);
  wave.Play(1);
  EXPECT_EQ(IsSoundPlaying(first), 1);
  wave.Pause();
  EXPECT_EQ(IsSoundPlaying(first), 0);

  EXPECT_EQ(wave.Open("missing"), 0);
  EXPECT_EQ(wave.Sound(), 0u);
  EXPECT_EQ(LookupSound(first), nullptr) << "the sound held before was freed";

  ASSERT_EQ(wave.Open("tune"), 1);
  const HOBJECT second = wave.Sound();
  wave.Close();
  EXPECT_EQ(wave.Sound(), 0u);
  EXPECT_EQ(LookupSound(second), nullptr);
}

}  // namespace
}  // namespace battletest
