#pragma once
#include <cstdint>

#include "platform/raster/pixel_formats.h"
#include "platform/raster/pixel_pipeline.h"
#include "platform/raster/texel_math.h"

// Texture look-ups for the span routines: wrap and clamp addressing, point
// and bilinear filtering on 1/256-texel fixed point, and the colour key. A
// texel equal to the key is never shown: a keyed pixel is discarded, and a
// keyed neighbour of a bilinear sample takes the colour of the nearest texel
// so that no key colour bleeds into the edges.
namespace plat::raster {

// Float to int without undefined behaviour; not-a-number becomes the low bound.
inline int SafeFixed(float x) {
  x = x > -2.0e9f ? x : -2.0e9f;
  x = x < 2.0e9f ? x : 2.0e9f;
  return static_cast<int>(x);
}

inline int AddressTexel(int i, int size, bool clamp, bool powerOfTwo) {
  if (clamp) return i < 0 ? 0 : (i >= size ? size - 1 : i);
  if (powerOfTwo) return i & (size - 1);
  const int r = i % size;
  return r < 0 ? r + size : r;
}

inline uint16_t FetchTexel(const TextureView& t, int x, int y) { return t.pixels[y * t.pitch + x]; }

// u, v in texture coordinates; false when the key hides the texel.
inline bool SamplePoint(const TextureView& t, float u, float v, uint32_t& argb) {
  const int x = AddressTexel(SafeFixed(u * t.scaleU) >> 8, t.width, t.clamp, t.powerOfTwo);
  const int y = AddressTexel(SafeFixed(v * t.scaleV) >> 8, t.height, t.clamp, t.powerOfTwo);
  const uint16_t raw = FetchTexel(t, x, y);
  if (t.keyed && raw == t.key) return false;
  argb = DecodePixel(t.layout, raw);
  return true;
}

inline bool SampleBilinear(const TextureView& t, float u, float v, uint32_t& argb) {
  const int fu = SafeFixed(u * t.scaleU) - 128;  // texel centres sit at .5
  const int fv = SafeFixed(v * t.scaleV) - 128;
  const uint32_t fx = static_cast<uint32_t>(fu) & 255;
  const uint32_t fy = static_cast<uint32_t>(fv) & 255;
  const int x0 = AddressTexel(fu >> 8, t.width, t.clamp, t.powerOfTwo);
  const int x1 = AddressTexel((fu >> 8) + 1, t.width, t.clamp, t.powerOfTwo);
  const int y0 = AddressTexel(fv >> 8, t.height, t.clamp, t.powerOfTwo);
  const int y1 = AddressTexel((fv >> 8) + 1, t.height, t.clamp, t.powerOfTwo);
  uint16_t c00 = FetchTexel(t, x0, y0), c10 = FetchTexel(t, x1, y0);
  uint16_t c01 = FetchTexel(t, x0, y1), c11 = FetchTexel(t, x1, y1);
  if (t.keyed) {
    const uint16_t nearest = fy < 128 ? (fx < 128 ? c00 : c10) : (fx < 128 ? c01 : c11);
    if (nearest == t.key) return false;
    if (c00 == t.key) c00 = nearest;
    if (c10 == t.key) c10 = nearest;
    if (c01 == t.key) c01 = nearest;
    if (c11 == t.key) c11 = nearest;
  }
  argb = BilinearMix(DecodePixel(t.layout, c00), DecodePixel(t.layout, c10), DecodePixel(t.layout, c01),
                     DecodePixel(t.layout, c11), fx, fy);
  return true;
}

// The decoded texels of a power-of-two texture that wraps and has no colour
// key: the same results with one address computation and no decoding. The
// position comes in 1/256 texels (SafeFixed of u * scaleU, v * scaleV).
inline uint32_t SamplePointWrapped(const TextureView& t, int fixedU, int fixedV) {
  const int x = (fixedU >> 8) & (t.width - 1);
  const int y = (fixedV >> 8) & (t.height - 1);
  return t.argb[y * t.argbPitch + x];
}

inline uint32_t SampleBilinearWrapped(const TextureView& t, int fixedU, int fixedV) {
  const int fu = fixedU - 128;
  const int fv = fixedV - 128;
  const uint32_t* row0 = t.argb + ((fv >> 8) & (t.height - 1)) * t.argbPitch + ((fu >> 8) & (t.width - 1));
  const uint32_t* row1 = row0 + t.argbPitch;
  return BilinearMix(row0[0], row0[1], row1[0], row1[1], static_cast<uint32_t>(fu) & 255,
                     static_cast<uint32_t>(fv) & 255);
}

// The decoded texels of a texture that clamps and has no colour key (any
// size): the same results as SamplePoint and SampleBilinear without decoding.
inline int ClampTexel(int i, int size) { return i < 0 ? 0 : (i >= size ? size - 1 : i); }

inline uint32_t SamplePointClamped(const TextureView& t, int fixedU, int fixedV) {
  return t.argb[ClampTexel(fixedV >> 8, t.height) * t.argbPitch + ClampTexel(fixedU >> 8, t.width)];
}

inline uint32_t SampleBilinearClamped(const TextureView& t, int fixedU, int fixedV) {
  const int fu = fixedU - 128;
  const int fv = fixedV - 128;
  const int x0 = ClampTexel(fu >> 8, t.width), x1 = ClampTexel((fu >> 8) + 1, t.width);
  const uint32_t* row0 = t.argb + ClampTexel(fv >> 8, t.height) * t.argbPitch;
  const uint32_t* row1 = t.argb + ClampTexel((fv >> 8) + 1, t.height) * t.argbPitch;
  return BilinearMix(row0[x0], row0[x1], row1[x0], row1[x1], static_cast<uint32_t>(fu) & 255,
                     static_cast<uint32_t>(fv) & 255);
}

}  // namespace plat::raster
