// The sample world's interface: the pictures of "image/ui.qxo" (scroll-bar
// skins, the menu cursor, the item box and the hint icon), the UI sounds and
// the interface's messages.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <vector>

#include "tools/datagen/bitmap_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {

uint8_t uiart::Bevel(int x, int y, int width, int height, uint8_t face) {
  if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return kEdge;
  if (x == 1 || y == 1) return kLight;
  if (x == width - 2 || y == height - 2) return kShade;
  return face;
}

namespace {

using namespace sample;
using namespace uiart;

const std::vector<PaletteColour> kPalette = {
    {255, 0, 255},   {60, 40, 20},  {130, 95, 55},   {200, 170, 120}, {225, 195, 140},
    {160, 125, 80},  {245, 230, 190}, {20, 20, 20},  {230, 180, 40},
};

// A step button: a bevelled face (idle, hover, pressed by row) with an
// arrow pointing back (forward = false) or forward along the bar.
Painter StepButton(bool vertical, bool forward) {
  return [vertical, forward](int x, int y, int width, int height, int row) -> uint8_t {
    const uint8_t face = row == 0 ? kFace : row == 1 ? kHoverFace : kPressedFace;
    int along = vertical ? y - height / 2 : x - width / 2;
    const int across = vertical ? x - width / 2 : y - height / 2;
    if (forward) along = -along;
    if (along >= -3 && along <= 3 && std::abs(across) <= along + 3) return kInk;
    return Bevel(x, y, width, height, face);
  };
}

uint8_t Thumb(int x, int y, int width, int height, int) { return Bevel(x, y, width, height, kHoverFace); }

// An arrow with its point at the top left, the same in every cell.
uint8_t Cursor(int x, int y, int, int, int) {
  if (y < 16 && x <= y) return x == 0 || x == y || y == 15 ? kInk : kLight;
  if (y >= 16 && y < 22 && x >= 4 && x < 8) return kInk;  // the stem
  return kKey;
}

uint8_t ItemBox(int x, int y, int width, int height, int) {
  const bool corner = (x < 3 || x >= width - 3) && (y < 3 || y >= height - 3);
  if (corner) return kKey;
  if (x < 3 || y < 3 || x >= width - 3 || y >= height - 3) return kEdge;
  if (y >= 40 && y < 42 && x > 20 && x < width - 20) return kShade;
  return kLight;
}

// A gold disc with an exclamation mark.
uint8_t Hint(int x, int y, int width, int height, int) {
  const int dx = 2 * x + 1 - width;
  const int dy = 2 * y + 1 - height;
  const int radius = width - 2;
  if (dx * dx + dy * dy > radius * radius) return kKey;
  if (std::abs(dx) <= 4 && ((y >= 10 && y < 30) || (y >= 34 && y < 39))) return kInk;
  return dx * dx + dy * dy > (radius - 4) * (radius - 4) ? kEdge : kGold;
}

Painter StylePainter(UiPictureStyle style) {
  switch (style) {
    case UiPictureStyle::kButton:
      return [](int x, int y, int w, int h, int row) -> uint8_t {
        return Bevel(x, y, w, h, row == 0 ? kFace : row == 1 ? kHoverFace : kPressedFace);
      };
    case UiPictureStyle::kCell:
      return [](int x, int y, int w, int h, int row) -> uint8_t {
        return Bevel(x, y, w, h, row == 0 ? kLight : row == 1 ? kShade : kGold);
      };
    case UiPictureStyle::kIcon:
      return [](int x, int y, int w, int h, int) -> uint8_t {
        const int dx = 2 * x + 1 - w, dy = 2 * y + 1 - h;
        return std::abs(dx) + std::abs(dy) < w - 4 ? kGold : kKey;
      };
    case UiPictureStyle::kPanel:
    default:
      return [](int x, int y, int w, int h, int) -> uint8_t { return Bevel(x, y, w, h, kFace); };
  }
}

std::vector<PictureSpec> Pictures() {
  std::vector<PictureSpec> pictures = {
      {"ifsv00", 18, 22, 1, 3, StepButton(true, false)},
      {"ifsv01", 18, 22, 1, 3, StepButton(true, true)},
      {"ifsv02", 18, 14, 1, 1, Thumb},
      {"ifsh00", 22, 18, 1, 3, StepButton(false, false)},
      {"ifsh01", 22, 18, 1, 3, StepButton(false, true)},
      {"ifsh02", 16, 18, 1, 1, Thumb},
      {"ifsh200", 20, 22, 1, 3, StepButton(false, false)},
      {"ifsh201", 20, 22, 1, 3, StepButton(false, true)},
      {"ifsh202", 14, 18, 1, 1, Thumb},
      {"twCursor00", 24, 24, 5, 1, Cursor},
      {"ifi6100", 240, 144, 1, 1, ItemBox},
      {"p087", 48, 48, 1, 1, Hint},
  };
  for (const UiPictureDesc& p : SampleShopPictures())
    pictures.push_back({p.name, p.cellWidth, p.cellHeight, 1, p.rows, StylePainter(p.style)});
  return pictures;
}

// The picture as an 8-bit sprite bitmap: the width padded to a multiple of
// 4 with transparent pixels, the bottom row stored first.
bool BuildPicture(const PictureSpec& spec, std::vector<uint8_t>& out, std::string& error) {
  BitmapDesc bitmap;
  bitmap.forSprites = true;
  bitmap.palette = kPalette;
  const int used = spec.cellWidth * spec.columns;
  bitmap.width = static_cast<uint32_t>((used + 3) / 4 * 4);
  bitmap.height = static_cast<uint32_t>(spec.cellHeight * spec.rows);
  for (int y = static_cast<int>(bitmap.height) - 1; y >= 0; --y)
    for (int x = 0; x < static_cast<int>(bitmap.width); ++x)
      bitmap.pixels.push_back(x < used ? spec.paint(x % spec.cellWidth, y % spec.cellHeight, spec.cellWidth,
                                                    spec.cellHeight, y / spec.cellHeight)
                                       : static_cast<uint8_t>(kKey));
  plat::ByteWriter bytes;
  if (!WriteBitmap(bitmap, bytes, error)) return false;
  out = bytes.Bytes();
  return true;
}

// A short click that falls from the pitch, louder for the later keys.
WaveSpec Click(int period, int16_t level) {
  WaveSpec spec;
  constexpr int kFrames = 1800;
  for (int i = 0; i < kFrames; ++i) {
    const int fade = kFrames - i;
    const int sign = (i / period) % 2 ? -1 : 1;
    spec.samples.push_back(static_cast<int16_t>(sign * level * fade / kFrames));
  }
  return spec;
}

}  // namespace

