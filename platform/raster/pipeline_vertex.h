#pragma once
#include <cstdint>

// The two forms a vertex takes inside the rasteriser: before the perspective
// divide (where clipping happens) and in screen space (where triangles are
// set up).
namespace plat::raster {

// Attributes interpolated across a primitive in screen space. U and V are
// premultiplied by rhw when textures are perspective-correct. Colours are
// 0..255; a fog factor of 255 means no fog.
enum Attr : int {
  kAttrZ,
  kAttrRhw,
  kAttrU,
  kAttrV,
  kAttrR,
  kAttrG,
  kAttrB,
  kAttrA,
  kAttrSpecR,
  kAttrSpecG,
  kAttrSpecB,
  kAttrFog,
  kAttrCount
};

// Colour entries of ClipVertex::color, in the order of the colour attributes.
constexpr int kColorCount = 8;

// Homogeneous screen coordinates: x / w and y / w are pixels, z / w depth.
struct ClipVertex {
  float x, y, z, w;
  float clipZ;  // depth before the viewport's range: 0 at the near plane, w at the far
  float u, v;
  float color[kColorCount];
};

struct ScreenVertex {
  float x, y;
  float attr[kAttrCount];
};

// Outcodes: which clip planes a vertex lies outside of.
enum ClipBits : uint8_t {
  kClipNear = 1,
  kClipFar = 2,
  kClipLeft = 4,
  kClipRight = 8,
  kClipTop = 16,
  kClipBottom = 32,
  kClipW = 64,        // w too small to divide by
  kClipInvalid = 128  // not a number or infinite: the primitive is dropped
};

}  // namespace plat::raster
