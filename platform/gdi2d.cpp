#include "platform/gdi2d.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace plat {
namespace {

// Larger views are refused, which keeps every weighted sum inside 64 bits.
constexpr int kMaxSide = 65535;

bool Usable(const uint8_t* pixels, int width, int height, int pitch, PixelLayout layout) {
  return pixels && width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         pitch >= width * BytesPerPixel(layout);
}

bool Usable(const PixelTarget& t) { return Usable(t.pixels, t.width, t.height, t.pitch, t.layout); }

// Pixels are stored little-endian in every layout.
void StorePixel(const PixelTarget& t, int x, int y, uint32_t pixel) {
  const int bytes = BytesPerPixel(t.layout);
  uint8_t* p = t.pixels + static_cast<size_t>(y) * t.pitch + static_cast<size_t>(x) * bytes;
  for (int b = 0; b < bytes; ++b) p[b] = static_cast<uint8_t>(pixel >> (8 * b));
}

uint32_t ColorRef(uint32_t red, uint32_t green, uint32_t blue) { return red | green << 8 | blue << 16; }

bool HoldsDib(const Dib& dib) {
  if (dib.width <= 0 || dib.height == 0 || dib.height == INT32_MIN || !dib.bits) return false;
  if (dib.bitsPerPixel != 8 && dib.bitsPerPixel != 24) return false;
  if (dib.paletteCount < 0 || (dib.paletteCount > 0 && !dib.palette)) return false;
  int64_t rows = std::abs(static_cast<int64_t>(dib.height));
  int64_t rowBytes = DibRowBytes(dib.width, dib.bitsPerPixel);
  return rowBytes > 0 && rows * rowBytes <= static_cast<int64_t>(dib.size);
}

// The source pixels that one target pixel covers along one axis, with their
// overlaps; lengths are measured in 1/targetSize of a source pixel, so every
// list's weights add up to sourceSize.
struct Tap {
  int index;
  int64_t weight;
};

std::vector<std::vector<Tap>> BoxTaps(int sourceSize, int targetSize) {
  std::vector<std::vector<Tap>> taps(targetSize);
  for (int j = 0; j < targetSize; ++j) {
    int64_t begin = static_cast<int64_t>(j) * sourceSize;
    int64_t end = begin + sourceSize;
    for (int64_t i = begin / targetSize; i < sourceSize && i * targetSize < end; ++i) {
      int64_t overlap = std::min(end, (i + 1) * targetSize) - std::max(begin, i * targetSize);
      if (overlap > 0) taps[j].push_back({static_cast<int>(i), overlap});
    }
  }
  return taps;
}

// Floor of n / d for d > 0.
__int128 FloorDiv(__int128 n, __int128 d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// A one-pixel line from (x0, y0) towards (x1, y1), leaving out the end point:
// one pixel per step along the longer axis, the other coordinate rounded.
// Only the steps that can land inside the target are walked, so far-away
// end points cost nothing.
void DrawSegment(const PixelTarget& t, int x0, int y0, int x1, int y1, uint32_t pixel) {
  int64_t dx = static_cast<int64_t>(x1) - x0;
  int64_t dy = static_cast<int64_t>(y1) - y0;
  bool xMajor = std::abs(dx) >= std::abs(dy);
  int64_t major0 = xMajor ? x0 : y0;
  int64_t minor0 = xMajor ? y0 : x0;
  int64_t majorDelta = xMajor ? dx : dy;
  int64_t minorDelta = xMajor ? dy : dx;
  int64_t steps = std::abs(majorDelta);
  if (steps == 0) return;
  int64_t majorStep = majorDelta > 0 ? 1 : -1;
  int64_t majorLimit = xMajor ? t.width : t.height;
  // Steps k with 0 <= major0 + k * majorStep < majorLimit.
  int64_t kFirst = majorStep > 0 ? -major0 : major0 - (majorLimit - 1);
  int64_t kLast = majorStep > 0 ? majorLimit - 1 - major0 : major0;
  kFirst = std::max<int64_t>(kFirst, 0);
  kLast = std::min<int64_t>(kLast, steps - 1);
  for (int64_t k = kFirst; k <= kLast; ++k) {
    int64_t major = major0 + k * majorStep;
    auto minor = static_cast<int64_t>(
        minor0 + FloorDiv(2 * static_cast<__int128>(k) * minorDelta + steps, 2 * static_cast<__int128>(steps)));
    int64_t x = xMajor ? major : minor;
    int64_t y = xMajor ? minor : major;
    if (x >= 0 && y >= 0 && x < t.width && y < t.height) StorePixel(t, static_cast<int>(x), static_cast<int>(y), pixel);
  }
}

struct Crossing {
  double x;
  int direction;
};

}  // namespace

int BytesPerPixel(PixelLayout layout) {
  switch (layout) {
    case PixelLayout::Rgb565:
    case PixelLayout::Rgb555: return 2;
    case PixelLayout::Bgr24: return 3;
    case PixelLayout::Xrgb8888: return 4;
  }
  return 0;
}

uint32_t PixelOfColorRef(uint32_t colorRef, PixelLayout layout) {
  uint32_t r = colorRef & 0xFF;
  uint32_t g = colorRef >> 8 & 0xFF;
  uint32_t b = colorRef >> 16 & 0xFF;
  switch (layout) {
    case PixelLayout::Rgb565: return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3;
    case PixelLayout::Rgb555: return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
    case PixelLayout::Bgr24:
    case PixelLayout::Xrgb8888: return r << 16 | g << 8 | b;
  }
  return 0;
}

int DibRowBytes(int width, int bitsPerPixel) {
  if (width <= 0 || bitsPerPixel <= 0) return 0;
  int64_t bytes = (static_cast<int64_t>(width) * bitsPerPixel + 31) / 32 * 4;
  return bytes > INT32_MAX ? 0 : static_cast<int>(bytes);
}

bool CopyDibToPixels(const Dib& dib, const PixelTarget& target, int x, int y) {
  if (!HoldsDib(dib) || !Usable(target)) return false;
  int rows = std::abs(dib.height);
  int rowBytes = DibRowBytes(dib.width, dib.bitsPerPixel);
  int64_t left = std::max<int64_t>(x, 0);
  int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + dib.width, target.width);
  int64_t top = std::max<int64_t>(y, 0);
  int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + rows, target.height);
  for (int64_t ty = top; ty < bottom; ++ty) {
    int64_t imageRow = ty - y;
    int64_t storedRow = dib.height > 0 ? rows - 1 - imageRow : imageRow;
    const uint8_t* row = dib.bits + storedRow * rowBytes;
    for (int64_t tx = left; tx < right; ++tx) {
      int64_t column = tx - x;
      uint32_t colorRef = 0;
      if (dib.bitsPerPixel == 8) {
        int index = row[column];
        if (index < dib.paletteCount) {
          const uint8_t* entry = dib.palette + index * 4;
          colorRef = ColorRef(entry[2], entry[1], entry[0]);
        }
      } else {
        const uint8_t* p = row + column * 3;
        colorRef = ColorRef(p[2], p[1], p[0]);
      }
      StorePixel(target, static_cast<int>(tx), static_cast<int>(ty), PixelOfColorRef(colorRef, target.layout));
    }
  }
  return true;
}

