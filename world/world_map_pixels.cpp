#include "world/world_map_pixels.h"

#include <algorithm>
#include <cstring>

#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"

namespace {

constexpr uint32_t kMagenta = 0xFF00FF;
constexpr int kDarkenStep = 14;
constexpr int kBlendFrames = 30;

int Red(uint32_t rgb) { return static_cast<int>((rgb >> 16) & 0xFF); }
int Green(uint32_t rgb) { return static_cast<int>((rgb >> 8) & 0xFF); }
int Blue(uint32_t rgb) { return static_cast<int>(rgb & 0xFF); }

// A locked 16-bit first frame; unlocks when it goes.
class LockedFrame {
 public:
  explicit LockedFrame(HOBJECT sprite) : sprite_(sprite) {
    SPRITEDESC* record = LookupSprite(sprite);
    if (!record || !record->image || record->image->frames.empty()) return;
    const SPRITEFRAMEDESC& frame = *record->image->frames[0];
    if (!frame.surface || frame.surface->Describe().format.bitsPerPixel != 16) return;
    auto* first = static_cast<uint8_t*>(LockSprite(sprite, 0));
    if (!first) return;
    pixels_ = first;
    width_ = frame.width;
    height_ = frame.height;
    pitch_ = g_spriteLockPitch;
    if (pitch_ < width_ * 2) width_ = pitch_ / 2;
  }
  ~LockedFrame() {
    if (pixels_) UnlockSprite(sprite_, 0);
  }
  LockedFrame(const LockedFrame&) = delete;
  LockedFrame& operator=(const LockedFrame&) = delete;

  bool Ok() const { return pixels_ != nullptr && width_ > 0 && height_ > 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  uint16_t* Row(int y) { return reinterpret_cast<uint16_t*>(pixels_ + static_cast<size_t>(y) * pitch_); }

 private:
  HOBJECT sprite_;
  uint8_t* pixels_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int pitch_ = 0;
};

// Calls visit(pixel, index) for the first count pixels of the frame.
template <typename Visit>
void ForEachPixel(LockedFrame& frame, size_t count, Visit visit) {
  size_t index = 0;
  for (int y = 0; y < frame.Height() && index < count; ++y) {
    uint16_t* row = frame.Row(y);
    for (int x = 0; x < frame.Width() && index < count; ++x, ++index) visit(row[x], index);
  }
}

}  // namespace

uint16_t PackPixel565(uint32_t rgb) {
  return static_cast<uint16_t>(((Red(rgb) >> 3) << 11) | ((Green(rgb) >> 2) << 5) | (Blue(rgb) >> 3));
}

uint16_t PackPixel555(uint32_t rgb) {
  if (rgb == kMagenta) return 0;
  return static_cast<uint16_t>(((Red(rgb) >> 3) << 10) | ((Green(rgb) >> 3) << 5) | (Blue(rgb) >> 3));
}

uint32_t UnpackPixel565(uint16_t pixel) {
  return CombineChannels(((pixel >> 11) & 0x1F) << 3, ((pixel >> 5) & 0x3F) << 2, (pixel & 0x1F) << 3);
}

uint32_t UnpackPixel555(uint16_t pixel) {
  return CombineChannels(((pixel >> 10) & 0x1F) << 3, ((pixel >> 5) & 0x1F) << 3, (pixel & 0x1F) << 3);
}

uint32_t CombineChannels(int red, int green, int blue) {
  return (static_cast<uint32_t>(red & 0xFF) << 16) | (static_cast<uint32_t>(green & 0xFF) << 8) |
         static_cast<uint32_t>(blue & 0xFF);
}

uint32_t CombineChannelsSwapped(int red, int green, int blue) { return CombineChannels(blue, green, red); }

SpritePixelFormat SpritePixelFormat::FromCode(int code) {
  SpritePixelFormat format;
  format.fiveFiveFive = code == 3 || code == 4;
  format.swapped = code == 2 || code == 4;
  return format;
}

uint16_t SpritePixelFormat::Pack(int red, int green, int blue) const {
  const uint32_t rgb = swapped ? CombineChannelsSwapped(red, green, blue) : CombineChannels(red, green, blue);
  return fiveFiveFive ? PackPixel555(rgb) : PackPixel565(rgb);
}

void SpritePixelFormat::Unpack(uint16_t pixel, int* red, int* green, int* blue) const {
  const uint32_t rgb = fiveFiveFive ? UnpackPixel555(pixel) : UnpackPixel565(pixel);
  *red = swapped ? Blue(rgb) : Red(rgb);
  *green = Green(rgb);
  *blue = swapped ? Red(rgb) : Blue(rgb);
}

std::vector<uint16_t> CopySpritePixels(HOBJECT sprite) {
  LockedFrame frame(sprite);
  if (!frame.Ok()) return {};
  std::vector<uint16_t> pixels(static_cast<size_t>(frame.Width()) * frame.Height());
  for (int y = 0; y < frame.Height(); ++y) {
    std::memcpy(&pixels[static_cast<size_t>(y) * frame.Width()], frame.Row(y), static_cast<size_t>(frame.Width()) * 2);
  }
  return pixels;
}

void WriteSpritePixels(HOBJECT sprite, const std::vector<uint16_t>& pixels) {
  LockedFrame frame(sprite);
  if (!frame.Ok()) return;
  ForEachPixel(frame, pixels.size(), [&](uint16_t& pixel, size_t i) { pixel = pixels[i]; });
}

void BlendSpritePixels(HOBJECT sprite, const std::vector<uint16_t>& from, const std::vector<uint16_t>& to, int step,
                       const SpritePixelFormat& format) {
  LockedFrame frame(sprite);
  if (!frame.Ok()) return;
  auto blend = [step](int a, int b) { return std::clamp(a + (b - a) * step / kBlendFrames, 0, 255); };
  ForEachPixel(frame, std::min(from.size(), to.size()), [&](uint16_t& pixel, size_t i) {
    int r0, g0, b0, r1, g1, b1;
    format.Unpack(from[i], &r0, &g0, &b0);
    format.Unpack(to[i], &r1, &g1, &b1);
    pixel = format.Pack(blend(r0, r1), blend(g0, g1), blend(b0, b1));
  });
}

void DarkenSpritePixels(HOBJECT sprite, const SpritePixelFormat& format) {
  LockedFrame frame(sprite);
  if (!frame.Ok()) return;
  const size_t all = static_cast<size_t>(frame.Width()) * frame.Height();
  ForEachPixel(frame, all, [&](uint16_t& pixel, size_t) {
    int r, g, b;
    format.Unpack(pixel, &r, &g, &b);
    pixel = format.Pack(std::max(r - kDarkenStep, 0), std::max(g - kDarkenStep, 0), std::max(b - kDarkenStep, 0));
  });
}
