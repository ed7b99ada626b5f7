#include "tools/datagen/lightmap_writer.h"

#include "tools/datagen/image_rows.h"

namespace datagen {

bool WriteLightMapSet(const std::vector<LightMapDesc>& maps, plat::ByteWriter& out, std::string& error) {
  for (size_t i = 0; i < maps.size(); ++i) {
    if (!CheckPixelRows(maps[i].size, maps[i].size, 24, maps[i].pixels.size(), error)) {
      error = "light map " + std::to_string(i) + ": " + error;
      return false;
    }
  }
  out.Bytes("QMP", 4);
  out.U16(1);
  out.U32(static_cast<uint32_t>(maps.size()));
  out.U32(8);
  for (const LightMapDesc& map : maps) {
    out.U32(map.size);
    out.Bytes(map.pixels.data(), map.pixels.size());
  }
  return true;
}

}  // namespace datagen
