#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/media/data_directories.h"
#include "engine/media/packages.h"
#include "platform/files.h"
#include "tests/support/captures.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/mipmap_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"

namespace assets_test {

// Runs a writer and hands back its bytes; a refusal fails the test.
template <class Desc, class Writer>
std::vector<uint8_t> Encode(Writer writer, const Desc& desc) {
  plat::ByteWriter out;
  std::string error;
  EXPECT_TRUE(writer(desc, out, error)) << error;
  return out.Bytes();
}

inline std::vector<uint8_t> SmallQbt(uint8_t shade) {
  datagen::ImageDesc image;
  image.width = 2;
  image.height = 2;
  image.palette = {{shade, 0, 0}, {0, shade, 0}};
  image.pixels = {0, 1, 1, 0};
  return Encode(datagen::WriteImage, image);
}

inline std::vector<uint8_t> SmallBmp() {
  datagen::BitmapDesc bitmap;
  bitmap.width = 4;
  bitmap.height = 1;
  bitmap.palette = {{1, 2, 3}};
  bitmap.pixels = {0, 0, 0, 0};
  return Encode(datagen::WriteBitmap, bitmap);
}

inline std::vector<uint8_t> SmallQbm() {
  datagen::MipmapDesc mipmap;
  mipmap.width = 2;
  mipmap.height = 2;
  mipmap.palette = {{9, 9, 9}};
  mipmap.levels = {{0, 0, 0, 0}, {0}};
  return Encode(datagen::WriteMipmap, mipmap);
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::string error;
  ASSERT_TRUE(datagen::WriteOutputFile(path, bytes, error)) << error;
}

inline std::vector<uint8_t> Package(const std::vector<datagen::PackageFile>& files) {
  return Encode(datagen::WritePackage, files);
}

// A fresh working directory and an open engine whose directories are all
// ".", as the engine's open leaves them.
class AssetsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedOpen_ = g_engineOpen;
    g_engineOpen = 1;
    for (auto set :
         {SetReservedDirectory1, SetImageDirectory, SetModelDirectory, SetSoundDirectory, SetReservedDirectory2,
          SetTextureDirectory, SetSceneDirectory, SetCreatureDirectory, SetOverrideDirectory, SetReservedDirectory3})
      set(".");
    ResetPackages();
  }
  void TearDown() override {
    CloseAllPackages();
    g_looseFilesFirst = 0;
    g_engineOpen = savedOpen_;
  }

  testsupport::ScopedWorkDir workDir_;

 private:
  int savedOpen_ = 0;
};

}  // namespace assets_test
