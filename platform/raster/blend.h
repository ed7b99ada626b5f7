#pragma once
#include <cstdint>

#include "platform/raster/raster_types.h"
#include "platform/raster/texel_math.h"

// Per-pixel arithmetic on 8-bit channels: comparisons for the depth and
// alpha tests, and the frame-buffer blend. Factors run 0..256 so that a
// product needs only a shift; the target has no alpha, so its alpha is 1.
namespace plat::raster {

// mask: 1 passes when a < b, 2 when equal, 4 when greater.
inline bool Passes(uint8_t mask, uint32_t a, uint32_t b) {
  const uint8_t bit = a < b ? 1 : (a == b ? 2 : 4);
  return (mask & bit) != 0;
}

struct Rgba {
  int r, g, b, a;
};

inline void BlendFactors(BlendFactor f, const Rgba& src, const Rgba& dst, int out[3]) {
  int v;
  switch (f) {
    case BlendFactor::Zero: v = 0; break;
    case BlendFactor::One: v = 256; break;
    case BlendFactor::SrcColor:
      out[0] = Widen(src.r);
      out[1] = Widen(src.g);
      out[2] = Widen(src.b);
      return;
    case BlendFactor::InvSrcColor:
      out[0] = Widen(255 - src.r);
      out[1] = Widen(255 - src.g);
      out[2] = Widen(255 - src.b);
      return;
    case BlendFactor::SrcAlpha: v = Widen(src.a); break;
    case BlendFactor::InvSrcAlpha: v = Widen(255 - src.a); break;
    case BlendFactor::DestAlpha: v = Widen(dst.a); break;
    case BlendFactor::InvDestAlpha: v = Widen(255 - dst.a); break;
    case BlendFactor::DestColor:
      out[0] = Widen(dst.r);
      out[1] = Widen(dst.g);
      out[2] = Widen(dst.b);
      return;
    case BlendFactor::InvDestColor:
      out[0] = Widen(255 - dst.r);
      out[1] = Widen(255 - dst.g);
      out[2] = Widen(255 - dst.b);
      return;
    case BlendFactor::SrcAlphaSat: v = Widen(src.a < 255 - dst.a ? src.a : 255 - dst.a); break;
    default: v = 0; break;
  }
  out[0] = out[1] = out[2] = v;
}

inline int Saturate(int c) { return c < 255 ? c : 255; }

// src * srcFactor + dst * destFactor, each channel limited to 255.
inline Rgba Blend(BlendFactor srcFactor, BlendFactor destFactor, const Rgba& src, const Rgba& dst) {
  int fs[3], fd[3];
  BlendFactors(srcFactor, src, dst, fs);
  BlendFactors(destFactor, src, dst, fd);
  return {Saturate((src.r * fs[0] + dst.r * fd[0]) >> 8), Saturate((src.g * fs[1] + dst.g * fd[1]) >> 8),
          Saturate((src.b * fs[2] + dst.b * fd[2]) >> 8), src.a};
}

// factor 0..256 of the pixel's own colour, the rest fog.
inline int FogMix(int c, int fog, int factor) { return (c * factor + fog * (256 - factor)) >> 8; }

}  // namespace plat::raster
