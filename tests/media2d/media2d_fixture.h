#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "platform/display.h"
#include "platform/files.h"
#include "tests/engine/engine_fixture.h"
#include "tools/datagen/image_writer.h"

namespace media2dtest {

// An open engine in a fresh working directory, keeping every presented frame.
class Media2DTest : public enginetest::EngineTest {
 protected:
  Media2DTest() { plat::CapturePresentedFrames(true); }
  ~Media2DTest() override { plat::CapturePresentedFrames(false); }

  void OpenScreen(bool rgb555 = false) {
    plat::GetDisplayEnvironment().rgb555 = rgb555;
    ASSERT_EQ(Open(), 1);
  }

  uint16_t BackPixel(int x, int y) {
    std::vector<uint8_t> row;
    uint8_t* p = ReadScreenRect(row, x, y, 1, 1);
    return p ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0xDEAD;
  }
  void FillBack(uint16_t pixel) { g_gameWorld->backBuffer->Fill(nullptr, pixel); }

  // A filed sprite of blank frames filled with one colour.
  HOBJECT BlankSprite(int width, int height, int red, int green, int blue, int layer = 0) {
    BeginSprite(0);
    SetSpriteBlankImage(1, 1, 1, width, height);
    HOBJECT sprite = EndSprite(0);
    FillSprite(sprite, 0, red, green, blue);
    SetSpriteDepth(sprite, 0, 0, layer);
    return sprite;
  }

  // A 24-bit QBI file; pixel (x, y) of stored row y is colour(x, y) as 0xRRGGBB.
  template <typename Colour>
  void WriteQbi(const std::string& path, int width, int height, Colour colour) {
    datagen::ImageDesc image;
    image.magic = datagen::ImageMagic::Qbi;
    image.width = width;
    image.height = height;
    image.bitsPerPixel = 24;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        uint32_t c = colour(x, y);
        image.pixels.insert(image.pixels.end(),
                            {static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16)});
      }
    plat::ByteWriter out;
    std::string error;
    ASSERT_TRUE(datagen::WriteImage(image, out, error)) << error;
    ASSERT_TRUE(plat::WriteFileAtomic(path, out.Bytes().data(), out.Size()));
  }

  testsupport::ScopedWorkDir dir_;
};

}  // namespace media2dtest
