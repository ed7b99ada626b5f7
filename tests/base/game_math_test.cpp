#include "base/game_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/mesh_edit.h"
#include "tests/engine/scene_fixture.h"
#include "tests/support/captures.h"

namespace {

void ExpectQuaternion(const float* q, float x, float y, float z, float w) {
  EXPECT_NEAR(q[0], x, 1e-5f);
  EXPECT_NEAR(q[1], y, 1e-5f);
  EXPECT_NEAR(q[2], z, 1e-5f);
  EXPECT_NEAR(q[3], w, 1e-5f);
}

TEST(GameMathTest, QuaternionInterpolation) {
  const float turn[4] = {0, 0, std::sin(0.4f), std::cos(0.4f)};
  float out[4];
  QuaternionSlerp(turn, turn, 0.5f, out);
  ExpectQuaternion(out, turn[0], turn[1], turn[2], turn[3]);

  // The short way: the negated identity is the identity.
  const float identity[4] = {0, 0, 0, 1};
  const float negated[4] = {0, 0, 0, -1};
  for (float t : {0.0f, 0.3f, 0.7f, 1.0f}) {
    QuaternionSlerp(identity, negated, t, out);
    ExpectQuaternion(out, 0, 0, 0, 1);
  }

  // Half way from the identity (also given as null) to a 0.8 radian turn.
  for (const float* from : {identity, static_cast<const float*>(nullptr)}) {
    QuaternionSlerp(from, turn, 0.5f, out);
    ExpectQuaternion(out, 0, 0, std::sin(0.2f), std::cos(0.2f));
  }
  InterpolateQuaternion(identity, turn, 0.5f, out);
  ExpectQuaternion(out, 0, 0, std::sin(0.2f), std::cos(0.2f));

  // Equal and opposite ends give the first.
  for (const float* other : {turn, static_cast<const float*>(identity)}) {
    const float* first = other == turn ? turn : negated;
    InterpolateQuaternion(first, other, 0.25f, out);
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(std::isfinite(out[i]));
    ExpectQuaternion(out, first[0], first[1], first[2], first[3]);
  }
}

TEST(GameMathTest, QuaternionsAndMatrices) {
  // A 90-degree turn about z.
  float q[4];
  AxisAngleToQuaternion(1.5707963f, 0, 0, 1, q);
  ExpectQuaternion(q, 0, 0, std::sqrt(0.5f), std::sqrt(0.5f));
  float m[9];
  QuaternionToMatrix(m, q);
  const float expected[9] = {0, -1, 0, 1, 0, 0, 0, 0, 1};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6f) << i;
  float back[4];
  MatrixToQuaternion(m, back);
  ExpectQuaternion(back, -std::sqrt(0.5f), 0, 0, std::sqrt(0.5f));  // {-w, x, y, z}

  // A half turn about x has no positive trace.
  const float halfTurn[9] = {1, 0, 0, 0, -1, 0, 0, 0, -1};
  MatrixToQuaternion(halfTurn, back);
  ExpectQuaternion(back, 0, 1, 0, 0);

  // Two quarter turns make the half turn about z.
  float product[9];
  MultiplyMatrix9(product, m, m);
  const float half[9] = {-1, 0, 0, 0, -1, 0, 0, 0, 1};
  for (int i = 0; i < 9; ++i) EXPECT_NEAR(product[i], half[i], 1e-6f) << i;

  MATRIX34 a{{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}, {1, 2, 3}}};
  MATRIX34 b{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {10, 0, 0}}};
  MATRIX34 c;
  ConcatMatrix34(&a, &b, &c);
  EXPECT_FLOAT_EQ(c.row[3].x, 11);
  EXPECT_FLOAT_EQ(c.row[0].y, 1);
}

