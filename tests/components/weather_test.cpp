#include <gtest/gtest.h>

#include <cmath>

#include "components/aj_flare.h"
#include "components/h_fall_leaves.h"
#include "components/particle_field.h"
#include "components/q_chao.h"
#include "components/q_rain.h"
#include "database/scene_records.h"
#include "engine/core/cameras.h"
#include "engine/core/node_transforms.h"
#include "engine/core/picking.h"
#include "engine/core/viewports.h"
#include "platform/crt.h"
#include "tests/engine/scene_fixture.h"

namespace {

class WeatherTest : public enginetest::SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    camera_ = CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 5000);
    SetViewportCamera(0, camera_);
    plat::Srand(7);
  }

  static VECTOR3 Position(HOBJECT node) {
    MATRIX34 m{};
    GetNodeMatrix(node, &m, 1);
    return m.row[3];
  }
  static int Visible(HOBJECT node) { return Node(node)->visible; }

  // A square zone from (0, 0) to (size, size) between heights 0 and 50.
  static SCENEZONE Square(float size) {
    SCENEZONE zone;
    zone.corners = {{{size, 0}, {size, size}, {0, 0}, {0, size}}};
    zone.zMin = 0;
    zone.zMax = 50;
    return zone;
  }

  HOBJECT camera_ = 0;
};

TEST_F(WeatherTest, FlareBillboardsFollowTheLight) {
  CAJFlare flare;
  EXPECT_EQ(flare.Sprite(0), 0u);
  flare.SetEnabled(1);
  const HOBJECT first = flare.Sprite(0);
  ASSERT_NE(first, 0u);
  flare.SetEnabled(0);
  EXPECT_EQ(Visible(first), 0);  // hidden, kept
  flare.SetEnabled(1);
  EXPECT_EQ(flare.Sprite(0), first);  // made once
  EXPECT_EQ(Visible(first), 1);

  MATRIX34 view{};
  GetNodeMatrix(camera_, &view, 2);
  const VECTOR3 eye = view.row[3];
  const VECTOR3 axis = view.row[2];

  // Across the view: nothing is touched.
  flare.SetLightDirection({axis.y, -axis.x, 0});
  if (std::fabs(axis.x) + std::fabs(axis.y) < 1e-3f) flare.SetLightDirection({1, 0, 0});
  SetNodePosition(first, 3, 4, 5, TRANSFORM_SET);
  flare.Update(eye, axis);
  EXPECT_EQ(flare.Visibility(), CAJFlare::kVisibilityUnknown);
  EXPECT_FLOAT_EQ(Position(first).x, 3);

  // Straight along the view (or against it when the camera looks the other
  // way): the light projects into the viewport and the elements string out
  // from the view centre; against it they all hide.
  int shown = 0;
  for (float sign : {1.0f, -1.0f}) {
    flare.SetLightDirection({sign * axis.x, sign * axis.y, sign * axis.z});
    flare.Update(eye, axis);
    VECTOR3 screen{};
    const VECTOR3 light{eye.x + 20 * sign * axis.x, eye.y + 20 * sign * axis.y, eye.z + 20 * sign * axis.z};
    const int expected = ProjectToScreen(0, &light, &screen, 2, 0) ? 1 : 0;
    EXPECT_EQ(flare.Visibility(), expected) << sign;
    for (int i = 0; i < CAJFlare::kElementCount; ++i) EXPECT_EQ(Visible(flare.Sprite(i)), expected);
    shown += expected;
    if (expected) {
      // Element 8 sits on the view centre, element 3 on the light.
      const VECTOR3 centre{eye.x + 20 * axis.x, eye.y + 20 * axis.y, eye.z + 20 * axis.z};
      EXPECT_NEAR(Position(flare.Sprite(8)).z, centre.z, 1e-3f);
      EXPECT_NEAR(Position(flare.Sprite(3)).x, light.x, 1e-3f);
    }
  }
  EXPECT_EQ(shown, 1);
}

