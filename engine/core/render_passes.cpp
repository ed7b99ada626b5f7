#include "engine/core/render_passes.h"

#include <algorithm>
#include <array>

#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/device_textures.h"
#include "engine/core/lod_groups.h"
#include "engine/core/material_device.h"
#include "engine/core/materials.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/render_resources.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"

CURRENTMATERIALSTATE g_currentMaterial;

namespace {

constexpr uint32_t kUnknown = 0xFFFFFFFFu;

struct STATECACHE {
  uint32_t perspective = kUnknown;
  uint32_t filter = kUnknown;
  uint32_t shadeMode = kUnknown;
  uint32_t dither = kUnknown;
  uint32_t specular = kUnknown;
  uint32_t antialias = kUnknown;
  uint32_t zEnable = kUnknown;
  uint32_t zWrite = kUnknown;
  std::array<uint32_t, plat::kMaxTextureStages> address{kUnknown, kUnknown, kUnknown, kUnknown,
                                                        kUnknown, kUnknown, kUnknown, kUnknown};
  uint32_t sourceBlend = kUnknown;
  uint32_t destBlend = kUnknown;
};
STATECACHE g_cache;

// The material last set on the device: its handle, its emissive, diffuse and
// ambient channels (x 255) and the alpha byte.
struct SENTMATERIAL {
  uint32_t handle = 0;
  std::array<int, 9> channels{};
  int alpha = -1;
};
SENTMATERIAL g_sent;

void SetCached(plat::Device3D& device, uint32_t& cached, plat::RenderState state, uint32_t value) {
  if (cached == value) return;
  cached = value;
  device.SetRenderState(state, value);
}

// Only compared with the cached value, so not limited to a byte; NaN counts as 0.
int Channel(float c) { return c == c ? static_cast<int>(std::clamp(c, -1e6f, 1e6f) * 255) : 0; }

// The owner's squared view-space distance.
float ViewDistanceSquared(const NODEDESC* owner, const MATRIX44& view) {
  VECTOR3 position{0, 0, 0}, inView{0, 0, 0};
  GetNodeWorldVectors(owner, &position, nullptr, nullptr);
  TransformPointByMatrix44(&inView, &position, &view);
  return DotVector3(&inView, &inView);
}

template <typename Member>
int ChooseMember(float d2, const std::vector<float>& distances, const std::vector<Member*>& members) {
  size_t count = std::min(distances.size(), members.size());
  for (size_t i = 0; i < count; ++i)
    if (d2 > distances[i]) return static_cast<int>(i);
  return -1;
}

void ShowCompositeRecord(COMPOSITEDESC* composite, int visible) {
  if (composite->root) composite->root->visible = visible;
  for (COMPOSITEPARTDESC& part : composite->parts)
    if (part.node) part.node->visible = visible;
  composite->visible = visible;
}

}  // namespace

int AllocLightSlot() {
  if (!g_gameWorld) return -1;
  for (int slot = 0; slot < kMaxLights; ++slot) {
    DEVICELIGHTDESC* light = g_gameWorld->deviceLights[slot];
    if (light && !light->inUse) {
      light->inUse = 1;
      return slot;
    }
  }
  return -1;
}

void SelectLodMember(LODGROUPDESC* group, const MATRIX44& view) {
  if (!group || !group->owner) return;
  int i = ChooseMember(ViewDistanceSquared(group->owner, view), group->distancesSquared, group->members);
  NODEDESC* chosen = i < 0 ? group->owner : group->members[i];
  if (!chosen) return;
  int visible = group->shown ? group->shown->visible : group->owner->visible;
  group->owner->visible = 0;
  for (NODEDESC* member : group->members)
    if (member) member->visible = 0;
  chosen->visible = visible;
  group->shown = chosen;
}

void SelectCompositeLod(COMPOSITEDESC* composite, const MATRIX44& view) {
  COMPOSITELODDESC* group = composite ? composite->lodGroup.get() : nullptr;
  if (!group || !composite->root) return;
  int i = ChooseMember(ViewDistanceSquared(composite->root, view), group->distancesSquared, group->members);
  COMPOSITEDESC* chosen = i < 0 ? composite : group->members[i];
  if (!chosen) return;
  int visible = group->shown ? group->shown->visible : composite->visible;
  ShowCompositeRecord(composite, 0);
  for (COMPOSITEDESC* member : group->members)
    if (member) ShowCompositeRecord(member, 0);
  ShowCompositeRecord(chosen, visible);
  group->shown = chosen;
}

void BeginDeviceFrame() {
  g_currentMaterial.index = kDefaultMaterialIndex;
  g_currentMaterial.alpha = 1.0f;
  g_currentMaterial.alphaByte = 255;
  if (g_gameWorld && g_gameWorld->device) ApplyMaterial(*g_gameWorld->device, 1);
  AgeTextures();
  for (uint32_t slot = 0; slot < g_nodePool.mark; ++slot)
    if (NODEDESC* node = g_nodePool.slots[slot]) node->worldValid = 0;
}

MATERIALDESC* MaterialForIndex(int index) {
  if (index >= 0 && index < static_cast<int>(g_materialPool.kSize))
    if (MATERIALDESC* m = g_materialPool.slots[index]) return m;
  return DefaultMaterial();
}

