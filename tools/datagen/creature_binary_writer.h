#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/model_binary_writer.h"

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

struct McbMaterial {
  std::string texture;  // at most 15 characters
  uint8_t key[3] = {0, 0, 0};
  int8_t frames = 0;
  float power = 0.25f;
  float alpha = 1.0f;
  int32_t renderType = 2;
  float emission = 0;
  int16_t faceFlags = 0;
  float colour1[3] = {1, 1, 1};
  float colour2[3] = {0.8f, 0.8f, 0.8f};
  float colour3[3] = {0, 0, 0};
};

struct McbTriangle {
  int material = 0;  // within the mesh's own materials
  int faceFlags = 0;
  int a = 0, b = 0, c = 0;
};

struct McbObject {
  std::string name;
  bool hidden = false;
  bool colours = false;  // floats 3 to 5 are colours
  std::vector<McbMaterial> materials;
  std::vector<ModelVertex> vertices;
  std::vector<McbTriangle> triangles;
  std::vector<std::array<float, 12>> transforms;  // one per frame
};

struct McbKeyVertex {
  float x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0;
};

struct McbPart {
  std::string name;
  bool colours = false;
  std::vector<McbMaterial> materials;
  std::vector<ModelVertex> vertices;  // the normal and u, v of each vertex
  std::vector<McbTriangle> triangles;
  std::vector<float> weights;  // one per frame
  std::vector<std::vector<McbKeyVertex>> keys;
  // 0: the keys carry no normals; quantised normals are stored times it.
  int normalDivisor = 127;
};

struct McbPose {
  int start = 0, end = 0, windowStart = 0, loopStart = 0, loopEnd = 0;
};

struct McbScroll {
  int kind = 0;  // 0 object, 1 part
  int index = 0;
  float u = 0, v = 0;
};

struct McbModel {
  std::string name;
  bool quantisedObjects = false;
  bool quantisedParts = false;
  int16_t objectPositionDivisor = 100;
  int16_t objectTranslationDivisor = 100;
  int16_t keyPositionDivisor = 100;
  int16_t coordinateDivisor = 1000;
  int frames = 1;
  std::vector<McbPose> poses;
  std::vector<std::array<float, 3>> frameOffsets;  // one per frame
  std::vector<McbScroll> scrolls;
  std::vector<McbObject> objects;
  std::vector<McbPart> parts;
};

constexpr size_t kMcbHeaderSize = 88;
constexpr size_t kMcbMeshHeaderSize = 40;
constexpr size_t kMcbMaterialSize = 88;
constexpr size_t kMcbRecordSize = 44;
constexpr size_t kMcbMaxMeshes = 127;
constexpr size_t kMcbMaxMaterials = 127;

bool WriteCreatureModel(const McbModel& model, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
