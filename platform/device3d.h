#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/display.h"

// The 3D device: enumeration and capabilities, render, light and
// texture-stage states, lights and viewports, drawing into display surfaces.
// What the device reports (its devices, depth and texture formats, caps) is
// settable by tests through the environment below.
namespace plat {

// State values, with the numbers the engine's settings use.
constexpr uint32_t kShadeFlat = 1;
constexpr uint32_t kShadeGouraud = 2;
constexpr uint32_t kFillSolid = 3;
constexpr uint32_t kCompareLessEqual = 4;
constexpr uint32_t kCompareGreaterEqual = 7;
constexpr uint32_t kBlendZero = 1;
constexpr uint32_t kBlendSourceColor = 3;
constexpr uint32_t kBlendSourceAlpha = 5;
constexpr uint32_t kBlendInverseSourceAlpha = 6;
constexpr uint32_t kTextureBlendModulate = 2;
constexpr uint32_t kStageOpDisable = 1;
constexpr uint32_t kStageOpSelectArg1 = 2;
constexpr uint32_t kStageOpModulate = 4;
constexpr uint32_t kStageArgDiffuse = 0;
constexpr uint32_t kStageArgTexture = 2;
constexpr uint32_t kAddressWrap = 1;
constexpr uint32_t kAddressClamp = 3;
constexpr uint32_t kFilterPoint = 1;
constexpr uint32_t kFilterLinear = 2;
constexpr uint32_t kFogLinear = 3;

enum class RenderState {
  ShadeMode,
  TexturePerspective,
  ZEnable,
  ZWriteEnable,
  ZFunc,
  FillMode,
  DitherEnable,
  SpecularEnable,
  AntiAlias,
  FogEnable,
  FogColor,
  FogTableMode,
  FogTableStart,  // float bits
  FogTableEnd,    // float bits
  RangeFogEnable,
  AlphaTestEnable,
  AlphaRef,
  AlphaFunc,
  AlphaBlendEnable,
  ColorKeyEnable,
  SrcBlend,
  DestBlend,
  TextureMapBlend,
  Count
};

enum class LightState { Material, Ambient, FogMode, FogStart, FogEnd, Count };

enum class StageState {
  ColorOp,
  ColorArg1,
  ColorArg2,
  AlphaOp,
  AlphaArg1,
  AlphaArg2,
  Address,
  MinFilter,
  MagFilter,
  Count
};

constexpr int kMaxTextureStages = 8;

enum class MipFilterCaps { None, Point, Linear };

struct Device3DCaps {
  int textureStages = 2;
  bool modulate = true;
  bool alphaCompareGreaterEqual = true;
  MipFilterCaps mipFilter = MipFilterCaps::None;
  bool fogTable = true;
  bool wFog = false;
  bool fogVertex = true;
};

struct Device3DInfo {
  std::string description;
  bool hardware = true;
  bool depthBuffer = true;
};

struct TextureFormatInfo {
  PixelFormat format;
  bool alphaPixels = false;
  bool luminance = false;
  bool bumpMap = false;
  uint32_t fourCC = 0;
};

// What the 3D layer reports. ResetDevice3DEnvironment brings back these values.
struct Device3DEnvironment {
  std::vector<Device3DInfo> devices{{"Tarnwick reference rasteriser", true, true}};
  std::vector<int> depthFormats{16};
  std::vector<TextureFormatInfo> textureFormats{
      {Rgb565Format()},
      {Rgb555Format()},
      {{16, 0x7C00, 0x03E0, 0x001F, 0x8000, false}, true},
      {{16, 0x0F00, 0x00F0, 0x000F, 0xF000, false}, true},
      {Palette8Format()},
  };
  Device3DCaps caps;
};
Device3DEnvironment& GetDevice3DEnvironment();
void ResetDevice3DEnvironment();

enum class LightType { Point = 1, Spot = 2, Directional = 3, ParallelPoint = 4 };

struct LightParams {
  LightType type = LightType::Directional;
  float red = 1, green = 1, blue = 1;
  float position[3] = {0, 0, 0};
  float direction[3] = {0, 0, 1};
  float range = 0;
  float falloff = 0;
  float attenuation[3] = {0, 0, 0};
  float theta = 0;  // inner cone, radians
  float phi = 0;    // outer cone, radians
  bool active = false;
};

class Light3D {
 public:
  Light3D();
  ~Light3D();
  Light3D(const Light3D&) = delete;
  Light3D& operator=(const Light3D&) = delete;
  void Set(const LightParams& params) { params_ = params; }
  const LightParams& Get() const { return params_; }

