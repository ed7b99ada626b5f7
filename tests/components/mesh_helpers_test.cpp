#include "components/mesh_helpers.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/cameras.h"
#include "engine/core/viewports.h"
#include "tests/engine/scene_fixture.h"

namespace {

using MeshHelpersTest = enginetest::SceneTest;

TEST_F(MeshHelpersTest, GridMesh) {
  EXPECT_EQ(CreateGridMesh(1, 5, 20, 20, "shadow1", 0, 128), 0u);
  EXPECT_EQ(CreateGridMesh(5, 5, 0, 20, "shadow1", 0, 128), 0u);

  const HOBJECT grid = CreateGridMesh(5, 5, 20, 10, "shadow1", 0, 128);
  ASSERT_NE(grid, 0u);
  const MESHDESC* mesh = Mesh(grid);
  EXPECT_EQ(mesh->primitiveCount, 32);
  EXPECT_EQ(mesh->vertexCount, 96);
  // The first cell's first triangle: grid points (0, 0), (1, 0), (1, 1).
  const MESHVERTEX& corner = mesh->vertexArrays[0];
  EXPECT_FLOAT_EQ(corner.x, -10);
  EXPECT_FLOAT_EQ(corner.y, -5);
  EXPECT_FLOAT_EQ(corner.z, 0.2f);
  EXPECT_FLOAT_EQ(corner.nz, 1);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[2].x, -5);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[2].y, -2.5f);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[2].u, 0.25f);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[94].u, 1);
  EXPECT_FLOAT_EQ(mesh->vertexArrays[94].v, 1);
  EXPECT_EQ(mesh->primitives[5], 2);  // each triangle has its own vertices
  EXPECT_EQ(mesh->primitives[6 + 3], 3);
}

TEST_F(MeshHelpersTest, TexturedQuadFlips) {
  struct Case {
    int uFlip, vFlip;
    float uv[8];
  };
  const Case cases[] = {
      {0, 0, {0, 1, 0, 0, 1, 0, 1, 1}},
      {1, 0, {1, 1, 1, 0, 0, 0, 0, 1}},
      {0, 1, {0, 0, 0, 1, 1, 1, 1, 0}},
      {1, 1, {1, 0, 1, 1, 0, 1, 0, 0}},  // upside down and mirrored
  };
  const float blue[3] = {0, 0, 1};
  for (const Case& c : cases) {
    const HOBJECT quad = CreateTexturedQuad(10, 20, 100, 50, 0.5f, nullptr, blue, 0, 0, 0, c.uFlip, c.vFlip);
    ASSERT_NE(quad, 0u);
    const MESHDESC* mesh = Mesh(quad);
    ASSERT_EQ(mesh->vertexCount, 4);
    EXPECT_EQ(mesh->flags, MESH_PRETRANSFORMED | MESH_PRELIT);
    for (int i = 0; i < 4; ++i) {
      EXPECT_FLOAT_EQ(mesh->vertexArrays[i].u, c.uv[2 * i]) << c.uFlip << c.vFlip << i;
      EXPECT_FLOAT_EQ(mesh->vertexArrays[i].v, c.uv[2 * i + 1]) << c.uFlip << c.vFlip << i;
      EXPECT_EQ(mesh->vertexArrays[i].diffuse & 0xFFFFFFu, 0x0000FFu);
      EXPECT_FLOAT_EQ(mesh->vertexArrays[i].rhw, 0.01f);
    }
    EXPECT_FLOAT_EQ(mesh->vertexArrays[1].y, 70);
    EXPECT_FLOAT_EQ(mesh->vertexArrays[3].x, 110);
    EXPECT_EQ(Node(quad)->states.fog, 0);
  }
  const HOBJECT white = CreateTexturedQuad(0, 0, 1, 1, 0, nullptr, nullptr, 0, 0, 0, 0, 0);
  EXPECT_EQ(Mesh(white)->vertexArrays[0].diffuse & 0xFFFFFFu, 0xFFFFFFu);
}

