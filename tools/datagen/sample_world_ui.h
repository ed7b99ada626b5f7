#pragma once
// The sample world's interface: the names its images, sounds and messages
// share with the tests.
#include <string>
#include <vector>

namespace datagen {

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
