#include "tools/datagen/environment_writer.h"

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

std::vector<uint8_t> BuildEnvironmentFile(const std::vector<EnvironmentRecordData>& records) {
  plat::ByteWriter w;
  w.Zeros(32);
  w.I32(static_cast<int32_t>(records.size()));
  w.Zeros(4);
  uint32_t offset = static_cast<uint32_t>(40 + 20 * records.size());
  for (const EnvironmentRecordData& r : records) {
    w.FixedString(r.scene, 12);
    w.U32(offset);
    w.U32(r.size);
    offset += r.size;
  }
  for (const EnvironmentRecordData& r : records) {
    plat::ByteWriter rec;
    rec.Bytes(r.ambient.data(), 3);
    rec.U8(0);
    rec.I32(r.flags);
    rec.U8(r.fogDensity);
    rec.Bytes(r.fogColor.data(), 3);
    rec.F32(r.fogStart);
    rec.F32(r.fogEnd);
    for (int8_t d : r.flareDirection) rec.I8(d);
    rec.U8(r.particlesPerTen);
    rec.U8(r.driftSpeed);
    for (int8_t d : r.driftDirection) rec.I8(d);
    std::vector<uint8_t> bytes = rec.Bytes();
    bytes.resize(r.size, 0);
    w.Bytes(bytes.data(), bytes.size());
  }
  return w.Bytes();
}

bool WriteEnvironmentFile(const std::string& path, const std::vector<EnvironmentRecordData>& records,
                          std::string& error) {
  return WriteOutputFile(path, BuildEnvironmentFile(records), error);
}

}  // namespace datagen
