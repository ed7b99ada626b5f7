#pragma once
// The sample world's interface: the names its images, sounds and messages
// share with the tests.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace datagen {

namespace uiart {

// Palette indices of the interface's pictures; 0 is the widget framework's
// transparent magenta.
enum : uint8_t { kKey, kEdge, kShade, kFace, kHoverFace, kPressedFace, kLight, kInk, kGold };

// A cell painter: the pixel at (x, y) of a width x height cell in grid row `row`.
using Painter = std::function<uint8_t(int x, int y, int width, int height, int row)>;

struct PictureSpec {
  const char* name;
  int cellWidth;
  int cellHeight;
  int columns;
  int rows;
  Painter paint;
};

// A one-pixel frame with a light top-left and a shaded bottom-right edge.
uint8_t Bevel(int x, int y, int width, int height, uint8_t face);

}  // namespace uiart

// The menu screens' pictures: start menu, main window, pages and item icons.
std::vector<uiart::PictureSpec> SampleMenuPictures();
// The menu screens' messages: help texts, key names and the save list's words.
void AddSampleMenuMessages(std::vector<std::string>& messages);

// Sets the interface's messages (51 the money unit, 124 the money label) in
// a game resource's message list, growing it as needed.
void AddSampleUiMessages(std::vector<std::string>& messages);

// How a picture of the interface package is drawn: a bevelled panel, a
// button with idle, hover and pressed rows, an item cell with normal,
// source and equipped rows, or an item icon.
enum class UiPictureStyle { kPanel, kButton, kCell, kIcon };
struct UiPictureDesc {
  const char* name;
  int cellWidth;
  int cellHeight;
  int rows;
  UiPictureStyle style;
};
// The save list's and the trade window's pictures and the item icons.
std::vector<UiPictureDesc> SampleShopPictures();

namespace sample {

inline constexpr const char* kInterfacePackage = "image/ui.qxo";
inline constexpr const char* kMoneyLabel = "Money";
inline constexpr const char* kMoneyUnit = " gold";
inline constexpr int kMoneyLabelMessage = 124;
inline constexpr int kMoneyUnitMessage = 51;
// The window manager's sounds, in "waves".
inline constexpr const char* kUiWaves[] = {"if001", "if002", "if003", "if006", "if008"};

}  // namespace sample
}  // namespace datagen
