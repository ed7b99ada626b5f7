#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/sound_table.h"
#include "engine/media/sound_waves.h"
#include "platform/sound.h"
#include "tests/engine/engine_fixture.h"
#include "tools/datagen/wave_writer.h"

namespace soundtest {

// The engine open in a fresh working directory, with the mixer advanced only
// by the test: PullMixedFrames is what the device would hear.
class SoundTest : public enginetest::EngineTest {
 protected:
  SoundTest() { plat::SetManualMixing(true); }
  ~SoundTest() override { plat::SetManualMixing(false); }

  // A mono 16-bit wave at 44100 Hz (the output rate) holding one level.
  static void WriteLevelWave(const std::string& path, int16_t level, size_t frames = 4410) {
    datagen::WaveSpec spec;
    spec.sampleRate = 44100;
    spec.samples = datagen::ConstantSamples(frames, 1, level);
    ASSERT_TRUE(datagen::WriteWave(path, spec));
  }

  // The level heard in the next frame: left side, or both.
  static float PullLeft() { return plat::PullMixedFrames(1)[0]; }
  static std::pair<float, float> PullSides() {
    std::vector<float> out = plat::PullMixedFrames(1);
    return {out[0], out[1]};
  }
  static float Level(int16_t sample) { return sample / 32768.0f; }

  static size_t PositionOf(HOBJECT sound) {
    SOUNDDESC* record = LookupSound(sound);
    return record ? record->buffer->Position() : static_cast<size_t>(-1);
  }

  testsupport::ScopedWorkDir dir_;
};

}  // namespace soundtest
