#include "engine/core/vertex_colors.h"

#include "engine/core/nodes.h"

namespace {

uint32_t Channel(float component) { return static_cast<uint32_t>(static_cast<int>(component * 255)) & 0xFF; }

}  // namespace

uint32_t PackColor(float red, float green, float blue, float alpha) {
  return Channel(alpha) << 24 | Channel(red) << 16 | Channel(green) << 8 | Channel(blue);
}

void PackVertexColors(MESHVERTEX* vertices, float alpha, int count) {
  for (int i = 0; i < count; ++i) {
    MESHVERTEX& v = vertices[i];
    float red = v.nx, green = v.ny, blue = v.nz;
    v.diffuse = PackColor(red, green, blue, alpha);
    v.specular = 0;
  }
}

void PackVertexColorsFrom(MESHVERTEX* vertices, const float* colors, float alpha, int count) {
  for (int i = 0; i < count; ++i) {
    vertices[i].diffuse = PackColor(colors[3 * i], colors[3 * i + 1], colors[3 * i + 2], alpha);
    vertices[i].specular = 0;
  }
}

void SetMeshVertexAlpha(MESHDESC* mesh, float alpha) {
  if (!mesh || !(mesh->flags & MESH_PRELIT)) return;
  uint32_t byte = Channel(alpha) << 24;
  for (MESHVERTEX& v : mesh->vertexArrays) v.diffuse = (v.diffuse & 0x00FFFFFFu) | byte;
}