bool StretchHalftone(const PixelSource& source, const PixelTarget& target) {
  auto byteChannels = [](PixelLayout layout) {
    return layout == PixelLayout::Bgr24 || layout == PixelLayout::Xrgb8888;
  };
  if (!byteChannels(source.layout) || !byteChannels(target.layout)) return false;
  if (!Usable(source.pixels, source.width, source.height, source.pitch, source.layout) || !Usable(target)) return false;
  const int sourceBytes = BytesPerPixel(source.layout);
  const int targetBytes = BytesPerPixel(target.layout);
  const auto columns = BoxTaps(source.width, target.width);
  const auto rows = BoxTaps(source.height, target.height);
  const uint64_t total = static_cast<uint64_t>(source.width) * static_cast<uint64_t>(source.height);
  // Blue, green and red sums of one target row.
  std::vector<uint64_t> sums(static_cast<size_t>(target.width) * 3);
  for (int ty = 0; ty < target.height; ++ty) {
    std::fill(sums.begin(), sums.end(), 0);
    for (const Tap& rowTap : rows[ty]) {
      const uint8_t* row = source.pixels + static_cast<size_t>(rowTap.index) * source.pitch;
      for (int tx = 0; tx < target.width; ++tx) {
        uint64_t b = 0, g = 0, r = 0;
        for (const Tap& columnTap : columns[tx]) {
          const uint8_t* p = row + static_cast<size_t>(columnTap.index) * sourceBytes;
          b += p[0] * static_cast<uint64_t>(columnTap.weight);
          g += p[1] * static_cast<uint64_t>(columnTap.weight);
          r += p[2] * static_cast<uint64_t>(columnTap.weight);
        }
        uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
        sum[0] += b * rowTap.weight;
        sum[1] += g * rowTap.weight;
        sum[2] += r * rowTap.weight;
      }
    }
    uint8_t* out = target.pixels + static_cast<size_t>(ty) * target.pitch;
    for (int tx = 0; tx < target.width; ++tx) {
      const uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
      uint8_t* p = out + static_cast<size_t>(tx) * targetBytes;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
      if (targetBytes == 4) p[3] = 0;
    }
  }
  return true;
}

