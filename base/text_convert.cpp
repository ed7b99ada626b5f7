#include "base/text_convert.h"

#include <cstring>
#include <string_view>

#include "base/language_converter.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"

size_t Big5PrefixLength(const char* text, size_t maxBytes) {
  const std::string_view s(text, strnlen(text, maxBytes + 1));
  size_t length = 0;
  for (size_t step = 0; length < s.size(); length += step) {
    step = plat::Big5CharLength(s, length);
    if (length + step > maxBytes) break;
  }
  return length;
}

void ConvertText(char* text) {
  if (!text || !*text) return;
  GetLanguageConverter()->Convert(text);
}

plat::Font* SelectFontName(const char* text, int width, int height, char* out) {
  if (!text) return nullptr;
  const bool big5Face = plat::IsBig5Lead(text[0]);
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
