// The battle display's pictures in "image" and the battle's sounds in "waves".
#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_battle_hud.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/ui_art.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;

// Index 0 is the display's key colour, magenta; then a dark and a light
// shade of each of four tints, one tint per picture row; then the paper and
// the ink of the windows that show the rewards' dark words.
enum : uint8_t { kDarkTint = 1, kLightTint = 2, kPaper = 9, kPaperInk = 10 };
const std::vector<PaletteColour> kHudPalette = {{255, 0, 255},   {40, 30, 20},    {200, 170, 110}, {20, 40, 30},
                                                {110, 200, 150}, {20, 30, 60},    {120, 150, 230}, {60, 20, 20},
                                                {230, 120, 110}, {235, 225, 200}, {45, 22, 19}};

struct CELLS {
  int width;
  int height;
  int columns = 1;
  int rows = 1;
};

// A picture of columns x rows cells, each a dark panel with a light border
// whose thickness counts the column (so frames tell apart), or a paper one
// with a dark border; the labels are drawn into every cell. The width is
// padded to a multiple of 4 with the key colour.
bool WriteCells(const std::string& path, const CELLS& c, const std::vector<uiart::Label>& labels, bool paper,
                std::string& error) {
  uiart::LabelLayer ink;
  if (!ink.Render(labels, error)) return false;
  const int used = c.width * c.columns;
  const int width = (used + 3) / 4 * 4;
  const int height = c.height * c.rows;
  BitmapDesc bitmap;
  bitmap.width = static_cast<uint32_t>(width);
  bitmap.height = static_cast<uint32_t>(height);
  bitmap.palette = kHudPalette;
  bitmap.forSprites = true;
  for (int y = height - 1; y >= 0; --y)
    for (int x = 0; x < width; ++x) {
      if (x >= used) {
        bitmap.pixels.push_back(0);
        continue;
      }
      const int column = x / c.width, row = y / c.height;
      const int cx = x % c.width, cy = y % c.height;
      const int edge = std::min(std::min(cx, c.width - 1 - cx), std::min(cy, c.height - 1 - cy));
      const int tint = 1 + 2 * (row % 4);
      const int label = ink.At(cx, cy);
      if (label >= 0) bitmap.pixels.push_back(static_cast<uint8_t>(label));
      else if (paper) bitmap.pixels.push_back(edge <= 1 ? kDarkTint : kPaper);
      else bitmap.pixels.push_back(static_cast<uint8_t>(edge <= column ? tint + 1 : tint));
    }
  plat::ByteWriter out;
  return WriteBitmap(bitmap, out, error) && WriteOutputFile(path, out.Bytes(), error);
}

// Tones of the given pitches one after another, each fading out.
WaveSpec Notes(std::initializer_list<int> hertz, int milliseconds, int amplitude) {
  constexpr int kRate = 22050;
  WaveSpec spec;
  spec.sampleRate = kRate;
  const int frames = kRate * milliseconds / 1000;
  for (int pitch : hertz)
    for (int i = 0; i < frames; ++i) {
      const double fade = 1.0 - static_cast<double>(i) / frames;
      const double phase = 2 * std::numbers::pi * pitch * i / kRate;
      spec.samples.push_back(static_cast<int16_t>(std::lround(amplitude * fade * std::sin(phase))));
    }
  return spec;
}

WaveSpec BattleWave(const std::string& name) {
  if (name == "music1") return Notes({220, 262, 330, 262}, 400, 2500);
  if (name == "victory") return Notes({523, 659, 784, 1047}, 180, 6000);
  if (name == "majorDie") return Notes({392, 330, 262, 196}, 300, 6000);
  if (name == "bdown") return Notes({1200}, 30, 5000);
  return Notes({900, 700, 500}, 40, 5000);  // a sword's swish
}

