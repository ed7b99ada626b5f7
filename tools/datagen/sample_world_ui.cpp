// The sample world's interface: the package "image/ui.qxo" with its own
// pictures (scroll-bar skins, the menu cursor, the item box and the hint
// icon) and the screens', the UI sounds and the interface's messages.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "tools/datagen/output_file.h"
#include "tools/datagen/package_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

using namespace sample;
using namespace uiart;

// A step button: a bevelled face (idle, hover, pressed by row) with an
// arrow pointing back (forward = false) or forward along the bar.
Painter StepButton(bool vertical, bool forward) {
  return [vertical, forward](int x, int y, int width, int height, int row) -> uint8_t {
    int along = vertical ? y - height / 2 : x - width / 2;
    const int across = vertical ? x - width / 2 : y - height / 2;
    if (forward) along = -along;
    if (along >= -3 && along <= 3 && std::abs(across) <= along + 3) return kInk;
    return ButtonFace(x, y, width, height, row);
  };
}

uint8_t Thumb(int x, int y, int width, int height, int) { return Bevel(x, y, width, height, kHoverFace); }

// An arrow with its point at the top left, the same in every cell.
uint8_t Cursor(int x, int y, int, int, int) {
  if (y < 16 && x <= y) return x == 0 || x == y || y == 15 ? kInk : kLight;
  if (y >= 16 && y < 22 && x >= 4 && x < 8) return kInk;  // the stem
  return kKey;
}

// The box of received items: a heading over a rule.
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
      {"ifi6100", 240, 144, 1, 1, ItemBox, {Centred("You received", 20, 12, 200, 26, 16)}},
      {"p087", 48, 48, 1, 1, Hint},
  };
  for (PictureSpec& spec : SampleShopPictures()) pictures.push_back(std::move(spec));
  for (PictureSpec& spec : SampleMenuPictures()) pictures.push_back(std::move(spec));
  return pictures;
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
  for (const PictureSpec& spec : Pictures()) {
    PackageFile file;
    file.name = std::string(spec.name) + ".bmp";
    std::transform(file.name.begin(), file.name.end(), file.name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::any_of(files.begin(), files.end(), [&](const PackageFile& f) { return f.name == file.name; })) {
      error = file.name + " is drawn twice";
      return false;
    }
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
