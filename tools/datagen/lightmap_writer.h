#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// QMP light-map set (".qmp"), little-endian:
//   "QMP" and a zero byte; uint16 version 1 (bytes 1, 0); uint32 map count;
//   uint32 bits field, always 8 (the readers require it, though the maps are
//   24-bit); then per map: uint32 side s, s rows of s pixels blue, green, red.
// Rows in file order: texture row 0 first (see image_rows.h).
namespace datagen {

struct LightMapDesc {
  uint32_t size = 0;            // width and height
  std::vector<uint8_t> pixels;  // size x size x (blue, green, red)
};

constexpr size_t kLightMapHeaderSize = 14;

bool WriteLightMapSet(const std::vector<LightMapDesc>& maps, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
