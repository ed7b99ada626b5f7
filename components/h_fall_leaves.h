#pragma once
#include <vector>

#include "database/scene_records.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Leaves falling in a marked zone of a field map: copies of a leaf model
// released one every 30 ticks, each flying the zone object's keyframe track
// from its own random start.
class CHFallLeaves {
 public:
  static constexpr int kReleaseInterval = 30;

  struct Leaf {
    HOBJECT node = 0;
    int clock = 0;
    int released = 0;
    float orientation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    VECTOR3 start{0, 0, 0};
  };

  // The track stays the scene's; the model is copied and the copy hidden.
  CHFallLeaves(const SCENEANIMDESC* track, HOBJECT leafModel);
  ~CHFallLeaves();
  CHFallLeaves(const CHFallLeaves&) = delete;
  CHFallLeaves& operator=(const CHFallLeaves&) = delete;

  // Makes count hidden leaves; 1.
  int Setup(const SCENEZONE& zone, int count);
  // -1 when not started, 0 when paused, else 1.
  int Update(int n);
  void Clear();

  const SCENEANIMDESC* track;
  HOBJECT leafModel;
  int leafCount = 0;
  SCENEZONE zone;
  int startMode = 0;
  int started = 0;
  int paused = 1;
  int releaseTimer = 0;
  int leavesReleased = 0;
  std::vector<Leaf> leaves;

 private:
  void StartAfresh(Leaf& leaf) const;
  void Move(Leaf& leaf, int n) const;
};