 private:
  LightParams params_;
};

class Device3D;

struct ViewportParams {
  int x = 0, y = 0, width = 0, height = 0;
  float clipX = -1, clipY = 1, clipWidth = 2, clipHeight = 2;
  float minZ = 0, maxZ = 1;
};

constexpr uint32_t kClearTarget = 1;
constexpr uint32_t kClearZBuffer = 2;

class Viewport3D {
 public:
  Viewport3D();
  ~Viewport3D();
  Viewport3D(const Viewport3D&) = delete;
  Viewport3D& operator=(const Viewport3D&) = delete;

  bool SetViewport(const ViewportParams& params);
  const ViewportParams& Params() const { return params_; }
  // Clears the rectangle (clipped to the viewport and the target) of the
  // device's target to colour (0x00RRGGBB) and its depth buffer to depth (0..1).
  bool Clear(const Rect& rect, uint32_t flags, uint32_t color, float depth);
  bool AddLight(Light3D* light);
  bool DeleteLight(Light3D* light);
  const std::vector<Light3D*>& Lights() const { return lights_; }
  Device3D* Device() const { return device_; }

 private:
  friend class Device3D;
  ViewportParams params_;
  Device3D* device_ = nullptr;
  std::vector<Light3D*> lights_;
};

class Device3D {
 public:
  ~Device3D();
  Device3D(const Device3D&) = delete;
  Device3D& operator=(const Device3D&) = delete;

  Device3DCaps Caps() const;
  std::vector<TextureFormatInfo> EnumerateTextureFormats() const;
  Surface& Target() const { return *target_; }

  void SetRenderState(RenderState state, uint32_t value);
  uint32_t GetRenderState(RenderState state) const;
  void SetLightState(LightState state, uint32_t value);
  uint32_t GetLightState(LightState state) const;
  void SetStageState(int stage, StageState state, uint32_t value);
  uint32_t GetStageState(int stage, StageState state) const;

  bool AddViewport(Viewport3D* viewport);
  void DeleteViewport(Viewport3D* viewport);

 private:
  friend class Renderer3D;
  explicit Device3D(std::shared_ptr<Surface> target);
  std::shared_ptr<Surface> target_;
  std::array<uint32_t, static_cast<int>(RenderState::Count)> renderStates_{};
  std::array<uint32_t, static_cast<int>(LightState::Count)> lightStates_{};
  std::array<std::array<uint32_t, static_cast<int>(StageState::Count)>, kMaxTextureStages> stageStates_{};
  std::vector<Viewport3D*> viewports_;
};

// The 3D layer of an opened display device: lists devices and formats and makes
// devices, viewports and lights.
class Renderer3D {
 public:
  static std::unique_ptr<Renderer3D> Open(DisplayDevice& display);
  ~Renderer3D();
  Renderer3D(const Renderer3D&) = delete;
  Renderer3D& operator=(const Renderer3D&) = delete;

  std::vector<Device3DInfo> EnumerateDevices() const;
  std::vector<int> EnumerateDepthFormats(int device) const;
  // A device drawing into target (with the depth surface attached to it).
  std::unique_ptr<Device3D> CreateDevice(int device, std::shared_ptr<Surface> target);
  std::unique_ptr<Viewport3D> CreateViewport();
  std::unique_ptr<Light3D> CreateLight();

 private:
  Renderer3D() = default;
};

// Live objects of the 3D layer, for tests that check a tear-down.
struct Live3DObjects {
  int renderers = 0;
  int devices = 0;
  int viewports = 0;
  int lights = 0;
};
Live3DObjects GetLive3DObjects();

}  // namespace plat