TEST(GameMathTest, SmallVectorHelpers) {
  const VECTOR3 a{0, 0, 0}, b{3, 0, 0}, c{0, 4, 0};
  EXPECT_FLOAT_EQ(GetPointDistance(&b, &c), 5);
  VECTOR3 n;
  GetTriangleNormal(&n, &a, &b, &c);
  EXPECT_FLOAT_EQ(n.z, 12);
  EXPECT_EQ(IsSameDirection(&b, &b), 1);
  EXPECT_EQ(IsSameDirection(&b, &c), 0);
  EXPECT_EQ(IsEmptyString(nullptr), 1);
  EXPECT_EQ(IsEmptyString(""), 1);
  EXPECT_EQ(IsEmptyString("a"), 0);

  testsupport::MessageBoxCapture boxes;
  ShowMessage("Hello");
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_EQ(boxes.Boxes()[0].title, "");
  EXPECT_EQ(boxes.Boxes()[0].text, "Hello");

  testsupport::ScopedWorkDir dir;
  EXPECT_EQ(std::filesystem::path(GetCurrentDir()), std::filesystem::current_path());
}

TEST(GameMathTest, AngleBetweenVectors) {
  struct Row {
    VECTOR3 a, b;
    double angle;
  };
  const Row rows[] = {
      {{1, 0, 0}, {0, 2, 0}, 1.5707963}, {{1, 0, 0}, {3, 0, 0}, 0},         {{1, 0, 0}, {-1, 0, 0}, 3.1415926},
      {{0, 0, 0}, {1, 0, 0}, 0},         {{1, 1, 0}, {1, 0, 0}, 0.7853982},
  };
  for (const Row& row : rows) {
    double out = -1;
    EXPECT_EQ(GetAngleBetweenVectors(&row.a, &row.b, &out), 1);
    EXPECT_NEAR(out, row.angle, 1e-6);
  }
  double untouched = 7;
  EXPECT_EQ(GetAngleBetweenVectors(nullptr, &rows[0].b, &untouched), 0);
  EXPECT_EQ(untouched, 7);
}

TEST(GameMathTest, PointInQuadVolume) {
  // A diamond around (0, 0), z from 0 to 10.
  const QUADVOLUME quad{{{0, 10}, {10, 0}, {0, -10}, {-10, 0}}, 0, 10};
  struct Case {
    VECTOR3 point;
    int inside;
  };
  const Case cases[] = {
      {{0, 0, 5}, 1},  {{4, 4, 5}, 1},  {{6, 6, 5}, 0},  // outside the diamond, inside its box
      {{0, 0, 0}, 0},  {{0, 0, 10}, 0},                  // on a z bound
      {{0, 10, 5}, 0}, {{11, 0, 5}, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsPointInQuadVolume(&c.point, &quad), c.inside) << c.point.x << "," << c.point.y << "," << c.point.z;
}

TEST(GameMathTest, SegmentAgainstBoxSides) {
  const VECTOR3 half{1, 1, 1}, centre{0, 0, 0};
  struct Case {
    VECTOR3 from, to;
    int hit;
  };
  const Case cases[] = {
      {{-3, 0, 0}, {3, 0, 0}, 1},         {{0, -3, 0.5f}, {0, 3, 0.5f}, 1},
      {{-3, 0, 2}, {3, 0, 2}, 0},          // above the box
      {{0, 0, -3}, {0, 0, 3}, 0},          // through top and bottom only
      {{-3, 0, 0}, {-0.99999f, 0, 0}, 0},  // touches the face at t > 0.9999
      {{-3, 0, 0}, {-0.9f, 0, 0}, 1},     {{-3, 5, 0}, {3, 5, 0}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(IntersectSegmentBox(&c.from, &c.to, &half, &centre), c.hit) << c.from.x;
}

POLYGONDESC Square(float low, float high) {
  return POLYGONDESC{{{low, low, 0}, {high, low, 0}, {high, high, 0}, {low, high, 0}}};
}

TEST(GameMathTest, PolygonSetsCountParity) {
  POLYGONSETDESC set;
  const VECTOR3 inHole{5, 5, 0}, inRing{1, 5, 0}, outside{20, 5, 0};
  EXPECT_EQ(IsPointInPolygonSet(&set, &inRing, 0), 0);
  set.polygons = {Square(0, 10), Square(3, 7)};
  EXPECT_EQ(IsPointInPolygonSet(&set, &inHole, 0), 1);
  EXPECT_EQ(IsPointInPolygonSet(&set, &inHole, 1), 0);
  EXPECT_EQ(IsPointInPolygonSet(&set, &inRing, 1), 1);
  EXPECT_EQ(IsPointInPolygonSet(&set, &outside, 0), 0);
  EXPECT_EQ(IsPointInPolygon(&set.polygons[1], &inHole), 1);
}

using GameMathSceneTest = enginetest::SceneTest;

TEST_F(GameMathSceneTest, QuadVolumeModel) {
  const QUADVOLUME quad{{{0, 10}, {10, 0}, {0, -10}, {-10, 0}}, -1, 4};
  const HOBJECT node = CreateQuadVolumeModel(&quad, nullptr);
  ASSERT_NE(node, 0u);
  EXPECT_EQ(Node(node)->visible, 0);
  const MESHDESC* mesh = Mesh(node);
  ASSERT_EQ(mesh->vertexCount, 8);
  EXPECT_EQ(mesh->flags & MESH_PRELIT, MESH_PRELIT);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[6].x, 0);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[6].y, -10);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[6].z, 4);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[1].z, -1);
  EXPECT_EQ(mesh->vertexArrays[0].diffuse, 0xFF00FFFFu);
  ASSERT_EQ(mesh->primitiveCount, 4);
  const int triples[4][3] = {{0, 2, 6}, {0, 6, 4}, {1, 3, 7}, {1, 7, 5}};
  for (int t = 0; t < 4; ++t)
    for (int k = 0; k < 3; ++k) EXPECT_EQ(mesh->primitives[6 * t + 3 + k], triples[t][k]) << t;

  const float red[3] = {1, 0, 0};
  EXPECT_EQ(Mesh(CreateQuadVolumeModel(&quad, red))->vertexArrays[7].diffuse, 0xFFFF0000u);
}

