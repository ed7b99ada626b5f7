#include "engine/media/sound.h"

#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/media/cdaudio.h"
#include "engine/media/sound_table.h"
#include "platform/sound.h"

SOUNDDEVICE g_soundDevice;

namespace {

int OpenSoundDevice() {
  if (g_soundDevice.open) return 1;
  plat::OpenSoundOutput();
  if (!plat::SoundOutputOpen()) return 0;
  g_soundDevice.open = 1;
  g_soundDevice.savedWaveVolume = plat::BusGain(plat::SoundBus::Wave);
  g_soundDevice.savedCdVolume = plat::BusGain(plat::SoundBus::Cd);
  return 1;
}

void CloseSoundDevice() {
  if (!g_soundDevice.open) return;
  plat::SetBusGain(plat::SoundBus::Wave, g_soundDevice.savedWaveVolume);
  plat::SetBusGain(plat::SoundBus::Cd, g_soundDevice.savedCdVolume);
  plat::CloseSoundOutput();
  g_soundDevice.open = 0;
}

// Best quality first: rate, then stereo before mono, 16 bits before 8.
int SetFirstOutputFormat() {
  static const int kRates[] = {44100, 22050, 11025};
  static const int kLayouts[][2] = {{2, 16}, {2, 8}, {1, 16}, {1, 8}};
  for (int rate : kRates)
    for (const auto& layout : kLayouts)
      if (plat::SetOutputFormat(layout[0], rate, layout[1])) return 1;
  return 0;
}

}  // namespace

int InitSound() {
  FreeAllSounds();
  int cdOpened = g_cdAudioEnabled ? OpenCDAudioDefault() : 0;
  if (OpenSoundDevice() && SetFirstOutputFormat()) return 1;
  CloseSoundDevice();
  if (cdOpened) CloseCDAudio();
  return 0;
}

void CloseSound() {
  FreeAllSounds();
  CloseCDAudio();
  CloseSoundDevice();
}

int SetSoundConfig(int channels, int samplesPerSecond, int bitsPerSample, float distanceScale) {
  if (!g_engineOpen || !g_soundDevice.open) return 0;
  g_soundDevice.distanceScale = distanceScale;
  return plat::SetOutputFormat(channels, samplesPerSecond, bitsPerSample) ? 1 : 0;
}
