// The sample world's hero creatures read back by the creature code.
#include <gtest/gtest.h>

#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/texture_table.h"
#include "tests/creature/creature_fixture.h"
#include "tools/datagen/sample_creatures.h"
#include "tools/datagen/sample_world.h"

namespace creaturetest {
namespace {

using namespace datagen::sample;

class SampleCreatures : public CreatureTest {
 protected:
  void SetUp() override {
    CreatureTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
};

TEST_F(SampleCreatures, BothHeroFormsLoadWithTheirPosesAndFaces) {
  for (const char* model : {kHeroForm1Model, kHeroForm3Model}) {
    SCOPED_TRACE(model);
    CGCBMixCreature hero(model, 1, ".\\creature");
    ASSERT_EQ(hero.poseCount, kHeroPoses);
    EXPECT_EQ(hero.partCount, 1);
    EXPECT_NE(hero.FindPartNode("mface"), 0u);
    EXPECT_EQ(hero.faceTextures.size(), std::string(model) == kHeroForm1Model ? 2u : 0u);
    EXPECT_EQ(hero.PlayPose(kHeroIdlePose, 0, CGCBMixCreature::kImmediate, 0), 1);
    for (int i = 0; i < kHeroFramesPerPose; ++i) hero.Update(1);
    EXPECT_EQ(hero.IsPlayDone(), 1);
    EXPECT_EQ(hero.PlayPoseFlags(kHeroStandPose, 0x1000 | 0x10 | 1), 1);
  }
}

TEST_F(SampleCreatures, AWalkPoseCarriesTheRootAndTheBlobUsesTheShadowTexture) {
  CGCBMixCreature hero(kHeroForm1Model, 1, ".\\creature");
  hero.PlayPose(3, 1, CGCBMixCreature::kImmediate, 0);
  hero.SetRootMotion(1, 0);
  hero.Update(1);
  VECTOR3 p;
  GetNodeWorldVectors(hero.rootNode, &p, nullptr, nullptr);
  EXPECT_NEAR(p.y, -3, 1e-3);
  hero.ShowShadow(1);
  ASSERT_EQ(hero.blobMeshes.size(), 1u);
  const MATERIALDESC* blob = LookupMaterial(GetPrimitiveMaterial(hero.blobMeshes[0], 0));
  ASSERT_TRUE(blob && blob->firstFrame);
  EXPECT_STREQ(blob->textureName, "shadow1");
}

}  // namespace
}  // namespace creaturetest
