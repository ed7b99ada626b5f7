#include <cmath>
#include <vector>

#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "platform/crt.h"
#include "tests/engine/spatial_fixture.h"
#include "tests/world/scene_fixture.h"
#include "tools/datagen/environment_writer.h"
#include "tools/datagen/transition_scenes.h"
#include "world/scene_environment.h"
#include "world/transition_effects.h"
#include "world/transition_player.h"
#include "world/transition_scene.h"

namespace fieldtest {
namespace {

using enginetest::WorldPosition;

class TransitionTest : public worldtest::SceneFileTest {
 protected:
  void SetUp() override {
    SceneFileTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSceneFile("scenes/3deffect.sb", datagen::BreakingScreenScene(), error)) << error;
    ASSERT_TRUE(datagen::WriteSceneFile("scenes/2_sided.sb", datagen::TwoSidedScene(), error)) << error;
    image_.assign(256 * 256, 0x1234);
  }
  // A started player of the type, as StartRandom leaves it.
  void StartType(CTransitionPlayer& player, int type) {
    player.GrabScreen();
    ASSERT_EQ(player.Start(type), 0);
    player.idle = 0;
    player.frameCount = 0;
  }

  std::vector<uint16_t> image_;
};

TEST_F(TransitionTest, EveryEffectTakes32StepsAndRestoresTheCamera) {
  const HOBJECT camera = GetCurrentCamera();
  for (int type = 0; type < CTransitionPlayer::kTypes; ++type) {
    CTransitionPlayer player;
    StartType(player, type);
    if (type != 6) {
      EXPECT_EQ(GetCurrentCamera(), player.transition->GetCamera()) << type;
    }
    for (int step = 1; step <= 31; ++step) {
      ASSERT_EQ(player.Step(), 0) << type << " step " << step;
      player.Render();
    }
    EXPECT_EQ(player.Step(), -2) << type;
    EXPECT_EQ(player.Step(), -3) << type;
    EXPECT_EQ(player.idle, 1);
    EXPECT_EQ(player.transition, nullptr);
    EXPECT_EQ(GetCurrentCamera(), camera) << type;
  }
}

// A scene's record with its ambient green and its fog.
datagen::EnvironmentRecordData Lit(const char* scene, uint8_t green, float fogStart, float fogEnd) {
  datagen::EnvironmentRecordData r;
  r.scene = scene;
  r.ambient = {100, green, 100};
  r.flags = 0x1;
  r.fogStart = fogStart;
  r.fogEnd = fogEnd;
  return r;
}

TEST_F(TransitionTest, TheTransitionsSceneBringsItsOwnLightAndFog) {
  std::string error;
  ASSERT_TRUE(datagen::WriteEnvironmentFile("environment.dat",
                                            {Lit("a004", 150, 300, 2000), Lit("3deffect", 20, 50, 60)}, error))
      << error;
  CSceneEnvironment fieldLight("a004.SB");
  ASSERT_FLOAT_EQ(GetGameWorld()->ambientGreen, 150 / 255.0f);

  CTransScene scene("3deffect.sb");
  ASSERT_GT(scene.GetModelCount(), 0);
  EXPECT_FLOAT_EQ(GetGameWorld()->ambientGreen, 20 / 255.0f);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogStart, 50);
  EXPECT_FLOAT_EQ(GetGameWorld()->fogEnd, 60);
}

TEST_F(TransitionTest, RandomStartsAndTheBanner) {
  const HOBJECT camera = GetCurrentCamera();
  plat::Srand(7);
  CTransitionPlayer player;
  player.GrabScreen();
  player.StartRandom();
  EXPECT_EQ(player.idle, 0);
  ASSERT_NE(player.banner, 0u);
  EXPECT_EQ(LookupNode(player.banner)->states.alpha, 0.0f);
  for (int step = 1; step <= 30; ++step) ASSERT_EQ(player.Step(), 0);
  EXPECT_EQ(LookupNode(player.banner)->states.alpha, 1.0f) << "opaque on the 30th step";
  EXPECT_EQ(player.Step(), 0);
  EXPECT_EQ(player.Step(), -2);
  EXPECT_EQ(player.banner, 0u);
  EXPECT_EQ(player.bannerViewport, 0u);
  EXPECT_EQ(GetCurrentCamera(), camera);
}

