#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The battle action table "creature/battle/kbs.acb", little-endian:
//   int32 0, int32 0 (not read), int32 record count R,
//   R records: int32 fighter type, int32 transition count T, int32 action count A,
//     T transitions of 6 int32 (from action, to action, 0, earliest, latest, start frame),
//     A actions of 24 int32 (id, kind, facing, mode, pose, start, end, motion first,
//     release, track motion, action motion, float sideways, float forward,
//     hit frames 13..20, hit count, 0, 0).
// Poses are 1 or more (pose 0 never starts) and within the model's table.
namespace datagen {

struct ActionTransitionDesc {
  int from = 0, to = 0, earliest = 0, latest = 0, start = 0;
};

struct ActionDesc {
  int id = 0, kind = 1, facing = 0, mode = 2, pose = 1;
  int start = 0, end = 0, motionFirst = 0, release = 0;
  int trackMotion = 0, actionMotion = 0;
  float sideways = 0, forward = 0;
  std::vector<int> hits;  // at most 8
};

struct ActionRecordDesc {
  int type = 0;
  std::vector<ActionTransitionDesc> transitions;
  std::vector<ActionDesc> actions;
};

std::vector<uint8_t> BuildActionTable(const std::vector<ActionRecordDesc>& records);
bool WriteActionTable(const std::string& path, const std::vector<ActionRecordDesc>& records, std::string& error);

}  // namespace datagen
