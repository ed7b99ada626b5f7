#include "engine/core/vertex_colors.h"

#include "engine/core/nodes.h"

uint32_t ColorByte(float component) {
  if (!(component > 0)) return 0;
  if (component >= 1) return 255;
  return static_cast<uint32_t>(component * 255);
}

uint32_t PackColor(float red, float green, float blue, float alpha) {
  return ColorByte(alpha) << 24 | ColorByte(red) << 16 | ColorByte(green) << 8 | ColorByte(blue);
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
  uint32_t byte = ColorByte(alpha) << 24;
  for (MESHVERTEX& v : mesh->vertexArrays) v.diffuse = (v.diffuse & 0x00FFFFFFu) | byte;
}
