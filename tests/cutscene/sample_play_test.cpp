// The sample opening with the game's own actors: both forms alike, damaged
// copies harmless, and the whole play over a scene to its last frame.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "components/gcb_light.h"
#include "cutscene/camera_actor.h"
#include "cutscene/creature_actor.h"
#include "cutscene/cut_scene.h"
#include "cutscene/cut_scene_player.h"
#include "cutscene/dialog_actor.h"
#include "engine/core/engine_state.h"
#include "engine/core/lights.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/media/sprites.h"
#include "platform/files.h"
#include "tests/cutscene/actor_fixture.h"
#include "tests/cutscene/cutscene_fixtures.h"
#include "tools/datagen/cutscene_writer.h"
#include "ui/dialog_player_ex.h"
#include "ui/menu_agency.h"
#include "world/scene_manager.h"

namespace cstest {
namespace {

using namespace datagen::sample;

class SamplePlay : public RealActorTest {
 protected:
  void SetUp() override {
    RealActorTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteCutSceneText("scripts/opening.sp", datagen::OpeningCutScene(), error)) << error;
  }
  void TearDown() override {
    g_menuAgency.RemoveAll();
    RealActorTest::TearDown();
  }
};

// A scene of the test's own terrain and lights.
class GroundScene : public SSceneManager {
 public:
  void Animate(int) override { ++animated; }
  HOBJECT GetLightNode(int i) override { return lights[static_cast<size_t>(i)]; }
  int GetLightKind(int i) override { return 1 + i; }
  int GetLightCount() override { return static_cast<int>(lights.size()); }
  HOBJECT GetTerrain() override { return terrain; }
  HOBJECT GetTerrainNode() override { return terrainNode; }

  std::vector<HOBJECT> lights;
  HOBJECT terrain = 0;
  HOBJECT terrainNode = 0;
  int animated = 0;
};

TEST_F(SamplePlay, BothFormsOfTheOpeningMakeTheSameActors) {
  CCutScene binary(640, 480, nullptr), text(640, 480, nullptr);
  for (CCutScene* play : {&binary, &text}) {
    play->creatureDirectory = "creature";
    play->dialogDirectory = "resource";
    play->waveDirectory = "waves";
    play->textureDirectory = "texture";
  }
  ASSERT_EQ(binary.Load(kCutSceneName, "scripts", 1), 0);
  ASSERT_EQ(text.Load(kCutSceneName, "scripts", 0), 0);
  EXPECT_EQ(Describe(binary), Describe(text));
  EXPECT_EQ(binary.Actors().size(), static_cast<size_t>(kOpeningActors));
  auto* hero = dynamic_cast<SCreature*>(binary.FindActor(ACTOR_CREATURE, kOpeningHero));
  ASSERT_NE(hero, nullptr);
  EXPECT_NE(hero->GetNode(), 0u) << "the model loaded";
  auto* talk = dynamic_cast<SDialog*>(binary.FindActor(ACTOR_DIALOG, kOpeningDialog));
  ASSERT_NE(talk, nullptr);
  EXPECT_NE(talk->GetBox(), nullptr);
}

TEST_F(SamplePlay, DamagedCopiesLoadOrFailAndPlayHarmlessly) {
  std::vector<uint8_t> good;
  ASSERT_TRUE(plat::ReadWholeFile(kCutSceneFile, good));
  for (size_t at = 148; at < good.size(); at += 23) {
    std::vector<uint8_t> damaged = good;
    damaged[at] ^= 0xA5;
    if (at + 1 < damaged.size()) damaged[at + 1] = 0x7F;
    WriteRaw("bad.spb", damaged);
    CCutScene play(640, 480, nullptr);
    play.creatureDirectory = "creature";
    play.dialogDirectory = "resource";
    const int result = play.Load("bad", "scripts", 1);
    ASSERT_TRUE(result == 0 || result == -1) << at;
    for (int i = 0; i < 3; ++i) play.Tick();
  }
  WriteRaw("short.spb", std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(good.size() / 2)));
  CCutScene play(640, 480, nullptr);
  EXPECT_EQ(play.Load("short", "scripts", 1), -1);
}