TEST_F(WeatherTest, ParticlesStayInTheirBox) {
  CParticleField field;
  field.SetVisible(1);
  field.SetCount(4);
  ASSERT_EQ(field.Particles().size(), 20u);
  ASSERT_NE(field.MeshNode(), 0u);
  EXPECT_EQ(Mesh(field.MeshNode())->vertexCount, 16);
  EXPECT_EQ(Mesh(field.MeshNode())->primitiveCount, 8);
  // The quads are pre-lit: grey 0.8 at full opacity.
  const MESHVERTEX* corners = Mesh(field.MeshNode())->CurrentVertices();
  for (int i = 0; i < 16; ++i) EXPECT_EQ(corners[i].diffuse, 0xFFCCCCCCu) << "corner " << i;
  for (const auto& p : field.Particles()) {
    EXPECT_GE(p.position.x, -500);
    EXPECT_LE(p.position.x, 500);
    EXPECT_GE(p.position.z, 0);
    EXPECT_NEAR(std::hypot(p.direction.x, p.direction.y, p.direction.z), 1, 1e-4f);
  }
  field.SetGroundLevel(-100);
  field.Update();  // first update: no time passes
  const VECTOR3 low = field.BoxMin(), high = field.BoxMax();
  EXPECT_FLOAT_EQ(low.z, -100);

  auto& particles = field.Particles();
  particles[0].position = {0, 0, low.z - 10};           // sunk below the ground
  particles[1].position = {low.x - 30, 0, low.z + 1};   // out on the left
  particles[2].position = {high.x + 30, 0, low.z + 1};  // out on the right
  for (int i = 0; i < 3; ++i) particles[i].turnInterval = 100;
  clock_->AdvanceSeconds(0.0);
  field.Update();
  const float width = high.x - low.x;
  EXPECT_FLOAT_EQ(particles[0].position.z, field.BoxMax().z);  // no time passed
  EXPECT_GE(particles[0].speed, 10);
  EXPECT_LE(particles[0].speed, 70);
  EXPECT_GE(particles[1].position.x, high.x - width / 2);
  EXPECT_LE(particles[1].position.x, high.x);
  EXPECT_LE(particles[2].position.x, low.x + width / 2);
  EXPECT_GE(particles[2].position.x, low.x);

  // Time moves them by speed x dt along their direction.
  const VECTOR3 before = particles[3].position;
  const VECTOR3 d = particles[3].direction;
  particles[3].turnInterval = 100;
  const float speed = particles[3].speed;
  clock_->AdvanceSeconds(0.1);
  field.Update();
  if (particles[3].position.z >= field.BoxMin().z && before.z <= field.BoxMax().z && before.x >= field.BoxMin().x &&
      before.x <= field.BoxMax().x) {
    EXPECT_NEAR(particles[3].position.z, before.z + speed * 0.1f * d.z, 1e-2f);
  }
  EXPECT_LE(field.QuadsDrawn(), 4);
  field.Release();
  EXPECT_EQ(field.MeshNode(), 0u);
  EXPECT_TRUE(field.Particles().empty());
}

TEST_F(WeatherTest, RainGrowsAndThins) {
  CQRain rain;
  EXPECT_NEAR(rain.Wind().x, 6 / std::sqrt(5.0f), 1e-5f);
  rain.SetEnabled(1);
  ASSERT_EQ(rain.DropCount(), 1);
  EXPECT_EQ(Visible(rain.Drop(0)), 0);  // the template stays hidden
  rain.Update({0, 0, 0}, {1, 0, 0});
  EXPECT_FLOAT_EQ(rain.Centre().z, 60);

  int steps = 0;
  while (rain.DropCount() < 40) {
    rain.Step(-1000);
    ++steps;
  }
  // About one step in four adds a drop.
  EXPECT_GT(steps, 39 * 2);
  EXPECT_LT(steps, 39 * 8);
  // A new drop starts at the centre's height within 90 of it.
  const VECTOR3 top = Position(rain.Drop(rain.DropCount() - 1));
  EXPECT_LE(std::fabs(top.x - 80), 90.01f);
  EXPECT_EQ(Visible(rain.Drop(1)), 1);
  // Drops below the ground go back up.
  rain.Step(1000);
  EXPECT_FLOAT_EQ(Position(rain.Drop(1)).z, 60);

  for (int i = 0; i < 4000; ++i) rain.Step(-1e9f);
  EXPECT_EQ(rain.DropCount(), CQRain::kMaxDrops);

  rain.SetEnabled(0);
  EXPECT_TRUE(rain.IsStopping());
  steps = 0;
  while (rain.DropCount() > 1 && steps < 10000) {
    rain.Step(-1e9f);
    ++steps;
  }
  EXPECT_EQ(rain.DropCount(), 1);
  EXPECT_GT(steps, 449 * 2);
  // Enabling again keeps thinning: it never grows.
  rain.SetEnabled(1);
  for (int i = 0; i < 100; ++i) rain.Step(-1e9f);
  EXPECT_EQ(rain.DropCount(), 1);
}