TEST_F(GameMathSceneTest, OutlinesOfASquareWithAHole) {
  // Outer square 0..10 (vertices 0-3), hole 3..7 (4-7), eight triangles
  // running counter-clockwise seen from +Z.
  MESHVERTEX vertices[8];
  const float corners[8][2] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {3, 3}, {7, 3}, {7, 7}, {3, 7}};
  for (int i = 0; i < 8; ++i) vertices[i].x = corners[i][0], vertices[i].y = corners[i][1];
  std::vector<MESHPRIM> words;
  for (int side = 0; side < 4; ++side) {
    const int o0 = side, o1 = (side + 1) % 4, i0 = 4 + side, i1 = 4 + (side + 1) % 4;
    words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, o0, o1, i1, PRIM_TRIANGLE, -1, 0, o0, i1, i0});
  }
  BeginNode(NODE_MESH);
  AppendMeshData(0, vertices, 8, words.data(), static_cast<int>(words.size()), 8, 1);
  const HOBJECT mesh = EndNode(0);

  POLYGONSETDESC set;
  set.polygons.push_back(Square(50, 60));  // outlines are appended
  BuildOutlinePolygons(mesh, &set);
  ASSERT_EQ(set.polygons.size(), 3u);
  EXPECT_EQ(set.polygons[1].points.size(), 4u);
  EXPECT_EQ(set.polygons[2].points.size(), 4u);
  const VECTOR3 inHole{5, 5, 0}, inRing{1, 1, 0};
  set.polygons.erase(set.polygons.begin());
  EXPECT_EQ(IsPointInPolygonSet(&set, &inHole, 1), 0);
  EXPECT_EQ(IsPointInPolygonSet(&set, &inRing, 1), 1);
  EXPECT_EQ(g_terrainPool.mark > 0 ? g_terrainPool.slots[0] : nullptr, nullptr);  // the terrain is gone
  EXPECT_NE(LookupNode(mesh), nullptr);
}

}  // namespace
