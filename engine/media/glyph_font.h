#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace plat {
class Font;
}

// The engine's one glyph font: a 32-pixel font from which single glyphs are
// rendered as 1-bit bitmaps at the glyph cell size chosen by SetTextFont.

struct GLYPHFONTSTATE {
  std::unique_ptr<plat::Font> font;  // null when none is selected
  char faceName[128] = {};
  int cellWidth = 0;   // at most 32
  int cellHeight = 0;  // at most 32
  int lineStep = 0;    // cell height x 0.9
};

extern GLYPHFONTSTATE g_glyphFont;

// Only while the engine is open: releases the previous font, keeps the cell
// size (each side limited to 32) and the line step, and creates the font.
// Answers the new font, null when none could be made.
plat::Font* SetTextFont(const char* faceName, int width, int height);

// A Big5 face name (first byte with the high bit set) or a Latin one. 1, or
// 0 when no font can be made.
int CreateGlyphFont(const char* faceName);
// Releases the selected glyph font, when there is one.
void ReleaseGlyphFont();

struct GLYPHMETRICS {
  int originX = 0;  // black box's left, right of the pen
  int originY = 0;  // black box's top, above the baseline
  int width = 0;    // black box
  int height = 0;
  int advance = 0;
};

// The glyph of a character code (a Big5 code with the lead byte high, or a
// single byte) at the cell size: 1 bit per pixel, leftmost pixel in the high
// bit, rows top first and padded to 4 bytes. The buffer grows to what the
// glyph needs. Answers the bits, or null without a font (or for a cell
// size the font cannot render).
const uint8_t* GetGlyphBitmap(uint32_t charCode, std::vector<uint8_t>& buffer, GLYPHMETRICS* metrics);
// Bytes from one glyph row to the next for a black box width.
inline int GlyphRowBytes(int width) { return ((width + 31) / 32) * 4; }
