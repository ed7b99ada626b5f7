#include <gtest/gtest.h>

#include "components/effect_creature.h"
#include "tests/effects/effects_fixture.h"
#include "tools/datagen/fence_writer.h"

namespace effectstest {
namespace {

class CreatureElement : public EffectTest {
 protected:
  // "data/creature/ghost.MCB" with one fence of three frames on pose 0.
  static void WriteGhost() {
    WriteOwnerModel("ghost");
    datagen::FenceFile file;
    datagen::Fence fence;
    fence.id = 1;
    datagen::FenceFrame frame;
    frame.frameCount = 3;
    fence.frames = {frame};
    file.groups = {{fence}};
    file.trees = {datagen::FenceTree{}};
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteFenceFile(file, out, error)) << error;
    ASSERT_TRUE(plat::WriteFileAtomic("data/creature/ghost.fn", out.Bytes().data(), out.Size()));
  }
};

TEST_F(CreatureElement, LoadsASwordsmanFromTheCreatureFolderAndPlaysItsFence) {
  WriteGhost();
  A_MCObject element;
  ASSERT_EQ(element.LoadModel("ghost.mcb"), 1);
  ASSERT_TRUE(element.Creature());
  EXPECT_EQ(element.ownsCreature, 1);
  EXPECT_EQ(element.Creature()->afterimagesDisabled, 1);
  EXPECT_EQ(element.node, element.Creature()->rootNode);
  EXPECT_EQ(element.IsVisible(), 1);
  EXPECT_EQ(element.Update(0), 0) << "stopped until a pose plays";
  element.PlayPose(0, -1, -1, 0);
  EXPECT_EQ(element.Creature()->playing, 1);
  int updates = 0;
  while (element.Update(0) == 1 && updates < 20) ++updates;
  EXPECT_GT(updates, 0);
  EXPECT_LT(updates, 20) << "a fence played once ends";
  EXPECT_EQ(element.stopped, 1);

  element.PlayPose(0, -1, 0, 1);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(element.Update(0), 1) << "a looping fence keeps playing";
  element.SetVisible(0);
  EXPECT_EQ(element.Update(0), 0);
}

TEST_F(CreatureElement, AMissingModelLoadsNothing) {
  A_MCObject element;
  EXPECT_EQ(element.LoadModel("nobody"), 0);
  EXPECT_FALSE(element.Creature());
  EXPECT_EQ(element.GetNode("hand"), 0u);
  element.PlayPose(0, -1, -1, 0);
  EXPECT_EQ(element.Update(0), 0);
}

TEST_F(CreatureElement, ACreatureRecordCopiesItsModelInTheEffect) {
  WriteGhost();
  efc::EFCFILEDESC f;
  f.frameCount = 6;
  efc::EFCCREATURERECORD copy;
  copy.header = Element("copy", "", efc::kAttach, "hand");
  copy.model = "ghost";
  auto k = KeyAt<efc::EFCCREATUREKEYDESC>(0, 1);
  k.setBrightness = 1;
  k.brightness = 0.5f;
  k.scale = {1, 0, 0};
  copy.keys = {k};
  f.creatures.push_back(copy);
  CEfficacy effect;
  ASSERT_EQ(Play(effect, "copy", f), 1);
  A_MCObject* element = effect.creatures[0].element.get();
  ASSERT_TRUE(element->Creature());
  EXPECT_EQ(element->GetParentNode(), owner_->FindPartNode("hand"));
  EXPECT_EQ(effect.Update(0), 1);
  EXPECT_FLOAT_EQ(element->brightness, 0.5f);
  EXPECT_FLOAT_EQ(effect.creatures[0].data.header.scale.x, 2);
}

}  // namespace
}  // namespace effectstest
