#pragma once

// The game's music and effect sounds.
// MINIMAL: only the two volumes are kept (20 percent each at start); CD
// tracks, the mixer and the effect queue are still missing.
class CGameAudio {
 public:
  CGameAudio() = default;

  void SetMusicVolume(int percent) { musicVolume = percent; }
  void SetSoundVolume(int percent) { soundVolume = percent; }
  void ApplyMusicVolume() {}
  void PlayTrack(int) {}
  void StopMusic() { currentTrack = -1; }
  void OverrideTrack(int) {}

  int musicVolume = 20;
  int soundVolume = 20;
  int currentTrack = -1;
};
