// Pixel access to sprite frames: fills, text, locks and pixel tests.
#include <algorithm>
#include <cstring>
#include <string_view>

#include "engine/core/surface_retry.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"
#include "platform/fonts.h"

int g_spriteLockPitch = 0;

namespace {

struct LockedFrame {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  int bytes = 0;
  int width = 0;
  int height = 0;
};

LockedFrame LockFrame(SPRITEFRAMEDESC& frame) {
  LockedFrame locked;
  if (!frame.surface) return locked;
  plat::SurfaceResult result =
      RetryWhileStillDrawing([&] { return frame.surface->Lock(&locked.pixels, &locked.pitch); });
  if (result != plat::SurfaceResult::Ok) locked.pixels = nullptr;
  plat::SurfaceDesc desc = frame.surface->Describe();
  locked.bytes = (desc.format.bitsPerPixel + 7) / 8;
  locked.width = desc.width;
  locked.height = desc.height;
  return locked;
}

void StorePixel(const LockedFrame& f, int x, int y, uint32_t pixel) {
  uint8_t* at = f.pixels + static_cast<ptrdiff_t>(y) * f.pitch + static_cast<ptrdiff_t>(x) * f.bytes;
  for (int i = 0; i < f.bytes; ++i) at[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

uint32_t LoadPixel(const LockedFrame& f, int x, int y) {
  const uint8_t* at = f.pixels + static_cast<ptrdiff_t>(y) * f.pitch + static_cast<ptrdiff_t>(x) * f.bytes;
  uint32_t value = 0;
  for (int i = 0; i < f.bytes; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return value;
}

// The next character of Big5 text as the glyph calls take it.
uint32_t NextCharacter(std::string_view text, size_t& at) {
  const size_t n = plat::Big5CharLength(text, at);
  uint32_t code = static_cast<uint8_t>(text[at++]);
  if (n == 2) code = code << 8 | static_cast<uint8_t>(text[at++]);
  return code;
}

}  // namespace

void FillSpriteFrame(SPRITEFRAMEDESC& frame, uint32_t pixel) {
  if (!frame.surface) return;
  RetryWhileStillDrawing([&] { return frame.surface->Fill(nullptr, pixel); });
  if (frame.surfaceIndex >= 0 && g_spriteSurfaces[frame.surfaceIndex].copy)
    g_spriteSurfaces[frame.surfaceIndex].copy->Fill(nullptr, pixel);
}

void DrawSpriteFrameText(SPRITEFRAMEDESC& frame, int x, int y, const char* text, uint32_t pixel) {
  if (!g_glyphFont.font || !text || !*text) return;
  LockedFrame f = LockFrame(frame);
  if (!f.pixels) return;
  // The text's y is the top of the glyph cell; the 32-pixel font's ascent,
  // scaled to the cell, puts the baseline.
  int baseline = y + g_glyphFont.font->Ascent() * g_glyphFont.cellHeight / 32;
  std::string_view all(text);
  std::vector<uint8_t> bits;
  int pen = x;
  for (size_t at = 0; at < all.size();) {
    GLYPHMETRICS m;
    if (!GetGlyphBitmap(NextCharacter(all, at), bits, &m)) break;
    int pitch = GlyphRowBytes(m.width);
    int left = pen + m.originX, top = baseline - m.originY;
    for (int row = 0; row < m.height; ++row) {
      int py = top + row;
      if (py < 0 || py >= f.height) continue;
      const uint8_t* line = bits.data() + static_cast<size_t>(row) * pitch;
      for (int col = 0; col < m.width; ++col) {
        int px = left + col;
        if (px >= 0 && px < f.width && (line[col >> 3] & (0x80 >> (col & 7)))) StorePixel(f, px, py, pixel);
      }
    }
    pen += std::min(g_glyphFont.cellWidth, m.advance);
  }
  frame.surface->Unlock();
}

void* LockSpriteFrame(SPRITEFRAMEDESC& frame) {
  LockedFrame f = LockFrame(frame);
  if (!f.pixels) return nullptr;
  g_spriteLockPitch = f.pitch;
  return f.pixels;
}

void UnlockSpriteFrame(SPRITEFRAMEDESC& frame) {
  if (frame.surface) frame.surface->Unlock();
  g_spriteLockPitch = 0;
}

int TestSpriteFramePixel(SPRITEFRAMEDESC& frame, int x, int y) {
  LockedFrame f = LockFrame(frame);
  if (!f.pixels) return -1;
  int answer = -1;
  if (x >= 0 && y >= 0 && x < f.width && y < f.height) answer = LoadPixel(f, x, y) == frame.colorKey ? 1 : 0;
  frame.surface->Unlock();
  return answer;
}
