#include "tests/support/frame_png.h"

#include <array>
#include <fstream>

namespace testsupport {
namespace {

uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (!((mask >> shift) & 1)) ++shift;
  uint32_t max = mask >> shift;
  return (((pixel & mask) >> shift) * 255 + max / 2) / max;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void PutBE(std::vector<uint8_t>& out, uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) out.push_back(static_cast<uint8_t>(v >> s));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
  PutBE(out, static_cast<uint32_t>(body.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), body.begin(), body.end());
  PutBE(out, Crc32(out.data() + start, out.size() - start));
}

}  // namespace

std::vector<uint32_t> FrameToRgb(const plat::PresentedFrame& frame) {
  std::vector<uint32_t> rgb;
  const plat::PixelFormat& f = frame.format;
  int bytes = f.bitsPerPixel / 8;
  if (f.palettised || bytes < 2 || bytes > 4 || frame.width <= 0 || frame.height <= 0) return rgb;
  if (frame.pixels.size() <
      static_cast<size_t>(frame.pitch) * (frame.height - 1) + static_cast<size_t>(frame.width) * bytes)
    return rgb;
  rgb.reserve(static_cast<size_t>(frame.width) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* row = frame.pixels.data() + static_cast<size_t>(y) * frame.pitch;
    for (int x = 0; x < frame.width; ++x) {
      uint32_t p = 0;
      for (int b = 0; b < bytes; ++b) p |= static_cast<uint32_t>(row[x * bytes + b]) << (8 * b);
      rgb.push_back(Channel(p, f.redMask) << 16 | Channel(p, f.greenMask) << 8 | Channel(p, f.blueMask));
    }
  }
  return rgb;
}

bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& rgb) {
  if (width <= 0 || height <= 0 || rgb.size() != static_cast<size_t>(width) * height) return false;
  std::vector<uint8_t> raw;  // each row: filter 0, then RGB
  raw.reserve(static_cast<size_t>(height) * (1 + 3 * width));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int x = 0; x < width; ++x) {
      uint32_t p = rgb[static_cast<size_t>(y) * width + x];
      raw.insert(raw.end(), {static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)});
    }
  }
  std::vector<uint8_t> z = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    size_t n = std::min<size_t>(65535, raw.size() - at);
    bool last = at + n >= raw.size();
    z.push_back(last ? 1 : 0);
    z.insert(z.end(), {static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8), static_cast<uint8_t>(~n),
                       static_cast<uint8_t>(~n >> 8)});
    z.insert(z.end(), raw.begin() + at, raw.begin() + at + n);
    if (last) break;
  }
  PutBE(z, b << 16 | a);

  std::vector<uint8_t> header;
  PutBE(header, static_cast<uint32_t>(width));
  PutBE(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB, no interlace
  std::vector<uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Chunk(file, "IHDR", header);
  Chunk(file, "IDAT", z);
  Chunk(file, "IEND", {});
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
