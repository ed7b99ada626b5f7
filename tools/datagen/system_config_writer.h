#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The settings file "TwSys.cfg", little-endian: int32 record length (26), then
// the record: magic "SCFG", int32 version 256, walk keys forward, back, left,
// right (a byte each), u16 music and sound volumes, u16 view distance, shadow
// and effect bytes, float detail distance, two option bytes. Tests change the
// length, magic or version, cut the file or add bytes after the record, to
// write broken ones.
namespace datagen {

struct SystemConfigSpec {
  int32_t length = 26;
  std::string magic = "SCFG";  // the first four characters are written
  int32_t version = 256;
  uint8_t keys[4] = {'W', 'S', 'A', 'D'};
  uint16_t musicVolume = 30;
  uint16_t soundVolume = 30;
  uint16_t viewDistance = 2000;
  uint8_t shadows = 1;
  uint8_t effects = 1;
  float detailDistance = 2000.0f;
  uint8_t option1 = 2;
  uint8_t option2 = 2;
  size_t cutTo = SIZE_MAX;  // keeps at most this many bytes
  size_t extraBytes = 0;    // zero bytes after the record
};

std::vector<uint8_t> BuildSystemConfig(const SystemConfigSpec& spec);
bool WriteSystemConfig(const std::string& path, const SystemConfigSpec& spec, std::string& error);

}  // namespace datagen