TEST_F(TransitionTest, StartFailures) {
  CTransitionPlayer player;
  EXPECT_EQ(player.Start(7), -2);
  EXPECT_EQ(player.Start(-1), -2);
  EXPECT_EQ(player.banner, 0u) << "a bad type sets nothing up";
  EXPECT_EQ(player.Start(0), -1) << "no screen copy";
  EXPECT_NE(player.banner, 0u) << "the banner is made first";
  EXPECT_EQ(player.transition, nullptr);
  player.StartRandom();
  EXPECT_EQ(player.Step(), -2);
  EXPECT_EQ(player.idle, 1);
  EXPECT_EQ(player.Step(), -3);
}

TEST_F(TransitionTest, RowsFallOneAfterAnother) {
  STrans3 effect(image_.data());
  ASSERT_EQ(effect.ModelCount(), 192);
  effect.Reset();
  std::vector<float> startY;
  for (int n = 0; n < 192; ++n) startY.push_back(WorldPosition(effect.Model(n)).y);
  for (int step = 1; step <= 8; ++step) {
    ASSERT_EQ(effect.Step(), 0);
    for (int row = 0; row < 8; ++row) {
      const int piece = effect.rows[row][5];
      const bool moved = WorldPosition(effect.Model(piece)).y != startY[piece];
      EXPECT_EQ(moved, row < step) << "row " << row << " step " << step;
    }
  }
  EXPECT_EQ(effect.rows[0][0], 191) << "the scene's last piece starts row 0";
  const int piece = effect.rows[0][0];
  EXPECT_NEAR(WorldPosition(effect.Model(piece)).y - startY[piece], -64.0f / 7, 1e-3) << "k^2 / 7 after k steps";
}

TEST_F(TransitionTest, TheScreenRecedesWholeForTenSteps) {
  plat::Srand(3);
  STransMoveExplode effect(image_.data());
  effect.Reset();
  auto gap = [&](int a, int b) {
    const VECTOR3 pa = WorldPosition(effect.Model(a));
    const VECTOR3 pb = WorldPosition(effect.Model(b));
    return VECTOR3{pa.x - pb.x, pa.y - pb.y, pa.z - pb.z};
  };
  const VECTOR3 start = gap(0, 150);
  const float z0 = WorldPosition(effect.Model(0)).z;
  for (int step = 1; step <= 10; ++step) {
    effect.Step();
    const VECTOR3 now = gap(0, 150);
    EXPECT_NEAR(now.x, start.x, 1e-3);
    EXPECT_NEAR(now.y, start.y, 1e-3);
    EXPECT_NEAR(now.z, start.z, 1e-3);
  }
  const PIECEMOTIONDESC& first = effect.motions[0];
  EXPECT_NEAR(WorldPosition(effect.Model(0)).z - z0, 10 * first.speed * first.velocity.z, 1e-2);
  effect.Step();
  const VECTOR3 after = gap(0, 150);
  EXPECT_GT(std::fabs(after.x - start.x) + std::fabs(after.y - start.y), 0.0f) << "then the pieces part";
}

TEST_F(TransitionTest, ShrinkingTheScreenCopy) {
  std::vector<uint8_t> red(640 * 480 * 2);
  for (size_t i = 0; i < red.size(); i += 2) {
    red[i] = 0x00;
    red[i + 1] = 0xF8;
  }
  const std::vector<uint16_t> small = ShrinkScreenCopy(red, 1);
  ASSERT_EQ(small.size(), 256u * 256u);
  for (uint16_t pixel : small) ASSERT_EQ(pixel, 0xF800);
  const std::vector<uint16_t> black = ShrinkScreenCopy(red, 5);
  for (uint16_t pixel : black) ASSERT_EQ(pixel, 0);
  EXPECT_TRUE(trace_.Contains("Not supported pixel format !\n"));
  const std::vector<uint16_t> short_copy = ShrinkScreenCopy(std::vector<uint8_t>(100), 1);
  EXPECT_EQ(short_copy[0], 0) << "a short copy gives black";
}

}  // namespace
}  // namespace fieldtest
