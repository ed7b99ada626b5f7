#include <gtest/gtest.h>

#include <cstdint>

#include "components/efficacy_file.h"
#include "tests/effects/effects_fixture.h"
#include "tools/datagen/efficacy_writer.h"

namespace effectstest {
namespace {

using namespace efc;

// One record of every kind, with distinct values in the fields that sit
// after variable-sized parts.
EFCFILEDESC EveryKind() {
  EFCFILEDESC f;
  f.reserved = 77;
  f.frameCount = 12;
  EFCSECTIONALRECORD s = Ribbon("arc");
  s.header.placement = kAim;
  s.header.aim.directionPart = "hand";
  s.header.aim.positionPart = "tip";
  s.header.aim.keepZ = 1;
  auto ribbonKey = KeyAt<EFCRIBBONKEYDESC>(3, 1, 0);
  ribbonKey.changes[3] = {0.5f, 0.25f, 0.125f};
  ribbonKey.ambientChange = {1, 2, 3};
  s.keys = {KeyAt<EFCRIBBONKEYDESC>(0), ribbonKey};
  s.shape.vBottom = 0.75f;
  f.sectionals.push_back(s);
  EFCTRACTIONRECORD t = Trail("trail", "hand", "tip");
  t.keys = {KeyAt<EFCRIBBONKEYDESC>(1)};
  f.tractions.push_back(t);
  EFCPARTICLERECORD p = Emitter("sparks", 16, 5);
  auto particleKey = KeyAt<EFCPARTICLEKEYDESC>(2);
  particleKey.emissions = 9;
  p.keys = {particleKey};
  p.emitter.spread = 3.5f;
  f.particles.push_back(p);
  EFCLIGHTRECORD l = Light("flash");
  auto lightKey = KeyAt<EFCLIGHTKEYDESC>(4);
  lightKey.intensityChange = -0.25f;
  l.keys = {lightKey};
  l.header.placement = kAttach;
  l.header.part = "hand";
  f.lights.push_back(l);
  EFCCAMERARECORD c = Camera("view");
  auto cameraKey = KeyAt<EFCCAMERAKEYDESC>(0);
  cameraKey.followedPart = "tip";
  cameraKey.movement = {1, 2, 3};
  c.keys = {cameraKey};
  f.cameras.push_back(c);
  EFCCREATURERECORD m;
  m.header = Element("copy");
  m.model = "ghost";
  auto creatureKey = KeyAt<EFCCREATUREKEYDESC>(5);
  creatureKey.scale = {0.5f, 0, 0};
  m.keys = {creatureKey};
  f.creatures.push_back(m);
  f.sounds.push_back(Sound("slash.wav", {{1, 2}, {6, 0x11}}));
  return f;
}

TEST(EffectFiles, AWrittenEffectReadsBackEveryRecord) {
  EFCFILEDESC read;
  std::string why;
  ASSERT_TRUE(ReadEfficacyFile(datagen::BuildEfficacyFile(EveryKind()), &read, &why)) << why;
  EXPECT_EQ(read.reserved, 77);
  EXPECT_EQ(read.frameCount, 12);
  ASSERT_EQ(read.sectionals.size(), 1u);
  EXPECT_EQ(read.sectionals[0].header.aim.positionPart, "tip");
  EXPECT_EQ(read.sectionals[0].header.aim.keepZ, 1);
  ASSERT_EQ(read.sectionals[0].keys.size(), 2u);
  EXPECT_EQ(read.sectionals[0].keys[1].frame, 3);
  EXPECT_EQ(read.sectionals[0].keys[1].attached, 1);
  EXPECT_FLOAT_EQ(read.sectionals[0].keys[1].changes[3].z, 0.125f);
  EXPECT_FLOAT_EQ(read.sectionals[0].keys[1].ambientChange.z, 3);
  EXPECT_FLOAT_EQ(read.sectionals[0].shape.vBottom, 0.75f);
  EXPECT_EQ(read.sectionals[0].shape.texture, "glow00.bmp");
  ASSERT_EQ(read.tractions.size(), 1u);
  EXPECT_EQ(read.tractions[0].header.secondPart, "tip");
  EXPECT_EQ(read.tractions[0].trail.texture, "trail");
  EXPECT_EQ(read.tractions[0].trail.sectionCount, 4);
  ASSERT_EQ(read.particles.size(), 1u);
  EXPECT_EQ(read.particles[0].keys[0].emissions, 9);
  EXPECT_FLOAT_EQ(read.particles[0].emitter.spread, 3.5f);
  EXPECT_EQ(read.particles[0].emitter.lifetime, 5);
  ASSERT_EQ(read.lights.size(), 1u);
  EXPECT_EQ(read.lights[0].header.part, "hand");
  EXPECT_FLOAT_EQ(read.lights[0].keys[0].intensityChange, -0.25f);
  ASSERT_EQ(read.cameras.size(), 1u);
  EXPECT_EQ(read.cameras[0].keys[0].followedPart, "tip");
  EXPECT_FLOAT_EQ(read.cameras[0].keys[0].movement.z, 3);
  ASSERT_EQ(read.creatures.size(), 1u);
  EXPECT_EQ(read.creatures[0].model, "ghost");
  EXPECT_FLOAT_EQ(read.creatures[0].keys[0].scale.x, 0.5f);
  ASSERT_EQ(read.sounds.size(), 1u);
  EXPECT_EQ(read.sounds[0].wave, "slash.wav");
  ASSERT_EQ(read.sounds[0].cues.size(), 2u);
  EXPECT_EQ(read.sounds[0].cues[1].flags, 0x11);
}

// Every cut of the file is refused except where the optional creature and
// sound counts begin; the reader never reads past the end (ASan).
TEST(EffectFiles, EveryTruncationIsRefusedButTheOptionalTails) {
  EFCFILEDESC full = EveryKind();
  const std::vector<uint8_t> bytes = datagen::BuildEfficacyFile(full);
  EFCFILEDESC withoutSounds = full;
  withoutSounds.hasSounds = false;
  EFCFILEDESC withoutCreatures = full;
  withoutCreatures.hasCreatures = false;
  const size_t creaturesStart = datagen::BuildEfficacyFile(withoutCreatures).size();
  const size_t soundsStart = datagen::BuildEfficacyFile(withoutSounds).size();
  for (size_t cut = 0; cut <= bytes.size(); ++cut) {
    std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
    EFCFILEDESC read;
    std::string why;
    const bool expected = cut == creaturesStart || cut == soundsStart || cut == bytes.size();
    ASSERT_EQ(ReadEfficacyFile(part, &read, &why), expected) << "cut at " << cut;
    if (!expected) {
      EXPECT_FALSE(why.empty());
      EXPECT_TRUE(read.sectionals.empty() && read.cameras.empty() && read.frameCount == 0);
    }
  }
  EFCFILEDESC read;
  std::string why;
  ASSERT_TRUE(
      ReadEfficacyFile({bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(creaturesStart)}, &read, &why));
  EXPECT_FALSE(read.hasCreatures);
  EXPECT_TRUE(read.creatures.empty() && read.sounds.empty());
  EXPECT_EQ(read.cameras.size(), 1u);
}

// A count that promises more records than bytes remain, at each place a
// count stands, is refused before anything is allocated for it.
TEST(EffectFiles, HugeCountsAreRefused) {
  EFCFILEDESC f;
  f.frameCount = 4;
  EFCSECTIONALRECORD s = Ribbon("r");
  s.keys = {KeyAt<EFCRIBBONKEYDESC>(0)};
  f.sectionals.push_back(s);
  f.sounds.push_back(Sound("a.wav", {{0, 2}}));
  const std::vector<uint8_t> bytes = datagen::BuildEfficacyFile(f);
  const size_t sectionalCount = 58;
  const size_t keyCount = sectionalCount + 4 + 84;
  const size_t cueCount = bytes.size() - 40 - 8 - 4;
  for (size_t at : {sectionalCount, keyCount, cueCount}) {
    for (uint32_t value : {0x7FFFFFFFu, 0xFFFFFFFFu, 1000u}) {
      std::vector<uint8_t> bad = bytes;
      for (int i = 0; i < 4; ++i) bad[at + i] = static_cast<uint8_t>(value >> (8 * i));
      EFCFILEDESC read;
      std::string why;
      EXPECT_FALSE(ReadEfficacyFile(bad, &read, &why)) << at << " " << value;
      EXPECT_NE(why.find("count"), std::string::npos) << why;
    }
  }
}

// A few sections or particles too many for the engine's node pool refuse
// the file; the limit itself is taken.
TEST(EffectFiles, EffectsNeedingTooManyEngineNodesAreRefused) {
  struct Case {
    int sections, trailSections, pool;
    bool accepted;
  } cases[] = {{1000, 1000, 48 - 3, true},
               {1000, 1000, 48 - 2, false},
               {kMaxEffectNodes + 1, 0, -5, false},
               {0, 0, kMaxEffectNodes - 3, true}};
  for (const Case& c : cases) {
    EFCFILEDESC f;
    f.sectionals.push_back(Ribbon("r", c.sections));
    f.tractions.push_back(Trail("t", "a", "b", c.trailSections));
    f.particles.push_back(Emitter("p", c.pool, 1));
    EFCFILEDESC read;
    std::string why;
    EXPECT_EQ(ReadEfficacyFile(datagen::BuildEfficacyFile(f), &read, &why), c.accepted) << c.pool;
  }
}

TEST(EffectFiles, ANegativeFrameCountIsRefused) {
  for (int32_t frames : {INT32_MIN, -1, 0, 1, INT32_MAX}) {
    EFCFILEDESC f;
    f.frameCount = frames;
    EFCFILEDESC read;
    std::string why;
    EXPECT_EQ(ReadEfficacyFile(datagen::BuildEfficacyFile(f), &read, &why), frames >= 0) << frames;
    EXPECT_EQ(read.frameCount, frames >= 0 ? frames : 0) << frames;
  }
}

class EffectLoading : public EffectTest {
 protected:
  void SetUp() override {
    EffectTest::SetUp();
    textures_ = GetTextureDirectory();
  }
  std::string textures_;
};

TEST_F(EffectLoading, ARefusedFileLeavesTheEffectEmptyAndTheTextureDirectoryBack) {
  const std::vector<uint8_t> bytes = datagen::BuildEfficacyFile(EveryKind());
  for (size_t cut : {size_t{10}, size_t{60}, bytes.size() / 2, bytes.size() - 1}) {
    ASSERT_TRUE(plat::WriteFileAtomic("data/Efficacy/cut.efc", bytes.data(), cut));
    CEfficacy effect;
    EXPECT_EQ(effect.Load("cut", 0, 0, owner_.get(), 0), 0) << cut;
    EXPECT_EQ(effect.FrameCount(), 0);
    EXPECT_TRUE(effect.sectionals.empty() && effect.tractions.empty() && effect.sounds.empty());
    EXPECT_EQ(effect.Update(0), 0);
    EXPECT_EQ(GetTextureDirectory(), textures_);
  }
  EXPECT_TRUE(trace_.Contains("cut"));
  CEfficacy missing;
  EXPECT_EQ(missing.Load("absent", 0, 0, owner_.get(), 0), 0);
  EXPECT_EQ(GetTextureDirectory(), textures_);
}

TEST_F(EffectLoading, AWrittenEffectBuildsOneElementPerRecord) {
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "every", EveryKind()), 1);
  EXPECT_EQ(effect.FrameCount(), 12);
  EXPECT_EQ(effect.Name(), "every");
  EXPECT_EQ(effect.sectionals.size(), 1u);
  EXPECT_EQ(effect.tractions.size(), 1u);
  EXPECT_EQ(effect.particles.size(), 1u);
  EXPECT_EQ(effect.lights.size(), 1u);
  EXPECT_EQ(effect.cameras.size(), 1u);
  EXPECT_EQ(effect.creatures.size(), 1u);
  EXPECT_EQ(effect.sounds.size(), 1u);
  EXPECT_EQ(effect.sectionals[0].element->GetName(), "arc");
  EXPECT_EQ(effect.lights[0].element->GetParentNode(), owner_->FindPartNode("hand"));
  EXPECT_EQ(GetTextureDirectory(), textures_);
  effect.Unload();
  EXPECT_EQ(effect.FrameCount(), 0);
  EXPECT_FALSE(effect.IsPlaying());
  EXPECT_TRUE(effect.Name().empty());
}

}  // namespace
}  // namespace effectstest
