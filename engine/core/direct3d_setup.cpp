// The device set-up of the 3D device path.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "engine/core/device_setup.h"
#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/render_resources.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

namespace {

constexpr int kMaxListedDevices = 16;
constexpr int kMaxDepthFormats = 16;
constexpr float kPi = 3.14159265f;

int Fail(GAMEWORLD* world, const char* message) {
  ShowErrorMessage("%s", message);
  ReleaseDevice(world);
  return 0;
}

// Automatic: the first valid device with 3D hardware; a valid 3D device by
// index; otherwise the primary display.
int ChooseDisplayDevice() {
  int chosen = 0;
  if (g_selectedDisplayDevice == -1) {
    for (int i = 0; i < g_displayDeviceCount; ++i) {
      if (g_displayDevices[i].valid && g_displayDevices[i].has3D) {
        chosen = i;
        break;
      }
    }
  } else if (g_selectedDisplayDevice >= 0 && g_selectedDisplayDevice < g_displayDeviceCount &&
             g_displayDevices[g_selectedDisplayDevice].valid && g_displayDevices[g_selectedDisplayDevice].has3D) {
    chosen = g_selectedDisplayDevice;
  }
  return chosen;
}

// A 16-bit depth buffer when the device offers one, else the first of 32, 24, 16, 8 bits; 0 for none.
int ChooseDepthBits(std::vector<int> formats) {
  if (formats.size() > kMaxDepthFormats) formats.resize(kMaxDepthFormats);
  auto offered = [&](int bits) { return std::find(formats.begin(), formats.end(), bits) != formats.end(); };
  if (offered(16)) return 16;
  for (int bits : {32, 24, 16, 8})
    if (offered(bits)) return bits;
  return 0;
}

bool UsableTextureFormat(const plat::TextureFormatInfo& f) {
  return !f.alphaPixels && !f.luminance && !f.bumpMap && f.fourCC == 0;
}

// A texture layout of the screen's depth (for 16 bits with the screen's
// channels, for 8 bits palettised); failing that an 8-bit palette one.
const plat::TextureFormatInfo* ChooseTextureFormat(const std::vector<plat::TextureFormatInfo>& formats,
                                                   const plat::PixelFormat& screen) {
  for (const auto& f : formats) {
    if (!UsableTextureFormat(f) || f.format.bitsPerPixel != screen.bitsPerPixel) continue;
    if (screen.bitsPerPixel == 8 ? f.format.palettised
                                 : (screen.bitsPerPixel != 16 ||
                                    (f.format.redMask == screen.redMask && f.format.greenMask == screen.greenMask &&
                                     f.format.blueMask == screen.blueMask)))
      return &f;
  }
  for (const auto& f : formats)
    if (UsableTextureFormat(f) && f.format.bitsPerPixel == 8 && f.format.palettised) return &f;
  return nullptr;
}

void CreateDeviceLights(GAMEWORLD* world) {
  for (DEVICELIGHTDESC*& slot : world->deviceLights) {
    slot = new DEVICELIGHTDESC;
    slot->params.type = plat::LightType::Directional;
    slot->params.range = std::sqrt(FLT_MAX);
    slot->params.falloff = 1.0f;
    slot->params.theta = kPi / 2;
    slot->params.phi = 2 * kPi / 3;
    slot->params.active = true;
    slot->light = world->direct3D->CreateLight();
    slot->light->Set(slot->params);
  }
}

void ApplyDefaultRenderStates(plat::Device3D& device, bool depthBuffer, const plat::Device3DCaps& caps) {
  using plat::RenderState;
  using plat::StageState;
  device.SetRenderState(RenderState::ShadeMode, plat::kShadeGouraud);
  device.SetRenderState(RenderState::TexturePerspective, 1);
  device.SetRenderState(RenderState::ZEnable, depthBuffer ? 1 : 0);
  device.SetRenderState(RenderState::ZWriteEnable, depthBuffer ? 1 : 0);
  device.SetRenderState(RenderState::ZFunc, plat::kCompareLessEqual);
  device.SetRenderState(RenderState::FillMode, plat::kFillSolid);
  device.SetRenderState(RenderState::DitherEnable, 1);
  device.SetRenderState(RenderState::SpecularEnable, 0);
  device.SetRenderState(RenderState::AntiAlias, 0);
  device.SetRenderState(RenderState::FogEnable, 0);
  device.SetRenderState(RenderState::FogColor, 0);
  if (caps.alphaCompareGreaterEqual) {
    device.SetRenderState(RenderState::AlphaTestEnable, 1);
    device.SetRenderState(RenderState::AlphaRef, 8);
    device.SetRenderState(RenderState::AlphaFunc, plat::kCompareGreaterEqual);
  }
  device.SetRenderState(RenderState::AlphaBlendEnable, 0);
  device.SetRenderState(RenderState::ColorKeyEnable, 1);
  device.SetRenderState(RenderState::SrcBlend, plat::kBlendSourceAlpha);
  device.SetRenderState(RenderState::DestBlend, plat::kBlendInverseSourceAlpha);
  device.SetRenderState(RenderState::TextureMapBlend, plat::kTextureBlendModulate);
  for (int stage = 0; stage < plat::kMaxTextureStages; ++stage) {
    device.SetStageState(stage, StageState::MinFilter, plat::kFilterLinear);
    device.SetStageState(stage, StageState::MagFilter, plat::kFilterLinear);
    device.SetStageState(stage, StageState::Address, plat::kAddressWrap);
    if (stage == 0) {
      device.SetStageState(0, StageState::ColorOp, plat::kStageOpModulate);
      device.SetStageState(0, StageState::ColorArg1, plat::kStageArgTexture);
      device.SetStageState(0, StageState::ColorArg2, plat::kStageArgDiffuse);
      device.SetStageState(0, StageState::AlphaOp, plat::kStageOpSelectArg1);
      device.SetStageState(0, StageState::AlphaArg1, plat::kStageArgDiffuse);
    } else {
      device.SetStageState(stage, StageState::ColorOp, plat::kStageOpDisable);
      device.SetStageState(stage, StageState::AlphaOp, plat::kStageOpDisable);
    }
  }
}

}  // namespace

