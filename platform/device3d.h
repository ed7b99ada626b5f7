#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/display.h"
#include "platform/raster/decoded_texels.h"
#include "platform/raster/raster_types.h"

// The 3D device: enumeration and capabilities, render, light and
// texture-stage states, lights, materials, viewports, textures and render
// targets, and drawing into display surfaces through the reference
// rasteriser. What the device reports (its devices, depth and texture
// formats, caps) is settable by tests through the environment below; the
// texture memory of the card is the display environment's textureMemory.
namespace plat {

namespace raster {
class Rasterizer;
}

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
constexpr uint32_t kCullNone = 1;
constexpr uint32_t kCullCounterClockwise = 3;

// Draw flags.
constexpr uint32_t kDrawDoNotClip = 0x04;
constexpr uint32_t kDrawDoNotLight = 0x10;

using raster::Matrix;
using raster::PrimitiveType;
using raster::VertexLit;
using raster::VertexPrelit;
using raster::VertexScreen;

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
  // Modulate sets stage 0 to texture x diffuse colour and diffuse alpha.
  TextureMapBlend,
  CullMode,  // counter-clockwise until set
  Count
};

enum class TransformState { World, View, Projection };

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
  bool wFog = true;  // table fog runs on the eye depth
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

// Colours red, green, blue, alpha.
struct MaterialParams {
  float diffuse[4] = {1, 1, 1, 1};
  float ambient[4] = {0, 0, 0, 1};
  float specular[4] = {0, 0, 0, 1};
  float emissive[4] = {0, 0, 0, 1};
  float power = 0;
};

// A material object; the device draws lit vertices with the one whose
// handle is the Material light state.
class Material3D {
 public:
  Material3D();
  ~Material3D();
  Material3D(const Material3D&) = delete;
  Material3D& operator=(const Material3D&) = delete;
  void Set(const MaterialParams& params) { params_ = params; }
  const MaterialParams& Get() const { return params_; }
  uint32_t Handle() const { return handle_; }
  // The live material of a handle, or null.
  static const Material3D* FromHandle(uint32_t handle);

 private:
  MaterialParams params_;
  uint32_t handle_;
};

struct TextureParams {
  int width = 0;
  int height = 0;
  PixelFormat format;
  bool videoMemory = false;  // charged to the card's texture memory
  int levels = 1;            // mip-map levels, 1 for a plain texture
  bool renderTarget = false;
};

using Palette = std::array<uint32_t, 256>;  // 0x00RRGGBB entries

// A texture surface with its smaller mip-map levels. The device samples
// level 0; layouts the rasteriser cannot read (palettised, blue on top, 24
// and 32 bits) are sampled from a 5-6-5 copy made at the first draw after
// each load.
class Texture3D {
 public:
  ~Texture3D();
  Texture3D(const Texture3D&) = delete;
  Texture3D& operator=(const Texture3D&) = delete;

  const TextureParams& Params() const { return params_; }
  int LevelCount() const { return static_cast<int>(levels_.size()); }
  // Level 0 is the full size; null past the last level.
  Surface* Level(int level) const;
  const std::shared_ptr<Surface>& Top() const { return levels_.front(); }
  void SetPalette(const Palette& palette);
  bool HasPalette() const { return hasPalette_; }
  const Palette& GetPalette() const { return palette_; }
  // Copies the pixels of every level, the palette and the colour key of a
  // texture of the same size, layout and level count (the card upload).
  bool Load(const Texture3D& source);
  bool IsLost() const;
  // Every level (and a render target's depth surface) comes back cleared.
  SurfaceResult Restore();
  // What the rasteriser samples; false when nothing can be sampled (lost).
  bool SampleView(raster::Texture* out);
  // Bytes of card memory it holds (0 in system memory).
  uint32_t CardBytes() const { return cardBytes_; }

 private:
  friend class Renderer3D;
  Texture3D() = default;
  void Convert();

  TextureParams params_;
  std::vector<std::shared_ptr<Surface>> levels_;
  Palette palette_{};
  bool hasPalette_ = false;
  std::vector<uint16_t> converted_;
  uint16_t convertedKey_ = 0;
  // The sampled texels decoded for the rasteriser, and the top level's
  // change count they were decoded at.
  raster::DecodedTexels decoded_;
  uint64_t expandedAt_ = ~uint64_t{0};
  uint32_t cardBytes_ = 0;
};

// Card memory held by textures now, and what a texture of these
// parameters takes.
uint32_t TextureMemoryInUse();
uint32_t TextureBytes(const TextureParams& params);

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
  // The viewport whose rectangle and lights the draw calls use.
  bool SetCurrentViewport(Viewport3D* viewport);
  Viewport3D* CurrentViewport() const { return current_; }

  void SetTransform(TransformState state, const Matrix& matrix);
  const Matrix& GetTransform(TransformState state) const;
  // Stage 0 is sampled; null unbinds. The device keeps the texture alive while bound.
  void SetTexture(int stage, std::shared_ptr<Texture3D> texture);
  const Texture3D* GetTexture(int stage) const;
  // A 16-bit surface (its attached depth surface goes with it); false for
  // a surface the device cannot draw into.
  bool SetRenderTarget(std::shared_ptr<Surface> target);
  const std::shared_ptr<Surface>& RenderTarget() const { return target_; }

  // False when the target is lost or a scene is already open.
  bool BeginScene();
  bool EndScene();

  // Indices empty: the vertices in order. False when nothing could be drawn
  // (no current viewport, lost or unusable target).
  bool Draw(PrimitiveType type, std::span<const VertexLit> vertices, std::span<const uint32_t> indices, uint32_t flags);
  bool Draw(PrimitiveType type, std::span<const VertexPrelit> vertices, std::span<const uint32_t> indices,
            uint32_t flags);
  bool Draw(PrimitiveType type, std::span<const VertexScreen> vertices, std::span<const uint32_t> indices,
            uint32_t flags);
  // Draw calls made since the device was created.
  int DrawCallCount() const { return drawCalls_; }

 private:
  friend class Renderer3D;
  explicit Device3D(std::shared_ptr<Surface> target);
  bool BuildContext(raster::DrawContext& context, raster::DrawOptions& options, uint32_t flags);
  template <typename Vertex>
  bool DrawVertices(PrimitiveType type, std::span<const Vertex> vertices, std::span<const uint32_t> indices,
                    uint32_t flags);

  std::shared_ptr<Surface> target_;
  Viewport3D* current_ = nullptr;
  std::array<Matrix, 3> transforms_{};
  std::array<std::shared_ptr<Texture3D>, kMaxTextureStages> textures_{};
  std::unique_ptr<raster::Rasterizer> rasterizer_;
  std::vector<raster::Light> lights_;
  raster::Texture sampled_;
  bool inScene_ = false;
  int drawCalls_ = 0;
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
  std::unique_ptr<Material3D> CreateMaterial();
  // Null for a bad size, or when a texture in card memory does not fit in
  // what is left of it.
  std::shared_ptr<Texture3D> CreateTexture(const TextureParams& params);

 private:
  Renderer3D() = default;
};

// Live objects of the 3D layer, for tests that check a tear-down.
struct Live3DObjects {
  int renderers = 0;
  int devices = 0;
  int viewports = 0;
  int lights = 0;
  int materials = 0;
  int textures = 0;
};
Live3DObjects GetLive3DObjects();

}  // namespace plat
