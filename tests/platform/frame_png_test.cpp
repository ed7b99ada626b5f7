// Presented frames turned into PNG pictures for reviewers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "tests/support/frame_png.h"

namespace {

uint32_t BE(const std::vector<uint8_t>& d, size_t at) {
  return uint32_t(d[at]) << 24 | uint32_t(d[at + 1]) << 16 | uint32_t(d[at + 2]) << 8 | d[at + 3];
}

TEST(FramePng, ConvertsEveryLayoutToRgb) {
  plat::PresentedFrame f;
  f.width = 2;
  f.height = 1;
  f.pitch = 6;  // a row longer than its pixels
  f.format = plat::Rgb565Format();
  f.pixels = {0x00, 0xF8, 0x1F, 0x00, 0xEE, 0xEE};
  EXPECT_EQ(testsupport::FrameToRgb(f), (std::vector<uint32_t>{0xFF0000, 0x0000FF}));
  f.format = plat::Rgb555Format();
  f.pixels = {0xE0, 0x03, 0xFF, 0x7F, 0, 0};
  EXPECT_EQ(testsupport::FrameToRgb(f), (std::vector<uint32_t>{0x00FF00, 0xFFFFFF}));
  f.pixels.resize(3);  // cut short
  EXPECT_TRUE(testsupport::FrameToRgb(f).empty());
  f.format = plat::Palette8Format();
  EXPECT_TRUE(testsupport::FrameToRgb(f).empty());
}

// A PNG of stored blocks read back: chunks and CRC framing, then the rows.
TEST(FramePng, WritesAReadablePicture) {
  const int w = 300, h = 250;  // more than one stored block
  std::vector<uint32_t> rgb(w * h);
  for (int i = 0; i < w * h; ++i) rgb[i] = static_cast<uint32_t>(i * 2654435761u) & 0xFFFFFF;
  std::string path = (std::filesystem::temp_directory_path() / "frame_png_test.png").string();
  ASSERT_TRUE(testsupport::WritePng(path, w, h, rgb));
  EXPECT_FALSE(testsupport::WritePng(path, w, h + 1, rgb));
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), {});
  std::filesystem::remove(path);
  ASSERT_GT(d.size(), 33u);
  EXPECT_EQ(std::string(d.begin() + 1, d.begin() + 4), "PNG");
  EXPECT_EQ(BE(d, 16), uint32_t(w));
  EXPECT_EQ(BE(d, 20), uint32_t(h));
  size_t at = 33;
  ASSERT_EQ(std::string(d.begin() + at + 4, d.begin() + at + 8), "IDAT");
  size_t len = BE(d, at);
  std::vector<uint8_t> z(d.begin() + at + 8, d.begin() + at + 8 + len);
  std::vector<uint8_t> raw;
  size_t p = 2;
  for (bool last = false; !last;) {
    last = z[p] & 1;
    size_t n = z[p + 1] | z[p + 2] << 8;
    ASSERT_EQ(n ^ 0xFFFF, size_t(z[p + 3] | z[p + 4] << 8));
    raw.insert(raw.end(), z.begin() + p + 5, z.begin() + p + 5 + n);
    p += 5 + n;
  }
  ASSERT_EQ(raw.size(), size_t(h) * (1 + 3 * w));
  for (int y : {0, h / 2, h - 1})
    for (int x : {0, w - 1}) {
      const uint8_t* px = &raw[y * (1 + 3 * w) + 1 + 3 * x];
      EXPECT_EQ(uint32_t(px[0]) << 16 | px[1] << 8 | px[2], rgb[y * w + x]) << x << "," << y;
    }
  EXPECT_EQ(std::string(d.end() - 8, d.end() - 4), "IEND");
}

}  // namespace
