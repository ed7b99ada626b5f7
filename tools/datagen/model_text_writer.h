#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"

// Text model (".qx3"): lines of blank-separated tokens, LF line endings (the
// readers strip a CR, but a package reader counts each line as its length + 1
// bytes). Written per object:
//   BeginObject index [name] / Lite_Vertex / Transformed_Vertex /
//   Normal_Smooth FALSE / Morph n / Material ... / LightMap name /
//   v x y z [w] [vn nx ny nz | vc r g b] [vt u v] / f n material i0 .. [BOTH] [L map] /
//   l n material a0 b0 .. / EndObject
// then BeginDummy index / EndDummy per dummy, then the links between
// BeginRelationship and EndRelationship as "o child parent".
// Limits the reader sets: lines of at most 243 characters, texture and
// light-map names of at most 127, material numbers 0-255, object indices
// 0-1023, at most 256 vertices per face and 128 pairs per line list. Names are
// single tokens without '\' (the reader joins lines at a backslash).
// Texture coordinates go to the vertex's last two slots in every layout,
// transformed meshes included.
namespace datagen {

struct Qx3Material {
  int number = 0;       // 0-255, local to its object
  std::string texture;  // empty: untextured ("NULL")
  int frames = 0;       // > 0: animated, frames named texture00, texture01, ...
  float ambient[3] = {0.7f, 0.7f, 0.7f};
  float diffuse[3] = {1.0f, 1.0f, 1.0f};
  float specular[3] = {0.0f, 0.0f, 0.0f};
  float emissive[3] = {0.0f, 0.0f, 0.0f};
  float power = 20.0f;
  bool colourKey = false;
  int keyRed = 0, keyGreen = 0, keyBlue = 0;  // 0-255
  int mipLevels = -1;                         // >= 0: a mip-mapped texture material
};

struct Qx3Vertex {
  float x = 0, y = 0, z = 0;
  float w = 1;  // transformed meshes only
  bool hasNormal = false;
  float nx = 0, ny = 0, nz = 0;
  bool hasColour = false;  // stored in the normal slots
  float red = 0, green = 0, blue = 0;
  bool hasUv = false;
  float u = 0, v = 0;
};

struct Qx3Face {
  int material = -1;         // negative: none
  std::vector<int> indices;  // 3 or more: a fan of triangles
  bool bothSides = false;
  int lightMap = -1;  // >= 0 on a four-vertex face: its light-map number
};

struct Qx3Lines {
  int material = -1;
  std::vector<std::pair<int, int>> pairs;
};

struct Qx3Object {
  int index = 1;  // 0-1023
  std::string name;
  bool liteVertex = false;   // vertex colours instead of normals
  bool transformed = false;  // screen positions with a fourth value
  // Normals computed by the loader; must be off when the mesh is lit,
  // transformed, or its vertices carry normals or colours.
  bool smoothNormals = true;
  int morph = 1;  // animation frames the vertices fall into
  std::vector<Qx3Material> materials;
  std::string lightMap;  // light-map set name, empty for none
  std::vector<Qx3Vertex> vertices;
  std::vector<Qx3Face> faces;
  std::vector<Qx3Lines> lines;
};

struct Qx3Link {
  int child = 0;
  int parent = 0;  // 0: the child's node becomes the load's result
};

struct Qx3Model {
  std::vector<Qx3Object> objects;
  std::vector<int> dummies;  // object indices of dummy nodes
  std::vector<Qx3Link> links;
};

constexpr size_t kMaxQx3Line = 243;
constexpr size_t kMaxQx3Name = 127;

bool WriteTextModel(const Qx3Model& model, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
