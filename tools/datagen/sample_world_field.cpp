// The field's own pictures, textures and sound: the loading screen's picture,
// the message board's frame, the lens-flare and mote glows and the slow
// click's flip.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/files.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

// Index 0 is the key colour, pure blue.
const std::vector<PaletteColour> kFramePalette = {{0, 0, 255}, {30, 30, 50}, {170, 140, 80}, {240, 220, 160}};

// The colour key of the motes' material.
constexpr PaletteColour kMoteKey = {72, 184, 248};

// A dark panel with a light border, the bottom row stored first.
bool WriteFramedPicture(const std::string& path, uint32_t width, uint32_t height, std::string& error) {
  BitmapDesc bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.palette = kFramePalette;
  bitmap.forSprites = true;
  const int w = static_cast<int>(width), h = static_cast<int>(height);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const int edge = std::min(std::min(x, w - 1 - x), std::min(y, h - 1 - y));
      bitmap.pixels.push_back(edge < 2 ? 3 : (edge < 4 ? 2 : 1));
    }
  plat::ByteWriter out;
  return WriteBitmap(bitmap, out, error) && WriteOutputFile(path, out.Bytes(), error);
}

// A round glow of the colour fading to black (the key of additive drawing).
// A glow drawn opaque on the 3D device (the field's motes) instead shows its
// bright core and takes the key colour of its material around it.
bool WriteGlow(const std::string& path, PaletteColour colour, float ring, const PaletteColour* key,
               std::string& error) {
  constexpr int kSize = 32;
  constexpr int kSteps = 8;
  constexpr int kKeyedFrom = 4;  // the dimmer steps of a keyed glow
  ImageDesc image;
  image.magic = ImageMagic::Qbt;
  image.width = kSize;
  image.height = kSize;
  for (int i = 0; i < kSteps; ++i) {
    const float f = static_cast<float>(kSteps - 1 - i) / (kSteps - 1);
    image.palette.push_back({static_cast<uint8_t>(colour.red * f), static_cast<uint8_t>(colour.green * f),
                             static_cast<uint8_t>(colour.blue * f)});
  }
  if (key) image.palette.push_back(*key);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const float d = std::hypot(x - 15.5f, y - 15.5f) / 16;
      // A ring glow is brightest at the given radius, a plain one in the middle.
      const float off = ring > 0 ? std::fabs(d - ring) * 3 : d;
      const int step = static_cast<int>(std::clamp(off, 0.0f, 1.0f) * (kSteps - 1));
      image.pixels.push_back(static_cast<uint8_t>(key && step >= kKeyedFrom ? kSteps : step));
    }
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(path, bytes.Bytes(), error);
}

bool WriteFlip(const std::string& path, std::string& error) {
  WaveSpec spec;
  spec.sampleRate = kSampleRate;
  const int frames = kSampleRate / 25;  // 40 ms, falling in pitch
  for (int i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    spec.samples.push_back(static_cast<int16_t>(
        std::lround(5000 * (1 - t * 25) * std::sin(2 * std::numbers::pi * (1500 - 9000 * t) * t))));
  }
  return WriteOutputFile(path, BuildWave(spec), error);
}

}  // namespace

bool WriteSampleField(const std::string& root, std::string& error) {
  const struct {
    const char* name;
    PaletteColour colour;
    float ring;
    const PaletteColour* key;
  } glows[] = {{"flare0", {255, 200, 120}, 0.8f, nullptr},
               {"flare1", {160, 200, 255}, 0, nullptr},
               {"light103", {255, 255, 220}, 0, nullptr},
               {"light104", {200, 255, 160}, 0, &kMoteKey},
               {"light105", {255, 240, 200}, 0.5f, nullptr}};
  for (const auto& glow : glows)
    if (!WriteGlow(root + "texture/" + glow.name + ".qbt", glow.colour, glow.ring, glow.key, error)) return false;
  return WriteFramedPicture(root + "image/loading.bmp", 420, 128, error) &&
         WriteFramedPicture(root + "image/insertcd2.bmp", 240, 120, error) && WriteFlip(root + "waves/flip.wav", error);
}

}  // namespace datagen
