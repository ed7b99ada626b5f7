#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/efficacy_records.h"

// Effect files (".efc"). Little-endian; int is 32-bit signed, float IEEE;
// names are zero-padded Big5 in fixed fields.
//   0   50 bytes header (written as zeros and the effect's text, unread)
//   50  int reserved, int frame count
//   then five lists, each an int count and its records: sectional,
//   traction, particle, light, camera; then, unless left out, creature and
//   sound lists.
// Element record: name[20], int placement kind, 3 floats angles (x, y, z),
// 3 floats position, placement block (kind 1: part[20]; kind 2: direction
// part[20], position part[20], six ints flatten x, flatten y, use up, keep x,
// keep y, keep z; kind 3: two parts[20]; else nothing), int reserved,
// 3 floats scale, target[20], int key count, keys, then per kind:
//   sectional: keys of 188 bytes, shape block of 140 bytes
//   traction:  keys of 188 bytes, 140 unused bytes, trail block of 60 bytes
//   particle:  keys of 80 bytes, emitter block of 140 bytes
//   light:     keys of 64 bytes
//   camera:    keys of 132 bytes
//   creature:  keys of 60 bytes, model name[20]
// Sound record: label[20], int cue count, cues (int frame, int flags),
// wave name[40].
// Every key starts with int frame, int attached, int hidden; the key and
// block layouts follow the record structs field by field.
namespace datagen {

std::vector<uint8_t> BuildEfficacyFile(const efc::EFCFILEDESC& file);
bool WriteEfficacyFile(const std::string& path, const efc::EFCFILEDESC& file, std::string& error);

// A target name (or element name) of a category: the prefix and a text.
std::string EfficacyTargetName(const char* prefix, const std::string& text);

}  // namespace datagen
