#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

// One wave file.
class SWave : public SActor {
 public:
  int TypeId() const final { return ACTOR_WAVE; }

  // Sound play flags: low 24 bits 1 loop.
  virtual void Play(int flags) = 0;
  virtual void Stop() = 0;
  virtual void Pause() = 0;
};
