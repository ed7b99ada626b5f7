#include <cmath>

#include "engine/core/cameras.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/fog.h"
#include "engine/core/lights.h"
#include "tests/engine/scene_fixture.h"

namespace enginetest {
namespace {

using CamerasTest = SceneTest;

CAMERADESC* Camera(HOBJECT node) { return static_cast<CAMERADESC*>(LookupNode(node)->kindData); }
LIGHTDESC* Light(HOBJECT node) { return static_cast<LIGHTDESC*>(LookupNode(node)->kindData); }

bool Inside(const CAMERADESC* camera, int plane, VECTOR3 p) {
  const FRUSTUMPLANE& f = camera->frustum[plane];
  return DotVector3(&f.normal, &p) >= f.offset;
}

// The near plane's half width, read back from the left plane.
float NearHalfWidth(const CAMERADESC* camera) {
  const VECTOR3& n = camera->frustum[4].normal;
  return -n.z / n.x * camera->nearPlane;
}

TEST_F(CamerasTest, LensAndFieldOfView) {
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  ASSERT_NE(camera, 0u);
  EXPECT_NEAR(GetCameraFieldOfView(camera), 24.6f, 0.05f);
  EXPECT_NEAR(NearHalfWidth(Camera(camera)), 0.4369f, 1e-4f);
  EXPECT_FLOAT_EQ(Camera(camera)->nearPlane, 2);
  EXPECT_FLOAT_EQ(Camera(camera)->farPlane, 5000);

  SetCameraFieldOfView(camera, 1.33f, 60);
  EXPECT_NEAR(Camera(camera)->lens, 18.92f, 0.005f);
  EXPECT_FLOAT_EQ(Camera(camera)->aperture, 0.86f);
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(camera), 60);
  // The lens formula gives the field of view back.
  SetCameraLens(camera, 1.33f, Camera(camera)->lens, 0.86f);
  EXPECT_NEAR(GetCameraFieldOfView(camera), 60, 0.01f);
}

TEST_F(CamerasTest, DefaultFrustum) {
  BeginNode(NODE_CAMERA);
  HOBJECT camera = EndNode(0);
  const CAMERADESC* c = Camera(camera);
  for (int plane = 0; plane < 6; ++plane) EXPECT_TRUE(Inside(c, plane, {0, 0, -10})) << plane;
  EXPECT_FALSE(Inside(c, 0, {0, 0, -1}));
  EXPECT_FALSE(Inside(c, 1, {0, 0, -6000}));
  EXPECT_FALSE(Inside(c, 2, {0, 100, -10}));  // above the top
  EXPECT_FALSE(Inside(c, 5, {100, 0, -10}));  // right of the right
  // The projection is built at creation from the defaults.
  MATRIX44 expected;
  BuildPerspectiveMatrix(&expected, 1.33f, 50, 0.86f, 2, 5000, -1, -1, 2, 2);
  for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(c->projectionMatrix.m[i], expected.m[i]) << i;
}

TEST_F(CamerasTest, OrthographicCameras) {
  HOBJECT camera = CreateCameraNode(0, 2, 50, 0.86f, 2, 5000);
  SetCameraProjection(camera, 2);
  const CAMERADESC* c = Camera(camera);
  MATRIX44 ortho;
  BuildOrthographicMatrix(&ortho, 2, 2, 5000, 1);
  EXPECT_FLOAT_EQ(c->projectionMatrix.m[0], ortho.m[0]);
  EXPECT_TRUE(Inside(c, 4, {-0.4f, 0, -10}));
  EXPECT_FALSE(Inside(c, 4, {-0.6f, 0, -10}));
  EXPECT_TRUE(Inside(c, 2, {0, 0.2f, -10}));
  EXPECT_FALSE(Inside(c, 2, {0, 0.3f, -10}));  // y within +-0.5 / aspect

  // A lens change builds a perspective projection but keeps orthographic planes.
  SetCameraLens(camera, 2, 50, 0.86f);
  MATRIX44 perspective;
  BuildPerspectiveMatrix(&perspective, 2, 50, 0.86f, 2, 5000, -1, -1, 2, 2);
  EXPECT_FLOAT_EQ(c->projectionMatrix.m[0], perspective.m[0]);
  EXPECT_FLOAT_EQ(c->frustum[4].normal.x, 1);
  EXPECT_FLOAT_EQ(c->frustum[4].offset, -0.5f);
}

TEST_F(CamerasTest, LightsStoreTheirSettings) {
  const float colour[3] = {1, 0.5f, 0.25f};
  HOBJECT light = CreateLightNode(0, LIGHT_SPOT, 0.6f, colour);
  float intensity = 0, got[3] = {}, range = 0;
  GetLightProperties(light, &intensity, got, &range);
  EXPECT_FLOAT_EQ(intensity, 0.6f);
  EXPECT_FLOAT_EQ(got[1], 0.5f);
  EXPECT_FLOAT_EQ(range, 3000);
  EXPECT_EQ(Light(light)->type, LIGHT_SPOT);

  HOBJECT plain = CreateLightNode(0, LIGHT_POINT, 1, nullptr);
  EXPECT_FLOAT_EQ(Light(plain)->color[2], 1);
  SetLightRange(plain, 50);
  SetLightType(plain, LIGHT_DIRECTIONAL);
  EXPECT_FLOAT_EQ(Light(plain)->range, 50);
  EXPECT_EQ(Light(plain)->type, LIGHT_DIRECTIONAL);

  SetSpotlightCone(light, 60, 90, 1);
  EXPECT_FLOAT_EQ(Light(light)->innerCone, 60);
  EXPECT_FLOAT_EQ(Light(light)->outerCone, 90);
  EXPECT_FLOAT_EQ(Light(light)->falloff, 1);

  // Camera calls leave lights alone and light calls leave cameras alone.
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetCameraLens(light, 1, 10, 1);
  SetLightRange(camera, 5);
  EXPECT_FLOAT_EQ(Light(light)->range, 3000);
  EXPECT_FLOAT_EQ(Camera(camera)->lens, 50);
}

TEST_F(CamerasTest, AmbientAndFogSettings) {
  SetAmbientLight(0.1f, 0.2f, 0.3f);
  SetFogRange(10, 400);
  SetFogColor(0, 1, 0);
  SetFogDensity(0.5f);
  EnableFog(1);
  const GAMEWORLD* w = GetGameWorld();
  EXPECT_FLOAT_EQ(w->ambientBlue, 0.3f);
  EXPECT_FLOAT_EQ(w->fogStart, 10);
  EXPECT_FLOAT_EQ(w->fogEnd, 400);
  EXPECT_FLOAT_EQ(w->fogColor[1], 1);
  EXPECT_FLOAT_EQ(w->fogDensity, 0.5f);
  EXPECT_EQ(w->fogEnabled, 1);
  EXPECT_EQ(w->fogApplied, 0);  // taken up by the renderer, not here
}

// The software path keeps the near plane at 1 or more and stores cone cosines.
class SoftwareCamerasTest : public EngineTest {
 protected:
  void SetUp() override {
    SetRenderMode(0);
    ASSERT_EQ(Open(), 1);
  }
};

TEST_F(SoftwareCamerasTest, NearPlaneAndConeCosines) {
  HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetCameraClipPlanes(camera, 0.5f, 800);
  EXPECT_FLOAT_EQ(Camera(camera)->nearPlane, 1.0f);
  EXPECT_FLOAT_EQ(Camera(camera)->farPlane, 800);
  HOBJECT light = CreateLightNode(0, LIGHT_SPOT, 1, nullptr);
  EXPECT_FLOAT_EQ(Light(light)->innerCone, 0);
  SetSpotlightCone(light, 60, 90, 1);
  EXPECT_NEAR(Light(light)->innerCone, 0.866f, 5e-4f);
  EXPECT_NEAR(Light(light)->outerCone, 0.707f, 5e-4f);
}

}  // namespace
}  // namespace enginetest