// The words of the rewards window beside its numbers (Verdana 16 x 16 at
// x 140) and above its won items.
std::vector<uiart::Label> RewardWords() {
  std::vector<uiart::Label> words = {uiart::Centred("Victory", 0, 8, 240, 26, 18, kPaperInk),
                                     uiart::LeftAligned("Items won", 24, 148, 150, 18, 13, kPaperInk)};
  const std::pair<const char*, int> rows[] = {{"Level", 40}, {"Experience", 68}, {"To next level", 96}, {"Money", 124}};
  for (const auto& [word, y] : rows) words.push_back(uiart::LeftAligned(word, 24, y, 110, 18, 13, kPaperInk));
  return words;
}

// The words of the level-up window beside its numbers (at x 130) and over
// its six defences.
std::vector<uiart::Label> LevelUpWords() {
  std::vector<uiart::Label> words = {uiart::Centred("Level up!", 0, 4, 232, 24, 16, kPaperInk),
                                     uiart::LeftAligned("Defence", 20, 150, 100, 15, 12, kPaperInk)};
  const std::pair<const char*, int> rows[] = {{"Level", 30}, {"HP", 56}, {"MP", 82}, {"Special", 108}, {"Attack", 134}};
  for (const auto& [word, y] : rows) words.push_back(uiart::LeftAligned(word, 20, y, 100, 18, 13, kPaperInk));
  return words;
}

// The gauge frame's words, left of the HP, MP and special gauges.
std::vector<uiart::Label> GaugeWords() {
  std::vector<uiart::Label> words;
  const std::pair<const char*, int> rows[] = {{"HP", 8}, {"MP", 23}, {"SP", 38}};
  for (const auto& [word, y] : rows) words.push_back(uiart::LeftAligned(word, 6, y - 5, 26, 15, 12, kLightTint));
  return words;
}

}  // namespace

bool WriteSampleBattleHud(const std::string& root, std::string& error) {
  const std::string image = root + "image/";
  struct Picture {
    std::string name;
    CELLS cells;
    std::vector<uiart::Label> labels = {};
    bool paper = false;
  };
  std::vector<Picture> pictures = {
      {"cursor00", {24, 24, kCursorColumns, kCursorRows}},
      {"bif0700", {44, 38}},
      {"bif50100", {124, 51}, GaugeWords()},
      {"bif50200", {80, 5}},
      {"bif50300", {80, 5}},
      {"bif50400", {80, 5}},
      {"bifvgx", {240, 290, 2, 1}, RewardWords(), true},
      {"levelup0", {232, 250}, LevelUpWords(), true},
      {"bicon", {48, 44, 5, 2}},
      {"bift", {42, 38, kQuickItemColumns, 1}},
  };
  // The command buttons, each with its main, disabled, hover and pressed image.
  const CELLS buttons[] = {{44, 42}, {40, 43}, {44, 39}, {44, 39}, {44, 39}, {44, 43}};
  const char* const commands[] = {"Snatch", "Speed", "Special", "Items", "Threaten", "Paralyse"};
  for (int b = 0; b < 6; ++b) {
    const CELLS& c = buttons[b];
    const uiart::Label word = uiart::Centred(commands[b], 0, 0, c.width, c.height, 10, kLightTint);
    for (int state = 0; state < 4; ++state)
      pictures.push_back({"bif0" + std::to_string(b + 1) + "0" + std::to_string(state), c, {word}});
  }
  for (const char* state : {"00", "02"}) {
    pictures.push_back({std::string("circle") + state, {24, 24}});
    pictures.push_back({std::string("circleb") + state, {48, 48}});
  }
  for (const Picture& p : pictures)
    if (!WriteCells(image + p.name + ".bmp", p.cells, p.labels, p.paper, error)) return false;
  for (const char* name : kBattleWaves)
    if (!WriteOutputFile(root + "waves/" + name + ".wav", BuildWave(BattleWave(name)), error)) return false;
  return true;
}

}  // namespace datagen
