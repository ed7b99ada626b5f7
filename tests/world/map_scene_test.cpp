#include "world/map_scene.h"

#include <gtest/gtest.h>

#include <cmath>

#include "components/gcb_light.h"
#include "components/mix_creature.h"
#include "components/society.h"
#include "cutscene/cut_scene.h"
#include "database/scene_records.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "tests/world/live_scene_fixture.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/object_state_memory.h"
#include "world/scene_data.h"
#include "world/scene_fade.h"
#include "world/scene_markers.h"
#include "world/scene_npc.h"

namespace {

using namespace datagen;
using worldtest::Ground;
using worldtest::Keyframed;
using worldtest::LiveSceneTest;
using worldtest::Part;
using worldtest::Person;
using worldtest::Triangle;

using MapSceneTest = LiveSceneTest;

// The sample world's maps and tables beside the people the fixture wrote.
void WriteSampleVillage(CGameResource& resource) {
  plat::CreateDirectories("waves");
  plat::CreateDirectories("BattleScene");
  std::string error;
  ASSERT_TRUE(WriteSampleMaps("./", error)) << error;
  resource.Open(nullptr);
}

SceneObjectData Sky(float extent) {
  SceneObjectData sky;
  sky.name = "sky";
  sky.kind = 2;
  sky.flags = 0x01;
  sky.parts = {Part("sky")};
  const float k = extent / 2;
  sky.vertices = {{{-k, -k, 1500}}, {{k, -k, 1500}}, {{k, k, 1500}}, {{-k, k, 1500}}};
  sky.triangles = {{0, 0, 2, 1}, {0, 0, 3, 2}};
  return sky;
}

TEST_F(MapSceneTest, SkiesAreScaledByTheirExtent) {
  const struct {
    float extent, scale;
  } cases[] = {{800, 1}, {6000, 0.5f}, {20000, 0.3f}, {1000, 1}, {8000, 3600.0f / 8000}};
  for (const auto& k : cases) {
    SceneFileData s;
    s.objects = {Ground(100), Sky(k.extent)};
    auto scene = Scene(s);
    EXPECT_NEAR(scene->skyScale, k.scale, 1e-5) << k.extent;
  }
}

TEST_F(MapSceneTest, MapIndicesIgnoreCaseAndExtension) {
  SceneFileData s;
  s.objects = {Ground(100)};
  auto scene = Scene(s, "a004.sb");
  EXPECT_EQ(scene->mapIndex, 1);
  ASSERT_NE(scene->mapRecord, nullptr);
  EXPECT_EQ(scene->mapRecord, &resource_.Maps()[0]);
  const struct {
    const char* name;
    int index;
  } cases[] = {{"A004.SB", 1}, {"a004", 1}, {"zzz", 0}, {"E001.sb.old", 2}, {"e00", 0}, {"", 0}};
  for (const auto& k : cases) EXPECT_EQ(scene->FindMapIndex(k.name), k.index) << k.name;
  EXPECT_EQ(scene->FindMapIndex(nullptr), -1) << "already bound";
  EXPECT_EQ(scene->cullingDistance, 1000);
}

TEST_F(MapSceneTest, ASceneWithoutAMapRecordDropsThePreviousAutomap) {
  SceneFileData s;
  s.objects = {Ground(100)};
  auto scene = Scene(s, "zzz.sb");
  EXPECT_EQ(scene->mapIndex, 0);
  EXPECT_EQ(scene->mapRecord, nullptr);
  ASSERT_EQ(scene->automap->BuildForScene("a004.sb", scene->content->terrainNode, 1), 0);
  scene->automapReady = 1;
  scene->Unload(1);
  EXPECT_EQ(scene->memory->MapCount(), 0) << "a scene without a map record is not remembered";
  scene->Load("zzz.sb");
  EXPECT_EQ(scene->automapReady, 0);
  const CAutomap& map = scene->automap->Automap();
  EXPECT_TRUE(map.Outline().empty());
  EXPECT_EQ(map.CurrentCells(), nullptr);
  EXPECT_EQ(map.ExploredScenes().count("a004"), 1u) << "the explored cells stay";
}

TEST_F(MapSceneTest, PortalsAreFoundOnlyWhenOpenAndTheEarlierWins) {
  SceneFileData s;
  s.objects = {Ground(500)};
  s.portals = {{"shut", 3, 1, SceneRect(0, 0, 100, 100, -10, 100)},
               {"first", 4, 0, SceneRect(50, 50, 200, 200, -10, 100)},
               {"second", 5, 0, SceneRect(0, 0, 300, 300, -10, 100)}};
  auto scene = Scene(s);
  std::string name;
  int point = 0;
  EXPECT_EQ(scene->FindPortalAt({20, 20, 0}, &name, &point), 1);
  EXPECT_EQ(name, "second") << "the closed portal is passed over";
  EXPECT_EQ(scene->FindPortalAt({60, 60, 0}, &name, &point), 1);
  EXPECT_EQ(name, "first");
  EXPECT_EQ(point, 4);
  EXPECT_EQ(scene->FindPortalAt({60, 60, 200}, &name, &point), 0) << "above the volume";
  EXPECT_EQ(scene->FindPortalAt({400, 60, 0}, &name, &point), 0);

  const std::vector<AUTOMAPICON>& icons = scene->automap->Automap().HiddenIcons();
  ASSERT_EQ(icons.size(), 3u);
  EXPECT_EQ(icons[0].desc.state, 5);
  EXPECT_FLOAT_EQ(icons[2].desc.x, 150);
  scene->SetPortalOpen(0, 1);
  EXPECT_EQ(icons[0].desc.state, 1);
  EXPECT_EQ(scene->FindPortalAt({20, 20, 0}, &name, &point), 1);
  EXPECT_EQ(name, "shut");
}

TEST_F(MapSceneTest, PlayedObjectsOpenPortalsAndFlipTriggers) {
  SceneFileData s;
  s.objects = {Ground(500), Keyframed("_lever", 3, 0, 1), Keyframed("_wheel", 3, 0, 1), Keyframed("_plain", 1, 0, 1)};
  s.objects[1].animation->links = 8;      // portal 0
  s.objects[2].animation->links = 8 + 4;  // trigger 0
  s.objects[3].animation->links = 7;      // no link
  s.portals = {{"next", 1, 1, SceneRect(0, 0, 100, 100, -10, 100)}};
  SceneTriggerData gate;
  gate.name = "gate";
  gate.type = 7;
  gate.initialState = 1;
  gate.currentState = 1;
  s.triggers = {gate};
  auto scene = Scene(s);
  EXPECT_FALSE(scene->portals->IsOpen(0));
  EXPECT_EQ(scene->data->triggers[0].CurrentState(), 1);

  scene->content->TriggerAnimation(0);
  scene->content->TriggerAnimation(1);
  scene->ApplyObjectLinks();
  EXPECT_FALSE(scene->portals->IsOpen(0)) << "frame 1 is not yet played";
  scene->Tick(1);
  scene->ApplyObjectLinks();
  EXPECT_TRUE(scene->portals->IsOpen(0));
  EXPECT_EQ(scene->data->triggers[0].CurrentState(), 0);
  EXPECT_EQ(scene->automap->Automap().HiddenIcons()[0].desc.state, 1);
}

TEST_F(MapSceneTest, DistanceCullingOfObjectsAndPeople) {
  SceneFileData s;
  const float far = std::sqrt(600000.0f);
  SceneObjectData post = Triangle("post", {Part("wood")});
  post.vertices = {{{far, 0, 0}}, {{far, 0.5f, 0}}, {{far, 0, 0.5f}}};
  s.objects = {Ground(1000), post};
  s.people = {Person("Mira", {far, 0, 0}), Person("Bram", {std::sqrt(200000.0f), 0, 0}),
              Person("Mira", {std::sqrt(100000.0f), 0, 0}), Person("Zed", {0, 0, 0})};
  auto scene = Scene(s);
  CSociety society;
  auto& people = scene->content->people;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(people[i]->creature->Attach(&society), 1);

  scene->CullByDistance(0);
  EXPECT_TRUE(IsContentActive(scene->content->boxes[0].flags)) << "objects reach 1000";
  EXPECT_EQ(people[0]->creature->owner, nullptr) << "people reach about 748";
  EXPECT_FALSE(people[0]->flags & NPC_WITHIN);
  EXPECT_FALSE(people[0]->creature->shown);
  EXPECT_EQ(people[1]->creature->shadowMode, 2);
  EXPECT_EQ(people[2]->creature->shadowMode, 16);
  EXPECT_TRUE(people[1]->creature->shown);
  EXPECT_EQ(people[1]->creature->owner, &society) << "membership changes only at the border";

  scene->shadowDetail = 0;
  people[1]->creature->SetShadowMode(16);
  scene->CullByDistance(0);
  EXPECT_EQ(people[1]->creature->shadowMode, 16) << "the switch off keeps the shadow kind";
  scene->cullingDistance = 400;
  scene->CullByDistance(0);
  EXPECT_FALSE(scene->content->boxes[0].flags & CF_WITHIN);
  EXPECT_FALSE(people[1]->flags & NPC_WITHIN);
  for (int i = 0; i < 3; ++i) people[i]->creature->Detach();
}

TEST_F(MapSceneTest, UnloadRemembersOrForgetsTheObjects) {
  SceneFileData s;
  s.objects = {Ground(100), Keyframed("_door", 1, 0, 3)};
  auto scene = Scene(s);
  for (int i = 0; i < 4; ++i) scene->Tick(1);
  scene->Unload(1);
  EXPECT_EQ(scene->content, nullptr);
  ASSERT_EQ(scene->memory->MapCount(), 1);
  scene->Unload(1);
  EXPECT_EQ(scene->memory->MapCount(), 1) << "a second unload does nothing";
  scene->Load("a004.sb");
  EXPECT_EQ(scene->content->keyframed[0].frame, 4) << "restored on entry";
  scene->Unload(0);
  EXPECT_EQ(scene->memory->MapCount(), 0);
  EXPECT_TRUE(scene->memory->Records().empty());
}

TEST_F(MapSceneTest, FadesAreDrivenByTheTick) {
  SceneFileData s;
  s.objects = {Ground(100)};
  auto scene = Scene(s);
  EXPECT_EQ(scene->fade, nullptr);
  scene->Show(1, 1);
  EXPECT_EQ(scene->fadeActive, 1);
  for (int i = 0; i < 29; ++i) scene->Tick(1);
  EXPECT_NE(scene->fade, nullptr);
  scene->Tick(1);
  EXPECT_EQ(scene->fade, nullptr) << "deleted after exactly 30 steps";
  EXPECT_EQ(scene->fadeActive, 0);

  scene->StartFade(0, 1);
  for (int i = 0; i < 40; ++i) scene->Tick(1);
  ASSERT_NE(scene->fade, nullptr) << "a held plane stays";
  EXPECT_NEAR(scene->fade->alpha, 29.0f / 30, 1e-5);
  EXPECT_EQ(scene->fadeActive, 0) << "a held plane at its end does not hold a game over";
  scene->Show(0, 0);
  EXPECT_EQ(scene->fade, nullptr);
}

TEST_F(MapSceneTest, CutScenesReachTheMapThroughItsInterface) {
  WriteSampleVillage(resource_);
  auto scene = std::make_unique<MScene>("a004.sb", &resource_);
  scene->CreateLights();
  SSceneManager& manager = *scene;
  ASSERT_EQ(manager.GetLightCount(), 2);
  EXPECT_EQ(manager.GetLightNode(0), scene->content->lightNodes[0]);
  EXPECT_EQ(manager.GetLightKind(0), LIGHT_DIRECTIONAL) << "the sun";
  EXPECT_EQ(manager.GetLightKind(1), LIGHT_POINT) << "the lamp";
  EXPECT_EQ(manager.GetLightNode(2), 0u);
  EXPECT_EQ(manager.GetLightKind(-1), 0);
  EXPECT_NE(manager.GetTerrain(), 0u);
  EXPECT_EQ(manager.GetTerrainNode(), scene->data->objects[0]->node);
  CCutScene play(640, 480, nullptr);
  EXPECT_EQ(play.AttachScene(&manager), 0);

  // Animate follows the engine's current camera and does nothing without one.
  SceneFileData s;
  s.objects = {Ground(100), Keyframed("_door", 1, 0, 1)};
  auto small = Scene(s, "e001.sb");
  SetViewportCamera(0, 0);
  small->Animate(1);
  EXPECT_EQ(small->content->keyframed[0].state, ANIM_WAITING);
  SetViewportCamera(0, small->camera->node);
  small->Animate(1);
  EXPECT_EQ(small->content->keyframed[0].state, ANIM_PLAYING);
}

TEST_F(MapSceneTest, TheSampleVillageHasItsPeopleAndItsPortal) {
  WriteSampleVillage(resource_);
  MScene scene("a004.sb", &resource_);
  ASSERT_EQ(scene.content->people.size(), 2u);
  CSceneNpc& mira = *scene.content->people[0];
  CSceneNpc& bram = *scene.content->people[1];
  ASSERT_NE(mira.creature, nullptr);
  ASSERT_NE(bram.creature, nullptr);
  EXPECT_EQ(bram.creature->modelData, mira.creature->modelData) << "one model for both";
  EXPECT_TRUE(mira.flags & NPC_ON_TERRAIN);
  EXPECT_TRUE(bram.flags & NPC_ON_TERRAIN);
  EXPECT_EQ(mira.creature->poseCount, 4);

  const float y0 = bram.position.y;
  for (int i = 0; i < 60; ++i) scene.Tick(1);
  EXPECT_GT(bram.position.y, y0 + 100) << "Bram walks towards his second waypoint";
  EXPECT_FLOAT_EQ(mira.position.x, -150) << "Mira stands";

  std::string name;
  int point = 0;
  EXPECT_EQ(scene.FindPortalAt({560, -300, 0}, &name, &point), 1);
  EXPECT_EQ(name, "e001");
  EXPECT_EQ(point, 1);
  EXPECT_EQ(scene.mapIndex, 1);
  EXPECT_FLOAT_EQ(scene.GetStartPosition()->z, 40) << "raised above the ground";
  std::vector<uint8_t> marker;
  ASSERT_TRUE(plat::ReadWholeFile(datagen::sample::kLocateTexture, marker, 4096));
  EXPECT_EQ(std::string(marker.begin(), marker.begin() + 3), "QBT") << "the destination marker's texture";
}

}  // namespace
