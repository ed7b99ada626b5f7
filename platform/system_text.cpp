#include "platform/system_text.h"

#include <memory>

#include "platform/fonts.h"

namespace plat {
namespace {

// The system font of a window's drawing context: 16 pixels high.
constexpr int kSystemFontHeight = 16;

}  // namespace

void DrawSystemText(Surface& target, int x, int y, const std::string& text, uint32_t colorRef) {
  static std::unique_ptr<Font> font = Font::Create("System", kSystemFontHeight);
  SurfaceDesc desc = target.Describe();
  if (!font || desc.format.bitsPerPixel != 16) return;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (target.Lock(&pixels, &pitch) != SurfaceResult::Ok) return;
  PixelTarget view{pixels, desc.width, desc.height, pitch,
                   desc.format.greenMask == 0x03E0 ? PixelLayout::Rgb555 : PixelLayout::Rgb565};
  font->DrawText(view, x, y, text, colorRef);
  target.Unlock();
}

}  // namespace plat
