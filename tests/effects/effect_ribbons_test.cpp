#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "components/effect_ribbon.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "tests/effects/effects_fixture.h"

namespace effectstest {
namespace {

class Ribbons : public EffectTest {
 protected:
  static MESHVERTEX* Vertices(HOBJECT segment) {
    int count, frames, floats;
    return GetMeshVertices(segment, &count, &frames, &floats);
  }

  static void ExpectNear(const VECTOR3& a, const VECTOR3& b, const std::string& what) {
    EXPECT_NEAR(a.x, b.x, 1e-4f) << what;
    EXPECT_NEAR(a.y, b.y, 1e-4f) << what;
    EXPECT_NEAR(a.z, b.z, 1e-4f) << what;
  }
};

TEST_F(Ribbons, OneSectionBuildsNothingAndLaterCallsFindNoSegments) {
  for (int n : {1, 0, -3, A_SectionalModel::kMaxSections + 1}) {
    A_SectionalModel ribbon;
    ribbon.Build("glow", 1, 10, 2, n, 1);
    EXPECT_TRUE(ribbon.Segments().empty());
    EXPECT_EQ(ribbon.node, 0u);
    ribbon.SetSection(0, {1, 1, 1}, {2, 2, 2});
    VECTOR3 top{9, 9, 9}, bottom{9, 9, 9};
    ribbon.GetSection(0, &top, &bottom);
    EXPECT_EQ(top.x, 9);
    ribbon.SetTextureRange(0, 1, 1, 0);
    ribbon.ScrollTexture(0.5f, 0.5f);
    ribbon.SmoothSeams();
    ribbon.SetVisible(1);
    EXPECT_EQ(ribbon.Update(0), 1);
  }
}

TEST_F(Ribbons, TwoDigitFrameNumbersAreDroppedFromTextureNames) {
  struct Case {
    const char* name;
    const char* texture;
  } cases[] = {{"glow07.bmp", "glow"}, {"glow.bmp", "glow"}, {"a7.bmp", "a7"},   {"b12x.bmp", "b1"},
               {"s.bmp", "s"},         {".bmp", ""},         {"plain", "plain"}, {"1.bmp", "1"}};
  for (const Case& c : cases) EXPECT_EQ(A_SectionalModel::MaterialTextureName(c.name), c.texture) << c.name;
  A_SectionalModel a, b;
  a.Build("glow07.bmp", 1, 10, 2, 3, 1);
  b.Build("glow.bmp", 1, 10, 2, 3, 1);
  char nameA[24] = {}, nameB[24] = {};
  GetMaterialColors(a.material, nullptr, nullptr, nullptr, nullptr, nameA);
  GetMaterialColors(b.material, nullptr, nullptr, nullptr, nullptr, nameB);
  EXPECT_STREQ(nameA, nameB);
}

TEST_F(Ribbons, ScrollingWrapsPastMinusOne) {
  A_SectionalModel ribbon;
  ribbon.Build("glow", 1, 10, 2, 3, 2);
  ribbon.SetTextureRange(0, 1, 1, 0);
  std::vector<float> us;
  for (int i = 0; i < 4; ++i) {
    ribbon.ScrollTexture(0.3f, 0);
    MESHVERTEX* v = Vertices(ribbon.Segments()[0]);
    us.push_back(v[0].u);
    EXPECT_FLOAT_EQ(v[1].u, v[0].u);
    EXPECT_NEAR(v[2].u - v[0].u, 1, 1e-5f);
    EXPECT_FLOAT_EQ(v[3].u, v[2].u);
  }
  const float expected[4] = {-0.3f, -0.6f, -0.9f, -0.2f};
  for (int i = 0; i < 4; ++i) EXPECT_NEAR(us[i], expected[i], 1e-5f);
}

TEST_F(Ribbons, AnArcOfEightSectionsClosesIntoARing) {
  for (float angle : {static_cast<float>(2 * std::numbers::pi / 7), 0.3f}) {
    efc::EFCSECTIONALDESC shape = Ribbon("arc", 8).shape;
    shape.shape = 1;
    shape.arcAngle = angle;
    shape.arcAxis = 1;
    shape.top = {4, 1, 0};
    shape.bottom = {4, -1, 0};
    auto ribbon = BuildSectional(shape, 1);
    ASSERT_EQ(ribbon->Segments().size(), 7u);
    VECTOR3 firstTop, firstBottom, lastTop, lastBottom, secondTop, secondBottom;
    ribbon->GetSection(0, &firstTop, &firstBottom);
    ribbon->GetSection(7, &lastTop, &lastBottom);
    ribbon->GetSection(1, &secondTop, &secondBottom);
    ExpectNear(firstTop, {4, 1, 0}, "first");
    ExpectNear(lastTop, firstTop, "closed");
    ExpectNear(lastBottom, firstBottom, "closed");
    ExpectNear(secondTop, {4 * std::cos(angle), 1, 4 * std::sin(angle)}, "turned about y");
    // The last segment's far end sits on the first section.
    MESHVERTEX* v = Vertices(ribbon->Segments()[6]);
    ExpectNear({v[2].x, v[2].z, v[2].y}, firstTop, "mesh closed");
  }
}

TEST_F(Ribbons, ATrailFollowsItsAnchorsThenFadesAndStops) {
  struct Case {
    float fadeStep;
    int stopsAfter;  // updates until it stops; 0 never
  } cases[] = {{0.5f, 3 + 3}, {0, 0}};
  for (const Case& c : cases) {
    A_TractionEfficacy trail;
    efc::EFCTRACTIONDESC block = Trail("t", "hand", "tip", 4).trail;
    block.anchorA = {0, 0, 0};
    block.anchorB = {0, 1, 0};
    trail.Setup(block);
    trail.Start(3, c.fadeStep);
    for (int frame = 1; frame <= 3; ++frame) {
      trail.SetAnchors({static_cast<float>(frame), 0, 0}, {static_cast<float>(frame), 1, 0});
      EXPECT_EQ(trail.Update(0), 1);
      VECTOR3 top, bottom;
      trail.GetSection(0, &top, &bottom);
      EXPECT_FLOAT_EQ(top.x, frame);
      trail.GetSection(1, &top, &bottom);
      EXPECT_FLOAT_EQ(top.x, frame - 1);
    }
    trail.SetAnchors({9, 0, 0}, {9, 1, 0});
    std::vector<float> levels;
    int updates = 3;
    while (trail.active && updates < 12) {
      trail.Update(0);
      ++updates;
      levels.push_back(trail.fadeLevel);
    }
    VECTOR3 top, bottom;
    trail.GetSection(0, &top, &bottom);
    EXPECT_FLOAT_EQ(top.x, 3) << "no longer follows";
    if (c.stopsAfter) {
      EXPECT_EQ(updates, c.stopsAfter);
      EXPECT_EQ(levels, (std::vector<float>{0.5f, 0, 0}));
      EXPECT_EQ(trail.IsVisible(), 0);
      EXPECT_EQ(trail.Update(0), 0);
    } else {
      EXPECT_EQ(trail.active, 1);
      float emissive[3];
      trail.GetMaterialColours(nullptr, nullptr, nullptr, emissive);
      EXPECT_FLOAT_EQ(emissive[0], 1);
    }
  }
}

TEST_F(Ribbons, ShowingATrailRestartsItCollapsedAtTheAnchors) {
  A_TractionEfficacy trail;
  trail.Setup(Trail("t", "hand", "tip", 5).trail);
  trail.Start(-1, 0);
  for (int frame = 1; frame <= 4; ++frame) {
    trail.SetAnchors({static_cast<float>(frame), 0, 0}, {static_cast<float>(frame), 1, 0});
    trail.Update(0);
  }
  trail.SetVisible(0);
  trail.SetAnchors({7, 0, 0}, {7, 2, 0});
  trail.SetVisible(1);
  for (int i = 0; i < 5; ++i) {
    VECTOR3 top, bottom;
    trail.GetSection(i, &top, &bottom);
    ExpectNear(top, {7, 0, 0}, "top");
    ExpectNear(bottom, {7, 2, 0}, "bottom");
  }
  EXPECT_EQ(trail.IsVisible(), 1);
  EXPECT_EQ(trail.active, 1);
}

TEST_F(Ribbons, AKeptScaleCompoundsOnEveryUpdate) {
  A_SectionalModel ribbon;
  ribbon.Build("glow", 1, 10, 2, 3, 1);
  ribbon.Scale(2, 1, 1, TRANSFORM_SET);
  const HOBJECT segment = ribbon.Segments()[0];
  std::vector<float> xs;
  for (int i = 0; i < 3; ++i) {
    ribbon.Update(0);
    MATRIX34 m;
    GetNodeMatrix(segment, &m, 1);
    xs.push_back(m.row[0].x);
  }
  EXPECT_EQ(xs, (std::vector<float>{4, 8, 16}));
  ribbon.Scale(1, 1, 1, TRANSFORM_SET);
  ribbon.Update(0);
  MATRIX34 m;
  GetNodeMatrix(segment, &m, 1);
  EXPECT_FLOAT_EQ(m.row[0].x, 1);
}

}  // namespace
}  // namespace effectstest
