// Interpolating key tracks: each reaches its first key's value at that key's
// frame, spreads the change to the next key evenly (or all at once with
// jump), meets every key exactly at its frame and holds after the last one.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "cutscene/interpolating_tracks.h"
#include "cutscene/keys.h"
#include "engine/core/nodes.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

template <class K>
std::unique_ptr<K> Key(int frame, std::function<void(K&)> fill) {
  auto key = std::make_unique<K>(frame);
  fill(*key);
  return key;
}

std::unique_ptr<SKeyOpaque> Opaque(int frame, float value, int jump = 0) {
  return Key<SKeyOpaque>(frame, [&](auto& k) { k.opValue = value, k.jump = jump; });
}

// A turn about Z as a key matrix, at the origin.
std::unique_ptr<SKeyCRotate> Orientation(int frame, float degreesAboutZ, float pitch = 0) {
  return Key<SKeyCRotate>(frame, [&](auto& k) {
    MATRIX44 yaw, tilt, both;
    BuildAxisRotationMatrix44(&tilt, 0, pitch);
    BuildAxisRotationMatrix44(&yaw, 2, degreesAboutZ);
    MultiplyMatrix44(&both, &tilt, &yaw);
    for (int r = 0; r < 3; ++r) k.matrix.row[r] = {both.m[4 * r], both.m[4 * r + 1], both.m[4 * r + 2]};
    k.matrix.row[3] = {0, 0, 0};
  });
}

VECTOR3 WorldForward(SVisual* v) {
  VECTOR3 f{};
  v->GetTransform(nullptr, &f, nullptr);
  return f;
}

// Heading of the forward vector in the horizontal plane, degrees from +X.
float Heading(SVisual* v) {
  VECTOR3 f = WorldForward(v);
  return std::atan2(f.y, f.x) * 57.29578f;
}

// The visual tracks act on a real engine node, so these run with the engine open.
class CutSceneInterpolation : public CutSceneEngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }

  SActorTrackSet* Board(CCutScene& play, const char* name) {
    SActorTrackSet* set = play.CreateBoard("board", 1, 8, 8, 0);
    set->actor->SetName(name);
    static_cast<RecBoard*>(set->actor)->node = CreateDummyNode(0, nullptr);
    return set;
  }
  SActorTrackSet* Camera(CCutScene& play, const char* name) {
    HOBJECT node = 0;
    SActorTrackSet* set = play.CreateCamera(1.33f, 16.9899f, 0.86f, 2.0f, 8000.0f, &node, 0);
    set->actor->SetName(name);
    return set;
  }
};

