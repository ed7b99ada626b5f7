#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

// Drives the one CD-audio device.
class SMusic : public SActor {
 public:
  int TypeId() const final { return ACTOR_MUSIC; }

  virtual void PlayTrack(int track, int loop) = 0;
  virtual void Stop() = 0;
  virtual void Pause() = 0;
  virtual void Resume() = 0;
};
