// The sample world's maps read back by the field world's readers.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/game_globals.h"
#include "components/aj_flare.h"
#include "components/particle_field.h"
#include "database/game_resource.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/data_directories.h"
#include "platform/fonts.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"

namespace {

using namespace datagen::sample;

class SampleMapsTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    ASSERT_EQ(Open(), 1);
    SetTextureDirectory(".\\texture");
    saved_ = g_hardwareRendering;
    g_hardwareRendering = 64 * 1024 * 1024;
  }
  void TearDown() override { g_hardwareRendering = saved_; }

  // Every triangle of the object's mesh faces up (counter-clockwise from above).
  static void ExpectFacingUp(const SCENEOBJECTDESC& o) {
    MESHDESC* mesh = LookupNode(o.node) ? LookupNode(o.node)->Mesh() : nullptr;
    ASSERT_NE(mesh, nullptr) << o.name;
    ASSERT_GT(mesh->primitiveCount, 0);
    for (int p = 0; p < mesh->primitiveCount; ++p) {
      const MESHPRIM* t = mesh->primitives.data() + p * kTriangleWords;
      const MESHVERTEX& a = mesh->vertexArrays[static_cast<size_t>(t[3])];
      const MESHVERTEX& b = mesh->vertexArrays[static_cast<size_t>(t[4])];
      const MESHVERTEX& c = mesh->vertexArrays[static_cast<size_t>(t[5])];
      EXPECT_GT((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x), 0) << o.name << " triangle " << p;
    }
  }

  const SCENEOBJECTDESC* Find(const CSceneData& scene, const std::string& name) {
    for (const auto& o : scene.objects)
      if (o->name == name) return o.get();
    ADD_FAILURE() << name << " missing";
    return nullptr;
  }

  testsupport::ScopedWorkDir dir_;
  int saved_ = 0;
};

TEST_F(SampleMapsTest, VillageHoldsItsObjectsPeopleAndMarkers) {
  CSceneData village("scenes", "a004.SB");
  EXPECT_EQ(village.texturePackage, "a00");
  ASSERT_EQ(village.objects.size(), 8u);
  for (const auto& o : village.objects) EXPECT_NE(o->node, 0u) << o->name;

  const SCENEOBJECTDESC* terrain = Find(village, "terrain");
  ASSERT_NE(terrain, nullptr);
  EXPECT_EQ(terrain->kind, SOBJ_TERRAIN);
  ExpectFacingUp(*terrain);
  // An L of three squares of 6 x 6 cells, two triangles each.
  EXPECT_EQ(LookupNode(terrain->node)->Mesh()->primitiveCount, 3 * 6 * 6 * 2);
  // The grass comes from the village's package.
  MATERIALDESC* grass = LookupMaterial(terrain->parts[0].material);
  ASSERT_NE(grass, nullptr);
  EXPECT_NE(grass->firstFrame, nullptr);

  const SCENEOBJECTDESC* sky = Find(village, "sky");
  ASSERT_NE(sky, nullptr);
  EXPECT_EQ(sky->flags & SCENEOBJECTDESC::kSky, SCENEOBJECTDESC::kSky);
  EXPECT_FLOAT_EQ(LookupNode(sky->node)->Mesh()->vertexArrays[1].x - LookupNode(sky->node)->Mesh()->vertexArrays[0].x,
                  kSkySide);
  EXPECT_EQ(Find(village, "mill")->kind, SOBJ_SPINNING);
  EXPECT_GT(Find(village, "mill")->spin, 0);
  const SCENEOBJECTDESC* sign = Find(village, "_sign");
  ASSERT_NE(sign, nullptr);
  ASSERT_NE(sign->animation, nullptr);
  EXPECT_EQ(sign->animation->rotationKeys.size(), 2u);
  const SCENEOBJECTDESC* torch = Find(village, "torch");
  ASSERT_NE(torch, nullptr);
  EXPECT_EQ(LookupNode(torch->node)->kind, NODE_BILLBOARD);
  EXPECT_EQ(torch->parts[0].frameCount, 2);
  const SCENEOBJECTDESC* grassObject = Find(village, kMorphObject);
  ASSERT_NE(grassObject, nullptr);
  EXPECT_EQ(grassObject->kind, SOBJ_MORPH);
  ASSERT_EQ(village.morphs.size(), 1u);
  EXPECT_EQ(village.morphs[0].vertexCount, 3);
  ASSERT_EQ(village.extAnims.size(), 1u);
  EXPECT_EQ(village.extAnims[0].kind, EXTANIM_GRASS_SWING);
  EXPECT_EQ(village.extAnims[0].objectName, kMorphObject);
  EXPECT_EQ(village.shadows.size(), 1u);

  EXPECT_TRUE(village.FindPoint(1, nullptr, nullptr));
  EXPECT_TRUE(village.FindPoint(2, nullptr, nullptr));
  ASSERT_EQ(village.portals.size(), 1u);
  EXPECT_EQ(village.portals[0].destination, kMeadowName);
  EXPECT_EQ(village.portals[0].destinationPoint, 1);
  ASSERT_EQ(village.triggers.size(), 1u);
  EXPECT_EQ(village.triggers[0].type, TRIGGER_SOUND);
  EXPECT_EQ(village.triggers[0].WaveName(), kStreamWave);
  EXPECT_EQ(village.lights.size(), 2u);
  EXPECT_EQ(village.cameras.size(), 1u);
  ASSERT_EQ(village.people.size(), 2u);
  EXPECT_EQ(village.people[0].name, kMiraName);
  EXPECT_EQ(village.people[0].routine, nullptr);
  EXPECT_EQ(village.people[1].name, kBramName);
  EXPECT_EQ(village.people[1].flags & SCENEPERSONDESC::kFollowKey, SCENEPERSONDESC::kFollowKey);
  ASSERT_NE(village.people[1].routine, nullptr);
  EXPECT_EQ(village.people[1].routine->repeat, 1);
}

