#include "engine/media/glyph_font.h"

#include <algorithm>
#include <cstring>

#include "engine/core/engine_state.h"
#include "platform/fonts.h"

GLYPHFONTSTATE g_glyphFont;

plat::Font* SetTextFont(const char* faceName, int width, int height) {
  if (!g_engineOpen) return nullptr;
  if (g_glyphFont.font) ReleaseGlyphFont();
  g_glyphFont.cellWidth = std::min(width, 32);
  g_glyphFont.cellHeight = std::min(height, 32);
  g_glyphFont.lineStep = static_cast<int>(g_glyphFont.cellHeight * 0.9);
  CreateGlyphFont(faceName);
  return g_glyphFont.font.get();
}

int CreateGlyphFont(const char* faceName) {
  const char* face = faceName ? faceName : "";
  // fontconfig resolves Big5 and Latin face names alike, so the face's
  // character set needs no choosing here.
  std::unique_ptr<plat::Font> font = plat::Font::Create(face, 32);
  if (!font) return 0;
  g_glyphFont.font = std::move(font);
  std::memset(g_glyphFont.faceName, 0, sizeof g_glyphFont.faceName);
  std::strncpy(g_glyphFont.faceName, face, sizeof g_glyphFont.faceName - 1);
  return 1;
}

void ReleaseGlyphFont() {
  if (!g_glyphFont.font) return;
  g_glyphFont.font.reset();
  std::memset(g_glyphFont.faceName, 0, sizeof g_glyphFont.faceName);
}

const uint8_t* GetGlyphBitmap(uint32_t charCode, std::vector<uint8_t>& buffer, GLYPHMETRICS* metrics) {
  if (!g_glyphFont.font) return nullptr;
  // The 32-pixel font scaled to the cell by the glyph transform (16.16).
  plat::GlyphScale scale{g_glyphFont.cellWidth * 65536 / 32, g_glyphFont.cellHeight * 65536 / 32};
  plat::GlyphBits glyph;
  if (!g_glyphFont.font->RenderGlyph(charCode, scale, &glyph)) return nullptr;
  // The platform pads rows to 4 bytes as the glyph-outline call does.
  buffer = std::move(glyph.bits);
  if (metrics) *metrics = {glyph.originX, glyph.originY, glyph.blackBoxWidth, glyph.blackBoxHeight, glyph.advanceX};
  return buffer.data();
}
