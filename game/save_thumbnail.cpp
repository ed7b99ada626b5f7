#include "game/save_thumbnail.h"

#include <algorithm>

#include "engine/core/engine_queries.h"
#include "engine/media/screen.h"
#include "platform/debug_output.h"
#include "platform/files.h"

namespace {

// Blue, green, red of a 16-bit pixel; false for a layout that is not converted.
bool ToBgr(uint16_t p, int formatCode, uint8_t* out) {
  if (formatCode == 1) {
    out[0] = static_cast<uint8_t>((p & 0x1F) * 8);
    out[1] = static_cast<uint8_t>(((p >> 5) & 0x3F) * 4);
    out[2] = static_cast<uint8_t>(((p >> 11) & 0x1F) * 8);
    return true;
  }
  if (formatCode == 3) {
    out[0] = static_cast<uint8_t>((p & 0x1F) * 8);
    out[1] = static_cast<uint8_t>(((p >> 5) & 0x1F) * 8);
    out[2] = static_cast<uint8_t>(((p >> 10) & 0x1F) * 8);
    return true;
  }
  out[0] = out[1] = out[2] = 0;
  return false;
}

}  // namespace

void CSaveThumbnail::Capture(int x, int y, int regionWidth, int regionHeight) {
  std::vector<uint8_t> buffer;
  if (!ReadScreenRect(buffer, x, y, regionWidth, regionHeight)) return;
  if (buffer.size() < static_cast<size_t>(regionWidth) * static_cast<size_t>(regionHeight) * 2) return;
  std::vector<uint16_t> screen(buffer.size() / 2);
  for (size_t i = 0; i < screen.size(); ++i)
    screen[i] = static_cast<uint16_t>(buffer[2 * i] | (buffer[2 * i + 1] << 8));
  TakePixels(screen.data(), regionWidth, regionHeight, GetPixelFormatCode());
}

void CSaveThumbnail::TakePixels(const uint16_t* screen, int screenWidth, int screenHeight, int formatCode) {
  if (!screen || screenWidth < 1 || screenHeight < 1 || width < 1 || height < 1) return;
  if (formatCode != 1 && formatCode != 3) plat::DebugOutput("Not supported pixel format !\n");
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 3, 0);
  // Each thumbnail pixel is the mean of the screen pixels its box covers.
  for (int ty = 0; ty < height; ++ty) {
    const int y0 = ty * screenHeight / height;
    const int y1 = std::max(y0 + 1, (ty + 1) * screenHeight / height);
    for (int tx = 0; tx < width; ++tx) {
      const int x0 = tx * screenWidth / width;
      const int x1 = std::max(x0 + 1, (tx + 1) * screenWidth / width);
      unsigned sum[3] = {0, 0, 0};
      unsigned count = 0;
      for (int sy = y0; sy < y1 && sy < screenHeight; ++sy) {
        for (int sx = x0; sx < x1 && sx < screenWidth; ++sx) {
          uint8_t bgr[3];
          ToBgr(screen[static_cast<size_t>(sy) * static_cast<size_t>(screenWidth) + static_cast<size_t>(sx)],
                formatCode, bgr);
          for (int c = 0; c < 3; ++c) sum[c] += bgr[c];
          ++count;
        }
      }
      uint8_t* out = &pixels[(static_cast<size_t>(ty) * static_cast<size_t>(width) + static_cast<size_t>(tx)) * 3];
      for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(count ? sum[c] / count : 0);
    }
  }
}

int CSaveThumbnail::WriteBmp(const char* path) const {
  if (pixels.empty()) return -1;
  const uint32_t rowBytes = static_cast<uint32_t>(width) * 3;
  const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(height);
  plat::ByteWriter w;
  w.U8('B');
  w.U8('M');
  w.U32(imageBytes + 54);
  w.U32(0);
  w.U32(54);
  w.U32(40);
  w.I32(width);
  w.I32(height);
  w.U16(1);
  w.U16(24);
  w.U32(0);
  w.U32(imageBytes);
  w.I32(10000);
  w.I32(10000);
  w.U32(0);
  w.U32(0);
  // Bitmaps keep the bottom row first.
  for (int row = height - 1; row >= 0; --row) w.Bytes(&pixels[static_cast<size_t>(row) * rowBytes], rowBytes);
  return plat::WriteFileAtomic(path, w.Bytes().data(), w.Size()) ? 0 : -1;
}
