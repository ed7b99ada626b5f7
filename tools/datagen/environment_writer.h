#pragma once
// Writer of "environment.dat", the scenes' ambient light, fog and weather: a
// 40-byte head (entry count at 32), 20-byte index entries (scene name of at
// most 11 characters, record offset, record size), then the records.
//
// A record is 28 bytes, or 20 when it carries no flare direction and no
// particles (the reader zero-fills what a record lacks).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

struct EnvironmentRecordData {
  std::string scene;  // the scene name up to its first ".", e.g. "a004"
  std::array<uint8_t, 3> ambient{110, 110, 110};
  int32_t flags = 0;  // 0x1 fog, 0x2 rain, 0x4 particle field, 0x8 lens flare
  uint8_t fogDensity = 0;
  std::array<uint8_t, 3> fogColor{};
  float fogStart = 0;
  float fogEnd = 0;
  std::array<int8_t, 3> flareDirection{};  // x 0.01
  uint8_t particlesPerTen = 0;
  uint8_t driftSpeed = 0;
  std::array<int8_t, 3> driftDirection{};  // / 127
  uint32_t size = 28;                      // 20 drops the flare and particle bytes
};

std::vector<uint8_t> BuildEnvironmentFile(const std::vector<EnvironmentRecordData>& records);
bool WriteEnvironmentFile(const std::string& path, const std::vector<EnvironmentRecordData>& records,
                          std::string& error);

}  // namespace datagen
