#include "engine/core/viewport_render.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <vector>

#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/emitters.h"
#include "engine/core/engine_state.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/lod_groups.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/render_list.h"
#include "engine/core/render_passes.h"
#include "engine/core/soft/soft_render.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "platform/device3d.h"

namespace {

constexpr float kDegreesToRadians = 0.01745328f;

plat::Matrix ToDevice(const MATRIX44& m) {
  plat::Matrix d;
  std::copy(m.m, m.m + 16, d.m);
  return d;
}

const CAMERADESC* CameraData(const NODEDESC* camera) {
  return camera && camera->kind == NODE_CAMERA ? static_cast<const CAMERADESC*>(camera->kindData) : nullptr;
}

plat::LightType DeviceLightType(int type) {
  switch (type) {
    case LIGHT_DIRECTIONAL: return plat::LightType::Directional;
    case LIGHT_POINT: return plat::LightType::Point;
    case LIGHT_SPOT: return plat::LightType::Spot;
    default: return plat::LightType::ParallelPoint;
  }
}

// A light node lends its colour, view-space position and direction to a
// device light slot for this frame; none left: the light is skipped.
void AddLight(GAMEWORLD* world, VIEWPORTDESC* viewport, const NODEDESC* node) {
  const auto* light = static_cast<const LIGHTDESC*>(node->kindData);
  if (!light) return;
  int slot = AllocLightSlot();
  if (slot < 0) return;
  DEVICELIGHTDESC& d = *world->deviceLights[slot];
  plat::LightParams& p = d.params;
  p.type = DeviceLightType(light->type);
  p.red = light->color[0] * light->intensity;
  p.green = light->color[1] * light->intensity;
  p.blue = light->color[2] * light->intensity;
  const float* m = node->world.m;
  p.position[0] = m[12];
  p.position[1] = m[13];
  p.position[2] = m[14];
  VECTOR3 direction{-m[8], -m[9], -m[10]};
  NormalizeVector3(&direction);
  p.direction[0] = direction.x;
  p.direction[1] = direction.y;
  p.direction[2] = direction.z;
  p.range = light->range;
  if (light->type == LIGHT_SPOT) {
    p.theta = light->innerCone * kDegreesToRadians;
    p.phi = light->outerCone * kDegreesToRadians;
    p.falloff = light->falloff;
  }
  d.light->Set(p);
  viewport->deviceViewport->AddLight(d.light.get());
  ++world->deviceLightCount;
}

// The sort key: the largest view-space depth of a visible mesh's box, the
// model-view translation z for anything else.
float SortKey(const NODEDESC* node, const CAMERADESC* camera) {
  const MESHDESC* mesh = node->Mesh();
  const float* m = node->world.m;
  if (!node->visible || !mesh || !node->bounds) return m[14];
  const BOUNDSDESC& b = *node->bounds;
  if (mesh->flags & MESH_PRETRANSFORMED) return camera->nearPlane + (camera->farPlane - camera->nearPlane) * b.centre.z;
  float largest = -INFINITY;
  for (int corner = 0; corner < 8; ++corner) {
    float x = ((corner & 1) ? b.maxX : b.minX) * b.scaleX;
    float y = ((corner & 2) ? b.maxY : b.minY) * b.scaleY;
    float z = ((corner & 4) ? b.maxZ : b.minZ) * b.scaleZ;
    largest = std::max(largest, x * m[2] + y * m[6] + z * m[10] + m[14]);
  }
  return largest;
}

// Opaque nodes far to near (by count: the first that many places), the rest near to far.
void SortRenderList(GAMEWORLD* world, const CAMERADESC* camera) {
  size_t opaque = 0;
  for (NODEDESC* node = world->renderList->head; node; node = node->renderNext) {
    node->sortKey = SortKey(node, camera);
    if (node->states.alphaByte == 255) ++opaque;
  }
  SortRenderListByKey(opaque);
}

void DrawBillboard(plat::Device3D& device, NODEDESC* node, const CAMERADESC* camera, uint32_t flags) {
  g_frameStatistics.primitivesSubmitted += 2;
  const auto* billboard = static_cast<const BILLBOARDDESC*>(node->kindData);
  const float x = node->world.m[12], y = node->world.m[13], z = node->world.m[14];
  if (!(-camera->farPlane < z && z < -camera->nearPlane)) return;
  const float hw = billboard->halfWidth, hh = billboard->halfHeight;
  const VECTOR3 corners[4] = {{x + hw, y + hh, z}, {x - hw, y + hh, z}, {x - hw, y - hh, z}, {x + hw, y - hh, z}};
  if (camera->projection != 2 && TestBillboardFrustum(camera, corners) == 0) return;
  if (node->preDraw) node->preDraw();
  node->drawn = 1;
  device.SetTransform(plat::TransformState::World, plat::Matrix{});
  g_currentMaterial.index = billboard->materialIndex;
  ApplyMaterial(device, node->drawMode);
  static const float kUv[4][2] = {{1, 1}, {0, 1}, {0, 0}, {1, 0}};
  plat::VertexLit quad[4];
  for (int i = 0; i < 4; ++i) quad[i] = {corners[i].x, corners[i].y, corners[i].z, 0, 0, 1, kUv[i][0], kUv[i][1]};
  static const uint32_t kIndices[6] = {0, 2, 1, 0, 3, 2};
  device.Draw(plat::PrimitiveType::TriangleList, std::span<const plat::VertexLit>(quad), kIndices, flags);
}

void DrawMeshNode(plat::Device3D& device, NODEDESC* node, const MATRIX44& projection) {
  MESHDESC* mesh = node->Mesh();
  const bool pretransformed = (mesh->flags & MESH_PRETRANSFORMED) != 0;
  uint32_t flags = 0;
  if (!pretransformed && node->cull) {
    MATRIX44 clip;
    MultiplyMatrix44(&clip, &node->world, &projection);
    int inside = CullNodeBox(node, &clip);
    if (inside == 0) return;
    if (inside == 2) flags = plat::kDrawDoNotClip;
  }
  if (node->states.lighting == 0) flags |= plat::kDrawDoNotLight;
  if (node->preDraw) node->preDraw();
  node->drawn = 1;
  if (!pretransformed) device.SetTransform(plat::TransformState::World, ToDevice(node->world));
  if (mesh->primitiveCount > 0) g_frameStatistics.primitivesSubmitted += DrawMesh(device, mesh, node->drawMode, flags);
  if (node->showVertices) DrawMeshVertices(device, mesh, flags);
}

bool Drawable(const NODEDESC* node) {
  if (!node->enabled || !node->visible || !node->kindData) return false;
  const MESHDESC* mesh = node->Mesh();
  return !mesh || (mesh->CurrentVertices() && mesh->vertexCount > 0);
}

void DrawPass(GAMEWORLD* world, plat::Device3D& device, VIEWPORTDESC* viewport, const CAMERADESC* camera) {
  bool blending = false;
  for (NODEDESC* node = world->renderList->head; node; node = node->renderNext) {
    node->drawn = 0;
    if (!Drawable(node)) continue;
    if (node->states.alphaByte != g_currentMaterial.alphaByte) {
      g_currentMaterial.alpha = node->states.alpha;
      g_currentMaterial.alphaByte = node->states.alphaByte;
    }
    if (g_currentMaterial.alphaByte < 255 && !blending) {
      device.SetRenderState(plat::RenderState::AlphaBlendEnable, 1);
      blending = true;
    }
    SetCachedSourceBlend(device, static_cast<uint32_t>(node->states.sourceBlend));
    SetCachedDestBlend(device, static_cast<uint32_t>(node->states.destBlend));
    ApplyNodeRenderStates(device, viewport, node);
    switch (node->kind) {
      case NODE_MESH: DrawMeshNode(device, node, camera->projectionMatrix); break;
      case NODE_BILLBOARD:
        DrawBillboard(device, node, camera, node->states.lighting == 0 ? plat::kDrawDoNotLight : 0);
        break;
      case NODE_DUMMY:
        if (node->preDraw) node->preDraw();
        break;
      default: break;
    }
    if (node->showBox) DrawNodeBox(device, node, 0);
  }
  device.EndScene();
  if (blending) device.SetRenderState(plat::RenderState::AlphaBlendEnable, 0);
}

// Lights leave the device viewport; dirty nodes become moved ones.
void EndFrame(GAMEWORLD* world, VIEWPORTDESC* viewport) {
  for (DEVICELIGHTDESC* light : world->deviceLights) {
    if (!light || !light->inUse) continue;
    viewport->deviceViewport->DeleteLight(light->light.get());
    light->inUse = 0;
  }
  world->deviceLightCount = 0;
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot)
    if (NODEDESC* node = g_nodePool.slots[slot]) {
      if (node->dirty) node->moved = 1;
      node->dirty = 0;
    }
}

