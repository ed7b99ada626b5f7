#include "engine/core/pixel_format.h"

#include "platform/display.h"

int g_screenPixelFormat = 0;
int g_redShift = 0;
int g_greenShift = 0;
int g_blueShift = 0;
int g_alphaShift = 0;
int g_textureFormat = 0;

int ScreenFormatCode(const plat::PixelFormat& format) {
  if (format.bitsPerPixel <= 8) return 0;
  if (format.bitsPerPixel > 16) return 6;
  if (format.redMask == 0xF800) return 1;
  if (format.redMask == 0x7C00) return 3;
  if (format.blueMask == 0x7C00) return 4;
  if (format.blueMask == 0x0F00) return 5;
  if (format.blueMask == 0xF800) return 2;
  return 0;
}

int TextureFormatCode(const plat::PixelFormat& format) {
  if (format.bitsPerPixel <= 8) return 0;
  if (format.bitsPerPixel == 24) return 6;
  if (format.bitsPerPixel == 32) return 7;
  if (format.blueMask == 0x000F) return 5;
  return ScreenFormatCode(format);
}

void SetScreenPixelFormat(const plat::PixelFormat& format) {
  g_screenPixelFormat = ScreenFormatCode(format);
  g_alphaShift = 0;
  switch (g_screenPixelFormat) {
    case 1: g_redShift = 11, g_greenShift = 5, g_blueShift = 0; break;
    case 2: g_blueShift = 11, g_greenShift = 5, g_redShift = 0; break;
    case 3: g_redShift = 10, g_greenShift = 5, g_blueShift = 0; break;
    case 4: g_blueShift = 10, g_greenShift = 5, g_redShift = 0; break;
    case 5: g_alphaShift = 12, g_redShift = 8, g_greenShift = 4, g_blueShift = 0; break;
    case 6: g_redShift = 16, g_greenShift = 8, g_blueShift = 0; break;
    default: g_redShift = g_greenShift = g_blueShift = 0; break;
  }
}

uint32_t PackScreenPixel(int red, int green, int blue) {
  uint32_t r = static_cast<uint8_t>(red), g = static_cast<uint8_t>(green), b = static_cast<uint8_t>(blue);
  switch (g_screenPixelFormat) {
    case 1:
    case 2: return (r / 8) << g_redShift | (g / 4) << g_greenShift | (b / 8) << g_blueShift;
    case 5: return (r / 16) << g_redShift | (g / 16) << g_greenShift | (b / 16) << g_blueShift | 15u << g_alphaShift;
    case 6: return r << g_redShift | g << g_greenShift | b << g_blueShift;
    default: return (r / 8) << g_redShift | (g / 8) << g_greenShift | (b / 8) << g_blueShift;
  }
}
