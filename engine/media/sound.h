#pragma once

// The sound device of the engine: opened with the engine, closed with it.
// Plain sounds are in sound_table.h, 3D sounds in sound3d.h, the master
// volumes in sound_volumes.h and CD music in cdaudio.h.

struct SOUNDDEVICE {
  int open = 0;
  // The master volumes found when the device opened, given back at close.
  float savedWaveVolume = 1.0f;
  float savedCdVolume = 1.0f;
  // Every 3D distance and position is multiplied by distanceScale x kDistanceFactor.
  float distanceScale = 0.01f;
};

constexpr float kDistanceFactor = 1.0f;

extern SOUNDDEVICE g_soundDevice;

// At engine open: empties the sound table, opens CD audio when it is enabled
// (EnableCDAudio) and opens the sound device with the first output format it
// takes. 1 when the sound device opened; CD audio is optional. On failure
// whatever it opened is closed again.
int InitSound();
// At engine close: stops and frees every table sound, closes CD audio, gives
// back the master volumes found at open and closes the device.
void CloseSound();
// Stores the distance scale, then sets the output format; 1 when the format
// was taken. 0 while the device is closed.
int SetSoundConfig(int channels, int samplesPerSecond, int bitsPerSample, float distanceScale);
