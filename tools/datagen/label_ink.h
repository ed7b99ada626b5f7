#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Words drawn into the sample world's pictures when they are written, in the
// face the game's own texts use. Glyphs are hard-edged, so the same installed
// fonts give the same bytes on every run.
namespace datagen {

// One line of text as ink: the pen's advance wide and the font's cell
// (ascent and descent) high, rows top first.
struct InkLine {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> ink;  // 1 where a glyph sets the pixel

  bool At(int x, int y) const;
};

// The Big5 text with an em of `size` pixels (8 to 128). False with a message
// when no font is installed or the size is out of range.
bool RenderInkLine(std::string_view text, int size, InkLine* out, std::string& error);

}  // namespace datagen
