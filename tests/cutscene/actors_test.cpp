// The game's camera, board, fade, sprite, viewport, wave and music actors.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "cutscene/board_actor.h"
#include "cutscene/camera_actor.h"
#include "cutscene/cut_scene.h"
#include "cutscene/fade_actor.h"
#include "cutscene/music_actor.h"
#include "cutscene/sprite_actor.h"
#include "cutscene/viewport_actor.h"
#include "cutscene/wave_actor.h"
#include "engine/core/billboards.h"
#include "engine/core/cameras.h"
#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/media/cdaudio.h"
#include "engine/media/sprites.h"
#include "tests/cutscene/actor_fixture.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

using GameActors = RealActorTest;

// A visual over a plain node, to be looked at.
class Marker : public SVisual {
 public:
  Marker() {
    const VECTOR3 size{1, 1, 1};
    node = CreateDummyNode(0, &size);
  }
  ~Marker() override { DestroyNode(node); }
  int TypeId() const override { return ACTOR_CREATURE; }
  HOBJECT GetNode() override { return node; }
  HOBJECT node = 0;
};

VECTOR3 Forward(SVisual& v) {
  VECTOR3 f{};
  v.GetTransform(nullptr, &f, nullptr);
  return f;
}

VECTOR3 Unit(VECTOR3 v) {
  const float n = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / n, v.y / n, v.z / n};
}

