#pragma once
#include <cstdint>

namespace plat {
struct PixelFormat;
}

// The screen's and the textures' pixel layouts, settled by the device set-up.
//
// Codes: 0 palettised 8-bit; 1 5-6-5; 2 5-6-5 with blue on top; 3 5-5-5;
// 4 5-5-5 with blue on top; 5 4-4-4-4; 6 24-bit (and deeper screens); 7 32-bit
// (textures only).

extern int g_screenPixelFormat;
extern int g_redShift;
extern int g_greenShift;
extern int g_blueShift;
extern int g_alphaShift;
extern int g_textureFormat;

// The code of a screen layout, and the channel positions it implies.
int ScreenFormatCode(const plat::PixelFormat& format);
// The code of a texture layout.
int TextureFormatCode(const plat::PixelFormat& format);
// Keeps a screen layout's code and channel positions.
void SetScreenPixelFormat(const plat::PixelFormat& format);
// A colour given as three bytes, as a screen pixel.
uint32_t PackScreenPixel(int red, int green, int blue);