TEST_F(CutSceneInterpolation, EveryTrackMeetsItsKeysAndSpreadsTheChangeBetweenThem) {
  using Values = std::vector<float>;
  struct Row {
    const char* what;
    bool camera;
    std::function<void(SActorTrackSet&)> keys;
    std::function<Values(SActor*)> probe;
    std::vector<std::pair<int, Values>> expected;  // frame played, value after it
    float tolerance = 1e-4f;
  };
  auto opacity = [](SActor* a) { return Values{static_cast<SVisual*>(a)->GetOpacity()}; };
  auto position = [](SActor* a) {
    VECTOR3 p{};
    static_cast<SVisual*>(a)->GetTransform(&p, nullptr, nullptr);
    return Values{p.x, p.y, p.z};
  };
  auto heading = [](SActor* a) { return Values{Heading(static_cast<SVisual*>(a))}; };
  auto forwardUp = [](SActor* a) {
    VECTOR3 f{}, u{};
    static_cast<SVisual*>(a)->GetTransform(nullptr, &f, &u);
    return Values{f.x, f.y, f.z, u.x, u.y, u.z};
  };
  const float c30 = std::cos(30 * 0.01745329f), s30 = std::sin(30 * 0.01745329f);

  const Row rows[] = {
      {"opacity spread, second key at 10 replaced by a later one at 10",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Opaque(0, 0));
         s.AddKey(Opaque(10, 0.3f));
         s.AddKey(Opaque(10, 1));
       },
       opacity,
       {{0, {0}}, {1, {0.1f}}, {5, {0.5f}}, {9, {0.9f}}, {10, {1}}, {12, {1}}}},
      {"opacity with jump on the segment's starting key",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Opaque(0, 0, 1));
         s.AddKey(Opaque(10, 1));
       },
       opacity,
       {{0, {0}}, {5, {0}}, {9, {0}}, {10, {1}}, {12, {1}}}},
      {"a single opacity key keeps the actor's value until its frame",
       false,
       [](SActorTrackSet& s) { s.AddKey(Opaque(4, 0.25f)); },
       opacity,
       {{0, {1}}, {3, {1}}, {4, {0.25f}}, {8, {0.25f}}}},
      {"rotate about the vertical from -Y to +X",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyRotate>(0, [](auto& k) { k.fDir = {0, -1, 0}; }));
         s.AddKey(Key<SKeyRotate>(10, [](auto& k) { k.fDir = {1, 0, 0}; }));
       },
       heading,
       {{0, {-90}}, {5, {-45}}, {10, {0}}, {12, {0}}},
       1e-2f},
      {"translate",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyTranslate>(0, [](auto& k) { k.endPosition = {2, 0, 0}; }));
         s.AddKey(Key<SKeyTranslate>(10, [](auto& k) { k.endPosition = {12, -20, 5}; }));
       },
       position,
       {{0, {2, 0, 0}}, {5, {7, -10, 2.5f}}, {10, {12, -20, 5}}, {12, {12, -20, 5}}}},
      {"translate with jump",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyTranslate>(0, [](auto& k) { k.jump = 1; }));
         s.AddKey(Key<SKeyTranslate>(10, [](auto& k) { k.endPosition = {4, 4, 4}; }));
       },
       position,
       {{0, {0, 0, 0}}, {9, {0, 0, 0}}, {10, {4, 4, 4}}}},
      {"whole orientation, a quarter turn about Z by quaternion steps",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Orientation(0, 0));
         s.AddKey(Orientation(10, 90));
       },
       heading,
       {{0, {-90}}, {5, {-45}}, {10, {0}}, {12, {0}}},
       1e-2f},
      // Levelling the roll turns by float noise each step: a small drift.
      {"whole orientation, pitched down 30 degrees, staying upright",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Orientation(0, 0));
         s.AddKey(Orientation(10, 0, 30));
       },
       forwardUp,
       {{0, {0, -1, 0, 0, 0, 1}}, {10, {0, -c30, -s30, 0, -s30, c30}}},
       1e-2f},
      {"whole orientation, a half turn",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Orientation(0, 0));
         s.AddKey(Orientation(4, 180));
       },
       forwardUp,
       {{0, {0, -1, 0, 0, 0, 1}}, {2, {1, 0, 0, 0, 0, 1}}, {4, {0, 1, 0, 0, 0, 1}}},
       1e-3f},
      {"field of view",
       true,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyFOV>(0, [](auto& k) { k.fov = 45; }));
         s.AddKey(Key<SKeyFOV>(15, [](auto& k) { k.fov = 60; }));
       },
       [](SActor* a) { return Values{static_cast<RecCamera*>(a)->fieldOfView}; },
       {{0, {45}}, {1, {46}}, {7, {52}}, {15, {60}}, {17, {60}}}},
      {"field of view with jump on the target key",
       true,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyFOV>(0, [](auto& k) { k.fov = 45; }));
         s.AddKey(Key<SKeyFOV>(15, [](auto& k) { k.fov = 60, k.jump = 1; }));
       },
       [](SActor* a) { return Values{static_cast<RecCamera*>(a)->fieldOfView}; },
       {{0, {45}}, {14, {45}}, {15, {60}}}},
      {"emissive colour",
       false,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyAdjustMaterialColor>(2, [](auto& k) { k.r = 0.2f; }));
         s.AddKey(Key<SKeyAdjustMaterialColor>(12, [](auto& k) { k.r = 1, k.g = 0.5f, k.b = 0.25f; }));
       },
       [](SActor* a) {
         const float* e = static_cast<RecBoard*>(a)->emissive;
         return Values{e[0], e[1], e[2]};
       },
       {{1, {0, 0, 0}}, {2, {0.2f, 0, 0}}, {7, {0.6f, 0.25f, 0.125f}}, {12, {1, 0.5f, 0.25f}}, {14, {1, 0.5f, 0.25f}}}},
      {"camera target offset moves evenly",
       true,
       [](SActorTrackSet& s) {
         s.AddKey(Key<SKeyTargetOffset>(0, [](auto& k) { k.offset = {0, 0, 2}; }));
         s.AddKey(Key<SKeyTargetOffset>(10, [](auto& k) { k.offset = {4, -8, 12}; }));
       },
       [](SActor* a) {
         VECTOR3 o = static_cast<RecCamera*>(a)->targetOffset;
         return Values{o.x, o.y, o.z};
       },
       {{0, {0, 0, 2}}, {5, {2, -4, 7}}, {10, {4, -8, 12}}, {12, {4, -8, 12}}}},
  };

  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    CCutScene play(640, 480, nullptr);
    SActorTrackSet* set = row.camera ? Camera(play, "a") : Board(play, "a");
    ASSERT_NE(set, nullptr);
    row.keys(*set);
    for (int round = 0; round < 2; ++round) {  // a reset plays it again from the start
      // The test actors' own reset leaves their state alone.
      auto* visual = static_cast<SVisual*>(set->actor);
      const VECTOR3 origin{0, 0, 0}, ahead{0, -1, 0}, up{0, 0, 1};
      visual->SetTransform(&origin, &ahead, &up);
      visual->SetOpacity(1);
      if (auto* board = dynamic_cast<RecBoard*>(visual)) board->SetMaterialColor(3, 0, 0, 0);
      play.Reset();
      int frame = 0;
      for (const auto& [at, want] : row.expected) {
        for (; frame <= at; ++frame) play.Tick();
        Values got = row.probe(set->actor);
        ASSERT_EQ(got.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i)
          EXPECT_NEAR(got[i], want[i], row.tolerance) << "round " << round << " frame " << at << " value " << i;
      }
    }
  }
}

