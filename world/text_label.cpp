#include "world/text_label.h"

#include <string_view>

#include "database/game_resource.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"

namespace {

// Counted by the standard Big5 rows, unlike the game's drawing walk: a byte
// from 0x80 to 0xA0 counts as a character of its own here.
size_t CharBytes(std::string_view text, size_t at) { return plat::Big5CharLength(text, at, plat::kBig5StandardLead); }

}  // namespace

CTextLabel::CTextLabel() {
  const char* face = GetMessageString(kFontMessage);
  fontName = face ? face : "";
}

void CTextLabel::SetRect(int newLeft, int newTop, int newRight, int newBottom) {
  left = newLeft;
  top = newTop;
  right = newRight;
  bottom = newBottom;
}

void CTextLabel::DrawText(const char* newText, int newRed, int newGreen, int newBlue, const char* font, int width,
                          int height) {
  if (!sprite) return;
  text = newText ? newText : "";
  red = newRed;
  green = newGreen;
  blue = newBlue;
  fontName = font ? font : "";
  fontWidth = width;
  fontHeight = height;
  SetTextFont(font, width, height);
  if (!text.empty()) DrawSpriteText(sprite, 0, left, bottom, text.c_str(), red, green, blue);
}

void CTextLabel::SetColor(int newRed, int newGreen, int newBlue, const char* font, int width, int height) {
  const std::string kept = text;
  DrawText(kept.c_str(), newRed, newGreen, newBlue, font, width, height);
}

bool CTextLabel::Inside(int x, int y) const {
  int sx = 0;
  int sy = 0;
  GetSpritePosition(sprite, &sx, &sy);
  const int px = x - sx;
  const int py = y - sy;
  return left < px && px < right && top < py && py < bottom;
}

int CTextLabel::HoverTest(int x, int y) {
  hitState = Inside(x, y) ? 1 : 0;
  return hitState;
}

int CTextLabel::PressTest(int x, int y) {
  hitState = Inside(x, y) ? 2 : 0;
  return hitState;
}

int CountTextChars(const char* text) {
  if (!text) return 0;
  const std::string_view s(text);
  int count = 0;
  for (size_t at = 0; at < s.size(); at += CharBytes(s, at)) ++count;
  return count;
}

int CutTextByChars(char* buffer, size_t size, const char* text, int first, int last) {
  if (!buffer || !text || size == 0) return 0;
  if (last == -1) last = first;
  if (first < 1 || CountTextChars(text) < first) return -1;
  const std::string_view s(text);
  size_t out = 0;
  int index = 1;
  for (size_t at = 0; at < s.size() && index <= last; ++index) {
    const size_t bytes = CharBytes(s, at);
    if (index >= first) {
      if (out + bytes + 1 > size) break;
      for (size_t i = 0; i < bytes; ++i) buffer[out++] = s[at + i];
    }
    at += bytes;
  }
  buffer[out] = '\0';
  return static_cast<int>(out + 1);
}
