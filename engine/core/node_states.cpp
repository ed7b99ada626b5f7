#include "engine/core/node_states.h"

#include <algorithm>
#include <utility>

#include "engine/core/device_setup.h"
#include "engine/core/lod_groups.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/nodes.h"
#include "engine/core/render_list.h"
#include "engine/core/render_services.h"
#include "engine/core/vertex_colors.h"

namespace {

// Applies f to the node and, when it owns a level-of-detail group, to every member.
template <typename F>
void ForNodeAndMembers(NODEDESC* node, F f) {
  f(node);
  ForEachLodMember(node, f);
}

void SetFaceFlags(MESHDESC* mesh, int value) {
  ForEachMeshPrimitive(mesh, [&](MESHPRIM* words, int at, int) {
    if (words[at] == PRIM_TRIANGLE) words[at + 2] = value;
  });
}

void SwapWindings(MESHDESC* mesh) {
  ForEachMeshPrimitive(mesh, [&](MESHPRIM* words, int at, int) {
    if (words[at] == PRIM_TRIANGLE) std::swap(words[at + 3], words[at + 5]);
  });
}

void ApplyRenderState(NODEDESC* node, int code, int value) {
  NODESTATES& s = node->states;
  switch (code) {
    case NRS_Z_TEST: s.zTest = value; break;
    case NRS_PERSPECTIVE: s.perspective = value; break;
    case NRS_TEXTURE_FILTER: s.textureFilter = value; break;
    case NRS_FOG: s.fog = value; break;
    case NRS_ADDITIVE:
      s.sourceBlend = value ? kBlendOne : kBlendSourceAlpha;
      s.destBlend = value ? kBlendOne : kBlendInverseSourceAlpha;
      if (g_useDirect3D) s.alpha = value ? 0.5f : 1.0f;
      else SetSoftBlendKey(node, value);
      break;
    case NRS_SHADING: s.shading = value; break;
    case NRS_DITHERING: s.dithering = value; break;
    case NRS_ANTIALIAS: s.antialias = value; break;
    case NRS_SPECULAR: s.specular = value; break;
    case NRS_LIGHTING: s.lighting = value; break;
    case NRS_DEPTH_WRITE: s.depthWrite = value; break;
    case NRS_FACE_FLAGS:
      if (MESHDESC* mesh = node->Mesh()) SetFaceFlags(mesh, value);
      break;
    case NRS_WINDING:
      if (MESHDESC* mesh = node->Mesh(); mesh && value != s.winding) {
        SwapWindings(mesh);
        s.winding = value;
      }
      break;
    case NRS_SOURCE_BLEND: s.sourceBlend = value; break;
    case NRS_DEST_BLEND: s.destBlend = value; break;
    default:
      if (code >= NRS_ADDRESSING_STAGE0 && code < NRS_ADDRESSING_STAGE0 + kTextureStageSlots) {
        int stage = code - NRS_ADDRESSING_STAGE0;
        if (stage < g_textureStageCount) s.addressing[stage] = value == kAddressClamp ? kAddressClamp : kAddressWrap;
      }
      break;
  }
}

void ApplyAlpha(NODEDESC* node, float alpha, bool underConstruction) {
  node->states.alpha = alpha;
  node->states.alphaByte = static_cast<int>(alpha * 255);
  MESHDESC* mesh = node->Mesh();
  if (mesh && (mesh->flags & MESH_PRELIT)) SetMeshVertexAlpha(mesh, alpha);
  if (node->kind == NODE_POINTS && node->kindData) {
    auto* points = static_cast<POINTSDESC*>(node->kindData);
    points->packedColor = PackColor(points->color[0], points->color[1], points->color[2], alpha);
  }
  bool translucent = node->states.alphaByte < 255;
  node->states.depthWrite = translucent ? 0 : 1;
  if (underConstruction) return;
  if (translucent) MoveToRenderListTail(node, 0);
  else MoveToRenderListHead(node, 0);
}

}  // namespace

void SetNodeRenderState(HOBJECT handle, int code, int value) {
  if (NODEDESC* node = LookupOpenNode(handle))
    ForNodeAndMembers(node, [&](NODEDESC* n) { ApplyRenderState(n, code, value); });
}

void SetNodeAlpha(HOBJECT handle, float alpha) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  alpha = std::clamp(alpha, 0.0f, 1.0f);
  bool underConstruction = node == g_nodeUnderConstruction;
  ForNodeAndMembers(node, [&](NODEDESC* n) { ApplyAlpha(n, alpha, underConstruction); });
}

void SetNodeCulling(HOBJECT handle, int on) {
  if (NODEDESC* node = LookupOpenNode(handle)) ForNodeAndMembers(node, [&](NODEDESC* n) { n->cull = on; });
}

void SetNodeDrawMode(HOBJECT handle, int mode) {
  if (NODEDESC* node = LookupOpenNode(handle)) ForNodeAndMembers(node, [&](NODEDESC* n) { n->drawMode = mode; });
}

void ShowNode(HOBJECT handle, int visible) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return;
  if (node->lodGroup && node->lodGroup->shown) node->lodGroup->shown->visible = visible;
  else node->visible = visible;
}

void SetMeshName(HOBJECT handle, const char* name) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  if (node && node->kindData && name) node->Mesh()->name = name;
}

void SetMeshFlags(HOBJECT handle, unsigned flags) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_MESH);
  if (!node) return;
  if (flags & MESH_PRETRANSFORMED) flags |= MESH_PRELIT;
  ForNodeAndMembers(node, [&](NODEDESC* n) {
    if (MESHDESC* mesh = n->Mesh()) mesh->flags = flags;
  });
}