TEST_F(CutSceneInterpolation, TranslateTurnsTowardTheWayOfTravelOverItsRotateFrames) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = Board(play, "b");
  auto* board = static_cast<SVisual*>(set->actor);
  set->AddKey(Key<SKeyTranslate>(0, [](auto& k) { k.autoRotate = 1, k.rotateFrameCount = 5; }));
  set->AddKey(Key<SKeyTranslate>(20, [](auto& k) { k.endPosition = {20, 20, 0}; }));
  play.Reset();
  std::vector<float> headings;
  for (int frame = 0; frame <= 21; ++frame) {
    play.Tick();
    headings.push_back(Heading(board));
  }
  // From -Y to the diagonal (+45 degrees) is 135 degrees: 27 per frame.
  EXPECT_NEAR(headings[0], -90, 1e-3);
  for (int frame = 1; frame <= 5; ++frame)
    EXPECT_NEAR(headings[static_cast<size_t>(frame)], -90 + 27 * frame, 1e-2) << frame;
  EXPECT_NEAR(headings[20], 45, 1e-2);
  VECTOR3 p{};
  board->GetTransform(&p, nullptr, nullptr);
  EXPECT_NEAR(p.x, 20, 1e-3);
  EXPECT_NEAR(p.y, 20, 1e-3);
}

TEST_F(CutSceneInterpolation, RotateTowardThePresentDirectionDoesNotTurn) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = Board(play, "b");
  set->AddKey(Key<SKeyRotate>(0, [](auto& k) { k.fDir = {0, -1, 0}; }));
  set->AddKey(Key<SKeyCRotate>(0, [](auto& k) { SetIdentityMatrix34(&k.matrix); }));
  play.Reset();
  Log().Clear();
  for (int i = 0; i < 3; ++i) play.Tick();
  for (const std::string& line : Log().With("Rotate(")) EXPECT_EQ(line, "b:Rotate(2,0,1)");
  EXPECT_EQ(set->tracks.at(KEY_CROTATE)->Apply(), 1);
  EXPECT_NEAR(Heading(static_cast<SVisual*>(set->actor)), -90, 1e-4);
}

TEST_F(CutSceneInterpolation, LockTargetFollowsTheNamedActorOrStopsFollowing) {
  CCutScene play(640, 480, nullptr);
  Board(play, "hero");
  SActorTrackSet* cam = Camera(play, "cam");
  auto lock = [](int frame, const char* name, int jump) {
    return Key<SKeyLockTarget>(frame, [&](auto& k) { k.name = name, k.actorType = ACTOR_BOARD, k.jump = jump; });
  };
  cam->AddKey(lock(0, "hero", 0));
  cam->AddKey(lock(4, "hero", 0));    // turns on its own from frame 1, faces it at 4
  cam->AddKey(lock(8, "nobody", 0));  // no such actor: stops following at 8
  play.Reset();
  std::vector<std::string> locks;
  for (int frame = 0; frame <= 10; ++frame) {
    Log().Clear();
    play.Tick();
    for (const std::string& line : Log().With("LockTarget")) locks.push_back(std::to_string(frame) + " " + line);
  }
  EXPECT_EQ(locks, (std::vector<std::string>{"0 cam:LockTarget(hero,1)", "1 cam:LockTarget(hero,4)",
                                             "4 cam:LockTarget(hero,1)", "8 cam:LockTarget(null,1)"}));
}

TEST_F(CutSceneInterpolation, AShowAndATranslateAtOneFrameActShowFirst) {
  CutSceneData scene;
  scene.finalFrame = 8;
  scene.players.push_back(Player("BOARD", "b", "smoke",
                                 {{"TRANSLATE", 5, {0, 0, 0, 3.0f, 4.0f, 5.0f}},
                                  {"SHOW", 5, {1}},
                                  {"TRANSLATE", 0, {0, 0, 0, 0.0f, 0.0f, 0.0f}}}));
  WriteScript("both", scene, 0);
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("both", "scripts", 0), 0);
  auto* board = static_cast<RecBoard*>(play.FindActor(ACTOR_BOARD, "b"));
  ASSERT_NE(board, nullptr);
  board->node = CreateDummyNode(0, nullptr);
  play.Reset();
  for (int frame = 0; frame < 5; ++frame) play.Tick();
  Log().Clear();
  play.Tick();  // frame 5
  std::vector<std::string> acts;
  for (const std::string& line : Log().Lines())
    if (line.find("Update") == std::string::npos) acts.push_back(line);
  ASSERT_EQ(acts.size(), 2u);
  EXPECT_EQ(acts[0], "b:SetVisible(1)");
  EXPECT_EQ(acts[1].rfind("b:SetPosition(", 0), 0u) << acts[1];
  VECTOR3 p{};
  board->GetTransform(&p, nullptr, nullptr);
  EXPECT_NEAR(p.x, 3, 1e-4);
  EXPECT_NEAR(p.y, 4, 1e-4);
  EXPECT_NEAR(p.z, 5, 1e-4);
}

}  // namespace
}  // namespace cstest
