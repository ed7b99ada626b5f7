#include "battle/x_wave.h"

#include "engine/media/sound_table.h"

CXWave::~CXWave() { Close(); }

int CXWave::Open(const char* name) {
  Close();
  sound_ = name ? LoadSound(name) : 0;
  return sound_ != 0;
}

void CXWave::Close() {
  if (sound_) FreeSound(sound_);
  sound_ = 0;
}

void CXWave::Play(int flags) {
  if (sound_) StartSound(sound_, flags);
}

void CXWave::Stop() {
  if (sound_) StopSound(sound_);
}

void CXWave::Pause() {
  if (sound_) PauseSound(sound_);
}
