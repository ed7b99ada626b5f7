// Device lighting of untransformed vertices.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/raster/raster_fixture.h"

namespace rastertest {
namespace {

struct LitScene {
  Canvas canvas;
  Rasterizer r;
  DrawContext c;
  std::vector<Light> lights;
  LitScene() {
    c = canvas.Context();
    c.transforms.projection = Perspective();
    c.lighting.material.diffuse = {1, 1, 1, 1};
  }
  // Three corners on a circle of radius 4 around the view axis at depth 10,
  // so that a light on the axis is equally far from all of them; each
  // normal is given by `normalFor`.
  template <class NormalFor>
  Channels Draw(NormalFor normalFor, DrawOptions options = {}) {
    canvas.Clear(0);
    c.lighting.lights = lights.data();
    c.lighting.lightCount = static_cast<int>(lights.size());
    std::vector<VertexLit> tri;
    for (int i = 0; i < 3; ++i) {
      const float a = 1.5707963f + 2.0943951f * i;
      const float x = 4 * std::cos(a), y = 4 * std::sin(a), z = -10;
      float n[3];
      normalFor(x, y, z, n);
      tri.push_back({x, y, z, n[0], n[1], n[2], 0, 0});
    }
    DrawList(r, c, tri, options);
    return Split565(canvas.At(320, 240));
  }
  Channels DrawFacingCamera(DrawOptions options = {}) {
    return Draw([](float, float, float, float* n) { n[0] = 0, n[1] = 0, n[2] = 1; }, options);
  }
};

Light Directional(float x, float y, float z) {
  Light l;
  l.type = LightType::Directional;
  l.direction = {x, y, z};
  return l;
}

// Expected 565 fields of a colour given in 0..1.
void ExpectColour(const Channels& got, float r, float g, float b) {
  EXPECT_NEAR(got.r, r * 31, 1);
  EXPECT_NEAR(got.g, g * 63, 1);
  EXPECT_NEAR(got.b, b * 31, 1);
}

TEST(RasterLighting, DirectionalLightHeadOnGivesTheDiffuseColour) {
  LitScene s;
  s.c.lighting.material.diffuse = {0.5f, 0.25f, 1.0f, 1};
  s.lights = {Directional(0, 0, -1)};
  ExpectColour(s.DrawFacingCamera(), 0.5f, 0.25f, 1.0f);
  // A dimmer, coloured light multiplies in.
  s.lights[0].color = {0.5f, 1.0f, 0.5f, 1};
  ExpectColour(s.DrawFacingCamera(), 0.25f, 0.25f, 0.5f);
}

TEST(RasterLighting, LightAtNinetyDegreesLeavesOnlyTheAmbient) {
  LitScene s;
  s.c.lighting.ambient = {0.2f, 0.4f, 0.2f, 1};
  s.c.lighting.material.ambient = {1.0f, 0.5f, 1.0f, 1};
  s.lights = {Directional(1, 0, 0)};
  ExpectColour(s.DrawFacingCamera(), 0.2f, 0.2f, 0.2f);
  // From behind as well: no negative light.
  s.lights = {Directional(0, 0, 1)};
  ExpectColour(s.DrawFacingCamera(), 0.2f, 0.2f, 0.2f);
  // Emissive adds on top.
  s.c.lighting.material.emissive = {0.5f, 0, 0, 1};
  ExpectColour(s.DrawFacingCamera(), 0.7f, 0.2f, 0.2f);
}

TEST(RasterLighting, PointAndSpotLightsFadeWithDistanceAndCone) {
  // The light sits on the axis 3 in front of the triangle: 5 from each corner
  // (a 3-4-5 triangle), 53.13 degrees off the axis.
  auto towardLight = [](float x, float y, float z, float* n) { n[0] = -x / 5, n[1] = -y / 5, n[2] = (-7 - z) / 5; };
  struct Case {
    LightType type;
    float range, thetaDeg, phiDeg;
    float expected;
  };
  const Case cases[] = {
      {LightType::Point, 10, 0, 0, 0.5f},     // half its range
      {LightType::Point, 5, 0, 0, 0.0f},      // just out of reach
      {LightType::Point, 1e19f, 0, 0, 1.0f},  // the engine's "unlimited" range
      {LightType::Spot, 1e19f, 120, 150, 1.0f},
      {LightType::Spot, 1e19f, 60, 90, 0.0f},
      {LightType::Spot, 1e19f, 90, 120, (0.6f - 0.5f) / (0.70710678f - 0.5f)},
      {LightType::Spot, 10, 120, 150, 0.5f},
  };
  for (const Case& k : cases) {
    LitScene s;
    Light l;
    l.type = k.type;
    l.position = {0, 0, -7};
    l.direction = {0, 0, -1};
    l.range = k.range;
    l.theta = k.thetaDeg * 0.01745329f;
    l.phi = k.phiDeg * 0.01745329f;
    s.lights = {l};
    const Channels got = s.Draw(towardLight);
    EXPECT_NEAR(got.g, k.expected * 63, 1.01)
        << static_cast<int>(k.type) << " range " << k.range << " cone " << k.thetaDeg;
  }
}

TEST(RasterLighting, LightsAndNormalsMoveIntoEyeSpace) {
  // The camera is turned a quarter round about y, so that it looks along
  // world +x; the triangle stands at world x = 10 facing it (normal -x).
  LitScene s;
  Matrix& view = s.c.transforms.view;
  view.m[0] = 0, view.m[2] = -1, view.m[8] = 1, view.m[10] = 0;
  auto draw = [&](bool normalTowardLight) {
    s.canvas.Clear(0);
    s.c.lighting.lights = s.lights.data();
    s.c.lighting.lightCount = static_cast<int>(s.lights.size());
    std::vector<VertexLit> tri;
    for (int i = 0; i < 3; ++i) {
      const float a = 1.5707963f + 2.0943951f * i;
      const float x = 10, y = 4 * std::sin(a), z = 4 * std::cos(a);
      if (normalTowardLight) tri.push_back({x, y, z, -3.0f / 5, -y / 5, -z / 5, 0, 0});
      else tri.push_back({x, y, z, -1, 0, 0, 0, 0});
    }
    DrawList(s.r, s.c, tri);
    return Split565(s.canvas.At(320, 240));
  };
  s.lights = {Directional(1, 0, 0)};
  ExpectColour(draw(false), 1, 1, 1);
  s.lights = {Directional(0, 0, -1)};
  ExpectColour(draw(false), 0, 0, 0);
  Light point;
  point.type = LightType::Point;
  point.position = {7, 0, 0};
  point.range = 10;
  s.lights = {point};
  ExpectColour(draw(true), 0.5f, 0.5f, 0.5f);
  // The object's own matrix turns its normals too.
  s.lights = {Directional(1, 0, 0)};
  Matrix& world = s.c.transforms.world;
  world.m[0] = -1, world.m[10] = -1;  // half a turn about y
  world.m[12] = 20;                   // corners back at x = 10
  s.canvas.Clear(0);
  std::vector<VertexLit> turned;
  for (int i = 0; i < 3; ++i) {
    const float a = 1.5707963f + 2.0943951f * i;
    turned.push_back({10, 4 * std::sin(a), -4 * std::cos(a), 1, 0, 0, 0, 0});
  }
  s.c.lighting.lights = s.lights.data();
  DrawList(s.r, s.c, turned);
  ExpectColour(Split565(s.canvas.At(320, 240)), 1, 1, 1);
}

TEST(RasterLighting, ParallelPointLightShinesFromTheObjectOrigin) {
  // The object's origin is the eye; the light 10 behind it along +z.
  // A parallel point light takes one direction and distance for the whole
  // object: straight on, at 10 of its range of 40. A point light at the
  // same place reaches the corners at a slant from about 20 away.
  LitScene s;
  Light l;
  l.position = {0, 0, 10};
  l.range = 40;
  l.type = LightType::ParallelPoint;
  s.lights = {l};
  ExpectColour(s.DrawFacingCamera(), 0.75f, 0.75f, 0.75f);
  s.lights[0].type = LightType::Point;
  const float d = std::sqrt(16.0f + 400.0f);
  const float expected = (1 - d / 40) * 20 / d;
  ExpectColour(s.DrawFacingCamera(), expected, expected, expected);
}

TEST(RasterLighting, SpecularHighlightOnlyWhenEnabled) {
  LitScene s;
  s.c.lighting.material.diffuse = {0, 0, 0, 1};
  s.c.lighting.material.specular = {1, 1, 1, 1};
  s.c.lighting.material.power = 4;
  s.lights = {Directional(0, 0, -1)};
  ExpectColour(s.DrawFacingCamera(), 0, 0, 0);
  s.c.states.specularEnable = true;
  const Channels lit = s.DrawFacingCamera();
  EXPECT_GT(lit.g, 50);
}

TEST(RasterLighting, UnlitVerticesAreWhite) {
  LitScene s;
  s.c.lighting.material.diffuse = {0.1f, 0.1f, 0.1f, 1};
  ExpectColour(s.DrawFacingCamera({true, false}), 1, 1, 1);
  ExpectColour(s.DrawFacingCamera(), 0, 0, 0);  // lit with no light: black
}

}  // namespace
}  // namespace rastertest
