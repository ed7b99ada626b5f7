#pragma once
#include "engine/core/handles.h"

struct SCENEANIMDESC;
struct SCENEZONE;

// Leaves falling in a marked zone of a field map, copies of a leaf model
// flying along a keyframe track.
class CHFallLeaves {
 public:
  // The track stays the scene's; the model is copied.
  CHFallLeaves(const SCENEANIMDESC* track, HOBJECT leafModel);
  ~CHFallLeaves();
  CHFallLeaves(const CHFallLeaves&) = delete;
  CHFallLeaves& operator=(const CHFallLeaves&) = delete;

  // 1.
  int Setup(const SCENEZONE& zone, int count);
  // -1 when not started, 0 when paused, else 1.
  int Update(int n);
  void Clear();

  const SCENEANIMDESC* track;
  HOBJECT leafModel;
  int leafCount = 0;
  int started = 0;
  int paused = 1;
};
