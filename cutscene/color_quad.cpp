#include "cutscene/color_quad.h"

#include <cstdint>

#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

HOBJECT MakeColorMaterial(int r, int g, int b) {
  // Palette pixels: the software renderer takes no other depth, and every
  // renderer takes them.
  const uint8_t palette[256 * 3] = {static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
  const uint8_t pixels[4] = {0, 0, 0, 0};
  const float none[3] = {0, 0, 0};
  const HOBJECT material =
      CreateMaterialFromPixels(none, none, none, none, 32, 8, pixels, palette, 2, 2, 0, 0, 0, 0, 0);
  return material == static_cast<HOBJECT>(-1) ? 0 : material;
}

HOBJECT BuildColorQuad(float x, float y, float width, float height, int r, int g, int b) {
  const HOBJECT material = MakeColorMaterial(r, g, b);
  const float positions[16] = {x,         y,          0.01f, 1, x,         y + height, 0.01f, 1,
                               x + width, y + height, 0.01f, 1, x + width, y,          0.01f, 1};
  const float uvs[8] = {0, 0, 0, 1, 1, 1, 1, 0};
  const float white[12] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRETRANSFORMED);
  AddMeshPolygon(0, positions, white, uvs, 4, material ? material : static_cast<HOBJECT>(-1), 0);
  const HOBJECT node = EndNode(0);
  if (!node) {
    DestroyMaterial(material);
    return 0;
  }
  SetNodeRenderState(node, NRS_FOG, 0);
  SetNodeRenderState(node, NRS_DEPTH_WRITE, 1);
  return node;
}
