#include "engine/media/sound_waves.h"

#include <string>

#include "engine/media/data_directories.h"
#include "engine/media/path_text.h"
#include "engine/media/sound.h"
#include "platform/debug_output.h"
#include "platform/wave_file.h"

namespace {

// The file a wave name stands for; empty when there is none.
std::string FindWaveFile(const char* name) {
  std::string drive, directory, base, extension;
  SplitPath(name, &drive, &directory, &base, &extension);
  if (extension.empty()) extension = ".wav";
  if (!drive.empty() || !directory.empty()) {
    std::string path = MakePath(drive, directory, base, extension);
    return FileExists(path) ? path : std::string();
  }
  for (DATADIRECTORY slot : {DATADIR_OVERRIDE, DATADIR_SOUND}) {
    std::string path = MakePath("", g_dataDirectories[slot], base, extension);
    if (FileExists(path)) return path;
  }
  return std::string();
}

}  // namespace

SOUNDDESC* LoadWave(const char* name, int is3D) {
  if (!g_soundDevice.open || !name) return nullptr;
  std::string path = FindWaveFile(name);
  if (path.empty()) {
    std::string extension;
    SplitPath(name, nullptr, nullptr, nullptr, &extension);
    plat::DebugOutput(std::string("Wave file not found: ") + name + (extension.empty() ? ".wav" : ""));
    return nullptr;
  }
  plat::Wave wave;
  if (!plat::ReadWaveFile(path, wave)) {
    plat::DebugOutput("Wave file cannot be read: " + path);
    return nullptr;
  }
  std::unique_ptr<plat::SoundBuffer> buffer = plat::SoundBuffer::Create(wave, is3D != 0);
  if (!buffer) return nullptr;
  SOUNDDESC* record = new SOUNDDESC;
  record->is3D = is3D ? 1 : 0;
  record->name = name;
  record->buffer = std::move(buffer);
  return record;
}

SOUNDDESC* DuplicateWave(const SOUNDDESC* record) {
  if (!record) return nullptr;
  std::unique_ptr<plat::SoundBuffer> buffer = record->buffer->Duplicate();
  if (!buffer) return nullptr;
  SOUNDDESC* copy = new SOUNDDESC;
  copy->is3D = record->is3D;
  copy->name = record->name;
  copy->buffer = std::move(buffer);
  return copy;
}

void FreeWave(SOUNDDESC* record) { delete record; }

int StartWave(SOUNDDESC* record, int flags) {
  if (!record) return 0;
  if (flags & SOUNDPLAY_REWIND) StopWave(record);
  record->buffer->Play((flags & 0x00FFFFFF) == 1);
  return 1;
}

int PauseWave(SOUNDDESC* record) {
  if (!record) return 0;
  record->buffer->Stop();
  return 1;
}

int StopWave(SOUNDDESC* record) {
  if (!record) return 0;
  record->buffer->Stop();
  record->buffer->SetPosition(0);
  return 1;
}
