#include "base/text_convert.h"

#include <cstring>

#include "base/language_converter.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"

size_t Big5PrefixLength(const char* text, size_t maxBytes) {
  size_t length = 0;
  while (text[length]) {
    const size_t step = static_cast<unsigned char>(text[length]) >= 0x80 && text[length + 1] ? 2 : 1;
    if (length + step > maxBytes) break;
    length += step;
  }
  return length;
}

void ConvertText(char* text) {
  if (!text || !*text) return;
  GetLanguageConverter()->Convert(text);
}

plat::Font* SelectFontName(const char* text, int width, int height, char* out) {
  if (!text) return nullptr;
  const bool big5Face = static_cast<unsigned char>(text[0]) >= 0x80;
  const char* face = GetSystemDefaultLanguage() == 0x0804 && big5Face ? "Verdana" : text;
  if (out && out != face) {
    std::strncpy(out, face, 255);
    out[255] = '\0';
  }
  return SetTextFont(face, width, height);
}

void DrawConvertedText(HOBJECT sprite, int frame, int x, int y, const char* text, int red, int green, int blue) {
  if (!text) return;
  char copy[256];
  const size_t length = Big5PrefixLength(text, sizeof copy - 1);
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  ConvertText(copy);
  DrawSpriteText(sprite, frame, x, y, copy, red, green, blue);
}
