#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/handles.h"

// 16-bit pixels <-> 0xRRGGBB. Unpacking puts each channel's bits at the top
// of its byte; 5-5-5 packing turns pure magenta into 0 (the colour key).
uint16_t PackPixel565(uint32_t rgb);
uint16_t PackPixel555(uint32_t rgb);
uint32_t UnpackPixel565(uint16_t pixel);
uint32_t UnpackPixel555(uint16_t pixel);
uint32_t CombineChannels(int red, int green, int blue);
// Red and blue exchanged, for displays that store blue in the high bits.
uint32_t CombineChannelsSwapped(int red, int green, int blue);

// The pixel routines of one display format (pixel format codes 3 and 4 are
// 5-5-5, the rest 5-6-5; codes 2 and 4 exchange red and blue).
struct SpritePixelFormat {
  static SpritePixelFormat FromCode(int code);
  uint16_t Pack(int red, int green, int blue) const;
  void Unpack(uint16_t pixel, int* red, int* green, int* blue) const;

  bool fiveFiveFive = false;
  bool swapped = false;
};

// The first frame's pixels row after row, sized from the sprite (empty when
// it has no 16-bit picture or cannot be locked).
std::vector<uint16_t> CopySpritePixels(HOBJECT sprite);
// Writes as many rows and pixels as both the buffer and the sprite hold.
void WriteSpritePixels(HOBJECT sprite, const std::vector<uint16_t>& pixels);
// Each channel of the sprite becomes from + (to - from) x step / 30, clamped
// to 0..255, over the pixels all three hold.
void BlendSpritePixels(HOBJECT sprite, const std::vector<uint16_t>& from, const std::vector<uint16_t>& to, int step,
                       const SpritePixelFormat& format);
// Every channel of the sprite less 14, not below 0.
void DarkenSpritePixels(HOBJECT sprite, const SpritePixelFormat& format);
