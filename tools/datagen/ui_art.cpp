#include "tools/datagen/ui_art.h"

#include "platform/files.h"
#include "tools/datagen/bitmap_writer.h"

namespace datagen::uiart {
namespace {

const std::vector<PaletteColour> kPalette = {
    {255, 0, 255},  {60, 40, 20},    {130, 95, 55}, {200, 170, 120}, {225, 195, 140},
    {160, 125, 80}, {245, 230, 190}, {20, 20, 20},  {230, 180, 40},  {185, 160, 120},
};

bool OnFrame(const Frame& f, int x, int y) {
  const bool insideX = x >= f.x && x < f.x + f.width;
  const bool insideY = y >= f.y && y < f.y + f.height;
  return (insideX && (y == f.y || y == f.y + f.height - 1)) || (insideY && (x == f.x || x == f.x + f.width - 1));
}

}  // namespace

uint8_t Bevel(int x, int y, int width, int height, uint8_t face) {
  if (x == 0 || y == 0 || x == width - 1 || y == height - 1) return kEdge;
  if (x == 1 || y == 1) return kLight;
  if (x == width - 2 || y == height - 2) return kShade;
  return face;
}

uint8_t RowFace(int row) { return row == 0 ? kFace : row == 1 ? kHoverFace : kPressedFace; }

uint8_t ButtonFace(int x, int y, int width, int height, int row) { return Bevel(x, y, width, height, RowFace(row)); }

uint8_t Sheet(int x, int y, int width, int height, int) {
  if (y >= 4 && y < 8 && x >= 4 && x < width - 4) return kShade;
  return Bevel(x, y, width, height, kLight);
}

Painter FramedSheet(std::vector<Frame> frames) {
  return [frames = std::move(frames)](int x, int y, int width, int height, int row) -> uint8_t {
    for (const Frame& f : frames)
      if (OnFrame(f, x, y)) return f.colour;
    return Sheet(x, y, width, height, row);
  };
}

Label Centred(std::string text, int x, int y, int width, int height, int size, uint8_t colour) {
  return {std::move(text), x, y, width, height, size, colour, false};
}

Label LeftAligned(std::string text, int x, int y, int width, int height, int size, uint8_t colour) {
  return {std::move(text), x, y, width, height, size, colour, true};
}

PictureSpec LabelledButton(const char* name, int width, int height, std::string text, int size) {
  return {name, width, height, 1, 3, ButtonFace, {Centred(std::move(text), 0, 0, width, height, size)}};
}

void AddGhostButton(std::vector<Frame>& frames, std::vector<Label>& labels, std::string text, int x, int y, int width,
                    int height, int size) {
  frames.push_back({x, y, width, height, kDim});
  labels.push_back(Centred(std::move(text), x, y, width, height, size, kDim));
}

bool LabelLayer::Render(const std::vector<Label>& labels, std::string& error) {
  placed_.clear();
  for (const Label& label : labels) {
    Placed p;
    if (!RenderInkLine(label.text, label.size, &p.line, error)) {
      error = "\"" + label.text + "\": " + error;
      return false;
    }
    p.x = label.left ? label.x : label.x + (label.width - p.line.width) / 2;
    p.y = label.y + (label.height - p.line.height) / 2;
    p.colour = label.colour;
    placed_.push_back(std::move(p));
  }
  return true;
}

int LabelLayer::At(int x, int y) const {
  int colour = -1;
  for (const Placed& p : placed_)
    if (p.line.At(x - p.x, y - p.y)) colour = p.colour;
  return colour;
}

bool BuildPicture(const PictureSpec& spec, std::vector<uint8_t>& out, std::string& error) {
  LabelLayer labels;
  if (!labels.Render(spec.labels, error)) return false;
  BitmapDesc bitmap;
  bitmap.forSprites = true;
  bitmap.palette = kPalette;
  const int used = spec.cellWidth * spec.columns;
  bitmap.width = static_cast<uint32_t>((used + 3) / 4 * 4);
  bitmap.height = static_cast<uint32_t>(spec.cellHeight * spec.rows);
  for (int y = static_cast<int>(bitmap.height) - 1; y >= 0; --y)
    for (int x = 0; x < static_cast<int>(bitmap.width); ++x) {
      if (x >= used) {
        bitmap.pixels.push_back(kKey);
        continue;
      }
      const int row = y / spec.cellHeight;
      const int cellX = x % spec.cellWidth, cellY = y % spec.cellHeight;
      const int pressed = spec.rows == 3 && row == 2 ? 1 : 0;
      const int ink = labels.At(cellX - pressed, cellY - pressed);
      bitmap.pixels.push_back(ink >= 0 ? static_cast<uint8_t>(ink)
                                       : spec.paint(cellX, cellY, spec.cellWidth, spec.cellHeight, row));
    }
  plat::ByteWriter bytes;
  if (!WriteBitmap(bitmap, bytes, error)) return false;
  out = bytes.Bytes();
  return true;
}

}  // namespace datagen::uiart
