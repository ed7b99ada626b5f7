#pragma once

// CD music: one track at a time, played from its start to its end, optionally
// looping. Looping is a check once per second on frame-timer slot 6: a looping
// range that has ended and is not paused is played again. Every call answers
// 0 while the device is closed.

struct CDAUDIOSTATE {
  int deviceId = 0;  // 0 = closed
  // The current play range, tracks, minutes, seconds and frames of 1/75 s.
  int startTrack = 0;
  int startMinute = 0;
  int startSecond = 0;
  int startFrame = 0;
  int endTrack = 0;
  int endMinute = 0;
  int endSecond = 0;
  int endFrame = 0;
  int loop = 0;
  int paused = 0;
};

// The game reads startTrack as the track now asked for, and clears it.
extern CDAUDIOSTATE g_cdAudio;

constexpr int kCdLoopTimerSlot = 6;

// Opens the device for the disc in the given drive (0: the default drive).
// The drive only names the disc: the tracks are files beside the data. 0 when
// already open or while the engine is closed.
int OpenCDAudio(char driveLetter);
int OpenCDAudioDefault();
// Stops and closes; 0 when not open.
int CloseCDAudio();
// Plays the whole track; loop 1 (low 24 bits) keeps repeating it. 0 for a
// track that does not exist, which leaves the previous range.
int PlayCDTrack(int track, int loop);
// 1 when it paused: only while playing.
int PauseCDAudio();
// Only when paused and not playing: plays on to the end of the range.
int ResumeCDAudio();
// Ends the loop, the pause and the current track; 1 when it stopped.
int StopCDAudio();
int IsCDPlaying();
// The once-per-second loop check on slot 6.
void CDLoopTick(int periods);
