#include "components/society_ext.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "components/camera_track_file.h"
#include "components/f_cameras.h"
#include "components/gcb_light.h"
#include "engine/core/cameras.h"
#include "engine/core/lights.h"
#include "engine/core/node_transforms.h"
#include "engine/core/viewports.h"
#include "tests/engine/scene_fixture.h"

namespace {

class SocietyExtTest : public enginetest::SceneTest {
 protected:
  static HOBJECT Light(int kind, float intensity, VECTOR3 at, float range) {
    const float white[3] = {1, 1, 1};
    const HOBJECT node = CreateLightNode(0, kind, intensity, white);
    SetNodePosition(node, at.x, at.y, at.z, TRANSFORM_SET);
    SetLightRange(node, range);
    return node;
  }
  static HOBJECT Camera() { return CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 10000); }

  // A counter of its updates.
  struct Member : CGCBase {
    int Update(int n) override { return updates += n; }
    int updates = 0;
  };
};

TEST_F(SocietyExtTest, CollectLightsOrdersByStrengthAtThePoint) {
  CSocietyExt society(0);
  const VECTOR3 point{0, 0, 0};
  // Strength 10 / 25 = 0.4 against the directional light's 1.
  CGCBLight nearPoint(Light(LIGHT_POINT, 10, {0, 3, 4}, 100), LIGHT_POINT);
  CGCBLight sun(Light(LIGHT_DIRECTIONAL, 1, {0, 0, 500}, 1000), LIGHT_DIRECTIONAL);
  CGCBLight below(Light(LIGHT_DIRECTIONAL, 5, {0, 0, -1}, 1000), LIGHT_DIRECTIONAL);
  CGCBLight tooFar(Light(LIGHT_POINT, 50, {0, 0, 10}, 9), LIGHT_POINT);
  CGCBLight off(Light(LIGHT_DIRECTIONAL, 9, {0, 0, 10}, 100), LIGHT_DIRECTIONAL);
  off.SetVisible(0);
  for (CGCBLight* light : {&nearPoint, &sun, &below, &tooFar, &off}) ASSERT_EQ(light->Attach(&society), 1);
  EXPECT_EQ(society.Lights().size(), 5u);
  EXPECT_EQ(society.CollectLights(&point), (std::vector<CGCBLight*>{&sun, &nearPoint}));

  // Without a point the intensities decide, and every light that is on counts.
  EXPECT_EQ(society.CollectLights(nullptr), (std::vector<CGCBLight*>{&tooFar, &nearPoint, &below, &sun}));
}

TEST_F(SocietyExtTest, EqualLightsKeepSetOrder) {
  CSocietyExt society(0);
  std::vector<std::unique_ptr<CGCBLight>> lights;
  for (float x : {-3.0f, 3.0f, 0.0f}) {
    lights.push_back(std::make_unique<CGCBLight>(Light(LIGHT_POINT, 2, {x, 0, 4}, 100), LIGHT_POINT));
    lights.back()->Attach(&society);
  }
  lights[2]->SetIntensity(1);  // weaker although nearer: 1 / 16 against 2 / 25
  const VECTOR3 point{0, 0, 0};
  std::vector<CGCBLight*> expected;
  for (CGCBLight* light : society.Lights())
    if (light != lights[2].get()) expected.push_back(light);
  expected.push_back(lights[2].get());
  EXPECT_EQ(society.CollectLights(&point), expected);
}

