#include "engine/core/render_to_texture.h"

#include <algorithm>
#include <span>
#include <vector>

#include "engine/core/device_setup.h"
#include "engine/core/device_textures.h"
#include "engine/core/engine_state.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/render_passes.h"
#include "engine/core/viewport_render.h"
#include "engine/core/world.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"
#include "platform/device3d.h"

namespace {

constexpr int kMinTargetSide = 32;
constexpr int kBorder = 2;

bool DevicePath() { return g_engineOpen && g_gameWorld && g_useDirect3D && g_gameWorld->device; }

TEXTUREDESC* SingleTexture(const MATERIALDESC* m) { return m && m->frameCount == 1 ? m->firstFrame : nullptr; }

bool DrawnIntoTexture(const NODEDESC* node) {
  const MESHDESC* mesh = node->Mesh();
  return mesh && mesh->CurrentVertices() && mesh->vertexCount > 0 && mesh->primitiveCount > 0 &&
         mesh->primitiveMix == 0;
}

// Every triangle of the mesh in the device's winding, two-sided ones twice.
void DrawAllTriangles(plat::Device3D& device, MESHDESC* mesh, std::vector<uint32_t>& indices) {
  const uint32_t count = static_cast<uint32_t>(std::clamp(mesh->vertexCount, 0, mesh->vertexCapacity));
  indices.clear();
  int at = 0;
  const int words = std::min<int>(mesh->wordsUsed, static_cast<int>(mesh->primitives.size()));
  for (int p = 0; p < mesh->primitiveCount; ++p) {
    int size = PrimitiveWordCount(mesh->primitives.data(), at, words);
    if (size == 0) break;
    const MESHPRIM* w = mesh->primitives.data() + at;
    at += size;
    if (w[0] != PRIM_TRIANGLE) continue;
    if (w[3] < 0 || w[4] < 0 || w[5] < 0 || static_cast<uint32_t>(w[3]) >= count ||
        static_cast<uint32_t>(w[4]) >= count || static_cast<uint32_t>(w[5]) >= count)
      continue;
    const uint32_t a = static_cast<uint32_t>(w[3]), b = static_cast<uint32_t>(w[4]), c = static_cast<uint32_t>(w[5]);
    indices.insert(indices.end(), {c, b, a});
    if (w[2] != 0) {
      indices.insert(indices.end(), {a, b, c});
      ++g_frameStatistics.trianglesDrawn;
    }
  }
  if (indices.empty()) return;
  std::span<const plat::VertexLit> vertices(reinterpret_cast<const plat::VertexLit*>(mesh->CurrentVertices()), count);
  device.Draw(plat::PrimitiveType::TriangleList, vertices, indices, plat::kDrawDoNotLight | plat::kDrawDoNotClip);
}

}  // namespace

HOBJECT CreateRenderTextureMaterial(const float* ambient, const float* diffuse, const float* specular,
                                    const float* emissive, float power, const char* name, int width, int height,
                                    int keyOn, int keyRed, int keyGreen, int keyBlue) {
  if (!DevicePath()) return 0;
  HOBJECT handle =
      CreateMaterial(ambient, diffuse, specular, emissive, power, name, 0, keyOn, keyRed, keyGreen, keyBlue);
  MATERIALDESC* m = LookupMaterial(handle);
  if (!m || m->firstFrame) return handle;
  TEXTUREDESC* t = CreateRenderTexture(width, height, keyOn, keyRed, keyGreen, keyBlue);
  if (!t) return handle;
  t->renderTarget = 1;
  SetTextureName(t, name);
  if (EnterTexture(t) < 0) {
    plat::DebugOutput("No more texture available.");
    ReleaseTextureDevice(t, 1, 1);
    delete t;
    DestroyMaterial(handle);
    return 0;
  }
  m->firstFrame = m->currentFrame = t;
  m->frameCount = 1;
  return handle;
}

