#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "engine/core/nodes.h"

// The content of one creature model file: a root box, a mesh per rigid object
// and per morphing part (axes for hidden objects), each object's per-frame
// transform, each part's key vertex sets with the per-frame weights choosing
// them, the pose table, per-frame root offsets, mesh alphas and texture
// scrolling. Read from ".MCB" (by the path's last three letters) or from the
// text model format. The model owns every node it made; a refused or missing
// file leaves it empty.

struct CREATUREPOSE {
  // The readers refuse a pose with a frame number beyond this either way, so
  // differences of pose frames added to fence lengths never overflow.
  static constexpr int kMaxFrame = 1 << 20;

  int length = 0;  // end - start + 1
  int start = 0;
  int end = 0;
  int windowStart = 0;  // the swordsman's follow-up window
  int loopStart = 0;
  int loopEnd = 0;

  bool InRange() const {
    for (int v : {length, start, end, windowStart, loopStart, loopEnd})
      if (v < -kMaxFrame || v > kMaxFrame) return false;
    return true;
  }
};

struct CREATURESCROLL {
  int kind = 0;  // 0 object, 1 part
  int index = 0;
  float u = 0, v = 0;
};

constexpr int kCreatureNameSize = 16;
constexpr uint32_t kHiddenObjectBit = 0x80;

struct CREATUREOBJECT {
  char name[kCreatureNameSize] = {};
  HOBJECT node = 0;
  float values[3] = {};
  HOBJECT parent = 0;                // text models: the root
  uint32_t flags = 0;                // low byte bit 7: hidden (an axes dummy in place of a mesh)
  std::vector<MATRIX34> transforms;  // one per frame

  bool Hidden() const { return (flags & kHiddenObjectBit) != 0; }
};

struct CREATUREPART {
  char name[kCreatureNameSize] = {};
  HOBJECT node = 0;
  int keyCount = 0;
  HOBJECT parent = 0;  // text models: the root
  int rootFlag = 0;
  // 0 when the key sets carry no normals, else the divisor of quantised normals.
  int normalDivisor = 0;
  int vertexCount = 0;
  std::vector<float> weights;  // per frame: integer part the key, fraction the blend
  // ".MCB" key sets as stored (plain 24, quantised 10 or 6 bytes a vertex);
  // text key sets as whole mesh vertices.
  std::vector<std::vector<uint8_t>> packedKeys;
  std::vector<std::vector<MESHVERTEX>> vertexKeys;
  // u, v per vertex that texture scrolling starts from.
  std::vector<float> baseCoordinates;
};

class CModelData {
 public:
  // Loads the path when it is not empty; a path of 64 characters or more is refused.
  explicit CModelData(const char* path = nullptr);
  ~CModelData();
  CModelData(const CModelData&) = delete;
  CModelData& operator=(const CModelData&) = delete;

  static constexpr size_t kPathSize = 64;

  // Frees the content, then reads the path with the reader its last three
  // letters choose. 1 when a model came in, 0 when it is empty.
  int Load();
  // Destroys every node and forgets everything; counts become 0.
  void Free();
  // A deep copy with nodes of its own under a copy of the root.
  CModelData* Copy() const;

  // A deep copy of one of its nodes (kind 0 object, 1 part, index within the
  // kind) under root, with texture clamping unless the mesh scrolls.
  HOBJECT CopyNodeUnder(HOBJECT node, int kind, int index, HOBJECT root) const;
  // 1 with the speeds of the first entry of that kind and index, else 0.
  int FindScroll(int kind, int index, float* u, float* v) const;
  // Parts start again from their base coordinates moved by speed times the
  // tick total; objects move by their speed on every call.
  void ApplyScrolling(int tickTotal);

  // Bytes per key vertex of a part in this model.
  int KeyVertexBytes(const CREATUREPART& part) const;
  // Key set k of a part: an ".MCB" key decoded into buffer (positions and
  // normals only, vertexCount records) and buffer answered; a text key set
  // itself. Null when the key set or the needed buffer is missing.
  const MESHVERTEX* KeyVertices(const CREATUREPART& part, int key, MESHVERTEX* buffer) const;

  bool Empty() const { return root == 0; }
  int ObjectCount() const { return static_cast<int>(objects.size()); }
  int PartCount() const { return static_cast<int>(parts.size()); }
  int PoseCount() const { return static_cast<int>(poses.size()); }

  std::string path;
  int mcb = 0;
  std::vector<CREATUREOBJECT> objects;
  std::vector<CREATUREPART> parts;
  std::vector<CREATUREPOSE> poses;
  char name[kCreatureNameSize] = {};
  int frameCount = 0;
  std::vector<VECTOR3> frameOffsets;  // per frame
  std::vector<float> meshAlphas;      // per object, then per part
  HOBJECT root = 0;
  std::vector<CREATURESCROLL> scrolls;
  int16_t keyPositionDivisor = 0;
  int16_t coordinateDivisor = 0;
  int partsQuantised = 0;
};

// Decoding of ".MCB" key vertices (plain: 6 floats; quantised: 3 int16
// positions over the divisor, then with normalDivisor != 0 three magnitude
// bytes over it and a sign byte, bits 0-2 negating x, y, z).
void DecodePlainKey(const uint8_t* key, int vertexCount, MESHVERTEX* out);
void DecodeQuantisedKey(const uint8_t* key, int vertexCount, float positionDivisor, int normalDivisor, MESHVERTEX* out);
