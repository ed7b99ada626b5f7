#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi2d.h"

// Fonts as the game asks GDI for them: a face name (Big5 or Latin) picks an
// installed font, glyphs come out as 1-bit bitmaps with the metrics of a
// glyph-outline call, and Big5 strings are measured and drawn. Faces that are
// not installed fall back to the Traditional Chinese font, then to any font;
// characters the chosen face lacks are taken from the Chinese font.
namespace plat {

// The screen's vertical resolution, for turning point sizes into pixels.
constexpr int kScreenPixelsPerInch = 96;

struct FontFile {
  std::string path;
  int index = 0;       // face inside a collection
  std::string family;  // UTF-8
};

// The installed font for a face name: the face itself, else the Traditional
// Chinese font, else any. False only when no font is installed at all.
bool FindFontFile(std::string_view faceName, FontFile* out);
// The Traditional Chinese font alone.
bool FindChineseFontFile(FontFile* out);

// Horizontal and vertical scale of a glyph in 16.16 fixed point (65536 = 1),
// the diagonal of a glyph-outline transform.
struct GlyphScale {
  int32_t x = 65536;
  int32_t y = 65536;
};

// One glyph as a glyph-outline call returns it: a black box of set pixels
// (width, height), its top-left corner at originX right of the pen and
// originY above the baseline, and the pen's advance. Rows are top row first,
// `pitch` bytes apart (a multiple of 4), leftmost pixel in the high bit. A
// glyph without ink (a blank) reports a 1 x 1 box whose one row is clear.
struct GlyphBits {
  int blackBoxWidth = 0;
  int blackBoxHeight = 0;
  int originX = 0;
  int originY = 0;
  int advanceX = 0;
  int pitch = 0;
  std::vector<uint8_t> bits;

  bool PixelSet(int x, int y) const;
};

struct TextExtent {
  int width = 0;
  int height = 0;
};

// One face at one height. A font is used by one thread at a time.
class Font {
 public:
  // A positive height is the cell height (ascent plus descent) in pixels, a
  // negative one the em height. Null for a height of 0 or beyond
  // kMaxFontHeight, or when no font is installed.
  static std::unique_ptr<Font> Create(std::string_view faceName, int height);
  static constexpr int kMaxFontHeight = 512;
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  const FontFile& File() const;
  int Ascent() const;
  int Descent() const;
  int CellHeight() const { return Ascent() + Descent(); }

  // The glyph of a character code (a 16-bit Big5 code with the lead byte
  // high, or a single byte) drawn at the given scale; a code that maps to
  // nothing gives the font's default glyph. False for a scale of 0 or below
  // or beyond kMaxGlyphScale.
  bool RenderGlyph(uint32_t charCode, GlyphScale scale, GlyphBits* out);
  static constexpr int32_t kMaxGlyphScale = 4 * 65536;

  // A Big5 string's extent: the sum of the advances, and the cell height.
  TextExtent MeasureText(std::string_view text);
  // Draws a Big5 string with the top of its cell at y and the pen starting
  // at x, set pixels only (the background shows through), clipped.
  void DrawText(const PixelTarget& target, int x, int y, std::string_view text, uint32_t colorRef);

 private:
  struct Impl;
  explicit Font(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace plat
