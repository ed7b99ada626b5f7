#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"
#include "engine/core/handles.h"

class STCamera;

// A rectangle of the screen shown through a camera actor. Every viewport actor
// drives the engine's default viewport 0: a play with several of them resizes
// and renders that one viewport once per actor, and the last reset and the
// last camera binding win. Nothing in the game gives each its own.
class SViewPort : public SActor {
 public:
  // Pixels; the rectangle reaches the engine at the play's reset.
  SViewPort(int x, int y, int width, int height);

  int TypeId() const final { return ACTOR_VIEWPORT; }
  void Reset() override;

  virtual void SetCamera(STCamera* camera);
  // The engine viewport the play renders for this actor.
  virtual HOBJECT GetEngineViewport() { return viewport_; }

  STCamera* GetCamera() const { return camera_; }

 protected:
  // No rectangle, for stand-ins that replace every operation.
  SViewPort() = default;

 private:
  HOBJECT viewport_ = 0;
  STCamera* camera_ = nullptr;
  int initial_[4] = {};
  int current_[4] = {};
};
