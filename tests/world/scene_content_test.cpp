#include "world/scene_content.h"

#include <gtest/gtest.h>

#include <cmath>

#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"
#include "tests/world/live_scene_fixture.h"
#include "world/scene_morph_player.h"

namespace {

using namespace datagen;
using worldtest::Ground;
using worldtest::Keyframed;
using worldtest::LiveSceneTest;
using worldtest::Part;
using worldtest::Triangle;

using SceneContentTest = LiveSceneTest;

TEST_F(SceneContentTest, TerrainAndBackgroundAreNotListedSoLaterIndicesShift) {
  SceneFileData s;
  SceneObjectData sky = Triangle("sky", {Part("sky")});
  sky.kind = 2;
  sky.flags = 0x01;
  SceneObjectData mill = Triangle("mill", {Part("wood")});
  mill.kind = 5;
  mill.spin = 3;
  s.objects = {Ground(100), Triangle("house", {Part("stone")}), sky, mill, Keyframed("_door", 1, 0, 1)};
  CSceneContent& c = Content(s);
  ASSERT_EQ(c.objects.size(), 3u) << "terrain and sky are left out";
  EXPECT_EQ(c.objects[0]->name, "house");
  ASSERT_EQ(c.spins.size(), 1u);
  EXPECT_EQ(c.spins[0].index, 1) << "file index 3, content index 1";
  ASSERT_EQ(c.keyframed.size(), 1u);
  EXPECT_EQ(c.keyframed[0].index, 2);
  EXPECT_NE(c.terrain, 0u);
  EXPECT_EQ(c.terrainNode, data_->objects[0]->node);
  EXPECT_EQ(c.skyNode, data_->objects[2]->node);
  EXPECT_EQ(c.backgroundNode, data_->objects[2]->node) << "kind 2 is a background";
}

TEST_F(SceneContentTest, RepeatKindsEndInTheirOwnStates) {
  struct Case {
    uint8_t repeat;
    int16_t plays;
    uint8_t endState;
    int forwardRuns;  // times the object passed frame 9 going forward
    int backRuns;     // times it came back to frame 0 going backward
  };
  const Case cases[] = {{1, 2, ANIM_BOUNCED_OUT, 1, 1}, {0, 2, ANIM_PLAYED_OUT, 2, 0}, {1, 3, ANIM_BOUNCED_OUT, 2, 1}};
  for (const Case& k : cases) {
    SceneFileData s;
    s.objects = {Keyframed("_lift", 1, k.repeat, k.plays)};
    CSceneContent& c = Content(s);
    ANIMOBJSTATE& o = c.keyframed[0];
    int forward = 0, back = 0;
    for (int i = 0; i < 200 && o.state != k.endState; ++i) {
      const int before = o.frame;
      c.Update(1);
      if (before == 9 && o.frame == 10) ++forward;
      if (before == 1 && o.frame == 0) ++back;
    }
    EXPECT_EQ(o.state, k.endState) << int(k.repeat) << " " << k.plays;
    EXPECT_EQ(o.record->playsLeft, 0);
    EXPECT_EQ(forward, k.forwardRuns) << int(k.repeat) << " " << k.plays;
    EXPECT_EQ(back, k.backRuns) << int(k.repeat) << " " << k.plays;
    const int frame = o.frame;
    c.Update(1);
    EXPECT_EQ(o.frame, frame) << "a finished object stays";
  }
}

TEST_F(SceneContentTest, ARandomStartWaitsForItsDelayThenForTheUpperHalfOfRand) {
  SceneFileData s;
  SceneObjectData o = Keyframed("_bird", 2, 0, 1);
  o.animation->delay = 10;
  s.objects = {o};
  for (unsigned seed : {1u, 7u, 12345u}) {
    CSceneContent& c = Content(s);
    plat::Srand(seed);
    int expected = 0;
    for (int tick = 1; tick < 1000 && !expected; ++tick)
      if (tick >= 10 && plat::Rand() > 16383) expected = tick;
    plat::Srand(seed);
    int started = 0;
    for (int tick = 1; tick < 1000 && !started; ++tick) {
      c.Update(1);
      if (c.keyframed[0].state == ANIM_PLAYING) started = tick;
    }
    EXPECT_GE(started, 10);
    EXPECT_EQ(started, expected) << seed;
  }
}

TEST_F(SceneContentTest, RotationKeysReplaceScaleAndThePositionFollowsItsKeys) {
  SCENEANIMDESC a;
  a.firstKey = 0;
  a.lastKey = 20;
  a.positionKeys = {{0, {0, 0, 0}}, {20, {20, 40, 0}}};
  a.position = {0, 20, 2};
  a.scaleKeys = {{0, {2, 2, 2}}, {20, {2, 2, 2}}};
  a.scale = {0, 20, 2};
  const float s = std::sin(0.5f), co = std::cos(0.5f);  // a turn of 1 radian about z
  a.rotationKeys = {{0, {1, 0, 0, 0}}, {20, {co, 0, 0, s}}};
  a.rotation = {0, 20, 2};
  MATRIX34 m{};
  EXPECT_EQ(CSceneContent::SampleTransform(&m, a, 10), 0);
  EXPECT_FLOAT_EQ(m.row[3].x, 10);
  EXPECT_FLOAT_EQ(m.row[3].y, 20);
  for (int r = 0; r < 3; ++r) {
    const VECTOR3& v = m.row[r];
    EXPECT_NEAR(v.x * v.x + v.y * v.y + v.z * v.z, 1.0, 1e-5) << "row " << r << " carries no scale";
  }
  EXPECT_NEAR(std::fabs(m.row[0].y), std::sin(0.5), 1e-4) << "half the turn at half the track";

  a.rotationKeys.clear();
  a.rotation = {};
  MATRIX34 scaled{};
  CSceneContent::SampleTransform(&scaled, a, 10);
  EXPECT_FLOAT_EQ(scaled.row[0].x, 2) << "without rotation keys the scale stays";
  EXPECT_EQ(CSceneContent::SampleTransform(&scaled, a, 0), -1);
  EXPECT_EQ(CSceneContent::SampleTransform(&scaled, a, 20), -2);
}

TEST_F(SceneContentTest, UpdateAdvancesItsPassesOnceAndTheMorphByTheTicks) {
  SceneFileData s;
  SceneObjectData scroll = Triangle("river", {Part("water")});
  scroll.flags = 0x04;
  scroll.scrollU = 0.25f;
  SceneObjectData mill = Triangle("mill", {Part("wood")});
  mill.kind = 5;
  mill.spin = 10;
  SceneObjectData morph = Triangle("M_flag", {Part("cloth")});
  morph.kind = 8;
  SceneMorphData wave;
  wave.frameCount = 5;
  wave.vertexCount = 3;
  for (int f = 0; f < 5; ++f)
    for (int v = 0; v < 3; ++v) wave.frames.insert(wave.frames.end(), {float(v), float(f), 0});
  s.morphs = {wave};
  SceneObjectData torch;
  torch.name = "torch";
  torch.kind = 7;
  torch.parts = {Part("flame")};
  torch.parts[0].frameCount = 4;
  torch.parts[0].ticksPerFrame = 2;
  s.objects = {scroll, mill, morph, Keyframed("_door", 1, 0, 1), torch};
  CSceneContent& c = Content(s);
  const float u0 = GetMeshVertices(c.NodeOf(0), nullptr, nullptr, nullptr)[1].u;

  c.Update(3);
  EXPECT_FLOAT_EQ(GetMeshVertices(c.NodeOf(0), nullptr, nullptr, nullptr)[1].u, u0 + 0.25f);
  MATRIX34 m;
  GetNodeMatrix(c.NodeOf(1), &m, 1);
  EXPECT_NEAR(std::atan2(m.row[0].y, m.row[0].x) * 180 / M_PI, 10, 1e-3) << "one spin step";
  EXPECT_EQ(c.keyframed[0].state, ANIM_PLAYING);
  EXPECT_EQ(c.keyframed[0].frame, 1) << "started, not yet stepped";
  ASSERT_EQ(c.morphs.size(), 1u);
  EXPECT_EQ(c.morphs[0]->currentFrame, 3);
  ASSERT_EQ(c.frameAnims.size(), 1u);
  EXPECT_EQ(c.frameAnims[0].counter, 1) << "one tick of the billboard's two";
  EXPECT_FLOAT_EQ(GetMeshVertices(c.NodeOf(2), nullptr, nullptr, nullptr)[2].y, 3) << "frame 3's positions";
  c.Update(3);
  EXPECT_EQ(c.keyframed[0].frame, 2);
  EXPECT_EQ(c.morphs[0]->currentFrame, 1) << "wrapped by the frame count";
}

TEST_F(SceneContentTest, MorphEntriesAreGuarded) {
  SceneFileData s;
  SceneObjectData a = Triangle("M_a", {Part("cloth")});
  a.kind = 8;
  SceneObjectData b = a, d = a;
  b.name = "M_b";
  d.name = "M_d";
  SceneMorphData empty;  // no frames: no player
  empty.vertexCount = 3;
  SceneMorphData narrow;  // fewer vertices than the mesh, a negative hold
  narrow.frameCount = 2;
  narrow.vertexCount = 2;
  narrow.holdTicks = -5;
  narrow.frames = {0, 0, 0, 0, 0, 0, 7, 7, 7, 8, 8, 8};
  s.morphs = {empty, narrow};
  s.objects = {a, b, d};  // d has no entry left
  CSceneContent& c = Content(s);
  ASSERT_EQ(c.morphs.size(), 1u);
  EXPECT_EQ(c.morphs[0]->contentIndex, 1);
  EXPECT_FLOAT_EQ(data_->morphs[1].frames[3], 10) << "frame 0 took the mesh's second vertex";
  c.Update(1);
  const MESHVERTEX* v = GetMeshVertices(c.NodeOf(1), nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(v[1].x, 8) << "a negative hold steps every tick";
  EXPECT_FLOAT_EQ(v[2].y, 10) << "the third vertex is left alone";
}

TEST_F(SceneContentTest, TriggerTargetsMatchOnTheirFirstElevenCharacters) {
  SceneFileData s;
  s.objects = {Keyframed("_door", 3, 0, 1), Keyframed("gatehouse_nABC", 3, 0, 1)};
  SceneTriggerData t;
  t.name = "lever";
  t.targets = {"GATEHOUSE_nXYZ", "_door"};
  s.triggers = {t};
  Content(s);
  EXPECT_EQ(data_->triggers[0].targetIndices[0], 1);
  EXPECT_EQ(data_->triggers[0].targetIndices[1], 0);
}

TEST_F(SceneContentTest, TriggerAnimationHandsOutItemsOnlyOnTheFirstStart) {
  SceneFileData s;
  SceneObjectData chest = Keyframed("_chest", 3, 0, 1);
  chest.animation->items = {{12, 1, 0}};
  s.objects = {chest, Keyframed("_door", 3, 0, 1)};
  CSceneContent& c = Content(s);
  c.Update(1);
  EXPECT_EQ(c.keyframed[0].state, ANIM_WAITING) << "mode 3 waits for its trigger";
  EXPECT_EQ(c.TriggerAnimation(0), c.keyframed[0].record);
  EXPECT_EQ(c.TriggerAnimation(0), nullptr);
  EXPECT_EQ(c.TriggerAnimation(1), nullptr) << "no items";
  EXPECT_EQ(c.TriggerAnimation(2), nullptr);
  EXPECT_EQ(c.TriggerAnimation(-1), nullptr);
}

TEST_F(SceneContentTest, ShadowAreasFollowTheEvenOddRule) {
  SceneFileData s;
  s.shadows = {{{0, 0, 0}, {100, 0, 0}, {100, 100, 0}, {0, 100, 0}},
               {{40, 40, 0}, {60, 40, 0}, {60, 60, 0}, {40, 60, 0}}};
  CSceneContent& c = Content(s);
  EXPECT_EQ(c.IsInShadowArea({10, 10, 0}), 1);
  EXPECT_EQ(c.IsInShadowArea({50, 50, 0}), 0) << "inside both: a hole";
  EXPECT_EQ(c.IsInShadowArea({150, 50, 0}), 0);
  SceneFileData none;
  EXPECT_EQ(Content(none).IsInShadowArea({10, 10, 0}), 0);
}

}  // namespace
