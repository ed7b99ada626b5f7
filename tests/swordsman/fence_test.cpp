// Fence files and playing fences.
#include <cmath>
#include <cstdint>
#include <cstring>

#include "components/society_ext.h"
#include "engine/core/node_transforms.h"
#include "platform/files.h"
#include "tests/swordsman/swordsman_fixture.h"
#include "tools/datagen/sample_world_parts.h"

namespace swordtest {
namespace {

using namespace datagen;

TEST_F(SwordTest, FenceFileReadsGroupsFramesHitsAndTrees) {
  FenceFile file = TwoFences();
  file.header = {7, 8, 9, 10};
  file.groups[0][0].flags = 0x51200000;  // shot 5, kind 1, move kind 2
  file.groups[0][0].frames[0].target[0] = 12.5f;
  file.groups[0][0].frames[0].afterimageFade = 4;
  file.groups.push_back(file.groups[0]);
  file.groups[1][0].id = 30;
  WriteBytes("creature/x.fn", FenceBytes(file));
  std::unique_ptr<CFenceData> data = ReadFenceFile("creature/x.fn");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->groupCount, 2);
  EXPECT_EQ(data->fenceCount, 2);
  EXPECT_EQ(data->header[3], 10);
  const FENCEDESC& fence = data->groups[0][0];
  EXPECT_EQ(fence.ShotCode(), 5);
  EXPECT_EQ(fence.Kind(), 1);
  EXPECT_EQ(fence.MoveKind(), -1);
  EXPECT_EQ(fence.Length(), 8);
  EXPECT_EQ(fence.frames[0].target[0], 12.5f);
  EXPECT_EQ(fence.frames[0].afterimageFade, 4);
  EXPECT_EQ(fence.frames[1].pose, 3);
  EXPECT_EQ(data->groups[0][1].hits[1], 0x220007u);
  EXPECT_EQ(data->groups[1][0].id, 30);
  ASSERT_EQ(data->trees.size(), 2u);
  std::vector<int> ids;
  EXPECT_EQ(data->trees[0]->CollectIds(&ids), 1);
  EXPECT_EQ(ids, (std::vector<int>{3, 5}));

  // A short stored compose frame reads its missing bytes as zero.
  file.frameSize = 20;
  WriteBytes("creature/x.fn", FenceBytes(file));
  data = ReadFenceFile("creature/x.fn");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->groups[0][0].frames[0].frameCount, 5);
  EXPECT_EQ(data->groups[0][0].frames[0].target[0], 0);
  EXPECT_EQ(data->groups[0][0].frames[0].afterimageFade, 0);
}

TEST_F(SwordTest, FenceTreeEditsAndClones) {
  CFenceTree tree(1, -1);
  tree.AddChild(new CFenceTree(2, 20));
  tree.AddChild(new CFenceTree(3, 30));
  tree.AddChild(new CFenceTree(4, 40));
  EXPECT_EQ(tree.RemoveChild(3), 0);
  EXPECT_EQ(tree.RemoveChild(-1), 0);
  EXPECT_EQ(tree.RemoveChild(1), 1);
  std::vector<int> ids;
  tree.CollectIds(&ids);
  EXPECT_EQ(ids, (std::vector<int>{20, 40}));
  std::unique_ptr<CFenceTree> copy(tree.Clone());
  tree.RemoveChild(0);
  ids.clear();
  copy->CollectIds(&ids);
  EXPECT_EQ(ids, (std::vector<int>{20, 40}));
  CFenceTree empty(9, -1);
  ids.clear();
  EXPECT_EQ(empty.CollectIds(&ids), 0);
}

