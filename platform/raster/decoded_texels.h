#pragma once
#include <cstdint>
#include <vector>

#include "platform/raster/raster_types.h"

// A texture's texels decoded for the span routines (ExpandTexels), kept from
// draw to draw. When the 16-bit texels may have changed (a render target is
// drawn into every frame) only the rows that differ from the last decoding
// are decoded again, and the bounds of the texels that are not black follow
// them.
namespace plat::raster {

class DecodedTexels {
 public:
  // Decodes t's texels where they differ from the last call's; with
  // `mayHaveChanged` false and the same shape nothing is read.
  void Update(const Texture& t, bool mayHaveChanged);
  // ExpandedSize(t) values, in the layout of ExpandTexels.
  const uint32_t* Texels() const { return expanded_.data(); }
  // Where the texels whose colour is not black lie.
  const TexelBounds& Ink() const { return ink_; }

 private:
  void DecodeRow(const Texture& t, int y);

  int width_ = 0;
  int height_ = 0;
  PixelLayout layout_ = PixelLayout::Rgb565;
  std::vector<uint32_t> expanded_;
  std::vector<uint16_t> source_;  // the 16-bit texels last decoded, row after row
  // Per row, the first and one past the last texel that is not black.
  std::vector<int> rowLeft_;
  std::vector<int> rowRight_;
  TexelBounds ink_;
};

}  // namespace plat::raster
