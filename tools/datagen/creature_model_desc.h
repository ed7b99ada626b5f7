#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/model_binary_writer.h"

// A creature model as the two creature writers take it: rigid objects with a
// transform per frame, morphing parts with key vertex sets and per-frame key
// weights, poses, root offsets and texture scrolling.
namespace datagen {

struct CreatureMaterial {
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

struct CreatureTriangle {
  int material = 0;  // within the mesh's own materials
  int faceFlags = 0;
  int a = 0, b = 0, c = 0;
};

struct CreatureObject {
  std::string name;
  bool hidden = false;
  bool colours = false;  // floats 3 to 5 are colours
  std::vector<CreatureMaterial> materials;
  std::vector<ModelVertex> vertices;
  std::vector<CreatureTriangle> triangles;
  std::vector<std::array<float, 12>> transforms;  // one per frame
};

struct CreatureKeyVertex {
  float x = 0, y = 0, z = 0, nx = 0, ny = 0, nz = 0;
};

struct CreaturePart {
  std::string name;
  bool colours = false;
  std::vector<CreatureMaterial> materials;
  std::vector<ModelVertex> vertices;  // the normal and u, v of each vertex
  std::vector<CreatureTriangle> triangles;
  std::vector<float> weights;  // one per frame
  std::vector<std::vector<CreatureKeyVertex>> keys;
  // 0: the keys carry no normals; quantised normals are stored times it.
  int normalDivisor = 127;
};

struct CreaturePose {
  int start = 0, end = 0, windowStart = 0, loopStart = 0, loopEnd = 0;
};

struct CreatureScroll {
  int kind = 0;  // 0 object, 1 part
  int index = 0;
  float u = 0, v = 0;
};

struct CreatureModel {
  std::string name;
  bool quantisedObjects = false;
  bool quantisedParts = false;
  int16_t objectPositionDivisor = 100;
  int16_t objectTranslationDivisor = 100;
  int16_t keyPositionDivisor = 100;
  int16_t coordinateDivisor = 1000;
  int frames = 1;
  std::vector<CreaturePose> poses;
  std::vector<std::array<float, 3>> frameOffsets;  // one per frame
  std::vector<CreatureScroll> scrolls;
  std::vector<CreatureObject> objects;
  std::vector<CreaturePart> parts;
};

}  // namespace datagen