TEST_F(MeshHelpersTest, VertexEdits) {
  const HOBJECT quad = CreateTexturedQuad(0, 0, 10, 10, 0.5f, nullptr, nullptr, 0, 0, 0, 0, 0);
  MESHVERTEX* v = Mesh(quad)->vertexArrays.data();
  OffsetMeshXY(quad, 5, -5);
  EXPECT_FLOAT_EQ(v[2].x, 15);
  EXPECT_FLOAT_EQ(v[2].y, 5);
  ScaleMeshXY(quad, 2, 0.5f);
  EXPECT_FLOAT_EQ(v[0].x, 10);
  EXPECT_FLOAT_EQ(v[0].y, -2.5f);

  // About vertex 0: it stays exactly; vertex 1 (straight above it) turns to its left.
  const float cx = v[0].x, cy = v[0].y;
  EXPECT_EQ(RotateMeshXY(quad, 1.5707963f, cx, cy), 4);
  EXPECT_EQ(v[0].x, cx);
  EXPECT_EQ(v[0].y, cy);
  EXPECT_NEAR(v[1].x, cx - 5, 1e-4f);
  EXPECT_NEAR(v[1].y, cy, 1e-4f);
  EXPECT_EQ(RotateMeshXY(0, 1, 0, 0), 0);

  EXPECT_EQ(SetQuadTextureRect(0, 1, 1, 0, 0), nullptr);
  EXPECT_EQ(SetQuadTextureRect(quad, 0.5f, 0.25f, 0.1f, 0.2f), v);
  const float uv[4][2] = {{0.1f, 0.45f}, {0.1f, 0.2f}, {0.6f, 0.2f}, {0.6f, 0.45f}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_FLOAT_EQ(v[i].u, uv[i][0]) << i;
    EXPECT_FLOAT_EQ(v[i].v, uv[i][1]) << i;
  }
}

TEST(MeshHelpersPureTest, BlendVerticesWritesOnlyNFloats) {
  MESHVERTEX a[2], b[2];
  for (int k = 0; k < 2; ++k) {
    a[k].x = 1, a[k].y = 2, a[k].z = 3, a[k].u = 4;
    b[k].x = 11, b[k].y = 12, b[k].z = 13, b[k].u = 14;
  }
  for (float t : {0.0f, 0.5f, 1.0f}) {
    MESHVERTEX out[2];
    for (MESHVERTEX& o : out) o.y = -7, o.z = -7, o.u = -7;
    BlendVertices(2, a, b, out, t, 1);
    for (const MESHVERTEX& o : out) {
      EXPECT_FLOAT_EQ(o.x, 1 + 10 * t);
      EXPECT_FLOAT_EQ(o.y, -7);
      EXPECT_FLOAT_EQ(o.u, -7);
    }
    BlendVertices(2, a, b, out, t, 8);
    EXPECT_FLOAT_EQ(out[1].u, 4 + 10 * t);
  }
  MESHVERTEX untouched;
  untouched.x = -1;
  BlendVertices(0, a, b, &untouched, 1, 8);
  EXPECT_FLOAT_EQ(untouched.x, -1);
}

TEST(MeshHelpersPureTest, CopyMatrix44To34) {
  MATRIX44 source;
  for (int i = 0; i < 16; ++i) source.m[i] = static_cast<float>(i);
  MATRIX34 destination;
  CopyMatrix44To34(&source, &destination);
  EXPECT_FLOAT_EQ(destination.row[0].x, 0);
  EXPECT_FLOAT_EQ(destination.row[1].z, 6);
  EXPECT_FLOAT_EQ(destination.row[3].x, 12);
  EXPECT_FLOAT_EQ(destination.row[3].z, 14);
}

TEST_F(MeshHelpersTest, DefaultCameraHandle) {
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 18, 0.86f, 1, 1000);
  SetViewportCamera(0, camera);
  EXPECT_EQ(GetDefaultCameraHandle(), camera);
  SetViewportCamera(0, 0);
  EXPECT_EQ(GetDefaultCameraHandle(), 0u);
}

TEST(MeshHelpersPureTest, NoCameraWithoutAWorld) { EXPECT_EQ(GetDefaultCameraHandle(), 0u); }

}  // namespace
