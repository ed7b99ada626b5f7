#pragma once
#include <cstdint>

// What the reference rasteriser draws with: caller-owned 16-bit buffers, the
// three vertex layouts of the 3D device, and explicit copies of the device's
// transforms, lights and states. Enumerations carry the numeric codes the
// device's render and texture-stage states use, so the device maps them 1:1.
namespace plat::raster {

// 16-bit pixel layouts. Targets are 565 or 555; textures may also be 4444.
enum class PixelLayout : uint8_t { Rgb565, Rgb555, Argb4444 };

// A colour target: any 16-bit surface, the back buffer or a texture.
struct Surface {
  uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
  PixelLayout layout = PixelLayout::Rgb565;
};

// 16-bit depth values, 0 near and 0xFFFF far. No values: no depth buffer.
struct DepthSurface {
  uint16_t* values = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
};

// A rectangle of texels; right and bottom exclusive, empty when left >= right.
struct TexelBounds {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct Texture {
  const uint16_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitchBytes = 0;
  PixelLayout layout = PixelLayout::Rgb565;
  bool hasColorKey = false;
  uint16_t colorKey = 0;  // a raw texel value in the texture's layout
  // Optional: the same texels decoded to 0xAARRGGBB with the wrapped
  // neighbours beside them (ExpandTexels); the span routines read it when
  // the colour key is off.
  const uint32_t* expanded = nullptr;
  // Optional: every texel outside these bounds is black.
  const TexelBounds* ink = nullptr;
};

// Pixel rectangle and depth range; the clip volume is x, y in -1..1.
struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  float minZ = 0.0f;
  float maxZ = 1.0f;
};

// Row-major 4 x 4 for row vectors: p' = p * M, translation in m[12..14].
struct Matrix {
  float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

struct Vector3 {
  float x = 0.0f;
  float y = 0.0f;
  float z = 0.0f;
};

// Channels 0..1.
struct Color {
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  float a = 1.0f;
};

struct Material {
  Color diffuse{1, 1, 1, 1};
  Color ambient;
  Color specular;
  Color emissive;
  float power = 0.0f;
};

enum class LightType : uint8_t { Point = 1, Spot = 2, Directional = 3, ParallelPoint = 4 };

// Position and direction in world space. A light reaches as far as its range,
// fading linearly to nothing there. theta and phi are the full inner and
// outer cone angles in radians.
struct Light {
  LightType type = LightType::Directional;
  Color color{1, 1, 1, 1};
  Vector3 position;
  Vector3 direction{0, 0, 1};
  float range = 1000.0f;
  float falloff = 1.0f;
  float theta = 0.0f;
  float phi = 0.0f;
};

// Untransformed, lit by the device unless lighting is off.
struct VertexLit {
  float x, y, z;
  float nx, ny, nz;
  float u, v;
};

// Untransformed and pre-lit; colours 0xAARRGGBB, specular alpha = fog factor.
struct VertexPrelit {
  float x, y, z;
  uint32_t reserved;
  uint32_t diffuse;
  uint32_t specular;
  float u, v;
};

// Already in screen space: pixel x, y, depth 0..1 and 1 / eye depth.
struct VertexScreen {
  float sx, sy, sz, rhw;
  uint32_t diffuse;
  uint32_t specular;
  float u, v;
};

enum class PrimitiveType : uint8_t {
  PointList = 1,
  LineList = 2,
  LineStrip = 3,
  TriangleList = 4,
  TriangleStrip = 5,
  TriangleFan = 6
};

enum class CompareFunc : uint8_t {
  Never = 1,
  Less = 2,
  Equal = 3,
  LessEqual = 4,
  Greater = 5,
  NotEqual = 6,
  GreaterEqual = 7,
  Always = 8
};

enum class BlendFactor : uint8_t {
  Zero = 1,
  One = 2,
  SrcColor = 3,
  InvSrcColor = 4,
  SrcAlpha = 5,
  InvSrcAlpha = 6,
  DestAlpha = 7,
  InvDestAlpha = 8,
  DestColor = 9,
  InvDestColor = 10,
  SrcAlphaSat = 11
};

// Which screen winding is removed; screen y grows downwards.
enum class CullMode : uint8_t { None = 1, Clockwise = 2, CounterClockwise = 3 };
enum class ShadeMode : uint8_t { Flat = 1, Gouraud = 2 };
enum class FogMode : uint8_t { None = 0, Exp = 1, Exp2 = 2, Linear = 3 };
enum class TextureFilter : uint8_t { Point = 1, Linear = 2 };
enum class TextureAddress : uint8_t { Wrap = 1, Clamp = 3 };
enum class TextureOp : uint8_t { Disable = 1, SelectArg1 = 2, SelectArg2 = 3, Modulate = 4 };
enum class TextureArg : uint8_t { Diffuse = 0, Current = 1, Texture = 2 };

struct RenderStates {
  ShadeMode shadeMode = ShadeMode::Gouraud;
  CullMode cullMode = CullMode::None;
  bool texturePerspective = true;
  bool zEnable = true;
  bool zWriteEnable = true;
  CompareFunc zFunc = CompareFunc::LessEqual;
  bool alphaTestEnable = false;
  uint8_t alphaRef = 0;
  CompareFunc alphaFunc = CompareFunc::Always;
  bool alphaBlendEnable = false;
  BlendFactor srcBlend = BlendFactor::One;
  BlendFactor destBlend = BlendFactor::Zero;
  bool colorKeyEnable = false;
  bool specularEnable = false;
  bool fogEnable = false;
  uint32_t fogColor = 0;  // 0x00RRGGBB
  // Table fog works per pixel on the eye depth (w); without it the fog
  // factor comes from the vertices' specular alpha, which the device
  // computes for untransformed vertices when vertexFogMode is set.
  FogMode fogTableMode = FogMode::None;
  FogMode vertexFogMode = FogMode::None;
  bool rangeFogEnable = false;  // vertex fog by distance instead of depth
  float fogStart = 0.0f;
  float fogEnd = 1.0f;
  float fogDensity = 1.0f;
};

// Texture stage 0; the current colour of stage 0 is the diffuse colour.
struct TextureStage {
  TextureOp colorOp = TextureOp::Modulate;
  TextureArg colorArg1 = TextureArg::Texture;
  TextureArg colorArg2 = TextureArg::Diffuse;
  TextureOp alphaOp = TextureOp::SelectArg1;
  TextureArg alphaArg1 = TextureArg::Diffuse;
  TextureArg alphaArg2 = TextureArg::Diffuse;
  TextureFilter minFilter = TextureFilter::Linear;
  TextureFilter magFilter = TextureFilter::Linear;
  TextureAddress address = TextureAddress::Wrap;
};

struct Transforms {
  Matrix world;
  Matrix view;
  Matrix projection;
};

// The lights given here are the active ones.
struct Lighting {
  const Light* lights = nullptr;
  int lightCount = 0;
  Color ambient;
  Material material;
};

// Everything one draw call reads.
struct DrawContext {
  Surface target;
  DepthSurface depth;
  Viewport viewport;
  RenderStates states;
  TextureStage stage;
  const Texture* texture = nullptr;  // null: untextured
  Transforms transforms;
  Lighting lighting;
};

// clip false: the caller promises the primitives lie inside the near and far
// planes (the rasteriser still guards what it cannot draw safely).
// light false: untransformed vertices of the lit layout come out white.
struct DrawOptions {
  bool clip = true;
  bool light = true;
};

}  // namespace plat::raster
