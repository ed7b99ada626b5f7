#include "components/mesh_helpers.h"

#include <cmath>
#include <vector>

#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/render_to_texture.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

namespace {

// The current frame's vertices of a mesh node, with their count; null otherwise.
MESHVERTEX* Vertices(HOBJECT node, int* count) {
  int frames = 0, floats = 0;
  *count = 0;
  MESHVERTEX* vertices = GetMeshVertices(node, count, &frames, &floats);
  if (!vertices) *count = 0;
  return vertices;
}

float* Floats(MESHVERTEX* vertex) { return reinterpret_cast<float*>(vertex); }
const float* Floats(const MESHVERTEX* vertex) { return reinterpret_cast<const float*>(vertex); }

}  // namespace

HOBJECT CreateGridMesh(int a, int b, float w, float d, const char* textureName, int renderTarget, int textureSize) {
  if (a <= 1 || w * d == 0) return 0;
  const float ambient[3] = {0.4f, 0.4f, 0.4f};
  const float diffuse[3] = {0.2f, 0.2f, 0.2f};
  const float specular[3] = {0.1f, 0.1f, 0.1f};
  const float emissive[3] = {0.2f, 0.2f, 0.2f};
  HOBJECT material = 0;
  if (renderTarget) {
    material = CreateRenderTextureMaterial(ambient, diffuse, specular, emissive, 32, textureName, textureSize,
                                           textureSize, 0, 0, 0, 0);
    EnableRenderTexture(material);
  } else {
    material = CreateMaterial(ambient, diffuse, specular, emissive, 32, textureName, 0, 0, 0, 0, 0);
  }
  const int columns = a - 1;
  const int rows = b - 1;
  auto point = [&](int i, int j) {
    MESHVERTEX v;
    v.x = i * w / columns - w / 2;
    v.y = j * d / rows - d / 2;
    v.z = 0.2f;
    v.nx = 0, v.ny = 0, v.nz = 1;
    v.u = static_cast<float>(i) / columns;
    v.v = static_cast<float>(j) / rows;
    return v;
  };
  std::vector<MESHVERTEX> vertices;
  std::vector<MESHPRIM> words;
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < columns; ++i) {
      const int corners[2][3][2] = {{{i, j}, {i + 1, j}, {i + 1, j + 1}}, {{i, j}, {i + 1, j + 1}, {i, j + 1}}};
      for (const auto& triangle : corners) {
        const int first = static_cast<int>(vertices.size());
        for (const auto& corner : triangle) vertices.push_back(point(corner[0], corner[1]));
        words.insert(words.end(), {PRIM_TRIANGLE, static_cast<MESHPRIM>(material), 0, first, first + 1, first + 2});
      }
    }
  BeginNode(NODE_MESH);
  AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                 2 * columns * rows, 1);
  return EndNode(0);
}

HOBJECT CreateTexturedQuad(float x, float y, float width, float height, float z, const char* textureName,
                           const float* colour, int frameCount, int keyFlag, int keyColour, int uFlip, int vFlip) {
  const float white[3] = {1, 1, 1};
  const HOBJECT material = CreateMaterial(white, white, white, white, 32, textureName, frameCount, keyFlag,
                                          keyColour & 0xFF, (keyColour >> 8) & 0xFF, (keyColour >> 16) & 0xFF);
  const float positions[16] = {x,         y,          z, 0.01f, x,         y + height, z, 0.01f,
                               x + width, y + height, z, 0.01f, x + width, y,          z, 0.01f};
  const float us[4] = {0, 0, 1, 1};
  const float vs[4] = {1, 0, 0, 1};
  float uvs[8];
  float colours[12];
  for (int i = 0; i < 4; ++i) {
    uvs[2 * i] = uFlip ? 1 - us[i] : us[i];
    uvs[2 * i + 1] = vFlip ? 1 - vs[i] : vs[i];
    if (colour) colours[3 * i] = colour[0], colours[3 * i + 1] = colour[1], colours[3 * i + 2] = colour[2];
  }
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRETRANSFORMED);
  AddMeshPolygon(0, positions, colour ? colours : nullptr, uvs, 4, material, 0);
  SetNodeRenderState(0, NRS_FOG, 0);
  return EndNode(0);
}

void OffsetMeshXY(HOBJECT node, int dx, int dy) {
  int count = 0;
  MESHVERTEX* vertices = Vertices(node, &count);
  for (int i = 0; i < count; ++i) vertices[i].x += dx, vertices[i].y += dy;
}

void ScaleMeshXY(HOBJECT node, float sx, float sy) {
  int count = 0;
  MESHVERTEX* vertices = Vertices(node, &count);
  for (int i = 0; i < count; ++i) vertices[i].x *= sx, vertices[i].y *= sy;
}

int RotateMeshXY(HOBJECT node, float angle, float cx, float cy) {
  int count = 0;
  MESHVERTEX* vertices = Vertices(node, &count);
  const double c = std::cos(angle), s = std::sin(angle);
  for (int i = 0; i < count; ++i) {
    const double x = vertices[i].x - cx, y = vertices[i].y - cy;
    if (x * x + y * y < 1e-7) continue;
    vertices[i].x = static_cast<float>(cx + x * c - y * s);
    vertices[i].y = static_cast<float>(cy + y * c + x * s);
  }
  return count;
}

MESHVERTEX* SetQuadTextureRect(HOBJECT node, float w, float h, float u, float v) {
  int count = 0;
  MESHVERTEX* vertices = Vertices(node, &count);
  const float corners[4][2] = {{u, v + h}, {u, v}, {u + w, v}, {u + w, v + h}};
  for (int i = 0; i < count && i < 4; ++i) vertices[i].u = corners[i][0], vertices[i].v = corners[i][1];
  return vertices;
}

void BlendVertices(int count, const MESHVERTEX* a, const MESHVERTEX* b, MESHVERTEX* out, float t, int n) {
  if (count <= 0 || !a || !b || !out) return;
  if (n > 8) n = 8;
  for (int k = 0; k < count; ++k) {
    const float* from = Floats(&a[k]);
    const float* to = Floats(&b[k]);
    float* result = Floats(&out[k]);
    for (int i = 0; i < n; ++i) result[i] = from[i] + t * (to[i] - from[i]);
  }
}

void CopyMatrix44To34(const MATRIX44* source, MATRIX34* destination) {
  for (int row = 0; row < 4; ++row) {
    destination->row[row].x = source->m[4 * row];
    destination->row[row].y = source->m[4 * row + 1];
    destination->row[row].z = source->m[4 * row + 2];
  }
}

HOBJECT GetDefaultCameraHandle() {
  if (!g_gameWorld || !g_gameWorld->defaultViewport) return 0;
  return NodeHandle(g_gameWorld->defaultViewport->camera);
}