TEST_F(SwordTest, DamagedFenceFilesGiveNoFences) {
  const std::vector<uint8_t> good = FenceBytes(TwoFences());
  ASSERT_TRUE(ReadFenceFile(std::string("creature/none.fn")) == nullptr);
  // Every truncation, at each byte.
  for (size_t size = 0; size < good.size(); ++size) {
    WriteBytes("creature/x.fn", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(size)));
    EXPECT_FALSE(ReadFenceFile("creature/x.fn")) << size;
  }
  const auto patched = [&good](size_t at, uint32_t value) {
    std::vector<uint8_t> bytes = good;
    std::memcpy(&bytes[at], &value, 4);
    return bytes;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  // Header offsets: 2 version, 26 S, 30 G, 34 F; the first fence's frame
  // count at 42, its hit count at 58.
  const Case cases[] = {
      {"no magic", patched(0, 0x4848)},
      {"frame size above 72", patched(26, 73)},
      {"frame size 0", patched(26, 0)},
      {"no groups", patched(30, 0)},
      {"negative fences", patched(34, 0xFFFFFFFF)},
      {"huge group count", patched(30, 0x7FFFFFFF)},
      {"huge frame count", patched(42, 0x10000000)},
      {"huge hit count", patched(58, 0x40000000)},
      {"huge child count", patched(good.size() - 16, 0x7FFFFFFF)},
  };
  for (const Case& c : cases) {
    WriteBytes("creature/x.fn", c.bytes);
    EXPECT_FALSE(ReadFenceFile("creature/x.fn")) << c.what;
  }
  // Compose-frame lengths the swordsman's int counters cannot sum; a first
  // compose frame of 0 frames is read (starting it reports the error).
  struct Lengths {
    int32_t first, second;
    bool read;
  };
  for (const Lengths& l : {Lengths{INT32_MIN, 3, false}, Lengths{-1, 3, false}, Lengths{5, INT32_MAX, false},
                           Lengths{INT32_MAX, INT32_MAX, false}, Lengths{1 << 20, 1, false},
                           Lengths{(1 << 20) - 1, 1, true}, Lengths{0, 3, true}}) {
    FenceFile file = TwoFences();
    file.groups[0][0].frames[0].frameCount = l.first;
    file.groups[0][0].frames[1].frameCount = l.second;
    WriteBytes("creature/x.fn", FenceBytes(file));
    EXPECT_EQ(ReadFenceFile("creature/x.fn") != nullptr, l.read) << l.first << " + " << l.second;
  }
  // A chain of trees deeper than 64.
  FenceFile deep = TwoFences();
  FenceTree chain{1, 1, {}};
  for (int i = 0; i < 70; ++i) chain = FenceTree{i, i, {chain}};
  deep.trees[1] = chain;
  WriteBytes("creature/x.fn", FenceBytes(deep));
  EXPECT_FALSE(ReadFenceFile("creature/x.fn"));
  // Bytes after the trees are ignored.
  std::vector<uint8_t> longer = good;
  longer.resize(good.size() + 100, 0xEE);
  WriteBytes("creature/x.fn", longer);
  EXPECT_TRUE(ReadFenceFile("creature/x.fn"));
}

TEST_F(SwordTest, WrongVersionIsReportedWithThePath) {
  FenceFile file = TwoFences();
  file.version = 0x20000;
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->FenceCount(), 0);
  EXPECT_TRUE(trace_.Contains("Fence File Version incorrect! :creature\\sword.fn"));
  EXPECT_EQ(sword->PlayFenceAt(0, nullptr, 0), 0);
  EXPECT_EQ(sword->GetCurrentFenceId(), -1);
  EXPECT_EQ(sword->GetHitCount(), 0);
  EXPECT_EQ(sword->LoadModel("sword", "creature"), 0);  // one model per creature
}

TEST_F(SwordTest, UnknownFenceIdIsTraced) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  ASSERT_EQ(sword->FenceCount(), 2);
  EXPECT_EQ(sword->PlayFence(99, nullptr, 0), 0);
  EXPECT_TRUE(trace_.Contains("Error Fence ID : 99"));
  EXPECT_EQ(sword->playing, 0);
  EXPECT_EQ(sword->FindFence(5), 1);
  EXPECT_EQ(sword->GetFenceKindById(99), -1);
  EXPECT_EQ(sword->GetFenceMoveKind(2), -1);
}

