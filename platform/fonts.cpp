#include "platform/fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/big5.h"

namespace plat {
namespace {

// One opened face, sized so that its cell (or em) has the font's height.
struct SizedFace {
  FT_Face face = nullptr;
  FontFile file;
  int64_t ppem26 = 0;  // em size at scale 1, 26.6 pixels
  int ascent = 0;
  int descent = 0;

  ~SizedFace() {
    if (face) FT_Done_Face(face);
  }
};

bool OpenFace(FT_Library library, const FontFile& file, int height, SizedFace* out) {
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.path.c_str(), file.index, &face) != 0) return false;
  if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
    FT_Done_Face(face);
    return false;
  }
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);
  // The cell is the Windows ascent and descent of the font, as GDI sizes it.
  double above = face->ascender;
  double below = -face->descender;
  if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
      os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    above = os2->usWinAscent;
    below = os2->usWinDescent;
  }
  if (above + below <= 0) {
    above = face->units_per_EM * 0.8;
    below = face->units_per_EM * 0.2;
  }
  double em = face->units_per_EM;
  double ppem = height > 0 ? height * em / (above + below) : -height;
  out->face = face;
  out->file = file;
  out->ppem26 = std::llround(ppem * 64);
  out->ascent = static_cast<int>(std::lround(above * ppem / em));
  out->descent = height > 0 ? height - out->ascent : static_cast<int>(std::lround(below * ppem / em));
  return true;
}

bool ScaleAllowed(int32_t value) { return value > 0 && value <= Font::kMaxGlyphScale; }

// Loads a glyph into the face's slot at the scaled size, hinted for 1-bit
// output.
bool LoadGlyph(const SizedFace& sized, FT_UInt index, GlyphScale scale) {
  FT_F26Dot6 width = std::max<int64_t>(1, sized.ppem26 * scale.x >> 16);
  FT_F26Dot6 height = std::max<int64_t>(1, sized.ppem26 * scale.y >> 16);
  if (FT_Set_Char_Size(sized.face, width, height, 72, 72) != 0) return false;
  return FT_Load_Glyph(sized.face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) == 0;
}

void SetBlank(GlyphBits* out, int advance) {
  out->blackBoxWidth = 1;
  out->blackBoxHeight = 1;
  out->originX = 0;
  out->originY = 0;
  out->advanceX = advance;
  out->pitch = 4;
  out->bits.assign(4, 0);
}

bool BitSet(const FT_Bitmap& bitmap, const unsigned char* row, unsigned x) {
  if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[x >> 3] & (0x80 >> (x & 7))) != 0;
  if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[x] >= 128;
  return false;
}

}  // namespace

bool GlyphBits::PixelSet(int x, int y) const {
  if (x < 0 || y < 0 || x >= blackBoxWidth || y >= blackBoxHeight) return false;
  size_t at = static_cast<size_t>(y) * pitch + static_cast<size_t>(x >> 3);
  return at < bits.size() && (bits[at] & (0x80 >> (x & 7))) != 0;
}

struct Font::Impl {
  FT_Library library = nullptr;
  int height = 0;
  std::unique_ptr<SizedFace> primary;
  // The Chinese font for characters the primary face lacks, opened on need.
  std::unique_ptr<SizedFace> fallback;
  bool fallbackTried = false;

  ~Impl() {
    primary.reset();
    fallback.reset();
    if (library) FT_Done_FreeType(library);
  }

  // The face and glyph index that draw a character.
  const SizedFace& Locate(char32_t c, FT_UInt* index) {
    *index = FT_Get_Char_Index(primary->face, c);
    if (*index != 0 || c == 0) return *primary;
    if (!fallbackTried) {
      fallbackTried = true;
      FontFile file;
      auto sized = std::make_unique<SizedFace>();
      if (FindChineseFontFile(&file) && file.path != primary->file.path && OpenFace(library, file, height, sized.get()))
        fallback = std::move(sized);
    }
    if (fallback) {
      FT_UInt other = FT_Get_Char_Index(fallback->face, c);
      if (other != 0) {
        *index = other;
        return *fallback;
      }
    }
    return *primary;
  }

