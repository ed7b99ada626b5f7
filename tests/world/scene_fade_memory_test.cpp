#include <gtest/gtest.h>

#include <vector>

#include "base/game_math.h"
#include "database/scene_records.h"
#include "engine/core/node_transforms.h"
#include "platform/files.h"
#include "tests/world/live_scene_fixture.h"
#include "world/object_state_memory.h"
#include "world/scene_fade.h"
#include "world/scene_markers.h"

namespace {

using namespace datagen;
using worldtest::Keyframed;
using worldtest::LiveSceneTest;

using SceneFadeTest = LiveSceneTest;
using ObjectStateMemoryTest = LiveSceneTest;

TEST_F(SceneFadeTest, FadesEndOrHoldAfterThirtySteps) {
  struct Case {
    int direction, hold;
    int endsAt;   // the step that reports the end, 0 for never
    float alpha;  // after 40 steps
  };
  const Case cases[] = {{0, 0, 30, 1.0f}, {1, 0, 30, 0.0f}, {0, 1, 0, 29.0f / 30}, {1, 1, 0, 0.0f}};
  for (const Case& k : cases) {
    CFadePlane fade(k.direction, 30, k.hold);
    EXPECT_FLOAT_EQ(fade.alpha, k.direction ? 1.0f : 0.0f);
    int endedAt = 0;
    for (int step = 1; step <= 40 && !endedAt; ++step) {
      if (fade.Step()) endedAt = step;
      EXPECT_EQ(fade.IsFading(), step < 30) << step;
    }
    for (int step = 0; step < 10 && !endedAt; ++step) fade.Step();
    EXPECT_EQ(endedAt, k.endsAt) << k.direction << " " << k.hold;
    EXPECT_NEAR(fade.alpha, k.alpha, 1e-5) << k.direction << " " << k.hold;
  }
}

TEST_F(SceneFadeTest, MarkersBobOnTheSharedCounter) {
  for (int c = 0; c <= 9; ++c) EXPECT_FLOAT_EQ(CPortalSet::BobOffset(c), -0.5f * c);
  for (int c = 10; c <= 30; ++c) EXPECT_FLOAT_EQ(CPortalSet::BobOffset(c), -0.25f * (30 - c));
  EXPECT_FLOAT_EQ(CPortalSet::BobOffset(10), -5);

  std::vector<PORTALDESC> portals(1);
  portals[0].zone.corners = {{{0, 10}, {10, 10}, {10, 0}, {0, 0}}};
  portals[0].zone.zMin = 0;
  portals[0].zone.zMax = 100;
  CPortalSet set(1, &portals, 0);
  set.UpdateProximity({5, 5, 0});
  ASSERT_TRUE(set.active[0]);
  for (int i = 0; i < 31; ++i) {
    set.AnimateMarkers();
    MATRIX34 m;
    GetNodeMatrix(set.markers[0], &m, 1);
    EXPECT_FLOAT_EQ(m.row[3].z, 50 + CPortalSet::BobOffset(CPortalSet::SharedCounter()));
  }
}

TEST_F(SceneFadeTest, AClosedPortalsMarkerNeverShows) {
  std::vector<PORTALDESC> portals(2);
  for (PORTALDESC& p : portals) {
    p.zone.corners = {{{0, 10}, {10, 10}, {10, 0}, {0, 0}}};
    p.zone.zMax = 100;
  }
  portals[1].closed = 1;
  CPortalSet set(2, &portals, 0);
  for (const VECTOR3& at : {VECTOR3{5, 5, 0}, VECTOR3{5, 300, 0}}) {
    EXPECT_EQ(set.UpdateProximity(at), 2);
    EXPECT_EQ(set.active[0], at.y < 100 ? 1 : 0);
    EXPECT_EQ(set.active[1], 0) << "even with the player inside";
  }
  set.SetOpen(1, 1);
  EXPECT_TRUE(set.IsOpen(1));
  set.UpdateProximity({5, 5, 0});
  EXPECT_EQ(set.active[1], 1);
  set.SetOpen(7, 1);
  EXPECT_FALSE(set.IsOpen(7));
  CPortalSet none(0, &portals, 0);
  EXPECT_EQ(none.UpdateProximity({0, 0, 0}), 0);
  none.AnimateMarkers();
  none.Show(1);
}

TEST_F(SceneFadeTest, TheDestinationMarkerShrinksThenFadesOut) {
  CLocateMarker marker;
  marker.Step();
  EXPECT_EQ(marker.active, 0) << "unarmed it does nothing";
  marker.Arm({10, 20, 0}, 3.6f);
  int steps = 0;
  while (marker.active && steps < 100) {
    marker.Step();
    ++steps;
    EXPECT_GE(marker.scale, 0) << "the square never mirrors";
  }
  EXPECT_EQ(marker.active, 0);
  EXPECT_EQ(steps, 2 + 15) << "two shrinking steps, then fifteen fading ones";
}

SceneFileData ObjectsScene(int count) {
  SceneFileData s;
  for (int i = 0; i < count; ++i) s.objects.push_back(Keyframed("_obj" + std::to_string(i), 1, 0, 3));
  return s;
}

// Plays the objects of c for ticks steps.
void Play(CSceneContent& c, int ticks) {
  for (int i = 0; i < ticks; ++i) c.Update(1);
}

TEST_F(ObjectStateMemoryTest, BlocksGrowInPlaceAndRestoreAsManyAsExist) {
  CObjectStateMemory memory;
  CSceneContent& two = Content(ObjectsScene(2));
  Play(two, 5);
  memory.Store(7, two);
  CSceneContent& one = Content(ObjectsScene(1));
  Play(one, 3);
  memory.Store(9, one);
  EXPECT_EQ(memory.Maps(), (std::vector<int16_t>{7, 9}));
  EXPECT_EQ(memory.Ends(), (std::vector<int16_t>{2, 3}));
  EXPECT_EQ(memory.Records()[2].frame, 3);

  CSceneContent& three = Content(ObjectsScene(3));
  Play(three, 8);
  memory.Store(7, three);
  EXPECT_EQ(memory.Ends(), (std::vector<int16_t>{3, 4})) << "map 7 grew in place, map 9 moved";
  ASSERT_EQ(memory.Records().size(), 4u);
  EXPECT_EQ(memory.Records()[0].frame, 8);
  EXPECT_EQ(memory.Records()[0].state, ANIM_PLAYING);
  EXPECT_EQ(memory.Records()[3].frame, 3) << "map 9's record kept";

  CSceneContent& fewer = Content(ObjectsScene(2));
  memory.Recall(7, fewer);
  EXPECT_EQ(fewer.keyframed[0].frame, 8) << "as many as exist";
  EXPECT_EQ(fewer.keyframed[1].frame, 8);
  CSceneContent& more = Content(ObjectsScene(5));
  memory.Recall(9, more);
  EXPECT_EQ(more.keyframed[0].frame, 3);
  EXPECT_EQ(more.keyframed[1].frame, 0) << "beyond the block nothing changes";
}

TEST_F(ObjectStateMemoryTest, LimitsAreKeptAndTheStoredFormReadsBack) {
  CObjectStateMemory memory;
  CSceneContent& c = Content(ObjectsScene(2));
  Play(c, 4);
  c.keyframed[1].record->playsLeft = -3;
  c.keyframed[1].direction = 1;
  for (int map = 1; map <= CObjectStateMemory::kMaxMaps; ++map) memory.Store(map, c);
  memory.Store(CObjectStateMemory::kMaxMaps + 1, c);
  EXPECT_EQ(memory.MapCount(), CObjectStateMemory::kMaxMaps);
  EXPECT_TRUE(trace_.Contains("not kept"));
  memory.Store(5, c);
  EXPECT_EQ(memory.MapCount(), CObjectStateMemory::kMaxMaps) << "a known map still updates";

  plat::ByteWriter out;
  memory.Write(out);
  EXPECT_EQ(out.Size(), 4u + 600 * 4 + 1200 * 8u) << "the block passes 65535 bytes";
  CObjectStateMemory back;
  plat::ByteReader in(out.Bytes());
  ASSERT_TRUE(back.Read(in));
  EXPECT_EQ(back.Maps(), memory.Maps());
  EXPECT_EQ(back.Ends(), memory.Ends());
  ASSERT_EQ(back.Records().size(), memory.Records().size());
  EXPECT_EQ(back.Records()[1].playsLeft, -3);
  EXPECT_EQ(back.Records()[1].direction, 1);
  EXPECT_EQ(back.Records()[0].frame, memory.Records()[0].frame);
}

TEST_F(ObjectStateMemoryTest, MalformedBlocksAreRefusedAndLeaveTheMemoryEmpty) {
  auto block = [](int32_t n, std::vector<int16_t> maps, std::vector<int16_t> ends, int records) {
    plat::ByteWriter w;
    w.I32(n);
    for (int16_t m : maps) w.I16(m);
    for (int16_t e : ends) w.I16(e);
    w.Zeros(static_cast<size_t>(records) * 8);
    return w.Bytes();
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool accepted;
  };
  const Case cases[] = {
      {"good", block(2, {1, 2}, {1, 3}, 3), true},
      {"empty", block(0, {}, {}, 0), true},
      {"601 maps", block(601, std::vector<int16_t>(601, 1), std::vector<int16_t>(601, 0), 0), false},
      {"negative count", block(-1, {}, {}, 0), false},
      {"ends falling", block(2, {1, 2}, {3, 1}, 3), false},
      {"negative end", block(1, {1}, {-2}, 0), false},
      {"records missing", block(2, {1, 2}, {1, 3}, 2), false},
      {"truncated ends", block(2, {1, 2}, {1}, 0), false},
      {"nothing", {}, false},
  };
  for (const Case& k : cases) {
    CObjectStateMemory memory;
    CSceneContent& c = Content(ObjectsScene(1));
    memory.Store(4, c);
    plat::ByteReader in(k.bytes);
    EXPECT_EQ(memory.Read(in), k.accepted) << k.what;
    if (!k.accepted) {
      EXPECT_EQ(memory.MapCount(), 0) << k.what;
      EXPECT_TRUE(memory.Records().empty()) << k.what;
    }
  }
}

}  // namespace
