// The software path's frame of RenderViewport: checks, clears, camera and
// node matrices, light copies, the nearest-first sort and the draw pass into
// the locked 16-bit back buffer.
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/lod_groups.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/render_list.h"
#include "engine/core/render_passes.h"
#include "engine/core/render_resources.h"
#include "engine/core/soft/soft_raster.h"
#include "engine/core/soft/soft_render.h"
#include "engine/core/surface_retry.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"

namespace {

bool SurfacesLost(const GAMEWORLD& w) {
  return (w.primary && w.primary->IsLost()) || (w.backBuffer && w.backBuffer->IsLost());
}

bool OffScreen(const VIEWPORTDESC& v, const GAMEWORLD& w) {
  return v.x >= w.width || v.y >= w.height || v.x + v.width < 0 || v.y + v.height < 0 || v.width == 0 || v.height == 0;
}

// Every node of the chain contributes its local matrix, enabled or not,
// up to the nearest ancestor already done in this frame.
void ComputeSoftModelView(NODEDESC* node, const MATRIX44& view) {
  MATRIX34 running;
  SetIdentityMatrix34(&running);
  for (const NODEDESC* n = node; n; n = n->parent) {
    if (n != node && n->worldValid) {
      MultiplyMatrix34By44(&node->world, &running, &n->world);
      node->worldValid = 1;
      return;
    }
    MATRIX34 product;
    MultiplyMatrix34(&product, &running, &n->local);
    running = product;
  }
  MultiplyMatrix34By44(&node->world, &running, &view);
  node->worldValid = 1;
}

void AddLightCopy(GAMEWORLD& world, const NODEDESC* node) {
  SOFTFRAME& f = g_softFrame;
  if (f.lightCount >= kMaxLights || !node->kindData || !world.softLights[f.lightCount]) return;
  SOFTLIGHTDESC& copy = *world.softLights[f.lightCount++];
  const float* m = node->world.m;
  copy.light = static_cast<const LIGHTDESC*>(node->kindData);
  copy.position = {m[12], m[13], m[14]};
  copy.direction = {-m[8], -m[9], -m[10]};
  NormalizeVector3(&copy.direction);
}

float SortKey(const NODEDESC* node, const CAMERADESC* lens) {
  const float* m = node->world.m;
  if (!node->visible || node->kind == NODE_BILLBOARD) return m[14];
  const MESHDESC* mesh = node->Mesh();
  if (!mesh) return 0;
  if (!node->bounds) return m[14];
  const BOUNDSDESC& b = *node->bounds;
  if (mesh->flags & MESH_PRETRANSFORMED) return lens->nearPlane + (lens->farPlane - lens->nearPlane) * b.centre.z;
  return std::max(b.minX * m[2], b.maxX * m[2]) + std::max(b.minY * m[6], b.maxY * m[6]) +
         std::max(b.minZ * m[10], b.maxZ * m[10]) + m[14];
}

// The whole render list by descending key: nearest first.
void SortNearestFirst(GAMEWORLD& world, const CAMERADESC* lens) {
  size_t count = 0;
  for (NODEDESC* node = world.renderList->head; node; node = node->renderNext, ++count)
    node->sortKey = SortKey(node, lens);
  SortRenderListByKey(count);
}

void DrawBackgrounds(VIEWPORTDESC* viewport) {
  for (int slot = 0; slot < kViewportBackgrounds; ++slot) DrawViewportBackground(viewport, slot);
}

void ClearSoftViewport() {
  VIEWPORTDESC* v = g_softFrame.viewport;
  GAMEWORLD* world = g_gameWorld;
  if (!v || !world->backBuffer) return;
  int scale = g_lineDoubling ? 2 : 1;
  plat::Rect area{std::max(v->x, 0), std::max(v->y * scale, 0), std::min(v->x + v->width, world->width),
                  std::min((v->y + v->height) * scale, world->height)};
  if (area.left >= area.right || area.top >= area.bottom) return;
  RetryWhileStillDrawing([&] { return world->backBuffer->Fill(&area, v->clearColor); });
}

void ClearSoftDepth() {
  VIEWPORTDESC* v = g_softFrame.viewport;
  size_t entries = static_cast<size_t>(std::max(v->width, 0)) * static_cast<size_t>(std::max(v->height, 0));
  std::fill_n(v->depthBuffer.begin(), std::min(entries, v->depthBuffer.size()), uint16_t{65535});
}

void BeginSoftFrame(GAMEWORLD& world, VIEWPORTDESC* v, int clearColour, int clearDepth) {
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot)
    if (NODEDESC* node = g_nodePool.slots[slot]) node->worldValid = 0;
  ResetSoftMaterial();
  SOFTFRAME& f = g_softFrame;
  f.left = v->x;
  f.top = v->y;
  f.right = v->x + v->width - 1;
  f.bottom = v->y + v->height - 1;
  size_t entries = static_cast<size_t>(std::max(v->width, 0)) * static_cast<size_t>(std::max(v->height, 0));
  f.depthBuffer = entries > 0 && v->depthBuffer.size() >= entries ? v->depthBuffer.data() : nullptr;
  f.depthWidth = v->width;
  if (clearColour) ClearSoftViewport();
  DrawBackgrounds(v);
  if (clearDepth && world.depthBufferPresent) ClearSoftDepth();
  AgeTextures();
}

