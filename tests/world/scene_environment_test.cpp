#include "world/scene_environment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "components/aj_flare.h"
#include "components/particle_field.h"
#include "components/q_rain.h"
#include "engine/core/fog.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/world.h"
#include "platform/files.h"
#include "tests/world/scene_fixture.h"
#include "tools/datagen/environment_writer.h"
#include "world/ambient_sounds.h"

namespace {

using datagen::EnvironmentRecordData;
using worldtest::SceneFileTest;
using EnvironmentTest = SceneFileTest;

void WriteEnvironment(const std::vector<EnvironmentRecordData>& records) {
  std::string error;
  ASSERT_TRUE(datagen::WriteEnvironmentFile("environment.dat", records, error)) << error;
}

EnvironmentRecordData Village() {
  EnvironmentRecordData r;
  r.scene = "a004";
  r.ambient = {200, 150, 100};
  r.flags = 0x1 | 0x4 | 0x8;
  r.fogDensity = 51;
  r.fogColor = {255, 0, 51};
  r.fogStart = 300;
  r.fogEnd = 2000;
  r.flareDirection = {100, 0, 0};
  r.particlesPerTen = 7;
  r.driftSpeed = 9;
  r.driftDirection = {0, 127, 0};
  return r;
}

bool Default(const CSceneEnvironment& env) {
  return env.ambient[0] == 110 && env.ambient[1] == 110 && env.ambient[2] == 110 && env.effectFlags == 0 &&
         !env.Rain()->IsRunning() && !env.ParticleField()->IsVisible() && !env.Flare()->IsEnabled();
}

TEST_F(EnvironmentTest, RecordAppliesLightFogAndWeather) {
  WriteEnvironment({Village()});
  CSceneEnvironment env("a004.SB");
  EXPECT_EQ(env.ambient[0], 200);
  EXPECT_FLOAT_EQ(GetGameWorld()->ambientGreen, 150 / 255.0f);
  EXPECT_EQ(env.effectFlags, 0xD);
  EXPECT_TRUE(env.IsEffectOn(ENV_FOG));
  EXPECT_FALSE(env.IsEffectOn(ENV_RAIN));
  EXPECT_EQ(GetGameWorld()->fogEnabled, 1);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogStart, 300);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogEnd, 2000);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogColor[2], 0.2f);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogDensity, 0.2f);
  EXPECT_TRUE(env.Flare()->IsEnabled());
  EXPECT_FLOAT_EQ(env.Flare()->GetLightDirection().x, 1);
  EXPECT_TRUE(env.ParticleField()->IsVisible());
  EXPECT_EQ(env.ParticleField()->GetCount(), 70);
  EXPECT_FLOAT_EQ(env.ParticleField()->GetDriftDirection().y, 1);
  EXPECT_FLOAT_EQ(env.ParticleField()->GetDriftSpeed(), 9);
}

TEST_F(EnvironmentTest, SoftwarePathStoresFogWithoutSendingIt) {
  g_hardwareRendering = 0;
  WriteEnvironment({Village()});
  const float start = GetGameWorld()->fogStart;
  const float density = GetGameWorld()->fogDensity;
  CSceneEnvironment env("a004.SB");
  EXPECT_EQ(env.fogDensity, 51);
  EXPECT_FLOAT_EQ(env.fogStart, 300);
  EXPECT_EQ(env.fogColor[0], 255);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogStart, start);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogDensity, density);
}

TEST_F(EnvironmentTest, SceneNamesMatchWholeAndWithoutCase) {
  struct Case {
    const char* indexName;
    const char* scene;
    bool match;
  };
  const Case cases[] = {
      {"a00", "a004.SB", false},  // a prefix is not the name
      {"A004", "a004.SB", true},  // case does not count
      {"a004", "A004", true},    {"a004.sb", "a004.SB", false}, {"a0045", "a004.SB", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.indexName) + " / " + c.scene);
    EnvironmentRecordData r = Village();
    r.scene = c.indexName;
    WriteEnvironment({r});
    CSceneEnvironment env(c.scene);
    EXPECT_EQ(!Default(env), c.match);
  }
}