TEST_F(SwordTest, TwoComposeFramesOfFiveAndThreeLastEight) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  ASSERT_EQ(sword->PlayFence(3, nullptr, 0), 1);
  EXPECT_EQ(sword->fenceLength, 8);
  EXPECT_EQ(sword->currentPose, 1);
  EXPECT_EQ(sword->currentFrame, 10);
  // Fence frames 1 to 5 show the first compose frame (the start is frame 1).
  for (int step = 1; step <= 4; ++step) {
    EXPECT_EQ(sword->Update(1), 1);
    EXPECT_EQ(sword->currentComposeFrame, 0) << step;
    EXPECT_EQ(sword->currentFrame, 10 + step);
  }
  // The sixth fence frame applies the second.
  EXPECT_EQ(sword->Update(1), 1);
  EXPECT_EQ(sword->currentComposeFrame, 1);
  EXPECT_EQ(sword->composeFrameChanged, 1);
  EXPECT_EQ(sword->currentPose, 3);
  EXPECT_EQ(sword->fenceCounter, 5);
  EXPECT_EQ(sword->Update(1), 1);
  EXPECT_EQ(sword->Update(1), 1);
  EXPECT_EQ(sword->fenceCounter, 7);
  // Eight frames shown: the next step ends the fence back on pose 0.
  EXPECT_EQ(sword->Update(1), 0);
  EXPECT_EQ(sword->playing, 0);
  EXPECT_EQ(sword->currentPose, 0);
  EXPECT_EQ(sword->GetFollowUpId(), -1);
}

TEST_F(SwordTest, FollowUpsQueueOnlyInsideTheWindow) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  ASSERT_EQ(sword->PlayFenceAt(0, nullptr, 0), 1);
  EXPECT_EQ(sword->GetFollowUpId(), 3);
  EXPECT_EQ(sword->IsFollowUp(1), 1);
  EXPECT_EQ(sword->IsFollowUp(0), 0);
  // The window of the last compose frame (pose 3, window 27, loop end 29)
  // runs from counter 5 + 2 to 5 + 4.
  Tick(*sword, 3);
  EXPECT_EQ(sword->IsInFollowUpWindow(), 0);
  EXPECT_EQ(sword->PlayFenceAt(1, nullptr, 0), 0);
  EXPECT_EQ(sword->followUpQueued, 0);
  Tick(*sword, 4);
  ASSERT_EQ(sword->fenceCounter, 7);
  EXPECT_EQ(sword->IsInFollowUpWindow(), 1);
  EXPECT_EQ(sword->PlayFenceAt(1, nullptr, 0), 1);
  EXPECT_EQ(sword->followUpQueued, 1);
  EXPECT_EQ(sword->followUpMatched, 1);
  EXPECT_EQ(sword->PlayFenceAt(1, nullptr, 0), 0);  // one queued at a time
  // The running fence ends and the follow-up continues it.
  EXPECT_EQ(sword->Update(1), 0);
  EXPECT_EQ(sword->playing, 1);
  EXPECT_EQ(sword->continuing, 1);
  EXPECT_EQ(sword->GetCurrentFenceId(), 5);
  EXPECT_EQ(sword->GetFollowUpId(), 5);
  EXPECT_EQ(sword->followUpQueued, 0);
}

TEST_F(SwordTest, HitsAreReportedOnceEachAndTheLastIsFinal) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->GetHit(), -1);
  ASSERT_EQ(sword->PlayFence(5, nullptr, 0), 1);
  EXPECT_EQ(sword->GetHitCount(), 2);
  Tick(*sword, 2);
  EXPECT_EQ(sword->GetHit(), -1);
  Tick(*sword, 3);
  ASSERT_EQ(sword->fenceCounter, 5);
  EXPECT_EQ(sword->GetHit(), 0x21 << 16);
  EXPECT_EQ(sword->GetHit(), -1);
  Tick(*sword, 3);
  ASSERT_EQ(sword->fenceCounter, 8);
  EXPECT_EQ(sword->GetHit(), (0x22 + 0x1000) << 16);
  EXPECT_EQ(sword->GetHit(), -1);
  // A new fence reports its hits again.
  sword->StopFence();
  ASSERT_EQ(sword->PlayFence(5, nullptr, 0), 1);
  Tick(*sword, 3);
  EXPECT_EQ(sword->GetHit(), 0x21 << 16);
}

