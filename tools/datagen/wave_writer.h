#pragma once
#include <cstdint>
#include <string>
#include <vector>

// RIFF WAVE files: the game's sound effects and CD-music track files.
namespace datagen {

struct WaveSpec {
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;  // 8 stores each sample's high byte, offset to unsigned
  uint16_t formatTag = 1;  // 1 = PCM
  // Size of the "fmt " chunk: 16 is plain PCM, 18 adds an empty extension;
  // smaller sizes cut the format short.
  uint32_t fmtChunkSize = 16;
  std::vector<int16_t> samples;  // interleaved
};

// Frames of one constant level (all channels alike).
std::vector<int16_t> ConstantSamples(size_t frames, int channels, int16_t level);

std::vector<uint8_t> BuildWave(const WaveSpec& spec);
bool WriteWave(const std::string& path, const WaveSpec& spec);

}  // namespace datagen
