#include "components/creature_model_build.h"

#include "engine/core/device_setup.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"

namespace {

// Blend factors of the render types (device codes).
constexpr int kBlendZero = 1;
constexpr int kBlendSourceColour = 4;

MESHVERTEX Vertex(float x, float y, float z) {
  MESHVERTEX v;
  v.x = x;
  v.y = y;
  v.z = z;
  return v;
}

}  // namespace

HOBJECT CreateCreatureRootBox() {
  const float lo[3] = {-4, -4, 0}, hi[3] = {4, 4, 36};
  std::vector<MESHVERTEX> corners;
  for (int i = 0; i < 8; ++i)
    corners.push_back(Vertex(i & 1 ? hi[0] : lo[0], i & 2 ? hi[1] : lo[1], i & 4 ? hi[2] : lo[2]));
  // Two triangles per face, counter-clockwise seen from outside.
  const int faces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  std::vector<MESHPRIM> words;
  for (const auto& f : faces) {
    words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, f[0], f[1], f[2]});
    words.insert(words.end(), {PRIM_TRIANGLE, -1, 0, f[0], f[2], f[3]});
  }
  BeginNode(NODE_MESH);
  AppendMeshData(0, corners.data(), 8, words.data(), static_cast<int>(words.size()), 12, 1);
  return EndNode(0);
}

HOBJECT CreateCreatureAxesDummy(HOBJECT parent) {
  BeginNode(NODE_MESH);
  const float grey[3] = {0.8f, 0.8f, 0.8f};
  for (int axis = 0; axis < 3; ++axis) {
    float colour[3] = {0, 0, 0};
    colour[axis] = 1;
    const HOBJECT material = CreateMaterial(grey, colour, grey, grey, 0.8f, "NULL", 0, 0, 0, 0, 0);
    float line[6] = {0, 0, 0, 0, 0, 0};
    line[3 + axis] = 4;
    const float uvs[4] = {0, 0, 0, 0};
    AddMeshLine(0, line, uvs, material);
  }
  const HOBJECT node = EndNode(parent);
  ShowNode(node, 1);
  return node;
}

HOBJECT CreateCreatureMaterial(CREATUREMATERIAL& m, bool textModel) {
  if (!m.texture.empty() && m.texture[0] == 'k') m.texture[0] = 'K';
  m.colour1[0] = m.colour1[1] = m.colour1[2] = 1;
  float fourth[3] = {1, 1, 1};
  if (g_useDirect3D) {
    const float e = textModel ? m.emission : 0.0f;
    fourth[0] = fourth[1] = fourth[2] = e;
  }
  const HOBJECT h = CreateMaterial(m.colour1, m.colour2, m.colour3, fourth, m.power, m.texture.c_str(), m.frames,
                                   m.Keyed() ? 1 : 0, m.key[0], m.key[1], m.key[2]);
  m.handle = h ? h : static_cast<HOBJECT>(-1);
  return m.handle;
}

void ApplyCreatureRenderType(HOBJECT node, int renderType) {
  if (!g_useDirect3D) return;
  switch (renderType) {
    case 0:
      SetNodeRenderState(node, NRS_DEST_BLEND, kBlendSourceColour);
      SetNodeRenderState(node, NRS_SOURCE_BLEND, kBlendZero);
      break;
    case 1: SetNodeRenderState(node, NRS_ADDITIVE, 1); break;
    case 3:
      SetNodeAlpha(node, 0.75f);
      SetNodeRenderState(node, NRS_DEST_BLEND, kBlendSourceColour);
      SetNodeRenderState(node, NRS_SOURCE_BLEND, kBlendOne);
      break;
    default: break;
  }
}

HOBJECT BuildCreatureMesh(const CREATUREMESHBUILD& build, HOBJECT parent) {
  BeginNode(NODE_MESH);
  if (build.colours) SetMeshFlags(0, MESH_PRELIT);
  AppendMeshData(0, build.vertices.data(), static_cast<int>(build.vertices.size()), build.words.data(),
                 static_cast<int>(build.words.size()), build.triangleCount, 1);
  if (!build.scrolled) SetNodeRenderState(0, NRS_ADDRESSING_STAGE0, kAddressClamp);
  return EndNode(parent);
}

void FinishCreatureMesh(HOBJECT node, const CREATUREMATERIAL& alphaFrom, bool blueKey, float* meshAlpha) {
  SetNodeAlpha(node, alphaFrom.alpha);
  if (meshAlpha) *meshAlpha = alphaFrom.alpha;
  if (blueKey) SetNodeRenderState(node, NRS_TEXTURE_FILTER, 0);
  ApplyCreatureRenderType(node, alphaFrom.renderType);
}

void ReleaseUnheldMaterials(const std::vector<CREATUREMATERIAL>& materials) {
  for (const CREATUREMATERIAL& m : materials) {
    if (m.handle == static_cast<HOBJECT>(-1)) continue;
    RetainMaterial(m.handle);
    ReleaseMaterial(m.handle);
  }
}
