// The sample world's dialogue file, the loose pictures of the dialogue box's
// frame and of the overlay cursor, and the interface sounds.
#include <cmath>
#include <numbers>

#include "platform/files.h"
#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/dialogue_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

// The hero ("*", replaced by the hero's name) greets with a highlighted word
// and a cyan one; Mira answers in Chinese ("ni hao").
constexpr const char* kGreetText =
    "*:Welcome home, ^traveller^.\nThe $village$ waits.#"
    "Mira:\xA7\x41\xA6\x6E! Rest well.#/";
// Answers are pages of their own with an empty speaker.
constexpr const char* kAskText = "Mira:Will you help us?#:Yes, gladly.#:Not now.#/";

// An 8-bit texture whose pixel (x, y) takes palette index pattern(x, y).
template <class Pattern>
bool WriteTexture(const std::string& path, int width, int height, const std::vector<PaletteColour>& palette,
                  Pattern pattern, std::string& error) {
  ImageDesc image;
  image.magic = ImageMagic::Qbt;
  image.width = static_cast<uint32_t>(width);
  image.height = static_cast<uint32_t>(height);
  image.palette = palette;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.pixels.push_back(pattern(x, y));
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(path, bytes.Bytes(), error);
}

bool WriteFrameTextures(const std::string& root, std::string& error) {
  // Index 0 is the overlay's key colour, pure blue.
  const std::vector<PaletteColour> gold = {{0, 0, 255}, {200, 160, 60}, {120, 90, 30}};
  // A corner: a quarter ring; the pointing corner is filled.
  auto ring = [](int x, int y) -> uint8_t {
    const int d = (31 - x) * (31 - x) + (31 - y) * (31 - y);
    return d > 31 * 31 ? 0 : d > 24 * 24 ? 1 : 0;
  };
  auto pointer = [](int x, int y) -> uint8_t { return x + y > 31 ? 1 : (x + y > 24 ? 2 : 0); };
  auto vertical = [](int x, int) -> uint8_t { return x >= 24 ? (x >= 28 ? 2 : 1) : 0; };
  auto horizontal = [](int, int y) -> uint8_t { return y >= 24 ? (y >= 28 ? 2 : 1) : 0; };
  // The shimmer pieces: a bright band across a dark strip.
  const std::vector<PaletteColour> shimmer = {{40, 40, 60}, {90, 90, 130}, {230, 230, 255}};
  auto band = [](int x, int) -> uint8_t { return x % 16 < 2 ? 2 : (x % 16 < 5 ? 1 : 0); };
  return WriteTexture(root + "texture/DBordVP0.qbt", 32, 32, gold, pointer, error) &&
         WriteTexture(root + "texture/DBordVC0.qbt", 32, 32, gold, ring, error) &&
         WriteTexture(root + "texture/DBordVL0.qbt", 32, 32, gold, vertical, error) &&
         WriteTexture(root + "texture/DBordVL1.qbt", 32, 32, gold, horizontal, error) &&
         WriteTexture(root + "texture/DialBGS.qbt", 64, 16, shimmer, band, error) &&
         WriteTexture(root + "texture/DialBGSQ.qbt", 64, 16, shimmer, band, error);
}

// Six rows (one per shape) of two animation cells of 24 x 24 on the blue key:
// a white arrow whose tip sits at the shape's hot spot, its shade changing
// with the cell.
bool WriteCursor(const std::string& root, std::string& error) {
  constexpr int kCell = 24;
  constexpr int kHotSpots[6][2] = {{1, 4}, {4, 11}, {8, 18}, {12, 18}, {4, 30}, {17, 18}};
  BitmapDesc bitmap;
  bitmap.width = 2 * kCell;
  bitmap.height = 6 * kCell;
  bitmap.bitCount = 24;
  bitmap.forSprites = true;
  // Rows go bottom first for sprites.
  for (int fileRow = 0; fileRow < 6 * kCell; ++fileRow) {
    const int y = 6 * kCell - 1 - fileRow;
    const int shape = y / kCell;
    const int tipX = kHotSpots[shape][0], tipY = std::min(kHotSpots[shape][1], kCell - 1);
    for (int x = 0; x < 2 * kCell; ++x) {
      const int cellX = x % kCell, cellY = y % kCell;
      const int dx = cellX - tipX, dy = cellY - tipY;
      const bool arrow = dx >= 0 && dy >= 0 && dx <= dy && dy < 12;
      const uint8_t shade = x < kCell ? 255 : 200;
      bitmap.pixels.insert(bitmap.pixels.end(), arrow ? std::initializer_list<uint8_t>{shade, shade, shade}
                                                      : std::initializer_list<uint8_t>{255, 0, 0});
    }
  }
  plat::ByteWriter bytes;
  return WriteBitmap(bitmap, bytes, error) && WriteOutputFile(root + kCursorImageFile, bytes.Bytes(), error);
}

bool WriteInterfaceSounds(const std::string& root, std::string& error) {
  const std::pair<const char*, int> tones[] = {
      {"MM_onbut", 660}, {"MM_hover", 990}, {"scrollhover", 1320}, {"MM_Useobj", 520}};
  for (const auto& [name, hertz] : tones) {
    WaveSpec spec;
    spec.sampleRate = kSampleRate;
    const int frames = kSampleRate / 20;  // 50 ms
    for (int i = 0; i < frames; ++i)
      spec.samples.push_back(
          static_cast<int16_t>(std::lround(4000 * std::sin(2 * std::numbers::pi * hertz * i / kSampleRate))));
    if (!WriteOutputFile(root + "waves/" + name + ".wav", BuildWave(spec), error)) return false;
  }
  return true;
}

}  // namespace

bool WriteSampleDialogue(const std::string& root, std::string& error) {
  return WriteDialogueFile(root + kDialogueFile, {{kGreetEntry, kGreetText}, {kAskEntry, kAskText}}, error) &&
         WriteFrameTextures(root, error) && WriteCursor(root, error) && WriteInterfaceSounds(root, error);
}

}  // namespace datagen