int EnableRenderTexture(HOBJECT material) {
  if (!DevicePath()) return 0;
  TEXTUREDESC* t = SingleTexture(LookupMaterial(material));
  if (!t) return 0;
  if (t->renderTarget) return 1;
  if (t->mipLevels != 0 || !t->surface || t->width < kMinTargetSide || t->height < kMinTargetSide) return 0;
  ReleaseTextureDevice(t, 1, 0);
  t->renderTarget = 1;
  return UploadTexture(t);
}

int UpdateRenderTexture(const HOBJECT* nodes, int count, HOBJECT material, HOBJECT camera, int mode, int clear) {
  if (!DevicePath() || !nodes || count <= 0 || mode != 1) return 0;
  return RenderToTexture(nodes, count, material, camera, clear);
}

int RenderToTexture(const HOBJECT* nodes, int count, HOBJECT material, HOBJECT camera, int clear) {
  if (!DevicePath() || !nodes || count <= 0) return 0;
  GAMEWORLD* world = g_gameWorld;
  plat::Device3D& device = *world->device;
  TEXTUREDESC* t = SingleTexture(LookupMaterial(material));
  NODEDESC* cameraNode = LookupNodeOfKind(camera, NODE_CAMERA);
  const auto* lens = cameraNode ? static_cast<const CAMERADESC*>(cameraNode->kindData) : nullptr;
  if (!t || !t->renderTarget || !lens) return 0;
  if (!t->cardSurface && !UploadTexture(t)) return 0;
  if (!device.SetRenderTarget(t->cardSurface->Top())) return 0;
  std::unique_ptr<plat::Viewport3D> viewport = world->direct3D->CreateViewport();
  if (!viewport || !device.AddViewport(viewport.get())) {
    device.SetRenderTarget(world->backBuffer);
    return 0;
  }
  plat::ViewportParams params;
  params.x = params.y = kBorder;
  params.width = t->width - 2 * kBorder;
  params.height = t->height - 2 * kBorder;
  viewport->SetViewport(params);
  device.SetCurrentViewport(viewport.get());
  if (clear) viewport->Clear({0, 0, t->width, t->height}, plat::kClearTarget | plat::kClearZBuffer, 0, 1.0f);

  MATRIX44 view;
  ComputeCameraMatrices(cameraNode, &cameraNode->world, &view);
  plat::Matrix projection;
  std::copy(lens->projectionMatrix.m, lens->projectionMatrix.m + 16, projection.m);
  device.SetTransform(plat::TransformState::Projection, projection);
  std::vector<NODEDESC*> listed;
  for (int i = 0; i < count; ++i) {
    NODEDESC* node = LookupNodeOfKind(nodes[i], NODE_MESH);
    if (!node || (node->Mesh()->flags & MESH_PRETRANSFORMED)) continue;
    ComputeModelView(node, view);
    listed.push_back(node);
  }
  device.SetTexture(0, nullptr);
  SetCachedShadeMode(device, plat::kShadeFlat);
  if (device.BeginScene()) {
    std::vector<uint32_t> indices;
    for (NODEDESC* node : listed) {
      node->worldValid = 0;
      if (!DrawnIntoTexture(node)) continue;
      const bool translucent = node->states.alphaByte < 255;
      if (translucent) device.SetRenderState(plat::RenderState::AlphaBlendEnable, 1);
      SetCachedSourceBlend(device, static_cast<uint32_t>(node->states.sourceBlend));
      SetCachedDestBlend(device, static_cast<uint32_t>(node->states.destBlend));
      plat::Matrix world;
      std::copy(node->world.m, node->world.m + 16, world.m);
      device.SetTransform(plat::TransformState::World, world);
      DrawAllTriangles(device, node->Mesh(), indices);
      if (translucent) device.SetRenderState(plat::RenderState::AlphaBlendEnable, 0);
    }
    device.EndScene();
  }
  device.SetRenderTarget(world->backBuffer);
  device.DeleteViewport(viewport.get());
  return 1;
}

void SetMeshDrawLimit(HOBJECT node, int n) {
  if (!g_engineOpen) return;
  NODEDESC* record = LookupNodeOfKind(node, NODE_MESH);
  if (!record) return;
  MESHDESC* mesh = record->Mesh();
  mesh->primitiveCountCopy = std::min(mesh->primitiveCount, std::max(n, 0));
}
