#include "engine/core/render_services.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "engine/core/device_setup.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/vertex_colors.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"

namespace {

uint32_t PackRgb(float red, float green, float blue) {
  return ColorByte(red) << 16 | ColorByte(green) << 8 | ColorByte(blue);
}

constexpr int kMaxKeyedMaterials = 1024;

}  // namespace

void ApplyFog(VIEWPORTDESC* viewport, int on) {
  GAMEWORLD* w = g_gameWorld;
  if (!w || !w->device || !viewport) return;
  plat::Device3D& device = *w->device;
  using plat::RenderState;
  if (!on) {
    device.SetRenderState(RenderState::FogEnable, 0);
    device.SetRenderState(RenderState::RangeFogEnable, 0);
    SetViewportClearColor(viewport, viewport->backgroundColor[0], viewport->backgroundColor[1],
                          viewport->backgroundColor[2]);
    return;
  }
  device.SetRenderState(RenderState::FogEnable, 1);
  device.SetRenderState(RenderState::FogColor, PackRgb(w->fogDensity * w->fogColor[0], w->fogDensity * w->fogColor[1],
                                                       w->fogDensity * w->fogColor[2]));
  plat::Device3DCaps caps = device.Caps();
  if (g_hasSse2) {
    if (caps.fogTable) {
      device.SetRenderState(RenderState::FogTableMode, plat::kFogLinear);
      float start = w->fogStart, end = w->fogEnd;
      const CAMERADESC* camera = viewport->camera && viewport->camera->kind == NODE_CAMERA
                                     ? static_cast<const CAMERADESC*>(viewport->camera->kindData)
                                     : nullptr;
      if (!caps.wFog && camera && camera->farPlane != camera->nearPlane) {
        start = (start - camera->nearPlane) / (camera->farPlane - camera->nearPlane);
        end = (end - camera->nearPlane) / (camera->farPlane - camera->nearPlane);
      }
      device.SetRenderState(RenderState::FogTableStart, std::bit_cast<uint32_t>(start));
      device.SetRenderState(RenderState::FogTableEnd, std::bit_cast<uint32_t>(end));
    }
  } else if (caps.fogVertex) {
    device.SetLightState(plat::LightState::FogMode, plat::kFogLinear);
    device.SetLightState(plat::LightState::FogStart, std::bit_cast<uint32_t>(w->fogStart));
    device.SetLightState(plat::LightState::FogEnd, std::bit_cast<uint32_t>(w->fogEnd));
    device.SetRenderState(RenderState::RangeFogEnable, 1);
  }
  SetViewportClearColor(viewport, w->fogColor[0], w->fogColor[1], w->fogColor[2]);
}

void SetDeviceAmbient(float red, float green, float blue) {
  if (g_gameWorld && g_gameWorld->device)
    g_gameWorld->device->SetLightState(plat::LightState::Ambient, PackRgb(red, green, blue));
}

void SetSoftAmbient(float red, float green, float blue) {
  if (g_gameWorld) g_gameWorld->softAmbient = 0.299f * red + 0.587f * green + 0.114f * blue;
}

void SetSoftBlendKey(NODEDESC* node, int on) {
  if (!node || !node->kindData) return;
  std::vector<MATERIALDESC*> materials;
  if (const MESHDESC* mesh = node->Mesh()) {
    std::vector<HOBJECT> handles = MeshMaterials(mesh);
    if (handles.size() > kMaxKeyedMaterials) handles.resize(kMaxKeyedMaterials);
    for (HOBJECT h : handles)
      if (MATERIALDESC* m = LookupMaterial(h)) materials.push_back(m);
  } else if (node->kind == NODE_BILLBOARD) {
    int index = static_cast<const BILLBOARDDESC*>(node->kindData)->materialIndex;
    if (MATERIALDESC* m =
            index >= 0 ? LookupMaterial(MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(index))) : nullptr)
      materials.push_back(m);
  }
  const uint32_t black = PackScreenPixel(0, 0, 0);
  for (MATERIALDESC* m : materials) {
    TEXTUREDESC* frame = m->firstFrame;
    for (int i = 0; i < m->frameCount && frame; ++i, frame = frame->next) {
      frame->keyIndex = -1;
      if (!on || frame->shadeTable.size() < 256 * 16) continue;
      for (int c = 0; c < 256; ++c)
        if (frame->shadeTable[c * 16 + 15] == black) {
          frame->keyIndex = c;
          break;
        }
    }
  }
}
