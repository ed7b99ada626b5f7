#include "game/game_audio.h"

#include <cstddef>

#include "engine/media/sound_table.h"

CGameAudio::~CGameAudio() {
  for (int i = 0; i < effectCount; ++i) FreeSound(effects[static_cast<size_t>(i)]);
}

void CGameAudio::PlayEffect(const char* name) {
  if (soundVolume == 0 || !name) return;
  if (effectCount == static_cast<int>(effects.size())) {
    FreeSound(effects[0]);
    effects[0] = effects[1];
    effects[1] = effects[2];
    --effectCount;
  }
  const HOBJECT sound = LoadSound(name);
  effects[static_cast<size_t>(effectCount++)] = sound;
  StartSound(sound, 0);
}
