// Scripted moves and afterimages.
#include "components/society_ext.h"
#include "engine/core/node_transforms.h"
#include "tests/swordsman/swordsman_fixture.h"

namespace swordtest {
namespace {

VECTOR3 RootPosition(CMSwordMan& sword) {
  VECTOR3 p;
  GetNodeWorldVectors(sword.rootNode, &p, nullptr, nullptr);
  return p;
}

TEST_F(SwordTest, MoveToRunsItsThreeStatesAndEndsOnTheIdlePose) {
  WriteSword("sword", nullptr);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  sword->rootMotion = 1;
  // Pose 2: 15..24, its loop part 18..21 carries the move.
  ASSERT_EQ(sword->StartMoveTo(2, 30, 0, 0, 1, 0), 1);
  EXPECT_EQ(sword->moveToState, 1);
  EXPECT_EQ(sword->rootMotion, 0);
  VECTOR3 forward;
  GetNodeWorldVectors(sword->rootNode, nullptr, &forward, nullptr);
  EXPECT_NEAR(forward.x, 1, 1e-4);
  std::vector<int> states;
  for (int i = 0; i < 12 && sword->moveToState != 0; ++i) {
    Tick(*sword, 1);
    if (states.empty() || states.back() != sword->moveToState) states.push_back(sword->moveToState);
  }
  EXPECT_EQ(states, (std::vector<int>{1, 2, 3, 0}));
  EXPECT_NEAR(RootPosition(*sword).x, 30, 1e-3);
  EXPECT_EQ(sword->currentPose, 0);
  EXPECT_EQ(sword->playMode, 2);
  EXPECT_EQ(sword->rootMotion, 1);  // restored
  // A frame-range move refuses another move.
  ASSERT_EQ(sword->SetFrameRangeMove(0, 9, 0, 0, 0), 1);
  EXPECT_EQ(sword->StartMoveTo(2, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(sword->StartStepTo(0, 0, 0), 0);
  EXPECT_EQ(sword->SetFrameRangeMove(5, 40, 0, 0, 0), 0);
}

TEST_F(SwordTest, PoseMoveWaitsItsDelayThenIdles) {
  WriteSword("sword", nullptr);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->StartPoseMove(9, 0, 0), 0);
  EXPECT_EQ(sword->StartPoseMove(1, -1, 0), 0);
  ASSERT_EQ(sword->StartPoseMove(1, 2, 0), 1);
  EXPECT_EQ(sword->currentPose, 0);
  Tick(*sword, 2);
  EXPECT_EQ(sword->currentPose, 1);
  Tick(*sword, 4);
  EXPECT_EQ(sword->poseMove.active, 0);
  EXPECT_EQ(sword->movePose, 1);  // the idle pose is queued as a move pose
}

TEST_F(SwordTest, AfterimagesJoinTheSocietyAndAFullOneDeletesThem) {
  WriteSword("sword", nullptr);
  CSocietyExt society(0);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  ASSERT_EQ(sword->Attach(&society), 1);
  const int members = society.Count();
  EXPECT_EQ(sword->SetAfterimage(3, 1, 1), 0);
  ASSERT_EQ(sword->SetAfterimage(1, 0.5f, 0), 1);
  EXPECT_EQ(sword->afterimageRate, 0.001f);
  ASSERT_EQ(society.Count(), members + 1);
  auto* image = dynamic_cast<CMSwordMan*>(society.Member(members));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->frozen, 1);
  EXPECT_EQ(image->autoRemove, 1);
  EXPECT_EQ(image->fadeMode, 2);
  EXPECT_EQ(image->fences, sword->fences);
  // The faded image leaves by itself.
  society.Update(3);
  society.Update(1);
  EXPECT_EQ(society.Count(), members);

  std::vector<std::unique_ptr<CGCBase>> fillers;
  while (society.Count() < CSociety::kMaxMembers) {
    fillers.push_back(std::make_unique<CGCBase>());
    fillers.back()->Attach(&society);
  }
  const int nodes = LiveNodes();
  ASSERT_EQ(sword->SetAfterimage(2, 0.5f, 4), 1);
  EXPECT_EQ(society.Count(), CSociety::kMaxMembers);
  EXPECT_EQ(LiveNodes(), nodes);
  // Mode 2 ends itself with a once-played range.
  sword->PlayPose(3, 0, CGCBMixCreature::kImmediate, 0);
  sword->SetFrame(29);
  sword->PostUpdate(1);
  EXPECT_EQ(sword->afterimageMode, 0);
}

TEST_F(SwordTest, IdlePoseQueuesUnlessAFencePlays) {
  datagen::FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->SetIdlePose(2), 1);
  EXPECT_EQ(sword->pendingPose, 2);
  ASSERT_EQ(sword->PlayFence(3, nullptr, 0), 1);
  EXPECT_EQ(sword->PlayIdlePose(), 0);
  EXPECT_EQ(sword->StopFence(), 1);
  EXPECT_EQ(sword->StopFence(), 0);
  EXPECT_EQ(sword->PlayIdlePose(), 1);
}

}  // namespace
}  // namespace swordtest
