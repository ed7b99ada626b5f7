#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Binary model (".qb3"), one mesh, little-endian:
//   "QB3" and a zero byte; uint32 format word, written 0; uint32 material count (<= 256);
//   per material: ambient, diffuse, specular, emissive (3 floats each), power (float),
//     uint32 texture frame count t; when t > 0: uint32 name length and the name
//     (not terminated, at most 63 characters); uint32 colour-key flag and the
//     key's red, green, blue bytes. The key fields are always present;
//   uint32 frames f, uint32 vertices per frame v; f x v vertices of 8 floats
//     (position, normal, texture u and v);
//   uint32 primitive count, uint32 primitive word count (6 per triangle,
//     3 + 2n per line list); the primitives: uint32 type, int32 material
//     number (negative: none), then a triangle's face flags and three vertex
//     indices, or a line list's pair count n and n index pairs.
//   uint32 extra-data flag, written 0: the optional 16 bytes per vertex are
//     never written. The flag itself is, so that a reader of a package entry
//     never takes the next entry's bytes for it.
namespace datagen {

struct Qb3Material {
  float ambient[3] = {0.7f, 0.7f, 0.7f};
  float diffuse[3] = {1.0f, 1.0f, 1.0f};
  float specular[3] = {0.0f, 0.0f, 0.0f};
  float emissive[3] = {0.0f, 0.0f, 0.0f};
  float power = 20.0f;
  // t = 0: untextured (empty name); 1: the name as it is; 2 or more: the name
  // of the first frame, ending in its two-digit number (wall00 for wall00..wall03).
  std::string texture;
  uint32_t textureFrames = 0;
  bool colourKey = false;
  uint8_t keyRed = 0, keyGreen = 0, keyBlue = 0;
};

struct ModelVertex {
  float x = 0, y = 0, z = 0;
  float nx = 0, ny = 0, nz = 0;  // or a colour in meshes with vertex colours
  float u = 0, v = 0;
};

struct ModelPrimitive {
  enum Kind : uint32_t { Triangle = 1, Lines = 2 };
  Kind kind = Triangle;
  int32_t material = -1;          // material number, negative for none
  uint32_t faceFlags = 0;         // triangles: 1 = double-sided
  std::vector<uint32_t> indices;  // triangle: 3 vertices; lines: pairs a0 b0 a1 b1 ...
};

struct Qb3Model {
  std::vector<Qb3Material> materials;
  uint32_t frames = 1;
  std::vector<ModelVertex> vertices;  // frames x vertices per frame, frame after frame
  std::vector<ModelPrimitive> primitives;
};

constexpr size_t kMaxQb3Materials = 256;
constexpr size_t kMaxQb3TextureName = 63;

bool WriteBinaryModel(const Qb3Model& model, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