TEST_F(SampleMapsTest, MeadowAndArenaFloors) {
  CSceneData meadow("scenes", "e001.SB");
  EXPECT_TRUE(meadow.FindPoint(1, nullptr, nullptr));
  EXPECT_TRUE(meadow.FindPoint(4, nullptr, nullptr));
  ASSERT_EQ(meadow.portals.size(), 2u);
  EXPECT_EQ(meadow.portals[0].destination, kVillageName);
  EXPECT_EQ(meadow.portals[0].destinationPoint, 2);
  EXPECT_EQ(meadow.portals[1].destination, kWorldMapName);
  ASSERT_EQ(meadow.objects.size(), 2u);
  ExpectFacingUp(*meadow.objects[0]);
  EXPECT_EQ(LookupNode(meadow.objects[0]->node)->Mesh()->primitiveCount, 16);  // the pond cell is open

  CSceneData arena("BattleScene", "ba01.sb");
  EXPECT_EQ(arena.texturePackage, "ba0");
  ASSERT_EQ(arena.objects.size(), 2u);
  ExpectFacingUp(*arena.objects[0]);
  EXPECT_EQ(LookupNode(arena.objects[0]->node)->Mesh()->primitiveCount, 2 * kArenaCells * kArenaCells);

  // The terrain is walked on but never drawn: each map shows the same mesh
  // as a plain object.
  CSceneData village("scenes", "a004.SB");
  for (const CSceneData* scene : {&village, &meadow, &arena}) {
    const SCENEOBJECTDESC* ground = Find(*scene, "ground");
    ASSERT_NE(ground, nullptr);
    EXPECT_EQ(ground->kind, 0);
    EXPECT_EQ(LookupNode(ground->node)->Mesh()->primitiveCount,
              LookupNode(scene->objects[0]->node)->Mesh()->primitiveCount);
    const MATERIALDESC* seen = LookupMaterial(ground->parts[0].material);
    const MATERIALDESC* walked = LookupMaterial(scene->objects[0]->parts[0].material);
    ASSERT_TRUE(seen && walked);
    EXPECT_EQ(seen->firstFrame, walked->firstFrame) << "the same texture";
  }
}

TEST_F(SampleMapsTest, GameResourceHoldsPeopleMapsAndMessages) {
  CGameResource res;
  res.Open(nullptr);
  ASSERT_EQ(res.Npcs().size(), 2u);
  EXPECT_EQ(res.Npcs()[0].Name(), kMiraName);
  EXPECT_EQ(res.Npcs()[0].Kind(), 'k');
  EXPECT_EQ(res.Npcs()[0].Model(), kNpcModel);
  EXPECT_EQ(res.Npcs()[0].Role(), 1);
  EXPECT_EQ(res.Npcs()[1].Model(), kNpcModel);
  ASSERT_EQ(res.Maps().size(), 3u);
  const MAPDESC& village = res.Maps()[kVillageRow - 1];
  EXPECT_EQ(village.Caption(), kVillageCaption);
  EXPECT_EQ(village.SceneName(), kVillageName);
  EXPECT_EQ(village.DayPhase(), 1);
  EXPECT_EQ(village.EncounterRate(), 0);
  EXPECT_EQ(village.BossScene(), kArenaRow);
  EXPECT_EQ(village.CdTrack(), kVillageCdTrack);
  const MAPDESC& meadow = res.Maps()[kMeadowRow - 1];
  EXPECT_EQ(meadow.BattleScene(0), kArenaRow);
  EXPECT_EQ(meadow.Enemy(0), kEnemyId);
  EXPECT_EQ(meadow.Enemy(1), kEnemyId);
  EXPECT_EQ(meadow.Enemy(2), kShooterId);
  EXPECT_EQ(meadow.Enemy(3), 0);
  EXPECT_GT(meadow.EncounterRate(), 0);
  EXPECT_EQ(meadow.CdTrack(), kMeadowCdTrack);
  EXPECT_EQ(meadow.BattleCdTrack(), kMeadowCdTrack);
  EXPECT_EQ(res.Maps()[kArenaRow - 1].SceneName(), kArenaName);
  EXPECT_EQ(res.EventBase(), 0);
  EXPECT_STREQ(res.MessageText(1), kFirstMessage);
  ASSERT_NE(res.MessageText(50), nullptr);
  EXPECT_STREQ(res.MessageText(50), kFontFace);
  plat::FontFile font;
  ASSERT_TRUE(plat::FindFontFile(res.MessageText(50), &font));
  EXPECT_EQ(font.family, kFontFace);
}

TEST_F(SampleMapsTest, EnvironmentRecords) {
  CSceneEnvironment village("a004.SB");
  EXPECT_TRUE(village.IsEffectOn(ENV_FOG));
  EXPECT_TRUE(village.IsEffectOn(ENV_FLARE));
  EXPECT_NE(village.ambient[0], CSceneEnvironment::kDefaultAmbient);
  EXPECT_LT(village.Flare()->GetLightDirection().x, 0);
  CSceneEnvironment meadow("e001.SB");
  EXPECT_EQ(meadow.effectFlags, ENV_PARTICLES);
  EXPECT_EQ(meadow.ParticleField()->GetCount(), 200);
  CSceneEnvironment arena("ba01.sb");
  EXPECT_EQ(arena.ambient[0], 100);
  EXPECT_FLOAT_EQ(arena.Flare()->GetLightDirection().z, 0);  // a 20-byte record
}

}  // namespace
