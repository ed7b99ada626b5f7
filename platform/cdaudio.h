#pragma once
#include <cstdint>

// CD music without a CD: track NN of the disc is the file cdaudio/trackNN.wav,
// .ogg or .flac under the working directory (any letter case), played through
// the mixer on the Cd bus. Positions are the disc's own: tracks, minutes,
// seconds and frames of 1/75 s, packed as the system's CD device reports them.
// Every call fails (false, 0) while the device is closed.
namespace plat {

constexpr int kCdFramesPerSecond = 75;

// track | minute << 8 | second << 16 | frame << 24
constexpr uint32_t PackTmsf(int track, int minute, int second, int frame) {
  return static_cast<uint32_t>(track & 0xFF) | static_cast<uint32_t>(minute & 0xFF) << 8 |
         static_cast<uint32_t>(second & 0xFF) << 16 | static_cast<uint32_t>(frame & 0xFF) << 24;
}
// A track length: minute | second << 8 | frame << 16
constexpr uint32_t PackMsf(int minute, int second, int frame) {
  return static_cast<uint32_t>(minute & 0xFF) | static_cast<uint32_t>(second & 0xFF) << 8 |
         static_cast<uint32_t>(frame & 0xFF) << 16;
}

enum class CdMode { Stopped, Playing, Paused };

// False when already open. The folder may be missing: tracks then fail one by one.
bool OpenCdAudio();
// Stops and closes; false when not open.
bool CloseCdAudio();
bool CdAudioOpen();

// The highest track number that has a file (0 when none).
int CdTrackCount();
// The track's length, packed by PackMsf; false when the track has no readable file.
bool CdTrackLength(int track, uint32_t& msf);

// Plays from one packed TMSF position up to (not including) another of the
// same track; false for a missing track or a range outside it.
bool PlayCd(uint32_t fromTmsf, uint32_t toTmsf);
// Plays from the current position up to toTmsf (resuming after a pause).
bool PlayCdTo(uint32_t toTmsf);
// Only while playing; the position stays.
bool PauseCd();
bool StopCd();
// A play that reached its end reports Stopped, positioned at that end.
CdMode GetCdMode();
// Packed TMSF; before any play, the start of track 1.
uint32_t CdPosition();

}  // namespace plat
