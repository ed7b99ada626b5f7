// The creature actor: a written model on a written terrain.
#include "cutscene/creature_actor.h"

#include <gtest/gtest.h>

#include <memory>

#include "engine/core/node_transforms.h"
#include "tests/cutscene/actor_fixture.h"
#include "tools/datagen/sample_creatures.h"

namespace cstest {
namespace {

using datagen::sample::kHeroForm1Model;
using datagen::sample::kHeroStandPose;

class CreatureActor : public RealActorTest {
 protected:
  std::unique_ptr<SCreature> Make(const char* model = kHeroForm1Model) {
    return std::make_unique<SCreature>(model, 1, "creature");
  }
  static VECTOR3 Position(SCreature& c) {
    VECTOR3 p{};
    static_cast<SVisual&>(c).GetTransform(&p, nullptr, nullptr);
    return p;
  }
  static MATRIX34 Local(SCreature& c) {
    MATRIX34 m{};
    c.SVisual::GetMatrix(&m, 1);
    return m;
  }
  static bool Same(const MATRIX34& a, const MATRIX34& b) {
    for (int r = 0; r < 4; ++r)
      if (a.row[r].x != b.row[r].x || a.row[r].y != b.row[r].y || a.row[r].z != b.row[r].z) return false;
    return true;
  }
};

// One play tick of the actor (the component's own Update is another one).
int Tick(SCreature& creature) { return static_cast<SActor&>(creature).Update(1); }

bool SamePose(const POSEPLAYDESC& a, const POSEPLAYDESC& b) {
  return a.pose == b.pose && a.from == b.from && a.to == b.to && a.playType == b.playType && a.style == b.style &&
         a.walkOut == b.walkOut;
}

TEST_F(CreatureActor, ConstructionAndResetStartFromPoseZeroLoopingAtTheOrigin) {
  auto hero = Make();
  ASSERT_NE(hero->GetNode(), 0u);
  MATRIX34 identity;
  SetIdentityMatrix34(&identity);
  for (int pass = 0; pass < 2; ++pass) {
    EXPECT_EQ(hero->GetOpacity(), 1.0f);
    EXPECT_TRUE(SamePose(hero->CurrentPose(), POSEPLAYDESC{0, -1, -1, 1, 16, 0}));
    EXPECT_EQ(hero->currentPose, 0);
    EXPECT_EQ(hero->playMode, 1);
    EXPECT_TRUE(Same(Local(*hero), identity));
    EXPECT_EQ(hero->shadowEnabled, 1);
    EXPECT_EQ(hero->IsVisible(), 1);
    // Change everything the reset puts back.
    hero->SetOpacity(0.25f);
    hero->SetVisible(0);
    hero->ShowShadow(0);
    hero->SVisual::SetPosition(5, 6, 7, 0);
    ASSERT_EQ(hero->PlayPose(POSEPLAYDESC{3, -1, -1, 0, 16, 0}, nullptr), 0);
    hero->Reset();
  }
}

TEST_F(CreatureActor, APosePlayedOnceHandsOverToItsFollowUpTheFrameAfterItEnds) {
  auto hero = Make();
  const POSEPLAYDESC once{1, -1, -1, 0, 16, 0};
  const POSEPLAYDESC followUp{kHeroStandPose, -1, -1, 1, 16, 0};
  ASSERT_EQ(hero->PlayPose(once, &followUp), 0);
  int doneAt = -1, startedAt = -1;
  for (int frame = 0; frame < 10 && startedAt < 0; ++frame) {
    Tick(*hero);
    if (doneAt < 0 && hero->IsPlayDone()) doneAt = frame;
    if (hero->CurrentPose().pose == kHeroStandPose) startedAt = frame;
  }
  ASSERT_GE(doneAt, 0);
  EXPECT_EQ(startedAt, doneAt + 1);
  EXPECT_TRUE(SamePose(hero->CurrentPose(), followUp));
  EXPECT_EQ(hero->currentPose, kHeroStandPose);
  EXPECT_EQ(hero->playMode, 1) << "the follow-up loops";
  const int frame = hero->currentFrame;
  Tick(*hero);
  EXPECT_NE(hero->currentFrame, frame) << "and keeps playing";
}

TEST_F(CreatureActor, PoseSpeedAndPauseDecideTheAnimationStepsNotTheMoves) {
  struct Row {
    int speed;
    int paused;
    int steps;  // over 9 frames
  } rows[] = {{0, 0, 9}, {-2, 0, 3}, {3, 0, 27}, {0, 1, 0}};
  for (const Row& row : rows) {
    auto hero = Make();
    hero->SetPoseSpeed(row.speed);
    hero->SetPaused(row.paused);
    const int before = hero->tickTotal;
    for (int frame = 0; frame < 9; ++frame) {
      Tick(*hero);
      hero->SetPosition(1, 0, 0, 2);  // a TRANSLATE step
    }
    EXPECT_EQ(hero->tickTotal - before, row.steps) << row.speed << " " << row.paused;
    EXPECT_NEAR(Position(*hero).x, 9.0f, 1e-4f) << "it moves whatever the animation does";
  }
}

TEST_F(CreatureActor, TerrainProbePlacingAndDropping) {
  MakeGround();
  auto hero = Make();
  hero->SVisual::SetPositionXYZ(3, 4, 50);
  const MATRIX34 start = Local(*hero);

  // A terrain mesh away from its terrain: no drop lands.
  const HOBJECT elsewhere = testsupport::MakeGridMesh(5000, 5000, 10, 2, 0);
  EXPECT_EQ(hero->SetTerrain(elsewhere, ground_, 0, 0), -1);
  EXPECT_EQ(hero->IsOnTerrain(), 0);
  EXPECT_TRUE(Same(Local(*hero), start));
  EXPECT_EQ(hero->SetTerrain(groundMesh_, ground_, 0, 0), -1);
  EXPECT_EQ(hero->IsOnTerrain(), 1);
  EXPECT_TRUE(Same(Local(*hero), start)) << "the probe puts the node back";

  // Following the terrain, a move lands on it.
  hero->SetPosition(10, 0, 0, 2);
  const VECTOR3 landed = Position(*hero);
  EXPECT_NEAR(landed.x, 13.0f, 1e-4f);
  EXPECT_LT(landed.z, 50.0f);
  hero->SetPositionXYZ(-20, -30, 80);
  EXPECT_NEAR(Position(*hero).z, landed.z, 1e-3f);

  EXPECT_EQ(hero->PlaceOnTerrain(ground_, 0, 0), 0);
  hero->SVisual::SetPositionXYZ(500, 500, 10);  // off the ground
  EXPECT_EQ(hero->PlaceOnTerrain(ground_, 0, 0), -1);
  EXPECT_EQ(hero->IsOnTerrain(), 0);
  EXPECT_EQ(hero->DropOnTerrain(0, 0), -1);
  hero->SVisual::SetPositionXYZ(0, 0, 30);
  EXPECT_EQ(hero->DropOnTerrain(0, 0), 0);
  EXPECT_EQ(hero->IsOnTerrain(), 1);

  auto loose = Make();
  EXPECT_EQ(loose->DropOnTerrain(0, 0), -1) << "no terrain kept";
  DestroyNode(elsewhere);
}

TEST_F(CreatureActor, AFailedPoseChangesNothing) {
  auto hero = Make();
  const POSEPLAYDESC once{1, -1, -1, 0, 16, 0};
  const POSEPLAYDESC followUp{kHeroStandPose, -1, -1, 1, 16, 0};
  ASSERT_EQ(hero->PlayPose(once, &followUp), 0);
  EXPECT_EQ(hero->PlayPose(POSEPLAYDESC{99, -1, -1, 1, 16, 0}, nullptr), -2);
  EXPECT_EQ(hero->PlayPose(POSEPLAYDESC{1, 0, 500, 1, 16, 0}, nullptr), -2) << "frames outside the model";
  EXPECT_TRUE(SamePose(hero->CurrentPose(), once));
  for (int frame = 0; frame < 6; ++frame) Tick(*hero);
  EXPECT_EQ(hero->CurrentPose().pose, kHeroStandPose) << "the follow-up still came";

  EXPECT_EQ(hero->PlayPose(POSEPLAYDESC{1, 0, 1, 1, 16, 0}, nullptr), 0) << "a range inside the pose";
  EXPECT_EQ(hero->currentFrame >= 0, true);

  testsupport::DebugTraceCapture trace;
  auto missing = Make("NoSuchModel");
  EXPECT_EQ(missing->GetNode(), 0u);
  EXPECT_EQ(missing->PlayPose(POSEPLAYDESC{}, nullptr), -2);
  Tick(*missing);
  missing->SetPosition(1, 2, 3, 0);
  EXPECT_TRUE(trace.Contains("NoSuchModel")) << "the loader says why";
}

}  // namespace
}  // namespace cstest
