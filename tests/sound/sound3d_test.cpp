#include "engine/media/sound3d.h"
#include "engine/core/cameras.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/sound.h"
#include "tests/sound/sound_fixture.h"

namespace soundtest {
namespace {

constexpr int16_t kLevel = 12000;

class Sound3DTest : public SoundTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    WriteLevelWave("hum.wav", kLevel);
    BeginNode(NODE_LISTENER);
    listener_ = EndNode(0);
    // Facing engine +X with +Y up: the right-hand side is engine +Z.
    SetNodeAxes(listener_, AXIS_POS_X, AXIS_POS_Y);
    BeginNode(NODE_SOUND);
    ASSERT_EQ(AttachSound3D(0, "hum"), 1) << "the node under construction";
    emitter_ = EndNode(0);
    ASSERT_EQ(SetSound3DRange(emitter_, 0, 250), 1);
    ASSERT_EQ(StartSound3D(emitter_, 1), 1);
  }
  ~Sound3DTest() override { SetSoundConfig(2, 44100, 16, 0.01f); }

  void Place(HOBJECT node, VECTOR3 at) { SetNodePosition(node, at.x, at.y, at.z, TRANSFORM_SET); }

  HOBJECT listener_ = 0;
  HOBJECT emitter_ = 0;
};

TEST_F(Sound3DTest, GainFallsWithDistanceAndPanFollowsTheListenersSide) {
  struct Case {
    const char* name;
    VECTOR3 listener;
    VECTOR3 emitter;
    float left, right;  // of the full level
  } cases[] = {
      {"right: engine +Z", {0, 0, 0}, {0, 0, 100}, 0.0f, 0.6f},
      {"left: engine -Z", {0, 0, 0}, {0, 0, -100}, 0.6f, 0.0f},
      {"ahead", {0, 0, 0}, {100, 0, 0}, 0.6f, 0.6f},
      {"overhead, half way out", {0, 0, 0}, {0, 125, 0}, 0.5f, 0.5f},
      {"listener moved along engine +Z", {0, 0, 100}, {0, 0, 200}, 0.0f, 0.6f},
      {"beyond the maximum", {0, 0, 0}, {0, 0, 300}, 0.0f, 0.0f},
      {"inside the minimum", {50, 0, 0}, {50, 0, 0}, 1.0f, 1.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto before = PullSides();
    Place(listener_, c.listener);
    Place(emitter_, c.emitter);
    EXPECT_EQ(UpdateListener(listener_), 1);
    EXPECT_EQ(UpdateSound3D(emitter_), 1);
    auto waiting = PullSides();
    EXPECT_NEAR(waiting.first, before.first, 1e-5) << "nothing changes before the commit";
    EXPECT_NEAR(waiting.second, before.second, 1e-5);
    EXPECT_EQ(CommitSound3D(), 1);
    auto heard = PullSides();
    EXPECT_NEAR(heard.first, c.left * Level(kLevel), 1e-4);
    EXPECT_NEAR(heard.second, c.right * Level(kLevel), 1e-4);
  }
}

TEST_F(Sound3DTest, DistancesFollowTheDistanceScale) {
  ASSERT_EQ(SetSoundConfig(2, 44100, 16, 0.02f), 1);
  ASSERT_EQ(SetSound3DRange(emitter_, 100, 300), 1);  // 2 to 6 for the device
  Place(emitter_, {0, 0, 200});
  UpdateListener(listener_);
  UpdateSound3D(emitter_);
  CommitSound3D();
  EXPECT_NEAR(PullSides().second, 0.5f * Level(kLevel), 1e-4);
}

TEST_F(Sound3DTest, CallsActOnlyOnTheirNodeKinds) {
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  ASSERT_NE(camera, 0u);
  Place(camera, {0, 0, -100});
  EXPECT_EQ(UpdateListener(camera), 0) << "a camera is no listener";
  EXPECT_EQ(UpdateListener(emitter_), 0);
  EXPECT_EQ(AttachSound3D(listener_, "hum"), 0);
  EXPECT_EQ(StartSound3D(listener_, 1), 0);
  EXPECT_EQ(StopSound3D(camera), 0);
  EXPECT_EQ(SetSound3DRange(listener_, 0, 1), 0);
  EXPECT_EQ(UpdateSound3D(listener_), 0);
  Place(emitter_, {0, 0, 100});
  UpdateListener(listener_);
  UpdateSound3D(emitter_);
  CommitSound3D();
  auto heard = PullSides();
  EXPECT_NEAR(heard.first, 0.0f, 1e-4) << "the camera's placement was not taken";
  EXPECT_NEAR(heard.second, 0.6f * Level(kLevel), 1e-4);
}

TEST_F(Sound3DTest, EmitterSoundLivesAndDiesWithItsNode) {
  EXPECT_EQ(StopSound3D(emitter_), 1);
  EXPECT_NEAR(PullSides().first, 0.0f, 1e-6);
  EXPECT_EQ(StartSound3D(emitter_, 1), 1);
  EXPECT_NEAR(PullSides().first, Level(kLevel), 1e-4);

  HOBJECT clone = CloneNode(emitter_);
  ASSERT_NE(clone, 0u);
  EXPECT_EQ(StartSound3D(clone, 1), 1) << "the clone has its own sound";
  EXPECT_NEAR(PullSides().first, 2 * Level(kLevel), 1e-4);
  DestroyNode(emitter_);
  EXPECT_NEAR(PullSides().first, Level(kLevel), 1e-4);

  EXPECT_EQ(AttachSound3D(clone, "missing"), 0);
  EXPECT_EQ(StartSound3D(clone, 1), 0) << "the old sound was freed";
  EXPECT_NEAR(PullSides().first, 0.0f, 1e-6);
  EXPECT_EQ(AttachSound3D(clone, "hum"), 1);
  EXPECT_EQ(StartSound3D(clone, 1), 1);
  EXPECT_NEAR(PullSides().first, Level(kLevel), 1e-4);
}

}  // namespace
}  // namespace soundtest
