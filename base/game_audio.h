#pragma once
#include <array>

#include "engine/core/handles.h"

// The game's music, looping CD-audio tracks, and its effect sounds, short
// waves of which the last three stay loaded. Volumes are percent. The
// program's own CD and wave gains found at construction come back on
// destruction.
class CGameAudio {
 public:
  static constexpr int kEffectSlots = 3;

  // Music and effects at 20 percent.
  CGameAudio();
  // Stops the music, frees the effects and restores the gains.
  ~CGameAudio();
  CGameAudio(const CGameAudio&) = delete;
  CGameAudio& operator=(const CGameAudio&) = delete;

  // -1 stops the music. The track is kept even when music is silent, so
  // raising the volume starts it.
  void PlayTrack(int track);
  void StopMusic();
  // Plays (above 0) or stops a track without keeping it as the music.
  void OverrideTrack(int track);
  void ApplyMusicVolume();
  void SetMusicVolume(int percent);
  void SetSoundVolume(int percent);
  // Loads the wave from the sound folder and starts it; the fourth effect
  // frees the oldest. Nothing at sound volume 0.
  void PlayEffect(const char* name);

  int currentTrack = -1;
  std::array<HOBJECT, kEffectSlots> effects{};  // oldest first
  HOBJECT extraSound = 0;
  int effectCount = 0;
  float savedCdVolume = 0;
  float savedWaveVolume = 0;
  int musicVolume = 0;
  int soundVolume = 0;
};
