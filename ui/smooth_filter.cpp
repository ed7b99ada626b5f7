#include "ui/smooth_filter.h"

#include <cstring>

namespace {

struct Layout {
  int redShift, greenShift, blueShift;
  int redMask, greenMask, blueMask;
};

bool FindLayout(int formatCode, Layout* out) {
  switch (formatCode) {
    case 1:
    case 2: *out = {11, 5, 0, 0x1F, 0x3F, 0x1F}; return true;
    case 3:
    case 4: *out = {10, 5, 0, 0x1F, 0x1F, 0x1F}; return true;
    case 5: *out = {8, 4, 0, 0x0F, 0x0F, 0x0F}; return true;
    default: return false;
  }
}

constexpr int kBuiltInKernel[9] = {1, 4, 1, 4, 16, 4, 1, 4, 1};

uint16_t Load(const PIXELBLOCK& block, int x, int y) {
  uint16_t pixel;
  std::memcpy(&pixel, block.pixels + static_cast<size_t>(y) * block.pitch + static_cast<size_t>(x) * 2, 2);
  return pixel;
}

void Store(const PIXELBLOCK& block, int x, int y, uint16_t pixel) {
  std::memcpy(block.pixels + static_cast<size_t>(y) * block.pitch + static_cast<size_t>(x) * 2, &pixel, 2);
}

bool Inside(const PIXELBLOCK& block, int x, int y) { return x >= 0 && y >= 0 && x < block.width && y < block.height; }

}  // namespace

bool UnpackPixel(int formatCode, uint16_t pixel, PIXELCHANNELS* out) {
  Layout l;
  if (!FindLayout(formatCode, &l)) return false;
  *out = {pixel >> l.redShift & l.redMask, pixel >> l.greenShift & l.greenMask, pixel >> l.blueShift & l.blueMask};
  return true;
}

bool PackPixel(int formatCode, const PIXELCHANNELS& c, uint16_t* out) {
  Layout l;
  if (!FindLayout(formatCode, &l)) return false;
  *out = static_cast<uint16_t>((c.red & l.redMask) << l.redShift | (c.green & l.greenMask) << l.greenShift |
                               (c.blue & l.blueMask) << l.blueShift);
  return true;
}

int FilterSmoothText(const SMOOTHFILTERDESC& d) {
  Layout l;
  if (!FindLayout(d.formatCode, &l)) return kSmoothBadFormat;
  const PIXELBLOCK& src = d.source;
  if (d.x < 0 || d.y < 0 || d.x + src.width > d.destination.width || d.y + src.height > d.destination.height) return -1;
  const int* kernel = d.kernel ? d.kernel : kBuiltInKernel;
  PIXELCHANNELS solid;
  UnpackPixel(d.formatCode, d.solidColour, &solid);

  for (int j = 0; j < src.height; ++j) {
    for (int i = 0; i < src.width; ++i) {
      int destX = d.x + i, destY = d.y + j;
      if (d.background && !Inside(*d.background, destX - d.backgroundX, destY - d.backgroundY)) {
        Store(d.destination, destX, destY, d.key);
        continue;
      }
      int red = 0, green = 0, blue = 0, covered = 0, total = 0;
      for (int dy = -1; dy <= 1; ++dy) {
        int sy = j + dy;
        if (sy < 0 || sy >= src.height) continue;
        for (int dx = -1; dx <= 1; ++dx) {
          int sx = i + dx;
          if (sx < 0 || sx >= src.width) continue;
          int weight = kernel[(dy + 1) * 3 + dx + 1];
          uint16_t pixel = Load(src, sx, sy);
          if (pixel != d.key) {
            covered += weight;
          } else if (d.background) {
            int bx = d.x + sx - d.backgroundX, by = d.y + sy - d.backgroundY;
            // A place off the picture has nothing under it to mix in.
            if (!Inside(*d.background, bx, by)) continue;
            pixel = Load(*d.background, bx, by);
          } else {
            red += weight * solid.red;
            green += weight * solid.green;
            blue += weight * solid.blue;
            total += weight;
            continue;
          }
          red += weight * (pixel >> l.redShift & l.redMask);
          green += weight * (pixel >> l.greenShift & l.greenMask);
          blue += weight * (pixel >> l.blueShift & l.blueMask);
          total += weight;
        }
      }
      uint16_t result = d.key;
      if (covered > 0 && total > 0 && static_cast<float>(covered) / static_cast<float>(total) >= d.threshold)
        result = static_cast<uint16_t>((red / total & l.redMask) << l.redShift |
                                       (green / total & l.greenMask) << l.greenShift |
                                       (blue / total & l.blueMask) << l.blueShift);
      Store(d.destination, destX, destY, result);
    }
  }
  return 1;
}
