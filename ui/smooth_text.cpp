#include "ui/smooth_text.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/back_buffer.h"
#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/media/glyph_font.h"
#include "engine/media/screen.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "platform/fonts.h"
#include "ui/smooth_filter.h"

namespace {

// What the text is mixed with where it leaves the pixels empty.
struct Underlay {
  bool picture = false;  // a background picture: the sprite's, or the back buffer's without one
  HOBJECT sprite = 0;
  uint16_t colour = 0;  // without a picture
};

// Rounds like the system's multiply-divide.
int MulDiv(int value, int multiplier, int divisor) {
  long long product = static_cast<long long>(value) * multiplier;
  long long half = divisor / 2;
  return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

// The system's font of a face at an em height. Opening a face costs more
// than drawing a line, and lines come in runs of one face and size, so the
// last one is kept.
plat::Font* MeasuringFont(const char* face, int emHeight) {
  static std::unique_ptr<plat::Font> font;
  static std::string fontFace;
  static int fontHeight = 0;
  if (!font || fontFace != face || fontHeight != emHeight) {
    font = plat::Font::Create(face, -emHeight);
    fontFace = face;
    fontHeight = emHeight;
  }
  return font.get();
}

// The text's size as the system's font of that point size measures it,
// widened a little for the glyph font's overhang; false without a font.
bool MeasureText(const char* text, const char* face, int pointHeight, int* width, int* height) {
  plat::Font* font = MeasuringFont(face, MulDiv(pointHeight, plat::kScreenPixelsPerInch, 72));
  if (!font) return false;
  plat::TextExtent extent = font->MeasureText(text);
  *width = extent.width + 5;
  *height = extent.height;
  return *height > 0;
}

// Every lock taken for one drawing, released (and the scratch sprite
// deleted) when it ends.
class Locks {
 public:
  Locks() = default;
  Locks(const Locks&) = delete;
  Locks& operator=(const Locks&) = delete;
  ~Locks() {
    if (destination_) UnlockSprite(destination_, 0);
    if (backgroundSprite_) UnlockSprite(backgroundSprite_, backgroundFrame_);
    if (backBuffer_) UnlockBackBuffer();
    if (scratch_) {
      if (scratchLocked_) UnlockSprite(scratch_, 0);
      DeleteSprite(scratch_);
    }
  }

  // A hidden one-frame picture with the string drawn on the key colour.
  bool MakeScratch(const char* text, const char* face, const SMOOTHTEXTDESC& desc, int width, int height) {
    BeginSprite(1);
    SetSpriteBlankImage(1, 1, 1, width, height);
    scratch_ = EndSprite(0);
    if (!scratch_) return false;
    ShowSprite(scratch_, 0);
    FillSprite(scratch_, 0, 0, 0, 255);
    SetTextFont(face, desc.width, desc.height);
    DrawSpriteText(scratch_, 0, 0, 0, text, desc.red & 0xFF, desc.green & 0xFF, desc.blue & 0xFF);
    scratchLocked_ = Lock(scratch_, 0, &scratchBlock);
    return scratchLocked_;
  }

  // The shown cell of the sprite's picture, or the back buffer, with its screen place.
  bool LockBackground(HOBJECT sprite, int* screenX, int* screenY) {
    if (!sprite) {
      int bits = 0, pitch = 0;
      auto* pixels = static_cast<uint8_t*>(LockBackBuffer(&bits, &pitch));
      if (!pixels) return false;
      backBuffer_ = true;
      if (bits != 16) return false;
      backgroundBlock = {pixels, pitch, g_screenWidth, g_screenHeight};
      *screenX = *screenY = 0;
      return true;
    }
    SPRITEDESC* record = LookupSprite(sprite);
    if (!record || !record->image || record->image->frames.empty()) return false;
    const SPRITEIMAGEDESC& image = *record->image;
    int frame = image.currentFrame;
    PIXELBLOCK whole;
    if (!Lock(sprite, frame, &whole)) return false;
    backgroundSprite_ = sprite;
    backgroundFrame_ = frame;
    int left = image.currentColumn * image.cellWidth, top = image.currentRow * image.cellHeight;
    int width = std::min(image.cellWidth, whole.width - left), height = std::min(image.cellHeight, whole.height - top);
    if (width > 0 && height > 0)
      backgroundBlock = {whole.pixels + static_cast<size_t>(top) * whole.pitch + static_cast<size_t>(left) * 2,
                         whole.pitch, width, height};
    GetSpritePosition(sprite, screenX, screenY);
    return true;
  }

  bool LockDestination(HOBJECT sprite) {
    if (!Lock(sprite, 0, &destinationBlock)) return false;
    destination_ = sprite;
    return true;
  }

  PIXELBLOCK scratchBlock;
  PIXELBLOCK backgroundBlock;
  PIXELBLOCK destinationBlock;

 private:
  static bool Lock(HOBJECT sprite, int frame, PIXELBLOCK* out) {
    SPRITEDESC* record = LookupSprite(sprite);
    if (!sprite || !record || !record->image || frame >= static_cast<int>(record->image->frames.size())) return false;
    auto* pixels = static_cast<uint8_t*>(LockSprite(sprite, frame));
    if (!pixels) return false;
    const SPRITEFRAMEDESC& f = *record->image->frames[frame];
    *out = {pixels, g_spriteLockPitch, f.width, f.height};
    return true;
  }

  HOBJECT scratch_ = 0;
  bool scratchLocked_ = false;
  HOBJECT backgroundSprite_ = 0;
  int backgroundFrame_ = 0;
  bool backBuffer_ = false;
  HOBJECT destination_ = 0;
};

int Draw(HOBJECT destination, int x, int y, const char* text, const SMOOTHTEXTDESC* desc, const Underlay& under) {
  if (!desc) return kSmoothNoScratch;
  if (!text) text = "";
  int top = y - desc->height;
  if (top < 0) return kSmoothAboveTop;
  // The caller's face field need not end in a terminator.
  char face[sizeof(desc->face) + 1] = {};
  std::memcpy(face, desc->face, sizeof(desc->face));
  int width = 0, height = 0;
  if (!MeasureText(text, face, desc->height, &width, &height)) return kSmoothNoScratch;

  Locks locks;
  if (!locks.MakeScratch(text, face, *desc, width, height)) return kSmoothNoScratch;
  SMOOTHFILTERDESC filter;
  int backgroundScreenX = 0, backgroundScreenY = 0;
  if (under.picture) {
    if (!locks.LockBackground(under.sprite, &backgroundScreenX, &backgroundScreenY)) return kSmoothNoBackground;
    filter.background = &locks.backgroundBlock;
  }
  if (!locks.LockDestination(destination)) return kSmoothNoDestination;

  int destinationScreenX = 0, destinationScreenY = 0;
  GetSpritePosition(destination, &destinationScreenX, &destinationScreenY);
  filter.formatCode = GetPixelFormatCode();
  filter.source = locks.scratchBlock;
  filter.destination = locks.destinationBlock;
  filter.x = x;
  filter.y = top;
  filter.backgroundX = backgroundScreenX - destinationScreenX;
  filter.backgroundY = backgroundScreenY - destinationScreenY;
  filter.solidColour = under.colour;
  filter.key = static_cast<uint16_t>(MapRGB(0, 0, 255));
  filter.threshold = desc->threshold;
  filter.kernel = desc->kernel;

  const PIXELBLOCK& dest = locks.destinationBlock;
  if (x + width <= dest.width && top + height <= dest.height) return FilterSmoothText(filter);
  // Past the destination's edge the string is cut, never wrapped.
  int visibleWidth = std::min(width, dest.width - x), visibleHeight = std::min(height, dest.height - top);
  if (visibleWidth <= 0 || visibleHeight <= 0) return 1;
  std::vector<uint8_t> visible(static_cast<size_t>(visibleWidth) * visibleHeight * 2);
  for (int row = 0; row < visibleHeight; ++row)
    std::memcpy(&visible[static_cast<size_t>(row) * visibleWidth * 2],
                locks.scratchBlock.pixels + static_cast<size_t>(row) * locks.scratchBlock.pitch,
                static_cast<size_t>(visibleWidth) * 2);
  filter.source = {visible.data(), visibleWidth * 2, visibleWidth, visibleHeight};
  return FilterSmoothText(filter);
}

}  // namespace

int DrawSmoothTextOver(HOBJECT destination, int x, int y, const char* text, const SMOOTHTEXTDESC* desc,
                       HOBJECT background) {
  return Draw(destination, x, y, text, desc, Underlay{true, background, 0});
}

int DrawSmoothText(HOBJECT destination, int x, int y, const char* text, const SMOOTHTEXTDESC* desc, int red, int green,
                   int blue) {
  return Draw(destination, x, y, text, desc, Underlay{false, 0, static_cast<uint16_t>(MapRGB(red, green, blue))});
}
