#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// RIFF WAVE files as the game's sound effects come: PCM, 8 or 16 bits, mono or
// stereo, any rate (the mixer resamples).
namespace plat {

struct WaveFormat {
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;
};

// Samples are kept as signed 16-bit whatever the file held, interleaved.
struct Wave {
  WaveFormat format;
  std::vector<int16_t> samples;
  size_t FrameCount() const { return format.channels > 0 ? samples.size() / static_cast<size_t>(format.channels) : 0; }
};

// Whether the mixer can play this format.
bool IsPlayableFormat(const WaveFormat& format);

// Parses a whole file image. False for anything but a well-formed PCM wave
// with at least one frame of data.
bool ParseWave(const uint8_t* bytes, size_t size, Wave& out);
// Reads and parses a file; names resolve case-insensitively.
bool ReadWaveFile(std::string_view path, Wave& out);

}  // namespace plat
