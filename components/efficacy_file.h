#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/efficacy_records.h"

// Reads the bytes of an effect file (".efc"):
//   50 bytes header (unread), int reserved, int frame count,
//   int count + sectional records, int count + traction records,
//   int count + particle records, int count + light records,
//   int count + camera records, [int count + creature records,
//   [int count + sound records]].
// Every count is checked against the bytes left; a record that does not fit
// refuses the whole file (false, with the reason in why), and so does an
// effect whose ribbons, trails, emitters and lights would need more engine
// nodes than kMaxEffectNodes (the engine's node pool ends the program when full).
constexpr int kMaxEffectNodes = 2048;
bool ReadEfficacyFile(const std::vector<uint8_t>& bytes, efc::EFCFILEDESC* out, std::string* why);
