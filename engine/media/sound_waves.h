#pragma once
#include <memory>
#include <string>

#include "platform/sound.h"

// Sound records: one wave file read whole into a static buffer of the sound
// device. Plain sounds live in the sound table; a 3D sound is the kind data of
// its sound-emitter node, made by AttachSound3D, copied by DuplicateWave when
// the node is cloned and freed by FreeWave when the node goes.

struct SOUNDDESC {
  int index = 0;  // table slot of a plain sound; 0 for a 3D sound
  int is3D = 0;
  std::string name;  // as given to the load call
  std::unique_ptr<plat::SoundBuffer> buffer;
};

// SOUNDPLAYFLAGS: low 24 bits equal to 1 loop; this bit rewinds first.
constexpr int SOUNDPLAY_REWIND = 0x01000000;

// Reads "name" (".wav" added when it has no extension) from the override
// directory, then the sound directory; a name with a directory is used as
// given. Null while the sound device is closed, for a missing or unreadable
// file, or a format other than PCM 8 or 16 bits.
SOUNDDESC* LoadWave(const char* name, int is3D);
// A new record sharing the samples, with its own position; the same name and
// 3D flag. Null when the duplicate cannot be made.
SOUNDDESC* DuplicateWave(const SOUNDDESC* record);
// Stops the sound and frees the record; null is ignored.
void FreeWave(SOUNDDESC* record);

// The play calls shared by plain and 3D sounds; 1 on success.
int StartWave(SOUNDDESC* record, int flags);
int PauseWave(SOUNDDESC* record);
int StopWave(SOUNDDESC* record);
