#include "cutscene/wave_actor.h"

#include "cutscene/directory_switch.h"
#include "engine/media/data_directories.h"
#include "engine/media/sound_table.h"

SWave::SWave(const std::string& file, const std::string& directory) : fileName_(file) {
  ScopedDirectory sounds(GetSoundDirectory, SetSoundDirectory, directory);
  sound_ = LoadSound(file.c_str());
}

SWave::~SWave() {
  if (sound_) FreeSound(sound_);
}

void SWave::Play(int flags) {
  if (sound_) StartSound(sound_, flags);
}

void SWave::Stop() {
  if (sound_) StopSound(sound_);
}

void SWave::Pause() {
  if (sound_) PauseSound(sound_);
}