TEST_F(SwordTest, PoseProgressAndSeekingWithinAFence) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->SetPoseFrame(1), 0);
  ASSERT_EQ(sword->PlayFence(5, nullptr, 0), 1);
  EXPECT_EQ(sword->SetPoseFrame(10), 0);
  EXPECT_EQ(sword->SetPoseFrame(6), 1);
  EXPECT_EQ(sword->fenceCounter, 6);
  EXPECT_EQ(sword->SetPoseFrame(2), 1);
  EXPECT_EQ(sword->fenceCounter, 2);
  int fence = -1, length = 0, position = 0;
  EXPECT_EQ(sword->GetPoseProgress(&fence, &length, &position), 1);
  EXPECT_EQ(fence, 1);
  EXPECT_EQ(length, 10);
  EXPECT_EQ(position, 2);
}

TEST_F(SwordTest, AttachmentsByKey) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  WriteSword("blade", nullptr);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->AttachSubCreature(1, sword.get()), 0);
  auto* blade = new CGCBMixCreature("blade", 1, "creature");
  EXPECT_EQ(sword->AttachSubCreature(1, blade), 1);
  std::unique_ptr<CGCBMixCreature> same = std::make_unique<CGCBMixCreature>("blade", 1, "creature");
  EXPECT_EQ(sword->AttachSubCreature(1, same.get()), 0);
  EXPECT_EQ(sword->attachments[1].get(), blade);
  // Another file under the key replaces the old one.
  EXPECT_EQ(sword->AttachSubCreature(1, new CGCBMixCreature("sword", 1, "creature")), 1);
  EXPECT_NE(sword->attachments[1].get(), blade);
  EXPECT_EQ(sword->AttachSubCreature(1, nullptr), 1);
  EXPECT_TRUE(sword->attachments.empty());
}

TEST_F(SwordTest, ClonesShareOrCopyFencesAndAttachments) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  WriteSword("blade", nullptr);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  sword->AttachSubCreature(4, new CGCBMixCreature("blade", 1, "creature"));
  std::unique_ptr<CMSwordMan> shared(sword->CloneShared());
  std::unique_ptr<CMSwordMan> copy(sword->CloneCopy());
  EXPECT_EQ(shared->fences, sword->fences);
  ASSERT_TRUE(copy->fences);
  EXPECT_NE(copy->fences, sword->fences);
  EXPECT_EQ(copy->FenceCount(), 2);
  ASSERT_EQ(shared->attachments.count(4), 1u);
  EXPECT_NE(shared->attachments[4].get(), sword->attachments[4].get());
  EXPECT_EQ(copy->attachments[4]->fileName, "blade");
  // The copy plays on its own trees.
  sword->PruneFenceTrees(0);
  sword->fences->trees[0]->RemoveChild(0);
  EXPECT_EQ(copy->fences->trees[0]->ChildCount(), 1);
  EXPECT_EQ(copy->PlayFence(3, nullptr, 0), 1);
  shared.reset();
  EXPECT_EQ(sword->PlayFence(3, nullptr, 0), 1);
}

