#include "engine/media/sound_volumes.h"

#include "engine/core/engine_state.h"
#include "platform/sound.h"

namespace {

int SetVolume(plat::SoundBus bus, float volume) {
  if (!g_engineOpen) return 0;
  plat::SetBusGain(bus, volume);
  return 1;
}

float GetVolume(plat::SoundBus bus) { return g_engineOpen ? plat::BusGain(bus) : 0.0f; }

}  // namespace

int SetWaveVolume(float volume) { return SetVolume(plat::SoundBus::Wave, volume); }
float GetWaveVolume() { return GetVolume(plat::SoundBus::Wave); }
int SetCDVolume(float volume) { return SetVolume(plat::SoundBus::Cd, volume); }
float GetCDVolume() { return GetVolume(plat::SoundBus::Cd); }
