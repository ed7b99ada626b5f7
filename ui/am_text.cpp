#include "ui/am_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"
#include "platform/big5.h"
#include "ui/am_wnd_manager.h"
#include "ui/smooth_text.h"

std::vector<std::string> g_amFontNames;

namespace {

constexpr float kSurfaceWidening = 1.1f;
constexpr int kLeastChannel = 10;

}  // namespace

void SetDefaultFontName(const char* name) {
  std::string face = name ? name : "";
  if (g_amFontNames.empty()) g_amFontNames.push_back(face);
  else g_amFontNames[0] = face;
}

int FindFontName(const char* name) {
  if (!name || !*name) return 0;
  auto it = std::find(g_amFontNames.begin(), g_amFontNames.end(), name);
  if (it != g_amFontNames.end()) return static_cast<int>(it - g_amFontNames.begin());
  g_amFontNames.emplace_back(name);
  return static_cast<int>(g_amFontNames.size()) - 1;
}

CAmText::CAmText(int width, int height, int id, CAmObject* parent, CAmObject* background)
    : CAmObject(static_cast<int>(width * kSurfaceWidening), height, id, parent), background(background) {
  this->width = width;
  if (sprite) SetSpriteColorKey(sprite, 0, 0, 255, 1);
  Clear();
  SetFont(nullptr, 16, 16, 0, 0, 0);
}

const std::string& CAmText::FaceName() const {
  static const std::string kNone;
  return fontIndex >= 0 && fontIndex < static_cast<int>(g_amFontNames.size()) ? g_amFontNames[fontIndex] : kNone;
}

void CAmText::MarkNotDrawn() {
  drawn = 0;
  smoothDrawn = 0;
}

void CAmText::StoreColour(int r, int g, int b) {
  red = std::max(r, kLeastChannel);
  green = std::max(g, kLeastChannel);
  blue = std::max(b, kLeastChannel);
}

void CAmText::Recompute() {
  int step = fontWidth + characterSpacing;
  columns = step > 0 ? width / step : 0;
  int lineStep = fontHeight + lineSpacing;
  lines = lineStep > 0 ? (height - fontHeight) / lineStep + 1 : 0;
}

void CAmText::SetFont(const char* name, int newFontWidth, int newFontHeight, int r, int g, int b) {
  if (name) fontIndex = FindFontName(name);
  fontWidth = newFontWidth;
  fontHeight = newFontHeight;
  StoreColour(r, g, b);
  smooth = 0;
  Recompute();
  MarkNotDrawn();
}

void CAmText::SetColour(int r, int g, int b) {
  StoreColour(r, g, b);
  smooth = 0;
  MarkNotDrawn();
}

void CAmText::SetSpacing(int newCharacterSpacing, int newLineSpacing) {
  characterSpacing = newCharacterSpacing;
  lineSpacing = newLineSpacing;
  Recompute();
}

void CAmText::SetColumns(int n) { columns = n + 1; }

void CAmText::SetText(const char* newText) {
  text = newText ? newText : "";
  MarkNotDrawn();
  Redraw(text);
}

void CAmText::SetNumber(int value, const char* format) {
  char buffer[64] = {};
  if (format) std::snprintf(buffer, sizeof(buffer), format, value);
  SetText(buffer);
}

void CAmText::SetTextRaw(const char* bytes, int length) {
  if (!bytes) text.clear();
  else if (length < 1) text = bytes;
  else text.assign(bytes, static_cast<size_t>(length));
  MarkNotDrawn();
}

void CAmText::Clear() {
  if (sprite) FillSprite(sprite, 0, 0, 0, 255);
}

size_t CAmText::LineLength(const std::string& s, size_t start) const {
  size_t limit = static_cast<size_t>(std::max(columns, 0)) * 2;
  if (s.size() - start <= limit) return s.size() - start;
  size_t walked = 0;
  while (walked < limit) walked += plat::Big5CharLength(s, start + walked);
  // A two-byte character straddling the limit starts the next line.
  return walked == limit ? limit : limit - 1;
}

void CAmText::Redraw(const std::string& s) {
  bool smoothed = false;
  if (smooth && !smoothDrawn && g_amTextBudget >= 1) {
    --g_amTextBudget;
    smoothed = true;
  } else if (drawn) {
    return;
  }
  drawn = 1;
  Clear();
  int y = fontHeight;
  size_t start = 0;
  for (int line = 0; line < lines && start < s.size(); ++line) {
    size_t length = LineLength(s, start);
    if (length == 0) break;  // not even one character fits
    std::string piece = s.substr(start, length);
    if (smoothed) {
      DrawLineSmooth(y, piece);
      smoothDrawn = 1;
    } else {
      DrawLinePlain(y, piece);
    }
    start += length;
    y += fontHeight + lineSpacing;
  }
}

void CAmText::DrawLinePlain(int y, const std::string& line) {
  SetTextFont(FaceName().c_str(), fontWidth, fontHeight);
  if (sprite) DrawSpriteText(sprite, 0, 0, y - fontHeight, line.c_str(), red, green, blue);
}

void CAmText::DrawLineSmooth(int y, const std::string& line) {
  SMOOTHTEXTDESC desc;
  desc.width = fontWidth;
  desc.height = fontHeight;
  std::strncpy(desc.face, FaceName().c_str(), sizeof(desc.face) - 1);
  desc.red = red;
  desc.green = green;
  desc.blue = blue;
  CAmObject* under = BackgroundWidget();
  if (DrawSmoothTextOver(sprite, 0, y, line.c_str(), &desc, under ? under->sprite : 0) < 0) DrawLinePlain(y, line);
}

void CAmText::OnTick(int) {
  if (drawn && smooth) Redraw(text);
}
