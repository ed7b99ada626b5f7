#pragma once
#include "engine/core/handles.h"

struct SCENEMORPHDESC;

// Plays a morph entry of the scene file on a mesh node: every hold + 1 ticks
// the next frame's positions (and texture coordinates) go into the mesh.
// Frame 0 is always the mesh's own shape.
class CMorphPlayer {
 public:
  // Copies the mesh's vertices into frame 0 of the entry; a vertex count
  // unlike the mesh's copies the smaller.
  CMorphPlayer(HOBJECT node, SCENEMORPHDESC* entry, int contentIndex);

  void Step(int n);

  int ticks = 0;
  int currentFrame = 0;
  SCENEMORPHDESC* entry;
  int contentIndex;
  HOBJECT node;

 private:
  int FloatsPerVertex() const;
  // Vertices both the mesh and the entry hold; 0 without a mesh.
  int SharedVertexCount() const;
};
