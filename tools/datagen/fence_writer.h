#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Fence file (".fn"), little-endian:
//   "FH"; uint32 version (0x20001); four int32 header values (kept, free);
//   int32 unused; int32 S, the stored size of a compose frame (1 to 72);
//   int32 group count G; int32 fence count F (both above 0).
//   G x F fences, group by group: int32 id, int32 compose-frame count N,
//   int32 kept value, uint32 flags, int32 second kept value, int32 hit count
//   H, H hits (uint32: low 16 bits the fence frame, high 16 bits the value),
//   then N compose frames of S bytes each.
//   F follow-up trees, one per fence, each: int32 key, int32 fence id
//   (-1 none), int32 child count K, then the K child trees.
// A compose frame is the first S bytes of this 72-byte record; the reader
// takes the bytes beyond S as zero:
//   0 unused; 4 pose; 8 play mode; 12 flags; 16 frame count; 20 target
//   offset x, y, z; 32 angles about Z, X, Y (degrees); 44 20 unused bytes;
//   64 start offset, end margin, afterimage rate, afterimage fade (bytes);
//   68 4 unused bytes.
namespace datagen {

struct FenceFrame {
  int32_t pose = 0;
  int32_t playMode = 0;
  uint32_t flags = 0;  // 28-31 start kind, 24-25 motion, 26-27 effect
  int32_t frameCount = 1;
  float target[3] = {0, 0, 0};
  float angles[3] = {0, 0, 0};
  uint8_t startOffset = 0, endMargin = 0, afterimageRate = 0, afterimageFade = 0;
};

struct Fence {
  int32_t id = 0;
  int32_t keptValue = 0;
  uint32_t flags = 0;  // 28-31 shot, 24-27 kind, 20-23 move kind, 16-19 composite
  int32_t keptValue2 = 0;
  std::vector<uint32_t> hits;
  std::vector<FenceFrame> frames;
};

struct FenceTree {
  int32_t key = 0;
  int32_t id = -1;
  std::vector<FenceTree> children;
};

struct FenceFile {
  uint32_t version = 0x20001;
  std::array<int32_t, 4> header{};
  int32_t frameSize = 72;
  std::vector<std::vector<Fence>> groups;  // every group of the same fence count
  std::vector<FenceTree> trees;            // one per fence
};

// Refuses a frame size outside 1..72, no groups or fences, groups of
// different sizes or a tree count other than the fence count.
bool WriteFenceFile(const FenceFile& file, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