TEST_F(EnvironmentTest, MissingSceneOrFileKeepsDefaults) {
  CSceneEnvironment none("a004.SB");
  EXPECT_TRUE(Default(none));
  EXPECT_FLOAT_EQ(GetGameWorld()->ambientRed, 110 / 255.0f);
  EXPECT_EQ(GetGameWorld()->fogEnabled, 0);

  EnvironmentRecordData meadow = Village();
  meadow.scene = "e001";
  WriteEnvironment({meadow});
  CSceneEnvironment absent("a004.SB");
  EXPECT_TRUE(Default(absent));
}

TEST_F(EnvironmentTest, ShortRecordAndDefaultParticles) {
  EnvironmentRecordData r;
  r.scene = "ba01";
  r.size = 20;
  r.flags = 0x8;
  r.flareDirection = {0, 0, 100};  // not written: the record ends first
  WriteEnvironment({r});
  CSceneEnvironment env("ba01.sb");
  const VECTOR3& d = env.Flare()->GetLightDirection();
  EXPECT_FLOAT_EQ(d.x, 1 / std::sqrt(2.0f));
  EXPECT_FLOAT_EQ(d.y, 1 / std::sqrt(2.0f));
  EXPECT_FLOAT_EQ(d.z, 0);
  EXPECT_TRUE(env.Flare()->IsEnabled());

  EXPECT_EQ(env.ParticleField()->GetCount(), 0);
  env.EnableEffect(ENV_PARTICLES, 1);
  EXPECT_EQ(env.ParticleField()->GetCount(), 500);
  EXPECT_TRUE(env.IsEffectOn(ENV_PARTICLES));
  env.EnableEffect(ENV_PARTICLES, 0);
  EXPECT_FALSE(env.ParticleField()->IsVisible());
  EXPECT_EQ(env.ParticleField()->GetCount(), 500);

  env.SetEffectFlags(ENV_RAIN);
  EXPECT_TRUE(env.Rain()->IsRunning());
  EXPECT_FALSE(env.Flare()->IsEnabled());
  env.Release();
  EXPECT_EQ(env.Rain(), nullptr);
  EXPECT_EQ(env.ParticleField(), nullptr);
  EXPECT_EQ(env.Flare(), nullptr);
}

TEST_F(EnvironmentTest, ApplyRestoresTheEngineState) {
  WriteEnvironment({Village()});
  CSceneEnvironment env("a004");
  SetAmbientLight(0, 0, 0);
  EnableFog(0);
  SetFogRange(1, 2);
  env.Apply();
  EXPECT_FLOAT_EQ(GetGameWorld()->ambientRed, 200 / 255.0f);
  EXPECT_EQ(GetGameWorld()->fogEnabled, 1);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogStart, 300);
  EXPECT_TRUE(env.Flare()->IsEnabled());
}