void RenderDeviceFrame(GAMEWORLD* world, VIEWPORTDESC* viewport, int clearColour, int clearDepth) {
  g_frameStatistics = FRAMESTATISTICS{};
  plat::Device3D& device = *world->device;
  world->deviceLightCount = 0;
  device.SetCurrentViewport(viewport->deviceViewport.get());
  NODEDESC* camera = viewport->camera;
  const CAMERADESC* lens = CameraData(camera);
  if (!world->renderList || !world->renderList->head || !lens || !camera->enabled) {
    ClearViewport(viewport, clearColour, clearDepth);
    EndFrame(world, viewport);
    return;
  }
  world->fogApplied = world->fogEnabled;
  ApplyFog(viewport, world->fogEnabled);
  ClearViewport(viewport, clearColour, clearDepth);

  MATRIX44 view;
  ComputeCameraMatrices(camera, &camera->world, &view);
  for (LODGROUPDESC* group = world->lodFirst; group; group = group->next)
    if (group->active) SelectLodMember(group, view);
  for (COMPOSITEDESC* composite = world->compositeLodFirst; composite; composite = composite->lodNext)
    if (composite->lodGroup) SelectCompositeLod(composite, view);
  device.SetTransform(plat::TransformState::Projection, ToDevice(lens->projectionMatrix));

  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot) {
    NODEDESC* node = g_nodePool.slots[slot];
    if (!node || !node->visible || node->kind == NODE_CAMERA) continue;
    if (const MESHDESC* mesh = node->Mesh(); mesh && (mesh->flags & MESH_PRETRANSFORMED)) continue;
    ComputeModelView(node, view);
    if (node->kind == NODE_LIGHT) AddLight(world, viewport, node);
  }
  SortRenderList(world, lens);
  BeginDeviceFrame();
  if (!device.BeginScene()) {
    device.EndScene();
  } else {
    DrawPass(world, device, viewport, lens);
  }
  EndFrame(world, viewport);
}

}  // namespace

