#pragma once
#include <cstdint>

// The per-texel arithmetic of the texture path on 8-bit channels held in
// 0xAARRGGBB words. Every product of a channel and a weight stays below
// 65536, so two channels 16 bits apart share one multiply without carrying.
namespace plat::raster {

// 0..255 to 0..256.
inline int Widen(int c) { return c + (c >> 7); }

// Four texels weighted by the position (fx, fy in 1/256) between them;
// weights in 1/256 summing to 256.
inline uint32_t BilinearMix(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx, uint32_t fy) {
  const uint32_t w11 = (fx * fy) >> 8;
  const uint32_t w10 = (fx * (256 - fy)) >> 8;
  const uint32_t w01 = ((256 - fx) * fy) >> 8;
  const uint32_t w00 = 256 - w11 - w10 - w01;
  const uint32_t rb =
      ((p00 & 0xFF00FF) * w00 + (p10 & 0xFF00FF) * w10 + (p01 & 0xFF00FF) * w01 + (p11 & 0xFF00FF) * w11) >> 8;
  const uint32_t ag = ((p00 >> 8) & 0xFF00FF) * w00 + ((p10 >> 8) & 0xFF00FF) * w10 + ((p01 >> 8) & 0xFF00FF) * w01 +
                      ((p11 >> 8) & 0xFF00FF) * w11;
  return (rb & 0xFF00FF) | (ag & 0xFF00FF00);
}

}  // namespace plat::raster
