// The sample world's field extras: the transitions' models, banner texture
// and cues; the guessing game's panel and texts; the world map's pictures.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/transition_scenes.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {

namespace {

struct IconSize {
  int width, height;
};
// The world map's 15 places, in place order.
constexpr IconSize kIconSizes[] = {{80, 50}, {96, 58}, {88, 47}, {76, 53}, {84, 58}, {88, 60}, {88, 64}, {88, 64},
                                   {68, 54}, {68, 48}, {84, 48}, {72, 58}, {60, 52}, {80, 69}, {100, 62}};

constexpr const char* kCues[] = {"movebreak", "break", "move", "fbr"};

// An 8-bit sprite bitmap: paint(x, y) gives an index of the palette; rows
// are handed over top row first.
template <typename Paint>
bool Picture(int width, int height, const std::vector<PaletteColour>& palette, Paint paint, std::vector<uint8_t>& out,
             std::string& error) {
  BitmapDesc bitmap;
  bitmap.forSprites = true;
  bitmap.palette = palette;
  bitmap.width = static_cast<uint32_t>(width);
  bitmap.height = static_cast<uint32_t>(height);
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) bitmap.pixels.push_back(paint(x, y));
  plat::ByteWriter bytes;
  if (!WriteBitmap(bitmap, bytes, error)) return false;
  out = bytes.Bytes();
  return true;
}

// A swelling noise burst.
WaveSpec Burst(int seed) {
  WaveSpec spec;
  constexpr int kFrames = 11025;
  uint32_t state = static_cast<uint32_t>(seed) * 2654435761u;
  for (int i = 0; i < kFrames; ++i) {
    state = state * 1103515245u + 12345u;
    const int level = 8000 * (kFrames - i) / kFrames;
    spec.samples.push_back(static_cast<int16_t>(static_cast<int>((state >> 16) % 2001) - 1000) * level / 1000);
  }
  return spec;
}

bool WriteTransitions(const std::string& root, std::string& error) {
  if (!WriteSceneFile(root + "scenes/3deffect.sb", BreakingScreenScene(), error) ||
      !WriteSceneFile(root + "scenes/2_sided.sb", TwoSidedScene(), error))
    return false;
  ImageDesc banner;
  banner.width = 64;
  banner.height = 16;
  banner.palette = {{20, 20, 40}, {230, 220, 180}};
  for (uint32_t y = 0; y < banner.height; ++y)
    for (uint32_t x = 0; x < banner.width; ++x) banner.pixels.push_back((x / 4 + y / 4) % 3 == 0 ? 1 : 0);
  plat::ByteWriter bytes;
  if (!WriteImage(banner, bytes, error) || !WriteOutputFile(root + "texture/loadt.qbt", bytes.Bytes(), error))
    return false;
  int seed = 1;
  for (const char* cue : kCues) {
    if (!WriteOutputFile(root + "waves/" + cue + ".wav", BuildWave(Burst(seed++)), error)) return false;
  }
  return true;
}

bool WriteWorldMap(const std::string& root, std::string& error) {
  const std::vector<PaletteColour> palette = {{70, 120, 60}, {40, 70, 130}, {200, 190, 150},
                                              {20, 30, 60},  {220, 60, 40}, {250, 220, 90}};
  std::vector<PackageFile> files(2);
  files[0].name = "map00.bmp";
  files[1].name = "map01.bmp";
  // Day: land and water; night: the same darker.
  auto land = [](int x, int y) { return static_cast<uint8_t>((x / 40 + y / 40) % 5 == 0 ? 1 : 0); };
  if (!Picture(640, 480, palette, land, files[0].data, error)) return false;
  if (!Picture(
          640, 480, palette, [&](int x, int y) { return static_cast<uint8_t>(land(x, y) ? 3 : 1); }, files[1].data,
          error))
    return false;
  for (int id = 0; id < 15; ++id) {
    const IconSize size = kIconSizes[id];
    for (int variant = 1; variant <= 3; ++variant) {
      // Normal, hovered and chosen icons: a frame, a filled box, a bright box.
      auto icon = [&](int x, int y) {
        const bool edge = x < 3 || y < 3 || x >= size.width - 3 || y >= size.height - 3;
        return static_cast<uint8_t>(variant == 1 ? (edge ? 2 : 0) : variant == 2 ? 4 : 5);
      };
      for (const char* page : {"mp_d%02d%d.bmp", "mp_n%02d%d.bmp"}) {
        char name[32];
        std::snprintf(name, sizeof name, page, id + 1, variant);
        PackageFile file;
        file.name = name;
        if (!Picture(size.width, size.height, palette, icon, file.data, error)) return false;
        files.push_back(std::move(file));
      }
    }
  }
  plat::ByteWriter package;
  return WritePackage(files, package, error) && WriteOutputFile(root + "image/map.qxo", package.Bytes(), error);
}

bool WriteGuessPanel(const std::string& root, std::string& error) {
  std::vector<uint8_t> bytes;
  auto panel = [](int, int y) { return static_cast<uint8_t>(y < 2 ? 1 : 0); };
  return Picture(640, 120, {{230, 225, 210}, {120, 100, 70}}, panel, bytes, error) &&
         WriteOutputFile(root + "image/_back.bmp", bytes, error);
}

}  // namespace

void AddSampleFieldExtrasMessages(std::vector<std::string>& messages) {
  constexpr int kLast = 147;
  if (messages.size() < static_cast<size_t>(kLast)) messages.resize(kLast);
  for (int k = 0; k < 10; ++k) messages[129 + k] = std::to_string(k + 1);
  messages[139] = "";
  messages[140] = "You found all four numbers!";
  messages[141] = "";
  messages[142] = "%d in place, %d right";
  messages[143] = "Pick four numbers";
  messages[144] = "Pick the second number";
  messages[145] = "Pick the third number";
  messages[146] = "Pick the last number";
}

bool WriteSampleFieldExtras(const std::string& root, std::string& error) {
  return WriteTransitions(root, error) && WriteWorldMap(root, error) && WriteGuessPanel(root, error);
}

}  // namespace datagen
