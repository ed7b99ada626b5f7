#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "components/effect_camera.h"
#include "components/effect_creature.h"
#include "components/effect_math.h"
#include "engine/core/cameras.h"
#include "engine/core/lights.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/effects/effects_fixture.h"

namespace effectstest {
namespace {

class EffectElements : public EffectTest {
 protected:
  // A one-triangle mesh whose primitive 0 uses a fresh material.
  static HOBJECT TriangleWithMaterial(HOBJECT* material) {
    const float grey[3] = {0.5f, 0.5f, 0.5f};
    *material = CreateMaterial(grey, grey, grey, grey, 10, nullptr, 0, 0, 0, 0, 0);
    MESHVERTEX v[3];
    v[1].x = 1;
    v[2].y = 1;
    const MESHPRIM words[6] = {PRIM_TRIANGLE, static_cast<MESHPRIM>(*material), 0, 0, 1, 2};
    BeginNode(NODE_MESH);
    AppendMeshData(0, v, 3, words, 6, 1, 1);
    return EndNode(0);
  }

  static MATRIX34 Local(HOBJECT node) {
    MATRIX34 m;
    GetNodeMatrix(node, &m, 1);
    return m;
  }

  static void ExpectSameMatrix(const MATRIX34& a, const MATRIX34& b, const std::string& what) {
    for (int r = 0; r < 4; ++r) {
      EXPECT_NEAR(a.row[r].x, b.row[r].x, 1e-4f) << what << " row " << r;
      EXPECT_NEAR(a.row[r].y, b.row[r].y, 1e-4f) << what << " row " << r;
      EXPECT_NEAR(a.row[r].z, b.row[r].z, 1e-4f) << what << " row " << r;
    }
  }
};

TEST_F(EffectElements, AnUnknownColourKindChangesNothing) {
  A_Model model;
  HOBJECT material;
  model.node = TriangleWithMaterial(&material);
  model.SetMaterialColour(5, 0.1f, 0.2f, 0.3f);
  float colours[4][3];
  GetMaterialColors(material, colours[0], colours[1], colours[2], colours[3], nullptr);
  for (auto& colour : colours)
    for (float c : colour) EXPECT_FLOAT_EQ(c, 0.5f);
  model.SetMaterialColour(4, 0.1f, 0.2f, 0.3f);
  model.SetMaterialColour(1, 0.9f, 0.8f, 0.7f);
  float ambient[3], diffuse[3], specular[3], emissive[3];
  model.GetMaterialColours(ambient, diffuse, specular, emissive);
  EXPECT_FLOAT_EQ(emissive[2], 0.3f);
  EXPECT_FLOAT_EQ(diffuse[0], 0.9f);
  EXPECT_FLOAT_EQ(ambient[0], 0.5f);
  EXPECT_FLOAT_EQ(specular[0], 0.5f);
}

TEST_F(EffectElements, ALightKeepsEachColourComponentWithinZeroAndOne) {
  A_LightingModel light;
  ASSERT_EQ(light.CreateLight(LIGHT_POINT, 1.0f, 1, 1, 1), 1);
  light.SetColor(1.5f, -0.2f, 0.5f);
  float r, g, b;
  light.GetColor(&r, &g, &b);
  EXPECT_FLOAT_EQ(r, 1);
  EXPECT_FLOAT_EQ(g, 0);
  EXPECT_FLOAT_EQ(b, 0.5f);
  float intensity, colour[3], range;
  GetLightProperties(light.node, &intensity, colour, &range);
  EXPECT_FLOAT_EQ(colour[0], 1);
  EXPECT_FLOAT_EQ(colour[1], 0);
}

TEST_F(EffectElements, BrightnessStopsAtItsLimitsAndOnlyModeTwoTouchesTheColours) {
  A_MCObject element;
  element.Bind(owner_.get());
  const HOBJECT hand = owner_->FindPartNode("hand");
  const HOBJECT material = GetPrimitiveMaterial(hand, 0);
  float before[3];
  GetMaterialColors(material, nullptr, before, nullptr, nullptr, nullptr);
  element.SetBrightness(0.5f);
  float diffuse[3];
  GetMaterialColors(material, nullptr, diffuse, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(diffuse[0], before[0] * 0.5f);
  element.AddBrightness(0.8f);
  EXPECT_FLOAT_EQ(element.brightness, 1.0f);
  element.AddBrightness(-3);
  EXPECT_FLOAT_EQ(element.brightness, 0.0f);
  GetMaterialColors(material, nullptr, diffuse, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(diffuse[0], 0);
  element.SetBrightness(1);
  element.brightnessMode = 1;
  element.AddBrightness(-0.5f);
  EXPECT_FLOAT_EQ(element.brightness, 0.5f);
  GetMaterialColors(material, nullptr, diffuse, nullptr, nullptr, nullptr);
  EXPECT_FLOAT_EQ(diffuse[0], before[0]);
}

TEST_F(EffectElements, ACreatureElementFindsPartsAndFallsBackToTheRoot) {
  A_MCObject element;
  element.Bind(owner_.get());
  EXPECT_EQ(element.GetNode("HAND"), owner_->FindPartNode("hand"));
  EXPECT_EQ(element.GetNode("sword"), owner_->rootNode);
  EXPECT_EQ(element.GetNode(nullptr), owner_->rootNode);
  std::string name;
  EXPECT_EQ(element.FindPartName(owner_->FindPartNode("tip"), &name), 1);
  EXPECT_EQ(name, "tip");
  EXPECT_EQ(element.FindPartName(owner_->FindPartNode("body"), &name), 0);  // the first part is not searched
  VECTOR3 p;
  element.GetTransform(element.GetNode("hand"), &p, nullptr, nullptr);
  EXPECT_NEAR(p.x, kHand.x, 1e-4f);
  EXPECT_NEAR(p.y, kHand.y, 1e-4f);
  EXPECT_NEAR(p.z, kHand.z, 1e-4f);
}

TEST_F(EffectElements, ACameraElementWithoutANodeIgnoresEveryOperation) {
  BeginNode(NODE_DUMMY);  // handle 0 would address this node
  A_Camera camera;
  camera.LookAt(1, 2, 3, 4, 5, 6, 7);
  camera.LookAtFromHere(1, 1, 1);
  camera.Translate(1, 2, 3, TRANSFORM_SET);
  camera.Rotate(1, 1, TRANSFORM_LOCAL);
  camera.Scale(2, 2, 2, TRANSFORM_SET);
  MATRIX44 m;
  effectmath::RotationX(&m, 1);
  camera.SetAxes(m, TRANSFORM_SET);
  camera.MoveTo(5, 5, 5);
  camera.SetAdditiveBlend(1, 0.5f);
  EXPECT_EQ(camera.Update(0), 1);
  const HOBJECT open = EndNode(0);
  MATRIX34 identity;
  SetIdentityMatrix34(&identity);
  ExpectSameMatrix(Local(open), identity, "open node");
  VECTOR3 p;
  camera.GetPosition(&p);
  EXPECT_EQ(p.x + p.y + p.z, 0);
}

TEST_F(EffectElements, LookingStraightUpOrDownOnlyMovesTheCamera) {
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 1, 1000);
  RotateNode(camera, 0, 30, TRANSFORM_SET);
  for (float dz : {10.0f, -10.0f}) {
    ASSERT_EQ(SetCameraLookAt(camera, {1, 2, 3}, {1, 2, 3 + dz}, 0), 1);
    MATRIX34 m = Local(camera);
    EXPECT_NEAR(m.row[3].x, 1, 1e-5f);
    EXPECT_NEAR(m.row[3].z, 3, 1e-5f);
    EXPECT_NEAR(m.row[0].x, 1, 1e-5f) << "rotation reset to identity by the set-mode move";
  }
  // A level look points the camera's -z (its view axis) at the target.
  ASSERT_EQ(SetCameraLookAt(camera, {0, 0, 0}, {10, 0, 0}, 0), 1);
  MATRIX34 m = Local(camera);
  VECTOR3 view{-m.row[2].x, -m.row[2].y, -m.row[2].z};
  EXPECT_NEAR(view.x, 1, 1e-4f);
  EXPECT_NEAR(view.y, 0, 1e-4f);
  EXPECT_NEAR(view.z, 0, 1e-4f);
  EXPECT_EQ(SetCameraLookAt(0x7FFFFFFF, {0, 0, 0}, {1, 0, 0}, 0), 0);
}

// Every transform slot crosses into the engine with y and z exchanged, axis
// codes 1 and 2 exchanged and radians turned into degrees.
TEST_F(EffectElements, TransformsReachTheEngineWithYAndZExchanged) {
  struct Case {
    const char* what;
    void (*effect)(A_Model&);
    void (*engine)(HOBJECT);
  } cases[] = {
      {"translate", [](A_Model& m) { m.Translate(1, 2, 3, TRANSFORM_SET); },
       [](HOBJECT n) { SetNodePosition(n, 1, 3, 2, TRANSFORM_SET); }},
      {"rotate x", [](A_Model& m) { m.Rotate(0, static_cast<float>(std::numbers::pi / 2), TRANSFORM_SET); },
       [](HOBJECT n) { RotateNode(n, 0, 90, TRANSFORM_SET); }},
      {"rotate y", [](A_Model& m) { m.Rotate(1, static_cast<float>(std::numbers::pi / 2), TRANSFORM_SET); },
       [](HOBJECT n) { RotateNode(n, 2, 90, TRANSFORM_SET); }},
      {"rotate z", [](A_Model& m) { m.Rotate(2, static_cast<float>(std::numbers::pi / 2), TRANSFORM_SET); },
       [](HOBJECT n) { RotateNode(n, 1, 90, TRANSFORM_SET); }},
      {"scale", [](A_Model& m) { m.Scale(1, 2, 3, TRANSFORM_SET); },
       [](HOBJECT n) { ScaleNode(n, 1, 3, 2, TRANSFORM_SET); }},
      {"move to", [](A_Model& m) { m.MoveTo(4, 5, 6); },
       [](HOBJECT n) { SetNodePosition(n, 4, 6, 5, TRANSFORM_PARENT); }},
  };
  for (const Case& c : cases) {
    A_Model model;
    BeginNode(NODE_DUMMY);
    model.node = EndNode(0);
    BeginNode(NODE_DUMMY);
    const HOBJECT reference = EndNode(0);
    c.effect(model);
    c.engine(reference);
    ExpectSameMatrix(Local(model.node), Local(reference), c.what);
    DestroyNode(reference);
  }
  A_Model model;
  BeginNode(NODE_DUMMY);
  model.node = EndNode(0);
  SetNodePosition(model.node, 1, 2, 3, TRANSFORM_SET);
  VECTOR3 p;
  model.GetPosition(&p);
  EXPECT_FLOAT_EQ(p.y, 3);
  EXPECT_FLOAT_EQ(p.z, 2);
  EXPECT_EQ(effectmath::SwapAxisCode(0), 0);
  EXPECT_EQ(effectmath::SwapAxisCode(1), 2);
  EXPECT_EQ(effectmath::SwapAxisCode(2), 1);
  EXPECT_EQ(effectmath::SwapAxisCode(4), 4);
}

TEST(EffectMath, RotationBetweenDirectionsTurnsOneOntoTheOther) {
  struct Case {
    VECTOR3 a, b;
    int result;
  } cases[] = {
      {{0, 0, -1}, {0, 0, -1}, 0},
      {{0, 0, -1}, {1, 0, 0}, 1},
      {{0, 1, 0}, {0, 0, 1}, 1},
      {{0, 0, -1}, {0, 0, 1}, 1},               // opposite: about the fallback axis
      {{0, 0, -1}, {1e-8f, 0, 0.9999999f}, 1},  // nearly opposite
  };
  for (const Case& c : cases) {
    MATRIX44 m;
    ASSERT_EQ(effectmath::RotationBetween(c.a, c.b, {0, 1, 0}, &m), c.result);
    // The rotation is an engine one: it carries a (in engine axes) onto b.
    VECTOR3 a = effectmath::SwappedYZ(c.a), b = effectmath::SwappedYZ(c.b);
    NormalizeVector3(&b);
    VECTOR3 turned = effectmath::TransformPoint(a, m);
    EXPECT_NEAR(turned.x, b.x, 1e-3f);
    EXPECT_NEAR(turned.y, b.y, 1e-3f);
    EXPECT_NEAR(turned.z, b.z, 1e-3f);
    EXPECT_FALSE(std::isnan(m.m[0]));
  }
}

}  // namespace
}  // namespace effectstest
