#include "world/text_label.h"

#include "database/game_resource.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"

namespace {

constexpr unsigned char kBig5Lead = 160;

// Bytes of the character starting at p (a lead byte before the end reads alone).
size_t CharBytes(const char* p) { return static_cast<unsigned char>(p[0]) > kBig5Lead && p[1] != '\0' ? 2 : 1; }

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
  int count = 0;
  for (const char* p = text; *p; p += CharBytes(p)) ++count;
  return count;
}

int CutTextByChars(char* buffer, size_t size, const char* text, int first, int last) {
  if (!buffer || !text || size == 0) return 0;
  if (last == -1) last = first;
  if (first < 1 || CountTextChars(text) < first) return -1;
  size_t out = 0;
  int index = 1;
  for (const char* p = text; *p && index <= last; ++index) {
    const size_t bytes = CharBytes(p);
    if (index >= first) {
      if (out + bytes + 1 > size) break;
      for (size_t i = 0; i < bytes; ++i) buffer[out++] = p[i];
    }
    p += bytes;
  }
  buffer[out] = '\0';
  return static_cast<int>(out + 1);
}