void DrawSoftBillboard(NODEDESC* node, const CAMERADESC* lens) {
  const auto* billboard = static_cast<const BILLBOARDDESC*>(node->kindData);
  SOFTFRAME& f = g_softFrame;
  f.perspective = 0;
  f.depthEnable = node->states.zTest && f.depthBuffer;
  f.transparent = node->states.alphaByte < 255;
  f.drawMode = node->drawMode;
  SelectSoftMaterialIndex(billboard->materialIndex);
  const float* m = node->world.m;
  float x = m[12], y = m[13], z = m[14];
  if (!(-lens->farPlane < z && z < -lens->nearPlane)) return;
  node->drawn = 1;
  const float hw = billboard->halfWidth, hh = billboard->halfHeight;
  const float corners[4][4] = {
      {x + hw, y + hh, 1, 1}, {x - hw, y + hh, 0, 1}, {x - hw, y - hh, 0, 0}, {x + hw, y - hh, 1, 0}};
  SOFTVERTEX quad[4];
  for (int i = 0; i < 4; ++i) {
    SOFTVERTEX& q = quad[i];
    q.x = corners[i][0];
    q.y = corners[i][1];
    q.z = z;
    q.u = corners[i][2];
    q.v = corners[i][3];
    q.tu = static_cast<int32_t>(q.u) * 255;
    q.tv = static_cast<int32_t>(q.v) * 255;
    q.light = 255;
    ProjectSoftVertex(&q);
  }
  ClipSoftTriangleTextured(&quad[0], &quad[1], &quad[2]);
  ClipSoftTriangleTextured(&quad[0], &quad[2], &quad[3]);
}

void DrawNode(NODEDESC* node, const CAMERADESC* lens) {
  node->drawn = 0;
  if (!node->enabled || !node->visible || std::fabs(node->states.alpha) < 0.000001f || !node->kindData) return;
  if (node->kind == NODE_BILLBOARD) {
    DrawSoftBillboard(node, lens);
    return;
  }
  MESHDESC* mesh = node->Mesh();
  if (!mesh || !mesh->CurrentVertices() || mesh->primitiveCount <= 0 || mesh->vertexCount <= 0) return;
  int box = 1;
  if (node->cull) {
    if (mesh->flags & MESH_PRETRANSFORMED) return;
    MATRIX44 clip;
    MultiplyMatrix44(&clip, &node->world, &lens->projectionMatrix);
    box = CullNodeBox(node, &clip);
    if (box == 0) return;
  }
  DrawSoftMesh(node, box);
}

}  // namespace

void RenderSoftViewport(VIEWPORTDESC* viewport, int clearColour, int clearDepth) {
  GAMEWORLD* world = g_gameWorld;
  if (!world || !viewport || SurfacesLost(*world) || OffScreen(*viewport, *world)) return;
  g_frameStatistics = FRAMESTATISTICS{};
  SOFTFRAME& f = g_softFrame;
  f.viewport = viewport;
  NODEDESC* camera = viewport->camera;
  if (!camera) {
    if (clearColour) ClearSoftViewport();
    return;
  }
  const CAMERADESC* lens = camera->kind == NODE_CAMERA ? static_cast<const CAMERADESC*>(camera->kindData) : nullptr;
  if (!camera->enabled || !lens) return;
  if (!world->renderList || !world->renderList->head) {
    if (clearColour) ClearSoftViewport();
    DrawBackgrounds(viewport);
    return;
  }
  MATRIX44 view;
  ComputeCameraMatrices(camera, &camera->world, &view);
  for (LODGROUPDESC* group = world->lodFirst; group; group = group->next)
    if (group->active) SelectLodMember(group, view);
  for (COMPOSITEDESC* composite = world->compositeLodFirst; composite; composite = composite->lodNext)
    if (composite->lodGroup) SelectCompositeLod(composite, view);
  f.projection = lens->projectionMatrix;
  SetSoftClipPlanes(lens);

  f.lightCount = 0;
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot) {
    NODEDESC* node = g_nodePool.slots[slot];
    if (!node || node->kind == NODE_CAMERA) continue;
    ComputeSoftModelView(node, view);
    if (node->kind == NODE_LIGHT && node->visible) AddLightCopy(*world, node);
  }
  SortNearestFirst(*world, lens);
  BeginSoftFrame(*world, viewport, clearColour, clearDepth);

  plat::Surface& back = *world->backBuffer;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  plat::SurfaceResult locked = RetryWhileStillDrawing([&] { return back.Lock(&pixels, &pitch); }, 3001);
  plat::SurfaceDesc desc = back.Describe();
  if (locked != plat::SurfaceResult::Ok || !pixels) return;
  if (desc.format.bitsPerPixel == 16) {
    int scale = g_lineDoubling ? 2 : 1;
    f.surface = pixels;
    f.pitch = pitch * scale;
    f.screenWidth = desc.width;
    f.screenRows = desc.height / scale;
    f.halfWidth = viewport->width * 0.5f;
    f.halfHeight = viewport->height * 0.5f;
    f.centreX = viewport->x + f.halfWidth + 0.5f;
    f.centreY = viewport->y + f.halfHeight + 0.5f;
    for (NODEDESC* node = world->renderList->head; node; node = node->renderNext) DrawNode(node, lens);
  }
  f.surface = nullptr;
  back.Unlock();
}

void AllocateSoftWorkPools() { AllocateSoftClipBuffers(); }

void FreeSoftWorkPools() { FreeSoftClipBuffers(); }
