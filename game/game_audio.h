#pragma once
#include <array>

#include "engine/core/handles.h"

// The game's music and effect sounds.
// MINIMAL: only the two volumes and the effect queue are kept (20 percent
// each at start); CD tracks and the mixer are still missing.
class CGameAudio {
 public:
  CGameAudio() = default;
  // Frees the queued effects.
  ~CGameAudio();
  CGameAudio(const CGameAudio&) = delete;
  CGameAudio& operator=(const CGameAudio&) = delete;

  // Loads the sound name from the sound folder and starts it; at most three
  // effects stay loaded, the oldest goes first. Nothing at sound volume 0.
  void PlayEffect(const char* name);

  void SetMusicVolume(int percent) { musicVolume = percent; }
  void SetSoundVolume(int percent) { soundVolume = percent; }
  void ApplyMusicVolume() {}
  void PlayTrack(int) {}
  void StopMusic() { currentTrack = -1; }
  void OverrideTrack(int) {}

  int musicVolume = 20;
  int soundVolume = 20;
  int currentTrack = -1;
  std::array<HOBJECT, 3> effects{};  // oldest first
  int effectCount = 0;
};
