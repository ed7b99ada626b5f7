#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"
#include "engine/core/handles.h"

class STCamera;

// An engine viewport of the play, shown through a camera actor.
class SViewPort : public SActor {
 public:
  int TypeId() const final { return ACTOR_VIEWPORT; }

  virtual void SetCamera(STCamera* camera) = 0;
  // The engine viewport the play renders for this actor.
  virtual HOBJECT GetEngineViewport() = 0;
};
