#pragma once
#include <string>

#include "cutscene/actor.h"
#include "cutscene/actor_type.h"
#include "engine/core/handles.h"

// One wave file. A file that does not load leaves no sound; the calls then do
// nothing.
class SWave : public SActor {
 public:
  // With a directory the file is looked up there (the engine's sound
  // directory is restored afterwards).
  SWave(const std::string& file, const std::string& directory);
  ~SWave() override;

  int TypeId() const final { return ACTOR_WAVE; }

  // Sound play flags: low 24 bits 1 loop.
  virtual void Play(int flags);
  virtual void Stop();
  virtual void Pause();

  HOBJECT GetSound() const { return sound_; }

 protected:
  // No sound, for stand-ins that replace every operation.
  SWave() = default;

 private:
  HOBJECT sound_ = 0;
  std::string fileName_;
};
