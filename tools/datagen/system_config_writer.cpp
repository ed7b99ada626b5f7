#include "tools/datagen/system_config_writer.h"

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

std::vector<uint8_t> BuildSystemConfig(const SystemConfigSpec& spec) {
  plat::ByteWriter out;
  out.I32(spec.length);
  std::string magic = spec.magic;
  magic.resize(4, '\0');
  out.Bytes(magic.data(), 4);
  out.I32(spec.version);
  for (uint8_t key : spec.keys) out.U8(key);
  out.U16(spec.musicVolume);
  out.U16(spec.soundVolume);
  out.U16(spec.viewDistance);
  out.U8(spec.shadows);
  out.U8(spec.effects);
  out.F32(spec.detailDistance);
  out.U8(spec.option1);
  out.U8(spec.option2);
  out.Zeros(spec.extraBytes);
  std::vector<uint8_t> bytes = out.Bytes();
  if (bytes.size() > spec.cutTo) bytes.resize(spec.cutTo);
  return bytes;
}

bool WriteSystemConfig(const std::string& path, const SystemConfigSpec& spec, std::string& error) {
  return WriteOutputFile(path, BuildSystemConfig(spec), error);
}

}  // namespace datagen