float Dot(VECTOR3 a, VECTOR3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

bool Finite(VECTOR3 v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

int LiveMaterials() {
  int count = 0;
  for (uint32_t i = 0; i < g_materialPool.mark; ++i) count += g_materialPool.slots[i] != nullptr;
  return count;
}

class CameraActor : public GameActors {
 protected:
  void SetUp() override {
    GameActors::SetUp();
    node_ = CreateCameraNode(0, 1.33f, 35, 1, 1, 5000);
    camera_ = std::make_unique<STCamera>(node_);
  }
  void TearDown() override {
    camera_.reset();
    DestroyNode(node_);
    GameActors::TearDown();
  }
  HOBJECT node_ = 0;
  std::unique_ptr<STCamera> camera_;
};

TEST_F(CameraActor, ResetLooksAlongMinusZFromTheOrigin) {
  camera_->SetPosition(5, 5, 5, 0);
  camera_->Rotate(0, 40, 1);
  Marker target;
  camera_->LockTarget(&target, 3);
  camera_->Reset();
  VECTOR3 p{}, f{};
  camera_->GetTransform(&p, &f, nullptr);
  EXPECT_NEAR(p.x, 0, 1e-5f);
  EXPECT_NEAR(p.y, 0, 1e-5f);
  EXPECT_NEAR(p.z, 0, 1e-5f);
  EXPECT_NEAR(f.z, -1, 1e-5f);
  EXPECT_EQ(camera_->IsLocked(), 0);
  EXPECT_EQ(camera_->GetTarget(), nullptr);
}

TEST_F(CameraActor, LockTargetFacesConvergesFollowsAndUnlocks) {
  Marker target;
  target.SetPositionXYZ(0, 100, 0);
  camera_->SetTargetOffset(0, 0, 10);
  const VECTOR3 wanted = Unit({0, 100, 10});

  camera_->LockTarget(&target, 1);
  EXPECT_GT(Dot(Forward(*camera_), wanted), 0.99999f) << "at once";

  camera_->Reset();
  camera_->SetTargetOffset(0, 0, 10);
  camera_->LockTarget(&target, 5);
  EXPECT_LT(Dot(Forward(*camera_), wanted), 0.999f) << "a fifth of the way";
  for (int i = 0; i < 8; ++i) camera_->Update(1);
  EXPECT_GT(Dot(Forward(*camera_), wanted), 0.9999f) << "converged";
  target.SetPositionXYZ(100, 0, 0);
  camera_->Update(1);
  EXPECT_GT(Dot(Forward(*camera_), Unit({100, 0, 10})), 0.99999f) << "then follows exactly";

  camera_->LockTarget(nullptr, 3);
  EXPECT_EQ(camera_->IsLocked(), 0);
  const VECTOR3 still = Forward(*camera_);
  target.SetPositionXYZ(0, -100, 0);
  camera_->Update(1);
  EXPECT_GT(Dot(Forward(*camera_), still), 0.99999f) << "unlocked: no turn";
}

TEST_F(CameraActor, ATargetOnTheCameraOrRightBehindGivesAFiniteDirection) {
  Marker target;
  camera_->LockTarget(&target, 4);  // both at the origin
  EXPECT_TRUE(Finite(Forward(*camera_)));
  EXPECT_NEAR(Forward(*camera_).z, -1, 1e-5f) << "keeps looking where it looked";

  camera_->Reset();
  target.SetPositionXYZ(0, 0, 50);  // right behind a camera looking down -z
  camera_->LockTarget(&target, 2);
  const VECTOR3 f = Forward(*camera_);
  EXPECT_TRUE(Finite(f));
  EXPECT_GT(Dot(f, {0, 0, 1}), 0.99999f) << "turns to it at once";
  camera_->LockTarget(&target, 0);
  EXPECT_TRUE(Finite(Forward(*camera_)));
}

TEST_F(CameraActor, FieldOfViewKeysMoveTheRealCameraADegreeAFrame) {
  CutSceneData scene;
  scene.finalFrame = 16;
  scene.players.push_back(Player("TCAMERA", "cam", "", {{"FOV", 0, {45.0f, 0}}, {"FOV", 15, {60.0f, 0}}}));
  WriteScript("fov", scene, 1);
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("fov", "scripts", 1), 0);
  auto* camera = dynamic_cast<STCamera*>(play.FindActor(ACTOR_TCAMERA, "cam"));
  ASSERT_NE(camera, nullptr);
  for (int frame = 0; frame <= 15; ++frame) {
    play.Tick();
    EXPECT_NEAR(GetCameraFieldOfView(camera->GetNode()), 45.0f + static_cast<float>(frame), 0.01f) << frame;
  }
}

TEST_F(GameActors, BoardResetBlendsAtNineTenthsOnItsFirstFrameAndKeepsTheDirectory) {
  SetTextureDirectory("somewhere");
  const std::string directory = GetTextureDirectory();
  SBoard board(datagen::sample::kGrassTexture, "texture", 0, 40, 40);  // 0: the name itself
  EXPECT_EQ(GetTextureDirectory(), directory);
  ASSERT_NE(board.GetNode(), 0u);
  MATERIALDESC* material = LookupMaterial(GetBillboardMaterial(board.GetNode()));
  ASSERT_NE(material, nullptr);
  EXPECT_NE(material->firstFrame, nullptr) << "the texture came from the package";

  board.SetRenderState(22, 1);
  board.SetOpacity(0.2f);
  board.Reset();
  const NODESTATES& s = LookupNode(board.GetNode())->states;
  EXPECT_EQ(s.sourceBlend, 3);
  EXPECT_EQ(s.destBlend, 4);
  EXPECT_FLOAT_EQ(s.alpha, 0.9f);
  EXPECT_FLOAT_EQ(board.GetOpacity(), 0.9f);
  EXPECT_EQ(material->currentFrame, material->firstFrame);

  board.SetMaterialColor(3, 0.25f, 0.5f, 0.75f);
  float r = 0, g = 0, b = 0;
  board.GetMaterialColor(3, &r, &g, &b);
  EXPECT_FLOAT_EQ(r, 0.25f);
  EXPECT_FLOAT_EQ(g, 0.5f);
  EXPECT_FLOAT_EQ(b, 0.75f);

  SBoard missing("nothing_here", "texture", 1, 8, 8);
  EXPECT_EQ(GetTextureDirectory(), directory) << "restored after a failure too";
}

TEST_F(GameActors, AFadeStartsTransparentBlackAndRecoloursWithoutLeaks) {
  const int before = LiveMaterials();
  {
    SFade fade(0, 0, 640, 480);
    const NODEDESC* quad = LookupNode(fade.GetNode());
    ASSERT_NE(quad, nullptr);
    EXPECT_FLOAT_EQ(quad->states.alpha, 0.0f);
    EXPECT_FLOAT_EQ(fade.GetOpacity(), 0.0f);
    EXPECT_NE(GetPrimitiveMaterial(fade.GetNode(), 0), 0u);
    const int withFade = LiveMaterials();
    for (int i = 0; i < 3; ++i) {
      const HOBJECT old = GetPrimitiveMaterial(fade.GetNode(), 0);
      fade.SetColor(255, 10 * i, 0);
      EXPECT_NE(GetPrimitiveMaterial(fade.GetNode(), 0), old);
      EXPECT_EQ(LiveMaterials(), withFade);
    }
    fade.Reset();
    EXPECT_EQ(LiveMaterials(), withFade);
  }
  EXPECT_EQ(LiveMaterials(), before) << "the quad took its material with it";
}

TEST_F(GameActors, SpritesHideUntilShownAndTakeTheirGrid) {
  SetImageDirectory("elsewhere");
  const std::string directory = GetImageDirectory();
  const std::string file = std::string(datagen::sample::kGameOverImageFile).substr(6);
  SSprite sprite(file, "image", 4, 2, 2, 1);
  EXPECT_EQ(GetImageDirectory(), directory);
  ASSERT_NE(sprite.GetSprite(), 0u);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(sprite.GetSprite(), &frames, &columns, &rows);
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(rows, 2);
  sprite.Reset();
  EXPECT_EQ(LookupSprite(sprite.GetSprite())->visible, 0);
  sprite.Show(1);
  EXPECT_EQ(LookupSprite(sprite.GetSprite())->visible, 1);
  const int frame = 1;
  sprite.SetPage(&frame, nullptr, nullptr);
}

TEST_F(GameActors, ViewportsDriveTheDefaultViewport) {
  const HOBJECT node = CreateCameraNode(0, 1.33f, 35, 1, 1, 5000);
  STCamera camera(node);
  SViewPort view(10, 20, 300, 200);
  EXPECT_EQ(view.GetEngineViewport(), 0u);
  view.Reset();
  const VIEWPORTDESC* engine = LookupViewport(0);
  ASSERT_NE(engine, nullptr);
  EXPECT_EQ(engine->x, 10);
  EXPECT_EQ(engine->width, 300);
  view.SetCamera(&camera);
  EXPECT_EQ(engine->camera, LookupNode(node));
  EXPECT_EQ(view.GetCamera(), &camera);
  DestroyNode(node);
}

TEST_F(GameActors, AMissingWaveIsQuietAndMusicActorsShareTheDevice) {
  const std::string directory = GetSoundDirectory();
  SWave missing("nothing.wav", "elsewhere");
  EXPECT_EQ(missing.GetSound(), 0u);
  missing.Play(1);
  missing.Pause();
  missing.Stop();
  EXPECT_EQ(GetSoundDirectory(), directory);
  SWave beep("beep.wav", "waves");
  EXPECT_NE(beep.GetSound(), 0u);

  if (!g_cdAudio.deviceId) OpenCDAudioDefault();
  ASSERT_NE(g_cdAudio.deviceId, 0);
  SMusic first, second;
  first.PlayTrack(2, 1);
  EXPECT_EQ(g_cdAudio.startTrack, 2);
  second.Pause();
  EXPECT_EQ(g_cdAudio.paused, 1) << "the other actor paused the one device";
  first.Resume();
  EXPECT_EQ(g_cdAudio.paused, 0);
  second.Stop();
  EXPECT_EQ(IsCDPlaying(), 0);
}

}  // namespace
}  // namespace cstest