void Path::MoveTo(int x, int y) {
  figures_.push_back({{x, y}});
  current_ = {x, y};
  open_ = true;
}

void Path::LineTo(int x, int y) {
  if (!open_) {
    figures_.push_back({current_});
    open_ = true;
  }
  figures_.back().push_back({x, y});
  current_ = {x, y};
}

void Path::Clear() {
  figures_.clear();
  current_ = {0, 0};
  open_ = false;
}

void FillPath(const PixelTarget& target, const Path& path, FillRule rule, uint32_t colorRef) {
  if (!Usable(target)) return;
  const uint32_t pixel = PixelOfColorRef(colorRef, target.layout);
  std::vector<Crossing> crossings;
  for (int y = 0; y < target.height; ++y) {
    const double centreY = y + 0.5;
    crossings.clear();
    for (const auto& figure : path.Figures()) {
      if (figure.size() < 2) continue;
      for (size_t i = 0; i < figure.size(); ++i) {
        const Path::Point& a = figure[i];
        const Path::Point& b = figure[(i + 1) % figure.size()];
        if (a.y == b.y || centreY < std::min(a.y, b.y) || centreY >= std::max(a.y, b.y)) continue;
        double x = a.x + (centreY - a.y) * (static_cast<double>(b.x) - a.x) / (static_cast<double>(b.y) - a.y);
        crossings.push_back({x, b.y > a.y ? 1 : -1});
      }
    }
    std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
    int winding = 0;
    for (size_t i = 0; i + 1 < crossings.size(); ++i) {
      winding += rule == FillRule::Alternate ? 1 : crossings[i].direction;
      bool inside = rule == FillRule::Alternate ? (winding & 1) != 0 : winding != 0;
      if (!inside) continue;
      // Pixels whose centres lie in [x0, x1).
      double first = std::max(std::ceil(crossings[i].x - 0.5), 0.0);
      double last = std::min(std::ceil(crossings[i + 1].x - 0.5) - 1, target.width - 1.0);
      if (first > last) continue;
      for (int x = static_cast<int>(first); x <= static_cast<int>(last); ++x) StorePixel(target, x, y, pixel);
    }
  }
}

void StrokePath(const PixelTarget& target, const Path& path, uint32_t colorRef) {
  if (!Usable(target)) return;
  const uint32_t pixel = PixelOfColorRef(colorRef, target.layout);
  for (const auto& figure : path.Figures())
    for (size_t i = 0; i + 1 < figure.size(); ++i)
      DrawSegment(target, figure[i].x, figure[i].y, figure[i + 1].x, figure[i + 1].y, pixel);
}

}  // namespace plat
