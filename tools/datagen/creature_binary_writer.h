#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/creature_model_desc.h"

// Creature model (".MCB"), little-endian, no magic. The blocks follow each
// other directly in this order:
//
// Header, 88 bytes:
//   0 24 zero bytes; 24 model name (16, NUL-terminated); 40 int16 0;
//   42 flags byte: bit 0 object vertices and transforms quantised, bit 1 part
//      data quantised; 43 zero;
//   44 int16 object position divisor; 46 int16 object translation divisor;
//   48 int16 key position divisor; 50 int16 texture-coordinate divisor;
//   52 int16 pose count; 54 object count; 56 part count; 58 frame count;
//   60 scroll count; 62 int16 0;
//   64..80 uint32 offsets A (pose table), B (frame offsets), C (scroll table),
//      D (mesh headers), E (object records); 84 uint32 0.
// Pose table: 24 bytes per pose: length, start, end, window start, loop start,
//   loop end (int32 each).
// Frame offsets: 3 floats per frame.
// Scroll table: 12 bytes per entry: int16 kind (0 object, 1 part), int16
//   index, float u speed, float v speed.
// Mesh headers, 40 bytes per object then per part: 16 zero bytes; int32 kind
//   at 16 (0 object, 1 part); int32 index within its kind at 20; int32
//   material count at 24; 28..35 zero; int32 colour flag at 36. Then every
//   mesh's materials in header order, 88 bytes each:
//     0 texture name (16; a leading 'k' or 'K' marks a colour key);
//     16, 17, 18 key red, green, blue; 19 zero; 20 parameters flag (1);
//     21 int8 texture frame count; 22 zero; 23 pad; 24 float power;
//     28 float 0.05; 32 float alpha; 36 int32 render type; 40 float emission;
//     44 int16 face flags; 46 two zero bytes; 48, 60, 72 colours 1, 2 and 3
//     (three floats each); 84 int32 handle, written 0.
// Object records, 44 bytes each: name (16); int32 vertex count at 16; three
//   floats at 20; int32 primitive count at 32; uint32 flag word at 36 (bit 7:
//   hidden, no mesh); 40 int32 0.
// Per shown object: its vertices, quantised 8 int16 (position / object
//   position divisor, floats 3 to 5 times 255 with the colour flag else times
//   the coordinate divisor, u and v times the coordinate divisor) or 8
//   floats; then its triangles, 10 bytes each: int16 type 1, int8 material
//   (within the object's own), int8 face flags, three int16 vertex indices.
// Per object (hidden ones too): frame-count transforms, quantised 12 int16
//   (nine axis values times 512, the position times the translation divisor)
//   or 12 floats.
// Part records, 44 bytes each: name (16); int32 vertex count at 16; int32 key
//   count at 20; int32 primitive count at 24; int32 0 at 28; int32 normal
//   divisor at 32 (0: the keys carry no normals); 36, 40 int32 0.
// Per part: per-vertex data (plain: normal and u, v as 5 floats; quantised
//   with key normals: u, v as 2 int16; quantised without: 5 int16, three
//   values times 255 and u, v) and its triangles.
// Per part: frame-count key weights (floats).
// Per part: key-count key sets, plain 6 floats per vertex (position, normal);
//   quantised 3 int16 positions times the key position divisor, then with
//   key normals three magnitude bytes (times the normal divisor) and a sign
//   byte (bits 0, 1, 2 negate x, y, z).
namespace datagen {

constexpr size_t kMcbHeaderSize = 88;
constexpr size_t kMcbMeshHeaderSize = 40;
constexpr size_t kMcbMaterialSize = 88;
constexpr size_t kMcbRecordSize = 44;
constexpr size_t kMcbMaxMeshes = 127;
constexpr size_t kMcbMaxMaterials = 127;

bool WriteCreatureBinary(const CreatureModel& model, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