void AddSampleUiMessages(std::vector<std::string>& messages) {
  if (messages.size() < static_cast<size_t>(kMoneyLabelMessage)) messages.resize(kMoneyLabelMessage);
  messages[kMoneyUnitMessage - 1] = kMoneyUnit;
  messages[kMoneyLabelMessage - 1] = kMoneyLabel;
}

bool WriteSampleUi(const std::string& root, std::string& error) {
  std::vector<PackageFile> files;
  std::vector<PictureSpec> pictures = Pictures();
  for (PictureSpec& spec : SampleMenuPictures()) pictures.push_back(std::move(spec));
  for (const PictureSpec& spec : pictures) {
    PackageFile file;
    file.name = std::string(spec.name) + ".bmp";
    std::transform(file.name.begin(), file.name.end(), file.name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Screens share pictures; the package keeps each name once.
    if (std::any_of(files.begin(), files.end(), [&](const PackageFile& f) { return f.name == file.name; }))
      continue;
    if (!BuildPicture(spec, file.data, error)) {
      error = std::string(spec.name) + ": " + error;
      return false;
    }
    files.push_back(std::move(file));
  }
  plat::ByteWriter package;
  if (!WritePackage(files, package, error) || !WriteOutputFile(root + kInterfacePackage, package.Bytes(), error))
    return false;
  int period = 8;
  for (const char* wave : kUiWaves) {
    if (!WriteOutputFile(root + "waves/" + wave + ".wav", BuildWave(Click(period, 6000)), error)) return false;
    period += 4;
  }
  return true;
}

}  // namespace datagen