  bool Render(char32_t c, GlyphScale scale, GlyphBits* out) {
    if (!ScaleAllowed(scale.x) || !ScaleAllowed(scale.y)) return false;
    FT_UInt index = 0;
    const SizedFace& sized = Locate(c, &index);
    if (!LoadGlyph(sized, index, scale)) return false;
    FT_GlyphSlot slot = sized.face->glyph;
    int advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0 || slot->bitmap.width == 0 || slot->bitmap.rows == 0) {
      SetBlank(out, advance);
      return true;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    out->blackBoxWidth = static_cast<int>(bitmap.width);
    out->blackBoxHeight = static_cast<int>(bitmap.rows);
    out->originX = slot->bitmap_left;
    out->originY = slot->bitmap_top;
    out->advanceX = advance;
    out->pitch = static_cast<int>((bitmap.width + 31) / 32 * 4);
    out->bits.assign(static_cast<size_t>(out->pitch) * bitmap.rows, 0);
    for (unsigned y = 0; y < bitmap.rows; ++y) {
      const unsigned char* row = bitmap.pitch >= 0 ? bitmap.buffer + static_cast<size_t>(y) * bitmap.pitch
                                                   : bitmap.buffer + static_cast<size_t>(bitmap.rows - 1 - y) *
                                                                         static_cast<size_t>(-bitmap.pitch);
      uint8_t* target = &out->bits[static_cast<size_t>(y) * out->pitch];
      for (unsigned x = 0; x < bitmap.width; ++x)
        if (BitSet(bitmap, row, x)) target[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
    }
    return true;
  }

  int Advance(char32_t c) {
    FT_UInt index = 0;
    const SizedFace& sized = Locate(c, &index);
    if (!LoadGlyph(sized, index, GlyphScale{})) return 0;
    return static_cast<int>((sized.face->glyph->advance.x + 32) >> 6);
  }
};

Font::Font(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Font::~Font() = default;

std::unique_ptr<Font> Font::Create(std::string_view faceName, int height) {
  if (height == 0 || std::abs(height) > kMaxFontHeight) return nullptr;
  auto impl = std::make_unique<Impl>();
  if (FT_Init_FreeType(&impl->library) != 0) return nullptr;
  impl->height = height;
  // A font file FreeType cannot read gives way to the Chinese font.
  FontFile file;
  auto sized = std::make_unique<SizedFace>();
  bool opened = FindFontFile(faceName, &file) && OpenFace(impl->library, file, height, sized.get());
  if (!opened) opened = FindChineseFontFile(&file) && OpenFace(impl->library, file, height, sized.get());
  if (!opened) return nullptr;
  impl->primary = std::move(sized);
  return std::unique_ptr<Font>(new Font(std::move(impl)));
}

const FontFile& Font::File() const { return impl_->primary->file; }
int Font::Ascent() const { return impl_->primary->ascent; }
int Font::Descent() const { return impl_->primary->descent; }

bool Font::RenderGlyph(uint32_t charCode, GlyphScale scale, GlyphBits* out) {
  return impl_->Render(Big5CharToUnicode(charCode), scale, out);
}

TextExtent Font::MeasureText(std::string_view text) {
  TextExtent extent{0, CellHeight()};
  for (char32_t c : Big5ToUtf32(text)) extent.width += impl_->Advance(c);
  return extent;
}

void Font::DrawText(const PixelTarget& target, int x, int y, std::string_view text, uint32_t colorRef) {
  if (!target.pixels || target.width <= 0 || target.height <= 0 ||
      target.pitch < target.width * BytesPerPixel(target.layout))
    return;
  const uint32_t pixel = PixelOfColorRef(colorRef, target.layout);
  const int bytes = BytesPerPixel(target.layout);
  const int64_t baseline = static_cast<int64_t>(y) + Ascent();
  int64_t pen = x;
  GlyphBits glyph;
  for (char32_t c : Big5ToUtf32(text)) {
    if (!impl_->Render(c, GlyphScale{}, &glyph)) continue;
    for (int row = 0; row < glyph.blackBoxHeight; ++row) {
      int64_t py = baseline - glyph.originY + row;
      if (py < 0 || py >= target.height) continue;
      for (int column = 0; column < glyph.blackBoxWidth; ++column) {
        int64_t px = pen + glyph.originX + column;
        if (px < 0 || px >= target.width || !glyph.PixelSet(column, row)) continue;
        uint8_t* p = target.pixels + py * target.pitch + px * bytes;
        for (int b = 0; b < bytes; ++b) p[b] = static_cast<uint8_t>(pixel >> (8 * b));
      }
    }
    pen += glyph.advanceX;
  }
}

}  // namespace plat
