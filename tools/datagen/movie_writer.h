#pragma once
#include <cstdint>
#include <string>
#include <vector>

// ".avi" movies: uncompressed 24-bit frames and an optional mono 16-bit PCM
// sound track, the simplest files the movie player decodes.
namespace datagen {

struct MovieSpec {
  int width = 32;
  int height = 32;
  int framesPerSecond = 10;
  std::vector<std::vector<uint32_t>> frames;  // 0xRRGGBB pixels, top row first
  int soundRate = 0;                          // 0: no sound track
  std::vector<int16_t> sound;                 // spread evenly over the frames
};

// A frame of width x height pixels in one colour.
std::vector<uint32_t> SolidFrame(int width, int height, uint32_t rgb);

std::vector<uint8_t> BuildAvi(const MovieSpec& spec);
bool WriteAvi(const std::string& path, const MovieSpec& spec);

}  // namespace datagen