TEST_F(SwordTest, FenceTreesSaveRestoreAndPrune) {
  const FenceFile file = TwoFences();
  WriteSword("sword", &file);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  EXPECT_EQ(sword->RestoreFenceTrees(), 0);
  EXPECT_EQ(sword->SaveFenceTrees(), 1);
  sword->followUpFilter = [](const std::vector<int>& ids, int value) { return ids[0] != value ? 1 : 0; };
  EXPECT_EQ(sword->PruneFenceTrees(5), 1);
  EXPECT_EQ(sword->fences->trees[0]->ChildCount(), 0);
  EXPECT_EQ(sword->RestoreFenceTrees(), 1);
  EXPECT_EQ(sword->fences->trees[0]->ChildCount(), 1);
  EXPECT_EQ(sword->SelectFenceGroup(1), 0);
  EXPECT_EQ(sword->SelectFenceGroup(0), 1);
}

TEST_F(SwordTest, ComposeFrameFlagsPlaceTurnMoveAndHide) {
  FenceFile file = ShotFence(0);
  FenceFrame& cf = file.groups[0][0].frames[0];
  cf.flags = 0x4A000000;  // start kind 4, hidden, linear move to the target
  cf.startOffset = 2;
  cf.target[0] = 10;
  cf.angles[0] = 90;
  file.groups[0][0].flags = 0x00010000;  // played with a composite model
  WriteSword("sword", &file);
  WriteSword("swordf1", nullptr);
  WriteSword("blade", nullptr);
  std::unique_ptr<CMSwordMan> sword = MakeSword();
  sword->AttachSubCreature(2, new CGCBMixCreature("blade", 1, "creature"));
  ASSERT_EQ(sword->PlayFenceAt(0, nullptr, 0), 1);
  EXPECT_EQ(sword->currentFrame, 12);
  EXPECT_EQ(sword->shown, 0);
  ASSERT_TRUE(sword->composite);
  EXPECT_EQ(sword->composite->fileName, "swordf1");
  EXPECT_EQ(sword->composite->attachments.count(2), 1u);
  VECTOR3 forward;
  GetNodeWorldVectors(sword->rootNode, nullptr, &forward, nullptr);
  EXPECT_NEAR(std::fabs(forward.x), 1, 1e-4) << "a quarter turn about z";
  Tick(*sword, 2);
  VECTOR3 at;
  GetNodeWorldVectors(sword->rootNode, &at, nullptr, nullptr);
  EXPECT_NEAR(at.x, 10 * 3 / 5.0f, 1e-3) << "the third of five frames";
  Tick(*sword, 2);
  GetNodeWorldVectors(sword->rootNode, &at, nullptr, nullptr);
  EXPECT_NEAR(at.x, 10, 1e-3);
  Tick(*sword, 1);
  EXPECT_EQ(sword->playing, 0);
  EXPECT_EQ(sword->shown, 1);
  EXPECT_FALSE(sword->composite);
  // The fence's end puts the root back where it started.
  GetNodeWorldVectors(sword->rootNode, &at, nullptr, nullptr);
  EXPECT_NEAR(at.x, 0, 1e-3);
}

TEST_F(SwordTest, SampleWalkersCarryTheirFences) {
  plat::CreateDirectories("waves");
  std::string error;
  ASSERT_TRUE(WriteSampleCreatures("./", error)) << error;
  ASSERT_TRUE(WriteSampleSwordsman("./", error)) << error;
  EXPECT_TRUE(plat::FileExists("waves/step02a.wav"));
  for (const char* name : {"Walk01.MCB", "Walk03.MCB"}) {
    CMSwordMan walker(name, 1, "creature");
    ASSERT_EQ(walker.FenceCount(), 2) << name;
    EXPECT_GE(walker.poseCount, 13);
    ASSERT_EQ(walker.PlayFence(1, nullptr, 0), 1);
    Tick(walker, 3);
    EXPECT_EQ(walker.GetHit(), (1 + 0x1000) << 16);
    Tick(walker, 1);
    ASSERT_EQ(walker.IsInFollowUpWindow(), 1);
    EXPECT_EQ(walker.PlayFence(2, nullptr, 0), 1);
    Tick(walker, 2);
    EXPECT_EQ(walker.GetCurrentFenceId(), 2) << name;
    EXPECT_EQ(walker.currentPose, 12);
  }
}

}  // namespace
}  // namespace swordtest
