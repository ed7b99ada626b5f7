#include "tools/datagen/label_ink.h"

#include <map>
#include <memory>

#include "platform/fonts.h"
#include "platform/gdi2d.h"
#include "tools/datagen/sample_world_maps.h"

namespace datagen {
namespace {

constexpr int kMinSize = 8;
constexpr int kMaxSize = 128;

// Opening a face reads the whole font file: one per size is kept for the run.
plat::Font* FontOfSize(int size) {
  static std::map<int, std::unique_ptr<plat::Font>> fonts;
  std::unique_ptr<plat::Font>& font = fonts[size];
  if (!font) font = plat::Font::Create(sample::kFontFace, -size);
  return font.get();
}

}  // namespace

bool InkLine::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return false;
  return ink[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] != 0;
}

bool RenderInkLine(std::string_view text, int size, InkLine* out, std::string& error) {
  if (size < kMinSize || size > kMaxSize) {
    error = "a label's size must be " + std::to_string(kMinSize) + " to " + std::to_string(kMaxSize) + " pixels";
    return false;
  }
  plat::Font* font = FontOfSize(size);
  if (!font) {
    error = std::string("no font is installed for the pictures' words (the game reads \"") + sample::kFontFace +
            "\": install fonts-arphic-uming)";
    return false;
  }
  const plat::TextExtent extent = font->MeasureText(text);
  out->width = std::max(extent.width, 1);
  out->height = std::max(extent.height, 1);
  // White on black in 32 bits: any lit pixel is ink.
  std::vector<uint8_t> pixels(static_cast<size_t>(out->width) * static_cast<size_t>(out->height) * 4, 0);
  plat::PixelTarget target;
  target.pixels = pixels.data();
  target.width = out->width;
  target.height = out->height;
  target.pitch = out->width * 4;
  target.layout = plat::PixelLayout::Xrgb8888;
  font->DrawText(target, 0, 0, text, 0xFFFFFF);
  out->ink.assign(static_cast<size_t>(out->width) * static_cast<size_t>(out->height), 0);
  for (size_t i = 0; i < out->ink.size(); ++i) out->ink[i] = pixels[i * 4] != 0 ? 1 : 0;
  return true;
}

}  // namespace datagen
