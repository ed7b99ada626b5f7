// The field camera and the battle stage over the sample world's scenes.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "components/camera_track_file.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "tests/world/block_fixture.h"
#include "tests/world/live_scene_fixture.h"
#include "tools/datagen/sample_world_maps.h"
#include "world/automap_outline.h"
#include "world/battle_scene.h"
#include "world/game_camera.h"
#include "world/terrain_boundary.h"

namespace {

using FieldStageTest = worldtest::LiveSceneTest;

void WriteSampleScenes(CGameResource& resource) {
  plat::CreateDirectories("waves");
  plat::CreateDirectories("BattleScene");
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleMaps("./", error)) << error;
  ASSERT_TRUE(datagen::WriteSampleCamera("./", error)) << error;
  resource.Open(nullptr);
}

TEST_F(FieldStageTest, TheVillageCameraPullsInAtTheLCorner) {
  WriteSampleScenes(resource_);
  MScene scene("a004.sb", &resource_);
  ASSERT_NE(scene.content->terrainNode, 0u);
  TerrainOutline outline;
  OUTLINEBOUNDSDESC bounds;
  ExtractTerrainOutline(scene.content->terrainNode, outline, bounds);
  TerrainBoundary walls;
  walls.Build(outline);
  ASSERT_FALSE(walls.Walls().empty());

  // The walker stands south-west of the corner of the missing north-east quarter.
  const HOBJECT walker = worldtest::MakeBlock({-5, -5, 0}, {5, 5, 30});
  SetNodePosition(walker, -20, -50, 0, TRANSFORM_SET);
  scene.AttachCamera(walker, scene.content->terrain, 0);
  CGameCamera& camera = *scene.camera;
  camera.boundary = &walls;
  camera.StartFollow(0, 0, 20);
  camera.Update(1);
  VECTOR3 position, direction;
  camera.GetPositionAndDirection(&position, &direction);
  EXPECT_FLOAT_EQ(camera.pulledInDistance, 85) << "open ground behind the walker";
  EXPECT_NEAR(position.x, -20, 1e-3) << "behind it: opposite its -y facing";
  EXPECT_NEAR(position.y, 35, 1e-3);

  // Turned so that the camera swings into the missing quarter: the segment
  // to the walker crosses the wall along y = 0 at (30, 0).
  camera.orbitYaw = std::numbers::pi_v<float> / 4;
  camera.Update(1);
  camera.GetPositionAndDirection(&position, &direction);
  EXPECT_NEAR(camera.pulledInDistance, 50 * std::sqrt(2.0f), 1e-2) << "from the walker to the wall";
  const float dx = position.x - 30, dy = position.y - 0;
  EXPECT_NEAR(std::sqrt(dx * dx + dy * dy), 10, 1e-2) << "the near distance from the crossing";
  EXPECT_FLOAT_EQ(camera.GetWalkerFade(), 1);
}

TEST_F(FieldStageTest, TheBattleStageHasNoPeopleAndNeedsNoMapRecord) {
  WriteSampleScenes(resource_);
  CBattleScene stage("ba01.sb", "BattleScene");
  ASSERT_NE(stage.Data(), nullptr);
  ASSERT_FALSE(stage.Data()->objects.empty());
  EXPECT_EQ(stage.Content(), nullptr);
  EXPECT_EQ(stage.BuildContent(), 1);
  ASSERT_NE(stage.Content(), nullptr);
  EXPECT_TRUE(stage.Content()->people.empty());
  EXPECT_NE(stage.Content()->terrainNode, 0u);
  EXPECT_NE(stage.Content()->environment, nullptr);
  stage.Release();
  EXPECT_EQ(stage.Content(), nullptr);
  EXPECT_EQ(stage.Data(), nullptr);

  // A stage of its own with a rock and a person: the rock is shown, the person never built.
  datagen::SceneFileData rocky;
  rocky.objects = {worldtest::Ground(300), worldtest::Triangle("rock", {worldtest::Part("stone")})};
  rocky.people = {worldtest::Person(datagen::sample::kMiraName, {0, 0, 0})};
  std::string error;
  ASSERT_TRUE(datagen::WriteSceneFile("BattleScene/bb01.sb", rocky, error)) << error;
  CBattleScene rocks("bb01.sb", "BattleScene");
  ASSERT_EQ(rocks.BuildContent(), 1);
  EXPECT_EQ(rocks.Data()->people.size(), 1u);
  EXPECT_TRUE(rocks.Content()->people.empty());
  ASSERT_EQ(rocks.Data()->objects.size(), 2u);
  EXPECT_EQ(LookupNode(rocks.Data()->objects[1]->node)->visible, 1) << "shown";

  CBattleScene none("nothing.sb", "BattleScene");
  EXPECT_EQ(none.BuildContent(), 1) << "an empty stage";
  EXPECT_TRUE(none.Content()->people.empty());
}

TEST_F(FieldStageTest, TheSampleCameraScriptLoads) {
  WriteSampleScenes(resource_);
  CCameraTrackFile file("camera\\fcamera.sc");
  ASSERT_EQ(file.cameraCount, 2);
  EXPECT_STREQ(file.cameras[0].name, "Camera01");
  EXPECT_EQ(file.cameras[0].positionTrack.count, 4);
  EXPECT_EQ(file.cameras[1].cameraParent, 1);
  EXPECT_EQ(file.cameras[1].targetParent, 2);
}

}  // namespace