void ApplyMaterial(plat::Device3D& device, int drawMode) {
  MATERIALDESC* m = MaterialForIndex(g_currentMaterial.index);
  if (!m || !m->deviceMaterial) {
    device.SetTexture(0, nullptr);
    return;
  }
  DEVICEMATERIALDESC& d = *m->deviceMaterial;
  const int alpha = g_currentMaterial.alphaByte;
  const std::array<int, 9> channels{Channel(m->emissive[0]), Channel(m->emissive[1]), Channel(m->emissive[2]),
                                    Channel(m->diffuse[0]),  Channel(m->diffuse[1]),  Channel(m->diffuse[2]),
                                    Channel(m->ambient[0]),  Channel(m->ambient[1]),  Channel(m->ambient[2])};
  bool send = true;
  if (d.alpha != alpha) {
    for (float* c : {d.description.diffuse, d.description.ambient, d.description.specular, d.description.emissive})
      c[3] = g_currentMaterial.alpha;
    d.alpha = alpha;
    d.material->Set(d.description);
    d.packedDiffuse = static_cast<uint32_t>(alpha) << 24 | static_cast<uint32_t>(channels[3] & 0xFF) << 16 |
                      static_cast<uint32_t>(channels[4] & 0xFF) << 8 | static_cast<uint32_t>(channels[5] & 0xFF);
  } else if (g_sent.handle == d.material->Handle() && g_sent.channels == channels && g_sent.alpha == alpha) {
    send = false;
  }
  if (send) {
    device.SetLightState(plat::LightState::Material, d.material->Handle());
    g_sent = {d.material->Handle(), channels, alpha};
  }
  TEXTUREDESC* texture = m != DefaultMaterial() && drawMode != 1 ? m->currentFrame : nullptr;
  if (texture) {
    if (!texture->cardSurface) UploadTexture(texture);
    device.SetTexture(0, texture->cardSurface);
    texture->age = 0;
  } else {
    device.SetTexture(0, nullptr);
  }
  g_currentMaterial.lineColor = d.packedDiffuse;
}

void ApplyNodeRenderStates(plat::Device3D& device, VIEWPORTDESC* viewport, const NODEDESC* node) {
  using plat::RenderState;
  const NODESTATES& s = node->states;
  if (g_gameWorld && g_gameWorld->fogEnabled && s.fog != g_gameWorld->fogApplied) {
    g_gameWorld->fogApplied = s.fog;
    ApplyFog(viewport, s.fog);
  }
  SetCached(device, g_cache.perspective, RenderState::TexturePerspective, static_cast<uint32_t>(s.perspective));
  uint32_t filter = s.textureFilter ? plat::kFilterLinear : plat::kFilterPoint;
  if (g_cache.filter != filter) {
    g_cache.filter = filter;
    device.SetStageState(0, plat::StageState::MinFilter, filter);
    device.SetStageState(0, plat::StageState::MagFilter, filter);
  }
  SetCachedShadeMode(device, s.shading ? plat::kShadeGouraud : plat::kShadeFlat);
  SetCached(device, g_cache.dither, RenderState::DitherEnable, static_cast<uint32_t>(s.dithering));
  SetCached(device, g_cache.specular, RenderState::SpecularEnable, static_cast<uint32_t>(s.specular));
  SetCached(device, g_cache.antialias, RenderState::AntiAlias, static_cast<uint32_t>(s.antialias));
  SetCached(device, g_cache.zEnable, RenderState::ZEnable, static_cast<uint32_t>(s.zTest));
  SetCached(device, g_cache.zWrite, RenderState::ZWriteEnable, static_cast<uint32_t>(s.depthWrite));
  for (int stage = 0; stage < std::min(g_textureStageCount, plat::kMaxTextureStages); ++stage)
    SetCachedStageAddress(device, stage, s.addressing[stage] == 2 ? plat::kAddressClamp : plat::kAddressWrap);
}

void SetCachedSourceBlend(plat::Device3D& device, uint32_t value) {
  SetCached(device, g_cache.sourceBlend, plat::RenderState::SrcBlend, value);
}

void SetCachedDestBlend(plat::Device3D& device, uint32_t value) {
  SetCached(device, g_cache.destBlend, plat::RenderState::DestBlend, value);
}

void SetCachedShadeMode(plat::Device3D& device, uint32_t value) {
  SetCached(device, g_cache.shadeMode, plat::RenderState::ShadeMode, value);
}

void SetCachedStageAddress(plat::Device3D& device, int stage, uint32_t value) {
  if (stage < 0 || stage >= plat::kMaxTextureStages || g_cache.address[stage] == value) return;
  g_cache.address[stage] = value;
  device.SetStageState(stage, plat::StageState::Address, value);
}

uint32_t CachedSourceBlend() { return g_cache.sourceBlend; }
uint32_t CachedDestBlend() { return g_cache.destBlend; }

void ResetRenderStateCache() {
  g_cache = STATECACHE{};
  g_sent = SENTMATERIAL{};
  g_currentMaterial = CURRENTMATERIALSTATE{};
}
