#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/device_setup.h"
#include "engine/media/data_directories.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"
#include "platform/display.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"

namespace assets_test {

// An open engine (the Direct3D path unless a test asks for the software
// rasteriser) in a fresh working directory, with the texture and model
// directories at .\texture and .\model.
class EngineAssetsTest : public enginetest::EngineTest {
 protected:
  void OpenWith(int direct3D) {
    SetRenderMode(direct3D);
    ASSERT_EQ(Open(), 1);
    SetTextureDirectory(".\\texture");
    SetModelDirectory(".\\model");
  }
  void SetUp() override { OpenWith(1); }

  testsupport::ScopedWorkDir workDir_;
  testsupport::DebugOutputCapture debug_;
};

// The texel at (x, y) of a texture's top surface (or of one mip level), as
// stored: 1 to 4 bytes little-endian.
inline uint32_t Texel(const TEXTUREDESC* t, int x, int y, int level = 0) {
  plat::Surface* s = t->surface->Level(level);
  uint8_t* pixels = nullptr;
  int pitch = 0;
  EXPECT_EQ(s->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
  const int bytes = (s->Describe().format.bitsPerPixel + 7) / 8;
  uint32_t value = 0;
  for (int b = 0; b < bytes; ++b) value |= uint32_t{pixels[static_cast<size_t>(y) * pitch + x * bytes + b]} << (8 * b);
  s->Unlock();
  return value;
}

}  // namespace assets_test