TEST_F(SocietyExtTest, LightProperties) {
  const float colour[3] = {0.5f, 0.25f, 1};
  const HOBJECT node = CreateLightNode(0, LIGHT_SPOT, 0.7f, colour);
  SetLightRange(node, 300);
  CGCBLight light(node, LIGHT_SPOT);
  int kind = 0;
  float rgb[3], range = 0, intensity = 0;
  ASSERT_EQ(light.GetProperties(&kind, rgb, &range, &intensity), 1);
  EXPECT_EQ(kind, LIGHT_SPOT);
  EXPECT_FLOAT_EQ(rgb[1], 0.25f);
  EXPECT_FLOAT_EQ(range, 300);
  EXPECT_FLOAT_EQ(intensity, 0.7f);

  EXPECT_EQ(light.SetRange(50), 1);
  EXPECT_EQ(light.SetKind(LIGHT_POINT), 1);
  float engineRange = 0;
  GetLightProperties(node, nullptr, nullptr, &engineRange);
  EXPECT_FLOAT_EQ(engineRange, 50);
  EXPECT_EQ(LookupNode(node)->kindData ? static_cast<LIGHTDESC*>(LookupNode(node)->kindData)->type : 0, LIGHT_POINT);
  light.SetVisible(0);
  EXPECT_EQ(light.on, 0);
  EXPECT_EQ(LookupNode(node)->visible, 0);

  CGCBLight none(0, LIGHT_POINT);
  EXPECT_EQ(none.SetRange(1), 0);
  EXPECT_EQ(none.SetColour(colour), 0);
  EXPECT_EQ(none.GetProperties(&kind, nullptr, nullptr, nullptr), 0);
  VECTOR3 position;
  EXPECT_EQ(none.GetVectors(&position, nullptr, nullptr), 0);
  EXPECT_EQ(none.SetDirection(&position, nullptr, nullptr), 0);
}

TEST_F(SocietyExtTest, ModeViewCameraAndListener) {
  const HOBJECT first = Camera();
  CSocietyExt society(first);
  EXPECT_EQ(society.GetMode(), 3);
  EXPECT_EQ(society.SetMode(-1), 0);
  EXPECT_EQ(society.SetMode(1), 1);
  EXPECT_EQ(society.GetMode(), 1);

  EXPECT_EQ(society.SetViewCamera(first), 0u);
  EXPECT_EQ(society.ViewCamera(), first);

  BeginNode(NODE_LISTENER);
  society.listenerNode = EndNode(0);
  const HOBJECT second = Camera();
  EXPECT_EQ(society.SetViewCamera(second), first);
  EXPECT_EQ(society.ViewCamera(), second);
  EXPECT_EQ(GetGameWorld()->defaultViewport->camera, LookupNode(second));
  EXPECT_EQ(GetNodeParent(society.listenerNode), second);

  Member member;
  member.Attach(&society);
  society.listener = 1;
  society.Update(2);
  EXPECT_EQ(member.updates, 2);
}

TEST_F(SocietyExtTest, CameraComponentIsOwnedAndReplaced) {
  const HOBJECT view = Camera();
  CSocietyExt society(view);
  auto* script = dynamic_cast<CFCameras*>(society.CameraComponent());
  ASSERT_NE(script, nullptr);
  EXPECT_EQ(script->owner, &society);
  EXPECT_EQ(society.Count(), 1);
  EXPECT_EQ(script->trackFile->cameraCount, 0);  // no "camera\fcamera.sc" here
  EXPECT_EQ(script->Start(0, 0, 0, 0, nullptr, 0), 0);

  EXPECT_EQ(society.SetCameraComponent(script), nullptr);

  // A playing script is stopped and handed back.
  script->trackFile->cameraCount = 1;
  script->trackFile->cameras.resize(1);
  ASSERT_EQ(script->Start(0, 0, 0, 0, nullptr, 0), 1);
  EXPECT_EQ(society.ViewCamera(), script->cameraNode);
  auto* replacement = new CFCameras("none.sc");
  std::unique_ptr<CGCBase> previous(society.SetCameraComponent(replacement));
  EXPECT_EQ(previous.get(), script);
  EXPECT_EQ(script->playing, 0);
  EXPECT_EQ(script->owner, nullptr);
  EXPECT_EQ(society.ViewCamera(), view);
  EXPECT_EQ(replacement->owner, &society);
  EXPECT_EQ(society.Count(), 1);

  // A fresh component takes the place (compared by content: the allocator may
  // hand the freed address out again).
  replacement->SetLooping(1);
  EXPECT_EQ(society.LoadCameraScript("other.sc"), 1);
  auto* loaded = dynamic_cast<CFCameras*>(society.CameraComponent());
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->looping, 0);
  EXPECT_EQ(society.Count(), 1);
}

}  // namespace
