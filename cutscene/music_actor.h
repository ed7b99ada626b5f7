#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

// Drives CD-audio tracks. There is one CD device: every music actor acts on
// it, so one actor's keys stop or replace another's track.
class SMusic : public SActor {
 public:
  int TypeId() const final { return ACTOR_MUSIC; }

  virtual void PlayTrack(int track, int loop);
  virtual void Stop();
  virtual void Pause();
  virtual void Resume();
};
