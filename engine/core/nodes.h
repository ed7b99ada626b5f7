#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Scene nodes, in the form the engine core needs so far: the kinds, the node
// record's identity, transform, visibility, timing and kind data, and the
// camera and billboard kind data read by the engine's queries.

enum NODEKIND : int {
  NODE_SOUND = 1,
  NODE_LISTENER = 2,
  NODE_LIGHT = 3,
  NODE_CAMERA = 4,
  NODE_DUMMY = 5,
  NODE_MESH = 6,
  NODE_BILLBOARD = 7,
  NODE_POINTS = 8,
};

struct CAMERADESC {
  int refCount = 1;
  int projection = 1;  // 1 perspective, otherwise orthographic
  float aspect = 1.33f;
  float fieldOfView = 0;  // degrees
  float lens = 50;        // focal length, millimetres
  float aperture = 0.86f; // film width, inches
  float nearPlane = 2;
  float farPlane = 5000;
  float viewWidth = 1.0f;  // orthographic
};

struct BILLBOARDDESC {
  int refCount = 1;
  int materialIndex = -1;  // material pool slot, -1 = none
  float halfWidth = 0;
  float halfHeight = 0;
};

struct NODEDESC {
  int index = 0;
  int kind = 0;
  MATRIX34 local{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {0, 0, 0}}};
  double markTime = 0;
  int enabled = 1;
  int visible = 1;
  void* kindData = nullptr;  // CAMERADESC, BILLBOARDDESC, ... by kind
  NODEDESC* parent = nullptr;
};

// The node opened by BeginNode and not yet committed; null when none.
extern NODEDESC* g_nodeUnderConstruction;

inline HOBJECT NodeHandle(const NODEDESC* node) {
  return node ? MakeHandle(OBJTYPE_NODE, static_cast<uint32_t>(node->index)) : 0;
}

void DestroyNode(HOBJECT node);
