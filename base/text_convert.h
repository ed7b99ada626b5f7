#pragma once
#include <cstddef>

#include "engine/core/handles.h"

namespace plat {
class Font;
}

// Texts on a Simplified Chinese system: Big5 converted to GB2312 and the
// glyph face swapped.

// The longest start of text within maxBytes that ends on a whole character
// (a byte of 0x80 or more leads a two-byte one).
size_t Big5PrefixLength(const char* text, size_t maxBytes);
// Converts a NUL-terminated text in place.
void ConvertText(char* text);
// Selects the glyph font for a text of the given sizes and copies the face
// used into out (256 bytes) when given; the font, null when none was made.
plat::Font* SelectFontName(const char* text, int width, int height, char* out);
// Draws a converted copy of at most 255 bytes with the glyph font, the top of
// its cell at y.
void DrawConvertedText(HOBJECT sprite, int frame, int x, int y, const char* text, int red, int green, int blue);
