#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "components/gcb_light.h"
#include "components/society.h"
#include "components/society_ext.h"
#include "engine/core/lights.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"
#include "engine/media/texture_table.h"
#include "tests/creature/creature_fixture.h"
#include "tools/datagen/image_writer.h"

namespace creaturetest {
namespace {

using Creature = CGCBMixCreature;

class CreatureLooks : public CreatureTest {
 protected:
  static float NodeAlpha(HOBJECT node) { return LookupOpenNode(node)->states.alpha; }
  static int Visible(HOBJECT node) { return LookupOpenNode(node)->visible; }
  static HOBJECT PartMaterial(Creature& c) { return GetPrimitiveMaterial(c.partNodes[0], 0); }

  static void WriteTexture(const std::string& path) {
    datagen::ImageDesc image;
    image.width = image.height = 2;
    image.palette = {{200, 100, 50}};
    image.pixels = {0, 0, 0, 0};
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteImage(image, out, error)) << error;
    WriteFile(path, out.Bytes());
  }
};

TEST_F(CreatureLooks, AFadeOutStepsDownThenHidesAndRemovesTheCreature) {
  CSociety society;
  Creature* c = Make().release();
  c->Attach(&society);
  c->autoRemove = 1;
  c->SetFade(2, 0.25f);
  for (float expected : {0.75f, 0.5f, 0.25f, 0.0f}) {
    society.Update(1);
    EXPECT_FLOAT_EQ(c->alpha, expected);
    EXPECT_FLOAT_EQ(NodeAlpha(c->partNodes[0]), expected);
    EXPECT_FLOAT_EQ(NodeAlpha(c->objectNodes[0]), expected * 0.5f);  // the body's mesh alpha
  }
  society.Update(1);
  EXPECT_FLOAT_EQ(c->alpha, 1);
  EXPECT_EQ(c->fadeMode, 0);
  EXPECT_EQ(c->shown, 0);
  EXPECT_EQ(Visible(c->partNodes[0]), 0);
  EXPECT_EQ(c->removeRequest, 1);
  EXPECT_EQ(society.Count(), 1);
  society.Update(1);
  EXPECT_EQ(society.Count(), 0);
}

TEST_F(CreatureLooks, FadeInEndsAboveOneAndPulsesCycleOncePerCall) {
  auto c = Make();
  c->SetFade(1, 0.25f);
  for (int i = 0; i < 4; ++i) c->EndFrame(1);
  EXPECT_FLOAT_EQ(c->alpha, 1);
  EXPECT_EQ(c->fadeMode, 1);
  c->EndFrame(1);
  EXPECT_EQ(c->fadeMode, 0);

  c->SetFade(3, 0.25f);
  const HOBJECT material = PartMaterial(*c);
  for (float phase : {0.25f, 0.5f, 0.75f, 0.0f}) {
    c->EndFrame(3);
    EXPECT_FLOAT_EQ(c->pulsePhase, phase);
    float emissive[3];
    GetMaterialColors(material, nullptr, nullptr, nullptr, emissive, nullptr);
    EXPECT_FLOAT_EQ(emissive[0], 1);
    EXPECT_FLOAT_EQ(emissive[1], phase);
  }
  c->SetFade(0, 0);
  float ambient[3];
  GetMaterialColors(material, ambient, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(ambient[1], 1);
}

TEST_F(CreatureLooks, VisibilityKeepsHiddenObjectsHidden) {
  auto c = Make();
  EXPECT_EQ(Visible(c->objectNodes[1]), 0);  // the hidden hand
  EXPECT_EQ(Visible(c->rootNode), 0);
  c->SetVisible(0);
  EXPECT_EQ(Visible(c->objectNodes[0]), 0);
  c->SetVisible(1);
  EXPECT_EQ(Visible(c->objectNodes[0]), 1);
  EXPECT_EQ(Visible(c->partNodes[0]), 1);
  EXPECT_EQ(Visible(c->objectNodes[1]), 0);
  EXPECT_EQ(c->SetHiddenObjectsVisible(1), 2);
  EXPECT_EQ(Visible(c->objectNodes[1]), 1);
}

TEST_F(CreatureLooks, FaceTexturesSwapOntoAPartAndComeOff) {
  for (const char* name : {"texture/testerm00.qbt", "texture/testerm01.qbt", "texture/TESTERM02.QBT"})
    WriteTexture(name);
  const int materials = LiveMaterials();
  {
    auto c = Make();
    ASSERT_EQ(c->faceTextures.size(), 3u);
    const HOBJECT original = PartMaterial(*c);
    const HOBJECT second = c->faceTextures[2];
    EXPECT_EQ(c->SetFaceTexture("mface", -1), 0);
    EXPECT_EQ(c->SetFaceTexture("mface", 3), 0);
    EXPECT_EQ(c->SetFaceTexture("nose", 1), 0);
    EXPECT_EQ(c->SetFaceTexture("mface", 0), 0);  // nothing to restore yet
    EXPECT_EQ(PartMaterial(*c), original);
    EXPECT_EQ(c->SetFaceTexture("mface", 2), 1);
    EXPECT_EQ(PartMaterial(*c), second);
    EXPECT_EQ(c->SetFaceTexture("mface", 2), 0);
    EXPECT_EQ(c->SetFaceTexture("MFACE", 0), 1);
    EXPECT_EQ(PartMaterial(*c), original);
    EXPECT_EQ(c->faceTextureUses[second], 0);
    c->ReleaseFaceTextures();
    EXPECT_EQ(LookupMaterial(second), nullptr);
    EXPECT_NE(LookupMaterial(original), nullptr);

    // A face texture still shown outlives the release; the former material
    // stays with the mesh it came from.
    ASSERT_EQ(c->LoadFaceTextures("tester", nullptr), 1);
    const HOBJECT first = c->faceTextures[1];
    EXPECT_EQ(c->SetFaceTexture("mface", 1), 1);
    c->ReleaseFaceTextures();
    EXPECT_NE(LookupMaterial(first), nullptr);
    EXPECT_EQ(PartMaterial(*c), first);
  }
  EXPECT_EQ(LiveMaterials(), materials);
}

TEST_F(CreatureLooks, NoFaceFilesAndNoSavedColoursAnswerZero) {
  auto c = Make();
  EXPECT_EQ(c->LoadFaceTextures("tester", nullptr), 0);
  EXPECT_TRUE(c->faceTextures.empty());
  EXPECT_EQ(c->RestoreMaterialColours(), 0);
  const float red[3] = {1, 0, 0};
  c->SaveMaterialColours();
  EXPECT_EQ(c->savedPartColours.size(), 1u);
  EXPECT_EQ(c->savedObjectColours.size(), 1u);
  c->SetMaterialColours(red, red, nullptr, nullptr);
  float ambient[3];
  GetMaterialColors(PartMaterial(*c), ambient, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(ambient[1], 0);
  EXPECT_EQ(c->RestoreMaterialColours(), 1);
  GetMaterialColors(PartMaterial(*c), ambient, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(ambient[1], 1);
}

TEST_F(CreatureLooks, FrameBoxesJoinPartsAndShownObjects) {
  auto c = Make();
  c->PlayPose(1, 1, Creature::kImmediate, 0);
  c->SetFrame(2);
  float box[6];
  ASSERT_EQ(c->GetFrameBox(box), 0);
  EXPECT_FLOAT_EQ(box[5], 10);  // the part's key 1
  EXPECT_FLOAT_EQ(box[3], 4);   // the body moved by 2, 2 wide
  Creature empty;
  EXPECT_EQ(empty.GetFrameBox(box), -1);
}

// The box is kept per frame: measured where the body stands now, it must
// still be the body's own when the body has walked and turned away.
TEST_F(CreatureLooks, AFrameBoxStaysTheBodysOwnWhereverTheBodyStands) {
  auto c = Make();
  c->PlayPose(1, 1, Creature::kImmediate, 0);
  c->SetFrame(2);
  float home[6];
  ASSERT_EQ(c->GetFrameBox(home), 0);
  auto moved = Make();
  moved->PlayPose(1, 1, Creature::kImmediate, 0);
  SetNodePosition(moved->rootNode, 200, -100, 0, TRANSFORM_SET);
  const VECTOR3 facing{1, 0, 0}, at{200, -100, 0};
  SetNodeDirection(moved->rootNode, &at, &facing, nullptr);
  moved->SetFrame(2);
  float away[6];
  ASSERT_EQ(moved->GetFrameBox(away), 0);
  for (int i = 0; i < 6; ++i) EXPECT_NEAR(away[i], home[i], 1e-3f) << i;
}

// Blob shadows: the ground, a creature standing on it and three lights
// above it, strongest first.
class CreatureBlobs : public CreatureLooks {
 protected:
  void SetUp() override {
    CreatureLooks::SetUp();
    ground_ = MakeGround(100);
    for (int i = 0; i < 3; ++i) {
      const float white[3] = {1, 1, 1};
      const HOBJECT node = CreateLightNode(0, LIGHT_POINT, 10.0f - 3 * i, white);
      SetNodePosition(node, 10.0f * i, 5, 50, TRANSFORM_SET);
      lights_.push_back(std::make_unique<CGCBLight>(node, LIGHT_POINT));
    }
  }

  HOBJECT ground_ = 0;
  std::vector<std::unique_ptr<CGCBLight>> lights_;
};

TEST_F(CreatureBlobs, TheSocietysModeLimitsTheBlobsAndEachIsFainter) {
  for (int mode : {1, 3}) {
    SCOPED_TRACE(mode);
    CSocietyExt society(0);
    society.SetMode(mode);
    for (auto& light : lights_) ASSERT_EQ(light->Attach(&society), 1);
    auto c = Make();
    ASSERT_EQ(PlaceNodeOnTerrain(c->rootNode, ground_, 0, 0), MOVE_DONE);
    c->Attach(&society);
    c->ShowShadow(1);
    EXPECT_EQ(c->EndFrame(1), 1);
    int shownBlobs = 0;
    for (HOBJECT blob : c->blobMeshes) shownBlobs += Visible(blob);
    EXPECT_EQ(shownBlobs, mode);
    float factor = 1;
    for (int i = 0; i < mode; ++i) {
      float emissive[3];
      GetMaterialColors(GetPrimitiveMaterial(c->blobMeshes[i], 0), nullptr, nullptr, nullptr, emissive, nullptr);
      EXPECT_NEAR(emissive[0], 0.4f * factor, 1e-6);
      factor *= 0.6f;
    }
    c->Detach();
    for (auto& light : lights_) light->Detach();
  }
}

TEST_F(CreatureBlobs, BlobsLieOnTheGroundAndStretchOnlyFromASideLight) {
  auto c = Make();
  SetNodePosition(c->rootNode, 3, 4, 0, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(c->rootNode, ground_, 0, 0), MOVE_DONE);
  const HOBJECT blob = CreateShadowMesh(0, nullptr, 128);
  const float grey[3] = {0.4f, 0.4f, 0.4f};
  // Straight above: no stretch, the creature at the texture's centre.
  const HOBJECT above = lights_[0]->lightNode;
  SetNodePosition(above, 3, 4, 100, TRANSFORM_SET);
  ASSERT_EQ(UpdateGroundShadow(c->rootNode, blob, 30, above, grey), 1);
  int count = 0;
  const MESHVERTEX* v = GetMeshVertices(blob, &count, nullptr, nullptr);
  ASSERT_EQ(count, 96);
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(std::isfinite(v[i].u) && std::isfinite(v[i].v));
    EXPECT_NEAR(v[i].z, 0.8f, 1e-5);
    EXPECT_NEAR(v[i].u, 0.5f - (-(4 - v[i].y)) / 30, 1e-5);
  }
  float emissive[3], ambient[3];
  GetMaterialColors(GetPrimitiveMaterial(blob, 0), ambient, nullptr, nullptr, emissive, nullptr);
  EXPECT_FLOAT_EQ(ambient[0], 0.2f);  // 0.4 / (2 x 1 x 1)
  // From the side the blob is stretched and fainter.
  SetNodePosition(above, 3, 100, 100, TRANSFORM_SET);
  ASSERT_EQ(UpdateGroundShadow(c->rootNode, blob, 30, above, grey), 1);
  GetMaterialColors(GetPrimitiveMaterial(blob, 0), ambient, nullptr, nullptr, nullptr, nullptr);
  EXPECT_LT(ambient[0], 0.2f);
  // Off the terrain nothing is touched.
  SetNodePosition(c->rootNode, 500, 0, 0, TRANSFORM_SET);
  PlaceNodeOnTerrain(c->rootNode, ground_, 0, 0);
  EXPECT_EQ(UpdateGroundShadow(c->rootNode, blob, 30, above, grey), 0);
  DestroyNode(blob);
}

class CreatureProjected : public CreatureLooks {};

TEST_F(CreatureProjected, PoolMeshesAreMadeLargeFirstAndReusedWhenReleased) {
  CShadowMeshPool pool;
  SHADOWENTRY* first = pool.Acquire();
  SHADOWENTRY* second = pool.Acquire();
  auto side = [](const SHADOWENTRY* e) {
    const MATERIALDESC* m = LookupMaterial(GetPrimitiveMaterial(e->node, 0));
    return m && m->firstFrame ? m->firstFrame->width : 0;
  };
  EXPECT_EQ(side(first), 256);
  EXPECT_EQ(side(second), 128);
  EXPECT_EQ(first->index, 0);
  EXPECT_EQ(second->index, 1);
  pool.Release(first);
  EXPECT_EQ(Visible(first->node), 0);
  EXPECT_EQ(pool.Acquire(), first);
  EXPECT_EQ(pool.entries.size(), 2u);
}

TEST_F(CreatureProjected, TheFirstPoolEntryRendersEveryTickOthersEverySecond) {
  const HOBJECT ground = MakeGround(100);
  auto a = Make();
  auto b = Make();
  for (Creature* c : {a.get(), b.get()}) {
    ASSERT_EQ(PlaceNodeOnTerrain(c->rootNode, ground, 0, 0), MOVE_DONE);
    c->SetShadowMode(Creature::kProjectedShadow);
    c->ShowShadow(1);
  }
  EXPECT_EQ(a->renderList.size(), 2u);  // the part and the shown body
  std::vector<int> aDue, bDue;
  for (int tick = 0; tick < 4; ++tick) {
    a->EndFrame(1);
    b->EndFrame(1);
    aDue.push_back(a->renderDue);
    bDue.push_back(b->renderDue);
  }
  ASSERT_TRUE(a->poolEntry && b->poolEntry);
  EXPECT_EQ(a->poolEntry->index, 0);
  EXPECT_EQ(aDue, (std::vector<int>{1, 1, 1, 1}));
  EXPECT_EQ(bDue, (std::vector<int>{0, 1, 0, 1}));
  EXPECT_EQ(Visible(a->pooledMesh), 1);
}

TEST_F(CreatureProjected, OffTheTerrainTheShadowIsGivenUp) {
  auto c = Make();
  c->SetShadowMode(Creature::kProjectedShadow);
  c->ShowShadow(1);
  c->EndFrame(1);
  EXPECT_EQ(c->poolFailed, 1);
  EXPECT_EQ(c->poolEntry, nullptr);
  EXPECT_EQ(c->EndFrame(1), 0);

  CShadowMeshPool pool;
  SHADOWENTRY* entry = pool.Acquire();
  std::vector<MESHVERTEX> before(GetMeshVertices(entry->node, nullptr, nullptr, nullptr),
                                 GetMeshVertices(entry->node, nullptr, nullptr, nullptr) + 96);
  MATRIX44 identity;
  SetIdentityMatrix44(&identity);
  EXPECT_EQ(UpdateProjectedShadow(entry, c->rootNode, &identity), 0);
  const MESHVERTEX* after = GetMeshVertices(entry->node, nullptr, nullptr, nullptr);
  EXPECT_EQ(after[5].x, before[5].x);
  EXPECT_EQ(after[5].u, before[5].u);
}

// The side vector is chosen by the light's horizontal distance: one straight
// above has none (any side will do), one level with the creature has all of
// it, and must not be given the side (1, 0, 0) along its own line.
TEST_F(CreatureProjected, LightsAboveLevelAndFarAboveGiveFiniteProjections) {
  auto c = Make();
  SetNodePosition(c->rootNode, 10, 20, 0, TRANSFORM_SET);
  const float white[3] = {1, 1, 1};
  const HOBJECT above = CreateLightNode(0, LIGHT_POINT, 1, white);
  SetNodePosition(above, 1, 2, 50, TRANSFORM_SET);  // times 10: straight above
  const HOBJECT level = CreateLightNode(0, LIGHT_POINT, 1, white);
  SetNodePosition(level, 100, 2, 3, TRANSFORM_SET);  // times 10: level, along x
  CShadowMeshPool pool;
  SHADOWENTRY* entry = pool.Acquire();
  for (HOBJECT from : {above, level, HOBJECT{0}}) {
    MATRIX44 m;
    ComputeShadowProjection(entry, Creature::ShadowCamera(), from, c->rootNode, {c->partNodes[0]}, &m, 1);
    for (float value : m.m) EXPECT_TRUE(std::isfinite(value));
    // The creature's own point lands inside the texture.
    const float x = 10 * m.m[0] + 20 * m.m[4] + 30 * m.m[8] + m.m[12];
    const float w = 10 * m.m[3] + 20 * m.m[7] + 30 * m.m[11] + m.m[15];
    EXPECT_NEAR(x / w, 0, 1e-3);
  }
}

}  // namespace
}  // namespace creaturetest