void ComputeCameraMatrices(const NODEDESC* camera, MATRIX44* world, MATRIX44* view) {
  MATRIX34 running;
  SetIdentityMatrix34(&running);
  for (const NODEDESC* n = camera; n; n = n->parent) {
    if (!n->enabled) continue;
    MATRIX34 product;
    MultiplyMatrix34(&product, &running, &n->local);
    running = product;
  }
  ConvertMatrix34To44(&running, world);
  InvertMatrix44(world, view);
}

void ComputeModelView(NODEDESC* node, const MATRIX44& view) {
  MATRIX34 running;
  SetIdentityMatrix34(&running);
  for (const NODEDESC* n = node; n; n = n->parent) {
    if (!n->enabled) continue;
    if (n->dirty) node->dirty = 1;
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

void RenderViewport(HOBJECT handle, int clearColour, int clearDepth) {
  if (!g_engineOpen || !g_gameWorld) return;
  VIEWPORTDESC* viewport = LookupViewport(handle);
  if (!viewport) return;
  if (!g_useDirect3D) {
    RenderSoftViewport(viewport, clearColour, clearDepth);
    return;
  }
  if (g_gameWorld->device && viewport->deviceViewport)
    RenderDeviceFrame(g_gameWorld, viewport, clearColour, clearDepth);
}
