#pragma once
#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// A camera actor: its node is an engine camera node.
class SCamera : public SVisual {
 public:
  int TypeId() const override { return ACTOR_CAMERA; }

  // Degrees.
  virtual float GetFieldOfView() = 0;
  virtual void SetFieldOfView(float degrees) = 0;
};

// A camera that can follow a target; the play makes one for each TCAMERA player.
class STCamera : public SCamera {
 public:
  int TypeId() const final { return ACTOR_TCAMERA; }

  // Follows the target, turning toward it over frames; null stops following.
  virtual void LockTarget(SVisual* target, int frames) = 0;
  // The point aimed at, relative to the target's position.
  virtual void SetTargetOffset(float x, float y, float z) = 0;
};
