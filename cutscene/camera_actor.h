#pragma once
#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// A camera actor: its node is an engine camera node, which the play owns.
class SCamera : public SVisual {
 public:
  explicit SCamera(HOBJECT cameraNode) : cameraNode_(cameraNode) {}

  int TypeId() const override { return ACTOR_CAMERA; }
  HOBJECT GetNode() override { return cameraNode_; }

  // Degrees; the lens keeps the camera's aspect.
  virtual float GetFieldOfView();
  virtual void SetFieldOfView(float degrees);

 protected:
  HOBJECT cameraNode_ = 0;
  float aspect_ = 1.33f;
};

// A camera that can follow a target; the play makes one for each TCAMERA player.
class STCamera : public SCamera {
 public:
  explicit STCamera(HOBJECT cameraNode = 0) : SCamera(cameraNode) {}

  int TypeId() const final { return ACTOR_TCAMERA; }
  // Unlocked, at the origin looking along (0, 0, -1).
  void Reset() override;
  // One turn step while locked.
  int Update(int frames) override;

  // Follows the target, turning toward it over frames (1: at once, then
  // exactly); null stops following.
  virtual void LockTarget(SVisual* target, int frames);
  // The point aimed at, relative to the target's position.
  virtual void SetTargetOffset(float x, float y, float z);

  SVisual* GetTarget() const { return target_; }
  int IsLocked() const { return locked_; }

 private:
  void TurnStep();

  SVisual* target_ = nullptr;
  uint8_t locked_ = 0;
  int turnFrames_ = 0;
  VECTOR3 defaultTargetOffset_{0, 0, 0};
  VECTOR3 targetOffset_{0, 0, 0};
};