// Bad files: a partial result, nothing read past the file.
TEST_F(EnvironmentTest, CorruptFiles) {
  struct Case {
    const char* what;
    void (*patch)(std::vector<uint8_t>&);
    void (*check)(const CSceneEnvironment&);
  };
  const Case cases[] = {
      {"record cut by the file", [](std::vector<uint8_t>& b) { b.resize(b.size() - 10); },
       [](const CSceneEnvironment& e) {
         EXPECT_EQ(e.ambient[0], 200);
         EXPECT_FLOAT_EQ(e.fogEnd, 0);  // zero-filled
       }},
      {"offset past the end", [](std::vector<uint8_t>& b) { b[40 + 12 + 3] = 0x7F; },
       [](const CSceneEnvironment& e) {
         EXPECT_EQ(e.ambient[0], 0);
         EXPECT_EQ(e.effectFlags, 0);
       }},
      {"huge entry count", [](std::vector<uint8_t>& b) { b[35] = 0x7F; },
       [](const CSceneEnvironment& e) { EXPECT_EQ(e.ambient[0], 200); }},
      {"negative size", [](std::vector<uint8_t>& b) { b[40 + 16 + 3] = 0xFF; },
       [](const CSceneEnvironment& e) { EXPECT_EQ(e.ambient[0], 0); }},
      {"head only", [](std::vector<uint8_t>& b) { b.resize(36); },
       [](const CSceneEnvironment& e) { EXPECT_TRUE(Default(e)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> b = datagen::BuildEnvironmentFile({Village()});
    c.patch(b);
    ASSERT_TRUE(plat::WriteFileAtomic("environment.dat", b.data(), b.size()));
    CSceneEnvironment env("a004.sb");
    c.check(env);
  }
  std::mt19937 rng(104);
  const std::vector<uint8_t> good = datagen::BuildEnvironmentFile({Village(), Village()});
  for (int round = 0; round < 200; ++round) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    if (round % 4 == 0) b.resize(rng() % b.size());
    ASSERT_TRUE(plat::WriteFileAtomic("environment.dat", b.data(), b.size()));
    CSceneEnvironment env("a004.sb");
    EXPECT_LE(env.ParticleField()->GetCount(), 2550);
  }
}

using AmbientSoundsTest = SceneFileTest;

TEST_F(AmbientSoundsTest, EmittersSwitchByDistanceEverySixteenthUpdate) {
  CAmbientSounds sounds(3);
  sounds.Update(1, {0, 0, 0});  // no listener yet: nothing counted
  sounds.AttachListener(0);
  ASSERT_NE(sounds.Listener(), 0u);
  sounds.AddEmitter("stream.wav", {400, 0, 0});
  sounds.AddEmitter("stream.wav", {0, 600, 0});
  ASSERT_NE(sounds.Emitters()[0].node, 0u);
  EXPECT_EQ(sounds.Emitters()[0].flags, 0);
  EXPECT_FLOAT_EQ(LookupNode(sounds.Emitters()[1].node)->local.row[3].y, 600);
  for (int i = 1; i < 16; ++i) {
    sounds.Update(1, {0, 0, 0});
    EXPECT_EQ(sounds.Emitters()[0].flags, 0) << i;
  }
  sounds.Update(1, {0, 0, 0});
  EXPECT_EQ(sounds.Emitters()[0].flags & CAmbientSounds::kPlaying, CAmbientSounds::kPlaying);
  EXPECT_EQ(sounds.Emitters()[1].flags, 0);

  // Walking away switches it off at the next test.
  for (int i = 0; i < 16; ++i) sounds.Update(0, {2000, 0, 0});
  EXPECT_EQ(sounds.Emitters()[0].flags, 0);
}

TEST_F(AmbientSoundsTest, SlotsListenerAndSwitches) {
  CAmbientSounds sounds(1);
  sounds.AddEmitter("a.wav", {1, 2, 3});
  HOBJECT first = sounds.Emitters()[0].node;
  sounds.AddEmitter("b.wav", {4, 5, 6});  // the table is full
  EXPECT_EQ(sounds.Emitters().size(), 1u);
  EXPECT_EQ(sounds.Emitters()[0].node, first);
  EXPECT_FLOAT_EQ(sounds.Emitters()[0].position.x, 1);

  VECTOR3 size{1, 1, 1};
  HOBJECT a = CreateDummyNode(0, &size);
  HOBJECT b = CreateDummyNode(0, &size);
  sounds.AttachListener(a);
  HOBJECT listener = sounds.Listener();
  EXPECT_EQ(GetNodeParent(listener), a);
  sounds.AttachListener(b);
  EXPECT_EQ(sounds.Listener(), listener);
  EXPECT_EQ(GetNodeParent(listener), b);

  sounds.SetActive(0, 1);
  EXPECT_EQ(sounds.Emitters()[0].flags, CAmbientSounds::kPlaying);
  sounds.Enable(0);  // stops the sound, keeps the switch
  EXPECT_EQ(sounds.Emitters()[0].flags, CAmbientSounds::kPlaying);
  sounds.SetActive(0, 0);
  EXPECT_EQ(sounds.Emitters()[0].flags, 0);
  sounds.SetActive(5, 1);
  sounds.SetActive(-1, 1);

  CAmbientSounds none(0);
  none.AddEmitter("a.wav", {0, 0, 0});
  EXPECT_TRUE(none.Emitters().empty());
}

}  // namespace