int InitDirect3DDevice(GAMEWORLD* world) {
  world->deviceLights.fill(nullptr);
  world->softLights.fill(nullptr);
  if (g_displayDeviceCount == 0) ListDisplayDevices();
  if (g_displayDeviceCount == 0) return Fail(world, "None of graphics cards supports DirectX");

  int chosen = ChooseDisplayDevice();
  g_selectedDisplayDevice = chosen;
  if (chosen > 0) g_fullscreen = 1;
  bool hardware = g_displayDevices[chosen].has3D != 0;
  if (!hardware) g_useDirect3D = 0;
  world->hardware3D = hardware ? 1 : 0;

  if (!SetUpDisplayBuffers(world, g_displayDevices[chosen].platformIndex, false)) {
    ReleaseDevice(world);
    return 0;
  }

  world->direct3D = plat::Renderer3D::Open(*world->displayDevice);
  if (!world->direct3D) return Fail(world, "Fail to query Direct3D3 object");
  std::vector<plat::Device3DInfo> devices = world->direct3D->EnumerateDevices();
  if (devices.size() > kMaxListedDevices) devices.resize(kMaxListedDevices);
  int device = -1;
  for (int i = 0; i < static_cast<int>(devices.size()) && device < 0; ++i)
    if (devices[i].hardware == hardware) device = i;
  if (device < 0)
    return Fail(world, hardware ? "Fail to get Direct3D hardware rendering device"
                                : "Fail to get Direct3D software rendering device");

  world->depthBufferPresent = 0;
  if (devices[device].depthBuffer) {
    if (int bits = ChooseDepthBits(world->direct3D->EnumerateDepthFormats(device))) {
      world->depthBuffer = world->displayDevice->CreateDepthSurface(world->width, world->height, bits, hardware);
      if (!world->depthBuffer) return Fail(world, "Fail to create Z Buffer");
      if (!world->backBuffer->AttachDepth(world->depthBuffer))
        return Fail(world, "Fail to attach Z Buffer to rendering surface");
      world->depthBufferPresent = 1;
      world->depthBufferInVideoMemory = hardware ? 1 : 0;
      g_depthBufferBits = bits;
    }
  }

  world->device = world->direct3D->CreateDevice(device, world->backBuffer);
  if (!world->device) return Fail(world, "Fail to create Direct3D device");

  std::vector<plat::TextureFormatInfo> textureFormats = world->device->EnumerateTextureFormats();
  const plat::TextureFormatInfo* texture = ChooseTextureFormat(textureFormats, world->backBuffer->Describe().format);
  if (!texture) return Fail(world, "Fail to search a proper texture format");
  g_textureFormat = TextureFormatCode(texture->format);

  HOBJECT viewport = CreateViewport(0, 0, world->width, world->height);
  world->defaultViewport = LookupViewport(viewport);
  if (!viewport || !world->defaultViewport) return Fail(world, "Fail to create default viewport");

  CreateDeviceLights(world);
  for (SOFTLIGHTDESC*& light : world->softLights) light = new SOFTLIGHTDESC;

  plat::Device3DCaps caps = world->device->Caps();
  g_textureStageCount = caps.textureStages > 1 && caps.modulate ? caps.textureStages : 1;
  g_mipFilter = caps.mipFilter == plat::MipFilterCaps::Linear  ? 2
                : caps.mipFilter == plat::MipFilterCaps::Point ? 1
                                                               : 0;

  SetDefaultAmbientLight(world);
  CreateBackgroundMaterial();
  ApplyDefaultRenderStates(*world->device, world->depthBufferPresent != 0, caps);
  AllocateEmitterBuffers();
  return 1;
}
