#pragma once
// What a save slot tells of itself before it is loaded: the summary chunk
// the save list shows.
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/files.h"

// Slots are numbered from 0 below this.
constexpr int kMaxSaveSlots = 400;

// The summary chunk, 100 bytes.
struct SAVESUMMARYDESC {
  static constexpr size_t kSize = 100;
  static constexpr size_t kNameSize = 21;
  char header[32] = {};
  int16_t version = 0;
  int16_t entries = 0;
  int16_t leader = 0;
  int16_t mapIndex = 0;
  int16_t level = 0;
  int32_t value2 = 0;
  int32_t money = 0;
  float position[3] = {0, 0, 0};
  float facing[3] = {0, 0, 0};
  char name[kNameSize] = {};  // no terminator when all 21 are used

  void Write(plat::ByteWriter& w) const;
  void Read(plat::ByteReader& r);
  std::string Name() const { return std::string(name, strnlen(name, kNameSize)); }
};
