#pragma once
#include <array>

#include "engine/core/handles.h"

struct SOUNDDESC;

// The table of plain sounds: handles 0x0E000000 | slot for slots 1 to 254.
// The mark is the highest slot handed out; freeing the top slot lowers it
// past the empty slots below. Every call answers 0 (or does nothing) while
// the engine or the sound device is closed or the handle does not resolve.

constexpr int kSoundTableSize = 255;

struct SOUNDTABLE {
  std::array<SOUNDDESC*, kSoundTableSize> slots{};
  int mark = 0;
};

extern SOUNDTABLE g_soundTable;

// The record of a handle: type 0x0E, slot 1 to the mark, filled.
SOUNDDESC* LookupSound(HOBJECT handle);

// A sound of the same name (compared exactly, as given) already loaded gives
// a clone of it; otherwise the wave file is read. 0 for a full table or a
// file that cannot be read.
HOBJECT LoadSound(const char* name);
// A new handle on a duplicate sharing the samples, with its own position and
// volume; 0 when the table is full or the duplicate cannot be made.
HOBJECT CloneSound(HOBJECT sound);
// Stops the sound and frees it; 1 when the handle resolved.
int FreeSound(HOBJECT sound);
// Flags: low 24 bits equal to 1 loop; SOUNDPLAY_REWIND starts from the
// beginning. A playing sound only restarts with SOUNDPLAY_REWIND.
int StartSound(HOBJECT sound, int flags);
// Stops where it is: StartSound without SOUNDPLAY_REWIND continues from there.
int PauseSound(HOBJECT sound);
// Stops and rewinds.
int StopSound(HOBJECT sound);
int IsSoundPlaying(HOBJECT sound);

// Stops and frees every sound and resets the mark (engine open and close).
void FreeAllSounds();