TEST_F(WeatherTest, LeavesFallThirtyTicksApart) {
  const HOBJECT model = MakeMesh({{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  SCENEANIMDESC track;
  track.firstKey = 0;
  track.lastKey = 100;
  track.position = {0, 100, 2};
  track.positionKeys = {{0, {5, 5, 5}}, {100, {5, 5, -95}}};
  CHFallLeaves leaves(&track, model);
  EXPECT_EQ(leaves.Update(1), -1);
  ASSERT_EQ(leaves.Setup(Square(10), 5), 1);
  ASSERT_EQ(leaves.leaves.size(), 5u);
  for (const auto& leaf : leaves.leaves) EXPECT_EQ(Visible(leaf.node), 0);

  std::vector<int> releasedAt;
  for (int tick = 0; tick < 200; ++tick) {
    const int before = leaves.leavesReleased;
    EXPECT_EQ(leaves.Update(1), 1);
    if (leaves.leavesReleased > before) releasedAt.push_back(tick);
  }
  ASSERT_EQ(releasedAt.size(), 5u);
  for (size_t i = 1; i < releasedAt.size(); ++i) EXPECT_EQ(releasedAt[i] - releasedAt[i - 1], 30);

  // The last leaf flies down from its start within the zone.
  const auto& leaf = leaves.leaves[4];
  EXPECT_GE(leaf.start.x, 0);
  EXPECT_LE(leaf.start.x, 10);
  EXPECT_GE(leaf.start.z, 0);
  EXPECT_LE(leaf.start.z, 50);
  EXPECT_NEAR(Position(leaf.node).z, leaf.start.z - leaf.clock, 1e-3f);

  leaves.paused = 1;
  EXPECT_EQ(leaves.Update(1), 0);
  leaves.Clear();
  EXPECT_TRUE(leaves.leaves.empty());
  EXPECT_EQ(leaves.Update(1), -1);
}

TEST_F(WeatherTest, GrassFramesWrap) {
  const HOBJECT source = MakeMesh({{0, 0, 0, 1, 0, 0, 0, 1, 0}});
  SCENEMORPHDESC frames;
  frames.frameCount = 12;
  frames.vertexCount = 3;
  for (int f = 0; f < 12; ++f)
    for (int v = 0; v < 3; ++v)
      for (float c : {static_cast<float>(f), 0.0f, static_cast<float>(v)}) frames.frames.push_back(c);
  SCENEZONE zone = Square(20);
  CQChao grass(3, zone, &frames, source);
  ASSERT_EQ(grass.copyCount, 3);
  const int start = grass.currentFrame[0];
  for (int step = 0; step < 13; ++step) {
    ASSERT_EQ(grass.Update(), 1);
    const MESHVERTEX& v = Mesh(grass.copies[0])->vertexArrays[0];
    EXPECT_FLOAT_EQ(v.x, static_cast<float>((start + step) % 12)) << step;
  }
  const VECTOR3 at = Position(grass.copies[1]);
  EXPECT_GE(at.x, 0);
  EXPECT_LE(at.x, 20);

  grass.SetEnabled(0);
  EXPECT_EQ(grass.Update(), 0);
  for (HOBJECT copy : grass.copies) EXPECT_FLOAT_EQ(Mesh(copy)->vertexArrays[0].x, 0);

  // An empty frame set makes nothing to sway.
  SCENEMORPHDESC empty;
  CQChao none(3, zone, &empty, source);
  EXPECT_EQ(none.copyCount, 0);
  EXPECT_EQ(none.Update(), 1);
}

}  // namespace
