#pragma once
#include <string>
#include <vector>

#include "database/game_resource.h"
#include "platform/files.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/game_resource_writer.h"
#include "ui/screen_manager.h"

namespace fieldtest {

// An open engine on a 5-6-5 screen with a screen manager whose game resource
// holds the guessing game's texts: 130 + k "N<k+1>", 141 "won", 143
// "hits %d of %d", 144 "pick", 145 to 147 "next1" to "next3".
class FieldExtrasTest : public uitest::UiTest {
 protected:
  FieldExtrasTest() {
    datagen::GameResourceData data;
    data.messages.assign(147, "");
    for (int k = 0; k < 10; ++k) data.messages[129 + k] = "N" + std::to_string(k + 1);
    data.messages[140] = "won";
    data.messages[142] = "hits %d of %d";
    data.messages[143] = "pick";
    data.messages[144] = "next1";
    data.messages[145] = "next2";
    data.messages[146] = "next3";
    std::string error;
    EXPECT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    resource.Open(nullptr);
    CreateScreenManager(nullptr, &resource, nullptr, nullptr, nullptr);
  }
  ~FieldExtrasTest() override { DestroyScreenManager(); }

  // A 24-bit bitmap of one colour (0xRRGGBB), width a multiple of 4.
  static std::vector<uint8_t> Bitmap(int width, int height, uint32_t rgb) {
    datagen::BitmapDesc bitmap;
    bitmap.width = width;
    bitmap.height = height;
    bitmap.bitCount = 24;
    bitmap.forSprites = true;
    for (int i = 0; i < width * height; ++i) {
      bitmap.pixels.insert(bitmap.pixels.end(), {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                                                 static_cast<uint8_t>(rgb >> 16)});
    }
    plat::ByteWriter out;
    std::string error;
    EXPECT_TRUE(datagen::WriteBitmap(bitmap, out, error)) << error;
    return out.Bytes();
  }
  static void WriteImage(const std::string& path, int width, int height, uint32_t rgb) {
    const std::vector<uint8_t> bytes = Bitmap(width, height, rgb);
    ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size()));
  }

  CGameResource resource;
};

}  // namespace fieldtest
