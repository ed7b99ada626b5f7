#include "platform/frame_memo.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 4 x 3 image of 2-byte pixels in rows of 12 bytes: the padding past each
// row is not the image's and never counts.
TEST(FrameMemo, ShowsAFrameOnlyWhenItsImageChanged) {
  constexpr int kPitch = 12, kRowBytes = 8, kRows = 3;
  std::vector<uint8_t> image(kPitch * kRows, 7);
  plat::native::FrameMemo memo;
  EXPECT_TRUE(memo.Changed(image.data(), kPitch, kRowBytes, kRows)) << "nothing remembered yet";
  EXPECT_FALSE(memo.Changed(image.data(), kPitch, kRowBytes, kRows));

  image[kPitch * 2 + kRowBytes] = 1;  // padding of the last row
  EXPECT_FALSE(memo.Changed(image.data(), kPitch, kRowBytes, kRows));
  image[kPitch * 2 + kRowBytes - 1] = 1;  // the last byte of the image
  EXPECT_TRUE(memo.Changed(image.data(), kPitch, kRowBytes, kRows));
  EXPECT_FALSE(memo.Changed(image.data(), kPitch, kRowBytes, kRows));

  EXPECT_TRUE(memo.Changed(image.data(), kPitch, kRowBytes, kRows - 1)) << "another size";
  EXPECT_TRUE(memo.Changed(image.data(), kPitch, kRowBytes - 2, kRows - 1)) << "another width";
  memo.Forget();
  EXPECT_TRUE(memo.Changed(image.data(), kPitch, kRowBytes - 2, kRows - 1)) << "the screen lost it";
}

}  // namespace