TEST_F(SamplePlay, TheOpeningPlaysOverASceneToItsLastFrame) {
  GroundScene scene;
  MakeGround();
  scene.terrain = ground_;
  scene.terrainNode = groundMesh_;
  const float white[3] = {1, 1, 1};
  scene.lights = {CreateLightNode(0, 1, 1, white), CreateLightNode(0, 2, 1, white)};

  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  player.SetDirectories("creature", "resource", "waves", "texture", "scripts");
  ASSERT_EQ(player.Load(kCutSceneName, 1), 0);
  CCutScene* play = player.GetPlay();
  ASSERT_EQ(player.AttachScene(&scene), 0);
  ASSERT_EQ(play->Lights().size(), scene.lights.size());
  for (size_t i = 0; i < scene.lights.size(); ++i) {
    EXPECT_EQ(play->Lights()[i]->lightNode, scene.lights[i]);
    EXPECT_EQ(play->Lights()[i]->IsAttached(), 1);
  }
  auto* hero = dynamic_cast<SCreature*>(play->FindActor(ACTOR_CREATURE, kOpeningHero));
  auto* talk = dynamic_cast<SDialog*>(play->FindActor(ACTOR_DIALOG, kOpeningDialog));
  auto* camera = dynamic_cast<STCamera*>(play->FindActor(ACTOR_TCAMERA, kOpeningCamera));
  ASSERT_TRUE(hero && talk && camera);
  EXPECT_EQ(hero->IsOnTerrain(), 1);

  int ticks = 0, heldTicks = 0, rendered = -1;
  while (ticks < 400) {
    if (talk->IsWaiting()) {
      ++heldTicks;
      CDialogPlayerEx* box = talk->GetBox();
      if (box->choicesReady) {
        ClickAnswer(box, 1);
      } else {
        g_menuAgency.OnLButtonDown(600, 10);
      }
    }
    if (play->CurrentFrame() == play->FinalFrame() - 1 && rendered < 0) {
      // The last frames: the camera on the hero, the fade closing in.
      plat::Surface* back = g_gameWorld->backBuffer.get();
      const uint16_t background = static_cast<uint16_t>(PackScreenPixel(0, 80, 160));
      uint8_t* pixels = nullptr;
      int pitch = 0;
      ASSERT_EQ(back->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) std::memcpy(pixels + y * pitch + 2 * x, &background, 2);
      back->Unlock();
      play->RenderViewports();
      ASSERT_EQ(back->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
      rendered = 0;
      for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
          uint16_t p = 0;
          std::memcpy(&p, pixels + y * pitch + 2 * x, 2);
          rendered += p != background;
        }
      back->Unlock();
      VECTOR3 at{}, forward{};
      camera->GetTransform(&at, &forward, nullptr);
      VECTOR3 heroAt{};
      hero->SVisual::GetTransform(&heroAt, nullptr, nullptr);
      const VECTOR3 toHero{heroAt.x - at.x, heroAt.y - at.y, heroAt.z + 20 - at.z};
      const float length = std::sqrt(toHero.x * toHero.x + toHero.y * toHero.y + toHero.z * toHero.z);
      EXPECT_GT((toHero.x * forward.x + toHero.y * forward.y + toHero.z * forward.z) / length, 0.999f)
          << "the camera follows the hero";
      EXPECT_NEAR(heroAt.x, 40, 0.01f) << "the hero arrived";
      EXPECT_NEAR(heroAt.y, 30, 0.01f);
    }
    ++ticks;
    if (player.Tick(1) == 0) break;
  }
  EXPECT_GT(rendered, 0) << "the viewport drew over the background";
  EXPECT_GT(heldTicks, 0) << "the question held the play";
  EXPECT_EQ(player.GetPlay(), nullptr) << "the play is freed";
  EXPECT_EQ(player.GetAnswer(), 1);
  EXPECT_GT(scene.animated, 0);
  for (HOBJECT light : scene.lights) DestroyNode(light);
}

}  // namespace
}  // namespace cstest
