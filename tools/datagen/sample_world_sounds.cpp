// The sample world's sounds: a beep effect and one quiet CD-music track.
#include <cmath>
#include <numbers>

#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

// A mono sine of the given pitch and peak.
WaveSpec Tone(int hertz, int milliseconds, int amplitude) {
  WaveSpec spec;
  spec.sampleRate = kSampleRate;
  const int frames = kSampleRate * milliseconds / 1000;
  for (int i = 0; i < frames; ++i) {
    const double phase = 2 * std::numbers::pi * hertz * i / kSampleRate;
    spec.samples.push_back(static_cast<int16_t>(std::lround(amplitude * std::sin(phase))));
  }
  return spec;
}

}  // namespace

bool WriteSampleSounds(const std::string& root, std::string& error) {
  for (const auto& [file, spec] : {std::pair{kBeepFile, Tone(kBeepHertz, kBeepMilliseconds, kBeepAmplitude)},
                                   std::pair{kCdTrackFile, Tone(kTrackHertz, kTrackSeconds * 1000, kTrackAmplitude)}}) {
    if (!WriteWave(root + file, spec)) {
      error = std::string("cannot write ") + file;
      return false;
    }
  }
  return true;
}

}  // namespace datagen
