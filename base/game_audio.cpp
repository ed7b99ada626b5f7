#include "base/game_audio.h"

#include <cstddef>

#include "engine/media/cdaudio.h"
#include "engine/media/sound_table.h"
#include "engine/media/sound_volumes.h"

namespace {

constexpr int kStartVolume = 20;
constexpr int kLoop = 1;

float Gain(int percent) { return static_cast<float>(percent) * 0.01f; }

}  // namespace

CGameAudio::CGameAudio() : savedCdVolume(GetCDVolume()), savedWaveVolume(GetWaveVolume()) {
  SetMusicVolume(kStartVolume);
  SetSoundVolume(kStartVolume);
}

CGameAudio::~CGameAudio() {
  StopMusic();
  for (int i = 0; i < effectCount; ++i) FreeSound(effects[static_cast<size_t>(i)]);
  if (extraSound) FreeSound(extraSound);
  SetCDVolume(savedCdVolume);
  SetWaveVolume(savedWaveVolume);
}

void CGameAudio::PlayTrack(int track) {
  if (track == g_cdAudio.startTrack && currentTrack != -1) return;
  if (track == -1) StopCDAudio();
  else if (musicVolume != 0) PlayCDTrack(track, kLoop);
  currentTrack = track;
}

void CGameAudio::StopMusic() {
  StopCDAudio();
  currentTrack = -1;
}

void CGameAudio::OverrideTrack(int track) {
  if (track == currentTrack) return;
  if (track > 0) {
    if (musicVolume != 0) PlayCDTrack(track, kLoop);
    return;
  }
  StopCDAudio();
  g_cdAudio.startTrack = 0;
}

void CGameAudio::ApplyMusicVolume() {
  if (musicVolume != 0) SetCDVolume(Gain(musicVolume));
}

void CGameAudio::SetMusicVolume(int percent) {
  SetCDVolume(Gain(percent));
  if (percent != 0 && musicVolume == 0 && currentTrack > 0) PlayCDTrack(currentTrack, kLoop);
  musicVolume = percent;
}

void CGameAudio::SetSoundVolume(int percent) {
  SetWaveVolume(Gain(percent));
  soundVolume = percent;
}

void CGameAudio::PlayEffect(const char* name) {
  if (soundVolume == 0 || !name) return;
  if (effectCount == kEffectSlots) {
    FreeSound(effects[0]);
    effects[0] = effects[1];
    effects[1] = effects[2];
    effects[2] = 0;
    --effectCount;
  }
  const HOBJECT sound = LoadSound(name);
  effects[static_cast<size_t>(effectCount++)] = sound;
  if (sound) StartSound(sound, 0);
}
