#pragma once
#include "engine/core/handles.h"

// One engine sound held for the battle's music and the hero's voice.
class CXWave {
 public:
  CXWave() = default;
  virtual ~CXWave();
  CXWave(const CXWave&) = delete;
  CXWave& operator=(const CXWave&) = delete;

  // Frees the sound held, then loads the named one; 1 when it loaded.
  int Open(const char* name);
  void Close();
  // Flags as the engine's StartSound: loop in the low bits, rewind.
  void Play(int flags);
  // Stops and rewinds.
  void Stop();
  void Pause();

  HOBJECT Sound() const { return sound_; }

 private:
  HOBJECT sound_ = 0;
};
