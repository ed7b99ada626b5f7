#include "platform/raster/decoded_texels.h"

#include <algorithm>
#include <cstring>

#include "platform/raster/pixel_formats.h"

namespace plat::raster {

void DecodedTexels::DecodeRow(const Texture& t, int y) {
  const size_t pitch = static_cast<size_t>(ExpandedPitch(t)), width = static_cast<size_t>(t.width);
  uint32_t* out = expanded_.data() + static_cast<size_t>(y) * pitch;
  ExpandRow(t, y, out);
  // The row after the last repeats the first.
  if (y == 0) std::memcpy(expanded_.data() + static_cast<size_t>(t.height) * pitch, out, pitch * sizeof *out);
  std::memcpy(source_.data() + static_cast<size_t>(y) * width, t.pixels + static_cast<size_t>(y) * (t.pitchBytes / 2),
              width * sizeof(uint16_t));
  int left = t.width, right = 0;
  for (int x = 0; x < t.width; ++x)
    if (out[x] & 0xFFFFFF) {
      left = std::min(left, x);
      right = x + 1;
    }
  rowLeft_[static_cast<size_t>(y)] = left;
  rowRight_[static_cast<size_t>(y)] = right;
}

void DecodedTexels::Update(const Texture& t, bool mayHaveChanged) {
  const bool reshaped = t.width != width_ || t.height != height_ || t.layout != layout_;
  if (!reshaped && !mayHaveChanged) return;
  const size_t width = static_cast<size_t>(t.width);
  if (reshaped) {
    width_ = t.width;
    height_ = t.height;
    layout_ = t.layout;
    expanded_.assign(ExpandedSize(t), 0);
    source_.assign(width * static_cast<size_t>(t.height), 0);
    rowLeft_.assign(static_cast<size_t>(t.height), 0);
    rowRight_.assign(static_cast<size_t>(t.height), 0);
  }
  for (int y = 0; y < t.height; ++y) {
    const uint16_t* row = t.pixels + static_cast<size_t>(y) * static_cast<size_t>(t.pitchBytes / 2);
    if (reshaped || std::memcmp(row, source_.data() + static_cast<size_t>(y) * width, width * sizeof *row) != 0)
      DecodeRow(t, y);
  }
  ink_ = {t.width, t.height, 0, 0};
  for (int y = 0; y < t.height; ++y) {
    const int left = rowLeft_[static_cast<size_t>(y)], right = rowRight_[static_cast<size_t>(y)];
    if (left >= right) continue;
    ink_.left = std::min(ink_.left, left);
    ink_.right = std::max(ink_.right, right);
    ink_.top = std::min(ink_.top, y);
    ink_.bottom = y + 1;
  }
}

}  // namespace plat::raster
