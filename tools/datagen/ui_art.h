#pragma once
// The interface pictures' drawing: the palette, the faces the screens share,
// frames, the words a picture carries, and the 8-bit sprite bitmap a picture
// becomes.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tools/datagen/label_ink.h"

namespace datagen::uiart {

// Palette indices; 0 is the widget framework's transparent magenta. kDim
// draws the places of buttons that may be locked (and so invisible) or
// absent.
enum : uint8_t { kKey, kEdge, kShade, kFace, kHoverFace, kPressedFace, kLight, kInk, kGold, kDim };

// A cell painter: the pixel at (x, y) of a width x height cell in grid row `row`.
using Painter = std::function<uint8_t(int x, int y, int width, int height, int row)>;

// Words in every cell of a picture: the text centred in a box of the cell,
// or starting at the box's left edge, in one palette colour. In the third
// row of a three-row picture (a button's pressed look) the words sit one
// pixel lower and further right.
struct Label {
  std::string text;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int size = 12;  // the em, in pixels
  uint8_t colour = kInk;
  bool left = false;
};

// A one-pixel rectangle drawn on a sheet.
struct Frame {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  uint8_t colour = kShade;
};

struct PictureSpec {
  const char* name;
  int cellWidth;
  int cellHeight;
  int columns;
  int rows;
  Painter paint;
  std::vector<Label> labels = {};
};

// A one-pixel frame with a light top-left and a shaded bottom-right edge.
uint8_t Bevel(int x, int y, int width, int height, uint8_t face);
// A button's face by row: idle, hover, pressed.
uint8_t RowFace(int row);
uint8_t ButtonFace(int x, int y, int width, int height, int row);
// A screen or dialog background: a framed sheet with a darker band at the top.
uint8_t Sheet(int x, int y, int width, int height, int row);
// A sheet with rectangles drawn on it.
Painter FramedSheet(std::vector<Frame> frames);

Label Centred(std::string text, int x, int y, int width, int height, int size, uint8_t colour = kInk);
Label LeftAligned(std::string text, int x, int y, int width, int height, int size, uint8_t colour = kInk);
// A three-row button whose face carries its words.
PictureSpec LabelledButton(const char* name, int width, int height, std::string text, int size);
// The dim place of a button on a sheet: its frame and its words.
void AddGhostButton(std::vector<Frame>& frames, std::vector<Label>& labels, std::string text, int x, int y, int width,
                    int height, int size);

// Labels rendered once and looked up by pixel.
class LabelLayer {
 public:
  bool Render(const std::vector<Label>& labels, std::string& error);
  // The colour of the last label whose ink covers the cell pixel, -1 where
  // none does.
  int At(int x, int y) const;

 private:
  struct Placed {
    InkLine line;
    int x = 0;
    int y = 0;
    uint8_t colour = kInk;
  };
  std::vector<Placed> placed_;
};

// The picture as an 8-bit sprite bitmap file: the width padded to a multiple
// of 4 with transparent pixels, the bottom row stored first.
bool BuildPicture(const PictureSpec& spec, std::vector<uint8_t>& out, std::string& error);

}  // namespace datagen::uiart
