#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "components/society.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"
#include "tests/creature/creature_fixture.h"

namespace creaturetest {
namespace {

class CreaturePlay : public CreatureTest {};

using Creature = CGCBMixCreature;

// Each case drives a fresh creature and answers what it observed.
struct PlayCase {
  const char* what;
  std::function<std::vector<float>(Creature&)> run;
  std::vector<float> expected;
};

std::vector<float> Frames(Creature& c, int ticks) {
  std::vector<float> frames;
  for (int i = 0; i < ticks; ++i) {
    c.Update(1);
    frames.push_back(static_cast<float>(c.GetFrame()));
  }
  return frames;
}

TEST_F(CreaturePlay, PosesRunInTheirModesAndBlendIntoTheNext) {
  const PlayCase cases[] = {
      {"a loop from 19 by 3 wraps to its start",
       [](Creature& c) {
         c.PlayPose(0, 1, Creature::kImmediate, 0);
         c.SetFrame(19);
         c.Update(3);
         return std::vector<float>{float(c.GetFrame())};
       },
       {10}},
      {"once stays at the end, then the pending pose starts",
       [](Creature& c) {
         c.PlayPose(0, 0, Creature::kImmediate, 0);
         c.PlayPose(3, 1, Creature::kQueued, 0);
         c.SetFrame(19);
         std::vector<float> seen;
         seen.push_back(float(c.Update(3)));
         seen.push_back(float(c.GetFrame()));
         seen.push_back(float(c.IsPlayDone()));
         seen.push_back(float(c.Update(1)));
         seen.push_back(float(c.GetFrame()));
         seen.push_back(float(c.playMode));
         return seen;
       },
       {1, 20, 1, 1, 25, 1}},
      {"mode 2 plays 0..30, then loops 10..30",
       [](Creature& c) {
         c.PlayPose(1, 2, Creature::kImmediate, 0);
         std::vector<float> f = Frames(c, 32);
         return std::vector<float>{f[0], f[29], f[30], f[31]};
       },
       {1, 30, 10, 11}},
      {"a blend from frame 5 of 0..9 takes four frames",
       [](Creature& c) {
         c.PlayPose(2, 0, Creature::kImmediate, 0);
         c.SetFrame(5);
         c.PlayPose(3, 1, Creature::kBlend, 0);
         std::vector<float> x;
         for (int i = 0; i < 5; ++i) {
           c.Update(1);
           x.push_back(BodyX(c));
         }
         x.push_back(float(c.GetFrame()));
         return x;
       },
       {6, 11.5f, 16.5f, 21, 25, 25}},
      {"3.5 is frame 3 half-way to 4; a hair above 3 is 3",
       [](Creature& c) {
         std::vector<float> seen{float(c.SetFractionalFrame(3.5f)), BodyX(c), c.GetFractionalFrame()};
         c.SetFractionalFrame(3.0000001f);
         seen.push_back(BodyX(c));
         seen.push_back(float(c.SetFractionalFrame(31)));
         return seen;
       },
       {1, 3.5f, 3.5f, 3, 0}},
      {"key weights 0, 0.5, 1 show key 0, their mix, key 1",
       [](Creature& c) {
         std::vector<float> z;
         for (int f = 0; f < 3; ++f) {
           c.SetFrame(f);
           z.push_back(PartZ(c));
         }
         return z;
       },
       {0, 5, 10}},
      {"a blend by weight 1 takes the target frame whole",
       [](Creature& c) {
         c.SetFrame(0);
         c.BlendToFrame(1, 1);
         return std::vector<float>{PartZ(c), BodyX(c)};
       },
       {5, 1}},
      {"null and unknown part names",
       [](Creature& c) {
         return std::vector<float>{float(c.FindPartNode(nullptr) == c.rootNode),
                                   float(c.FindPartNode("MFACE") == c.partNodes[0]),
                                   float(c.FindPartNode("Body") == c.objectNodes[0]), float(c.FindPartNode("tail"))};
       },
       {1, 1, 1, 0}},
      {"StepOnce advances in a paused society",
       [](Creature& c) {
         CSociety society;
         c.Attach(&society);
         society.SetPaused(1);
         c.PlayPose(1, 1, Creature::kImmediate, 0);
         const int before = c.GetFrame();
         society.Tick();
         c.StepOnce();
         const float moved = float(c.GetFrame() - before);
         c.Detach();
         return std::vector<float>{moved, float(c.lastTickCount)};
       },
       {1, 1}},
  };
  for (bool quantised : {false, true}) {
    for (const PlayCase& pc : cases) {
      SCOPED_TRACE(std::string(pc.what) + (quantised ? " (quantised)" : " (plain)"));
      auto creature = Make(quantised);
      ASSERT_EQ(creature->frameCount, 31);
      const std::vector<float> seen = pc.run(*creature);
      ASSERT_EQ(seen.size(), pc.expected.size());
      for (size_t i = 0; i < seen.size(); ++i) EXPECT_NEAR(seen[i], pc.expected[i], 1e-4) << "value " << i;
    }
  }
}

TEST_F(CreaturePlay, ThreeHoldersOfOneModelFreeItWithTheLast) {
  const int nodes = LiveNodes(), materials = LiveMaterials();
  for (int first = 0; first < 3; ++first) {
    SCOPED_TRACE(first);
    std::unique_ptr<Creature> holders[3];
    holders[0] = Make();
    holders[1].reset(holders[0]->CloneShared());
    holders[2].reset(static_cast<Creature*>(holders[0]->CloneShared(static_cast<IBsCreature*>(nullptr))));
    CModelData* model = holders[0]->modelData;
    EXPECT_EQ(holders[2]->modelData, model);
    EXPECT_NE(holders[1]->rootNode, model->root);
    EXPECT_EQ(GetNodeParent(holders[1]->partNodes[0]), holders[1]->rootNode);
    EXPECT_EQ(holders[2]->cloneCount, 2);
    holders[first].reset();
    holders[(first + 1) % 3].reset();
    EXPECT_TRUE(LookupOpenNode(model->root));
    EXPECT_EQ(model->PartCount(), 1);
    holders[(first + 2) % 3].reset();
    EXPECT_EQ(LiveNodes(), nodes);
    EXPECT_EQ(LiveMaterials(), materials);
  }
}

TEST_F(CreaturePlay, ACopyOwnsItsModelAndShowsTheCurrentFrame) {
  const int nodes = LiveNodes();
  auto creature = Make();
  creature->PlayPose(1, 1, Creature::kImmediate, 0);
  creature->SetFrame(2);
  std::unique_ptr<Creature> copy(creature->CloneCopy());
  EXPECT_NE(copy->modelData, creature->modelData);
  EXPECT_FLOAT_EQ(PartZ(*copy), 10);
  creature.reset();
  EXPECT_EQ(copy->PlayPose(3, 1, Creature::kImmediate, 0), 1);
  EXPECT_FLOAT_EQ(BodyX(*copy), 25);
  copy.reset();
  EXPECT_EQ(LiveNodes(), nodes);
}

TEST_F(CreaturePlay, PlayRangesEndWithinTheModelAndHandOverToThePendingPose) {
  auto c = Make();
  EXPECT_EQ(c->SetPlayRange(32, 0, 31, 0, 0, 31, 1, 0, 0), 0);
  EXPECT_EQ(c->SetPlayRange(6, 0, -1, 0, 0, 0, 1, 0, 0), 0);
  EXPECT_EQ(c->IsFrameInRange(31), 0);
  EXPECT_EQ(c->IsFrameInRange(30), 1);
  EXPECT_EQ(c->SetPlayRange(31, 0, 30, 0, 0, 30, 0, 0, 0), 1);
  c->SetFrame(28);
  c->PlayPose(3, 1, Creature::kQueued, 0);
  EXPECT_EQ(Frames(*c, 4), (std::vector<float>{29, 30, 25, 26}));
  EXPECT_EQ(c->PlayPose(9, 1, Creature::kImmediate, 0), 0);
  EXPECT_EQ(c->LoadPose(4), 0);
}

TEST_F(CreaturePlay, UnloadedPosesDoNotPlayAndLoadingThemRestartsTheClocks) {
  WriteFile("creature/tester.MCB", McbBytes(TestModel(true)));
  Creature c("tester", 0, "creature");
  EXPECT_EQ(c.PlayPose(1, 1, Creature::kImmediate, 0), 0);
  EXPECT_EQ(c.LoadPose(1), 1);
  EXPECT_EQ(c.PlayPose(1, 1, Creature::kImmediate, 0), 1);
  EXPECT_EQ(c.PlayPoseFlags(1, 0x1000 | 0x10 | 1), 1);
  EXPECT_EQ(c.rootMotion, 1);
  EXPECT_EQ(c.PlayPoseFlags(1, 0x2000 | 0x10 | 1), 1);
  EXPECT_EQ(c.rootMotion, 0);
}

TEST_F(CreaturePlay, RootMotionWalksThePosesOffsetsAndReportsBlockedEdges) {
  auto c = Make();
  const HOBJECT ground = MakeGround(20);
  SetNodePosition(c->rootNode, 0, 0, 0, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(c->rootNode, ground, 0, 0), MOVE_DONE);
  c->PlayPose(1, 1, Creature::kImmediate, 0);
  c->SetRootMotion(1, 0);
  c->Update(3);
  VECTOR3 p;
  GetNodeWorldVectors(c->rootNode, &p, nullptr, nullptr);
  // The offsets run 2 units along -y a frame; the root walks forward (-y) by them.
  EXPECT_NEAR(p.y, -6, 1e-4);
  EXPECT_EQ(c->lastRootResult, MOVE_DONE);

  EXPECT_EQ(c->MoveRootBy(1, 1, 0, 1), 0);
  EXPECT_EQ(c->MoveRootBy(100, 100, 0, 1), 3);
  EXPECT_EQ(c->MoveRootBy(0, 100, 0, 1), 1);
  GetNodeWorldVectors(c->rootNode, &p, nullptr, nullptr);
  EXPECT_EQ(c->MoveRootBy(5, 0, 2, 0), 0);
  VECTOR3 q;
  GetNodeWorldVectors(c->rootNode, &q, nullptr, nullptr);
  EXPECT_NEAR(q.x - p.x, 5, 1e-4);
  EXPECT_NEAR(q.z - p.z, 2, 1e-4);
}

TEST_F(CreaturePlay, TextModelsShowTheirKeysByFrameOrByTheirWeights) {
  datagen::CreatureModel m = TestModel(false);
  datagen::CreaturePart& part = m.parts[0];
  part.keys.push_back(part.keys[1]);
  for (auto& v : part.keys[2]) v.z = 20;
  for (int f = 0; f < m.frames; ++f) part.weights[f] = static_cast<float>(f);
  WriteFile("creature/keys.txt", TextBytes(m));
  Creature byFrame("keys.txt", 1, "creature");
  std::vector<float> z;
  for (int f = 0; f < 3; ++f) {
    byFrame.SetFrame(f);
    z.push_back(PartZ(byFrame));
  }
  EXPECT_EQ(z, (std::vector<float>{0, 10, 20}));

  part.weights.assign(m.frames, 0.0f);
  part.weights[1] = 0.5f;
  part.weights[2] = 1;
  WriteFile("creature/weights.txt", TextBytes(m));
  Creature weighted("weights.txt", 1, "creature");
  MESHVERTEX out[3];
  ASSERT_EQ(weighted.GetPartVerticesAt(1, 0, out), 1);
  EXPECT_FLOAT_EQ(out[0].z, 5);
  weighted.SetFrame(2);
  EXPECT_FLOAT_EQ(PartZ(weighted), 10);
}

TEST_F(CreaturePlay, APartsTextureScrollsWithTheTicks) {
  for (bool text : {false, true}) {
    SCOPED_TRACE(text ? "text" : "MCB");
    datagen::CreatureModel m = TestModel(false);
    m.scrolls = {{1, 0, 0.01f, 0}};
    WriteFile(text ? "creature/scroll.txt" : "creature/scroll.MCB", text ? TextBytes(m) : McbBytes(m));
    Creature c(text ? "scroll.txt" : "scroll", 1, "creature");
    c.PlayPose(1, 1, Creature::kImmediate, 0);
    for (int i = 0; i < 30; ++i) c.Update(1);
    const MESHVERTEX* v = GetMeshVertices(c.partNodes[0], nullptr, nullptr, nullptr);
    ASSERT_TRUE(v);
    EXPECT_NEAR(v[1].u, 1.3f, 1e-5);
    EXPECT_NEAR(v[0].u, 0.3f, 1e-5);
  }
}

TEST_F(CreaturePlay, AnotherCreatureHangsUnderItsNamesakes) {
  auto rider = Make();
  auto horse = Make();
  std::vector<HOBJECT> nodes;
  std::vector<std::string> names;
  ASSERT_EQ(rider->CollectNodes(&nodes, &names), 1);
  EXPECT_EQ(names, (std::vector<std::string>{"body", "hand", "mface"}));
  EXPECT_EQ(nodes[2], rider->partNodes[0]);
  EXPECT_EQ(horse->AttachCreature(nullptr), 0);
  EXPECT_EQ(horse->AttachCreature(rider.get()), 1);
  EXPECT_EQ(GetNodeParent(rider->objectNodes[0]), horse->objectNodes[0]);
  EXPECT_EQ(GetNodeParent(rider->partNodes[0]), horse->partNodes[0]);

  SetNodePosition(horse->rootNode, 4, 5, 6, TRANSFORM_SET);
  VECTOR3 p;
  horse->GetTransform(&p, nullptr, nullptr);
  EXPECT_FLOAT_EQ(p.y, 5);
  horse->ShowBounds(1);
  EXPECT_EQ(LookupOpenNode(horse->rootNode)->visible, 1);
  EXPECT_EQ(LookupOpenNode(horse->rootNode)->drawMode, 2);
}

TEST_F(CreaturePlay, PoseProgressAndMovePoses) {
  auto c = Make();
  c->PlayPose(1, 2, Creature::kImmediate, 0);
  EXPECT_EQ(c->SetPoseFrame(31), 0);
  EXPECT_EQ(c->SetPoseFrame(12), 1);
  int pose = 0, length = 0, position = 0;
  c->GetPoseProgress(&pose, &length, &position);
  EXPECT_EQ(pose, 1);
  EXPECT_EQ(length, 30);
  EXPECT_EQ(position, 12);
  c->PlaceRootAtFrame();
  VECTOR3 p;
  c->GetTransform(&p, nullptr, nullptr);
  EXPECT_FLOAT_EQ(p.y, -24);
  EXPECT_FLOAT_EQ(p.z, 6);
  EXPECT_FLOAT_EQ(c->frameHeight, 6);
  EXPECT_EQ(c->StartMovePose(3), 1);
  EXPECT_EQ(c->movePose, 1);
  EXPECT_EQ(c->rootMotion, 1);
  EXPECT_FLOAT_EQ(c->moveStartPosition.y, -24);
  EXPECT_EQ(c->pendingPose, 3);
  EXPECT_EQ(c->pendingMode, 2);
  EXPECT_EQ(c->StartMovePose(7), 0);
}

TEST_F(CreaturePlay, AMissingModelAnswersZeroEverywhere) {
  Creature c("absent", 1, "creature");
  EXPECT_EQ(c.frameCount, 0);
  EXPECT_EQ(c.SetFrame(0), 0);
  EXPECT_EQ(c.PlayPose(0, 1, Creature::kImmediate, 0), 0);
  EXPECT_EQ(c.Update(1), 1);
  EXPECT_EQ(c.FindPartNode("mface"), 0u);
  EXPECT_EQ(c.LoadModel("tester", 1, "creature"), 0);
  Creature fresh;
  EXPECT_EQ(fresh.LoadModel("x", 1, std::string(70, 'd').c_str()), 0);
  EXPECT_EQ(fresh.modelData, nullptr);
  char name[IBsCreature::kNameSize];
  EXPECT_EQ(c.SetName(std::string(300, 'n').c_str()), 1);
  c.GetName(name);
  EXPECT_EQ(std::string(name).size(), 255u);
}

}  // namespace
}  // namespace creaturetest
