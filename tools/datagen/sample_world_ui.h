#pragma once
// The sample world's interface: the names its images, sounds and messages
// share with the tests.
#include <string>
#include <vector>

#include "tools/datagen/ui_art.h"

namespace datagen {

// The menu screens' pictures: start menu, main window, pages and item icons.
std::vector<uiart::PictureSpec> SampleMenuPictures();
// The menu screens' messages: help texts (the trade window's too), key names
// and the save list's words.
void AddSampleMenuMessages(std::vector<std::string>& messages);

// Sets the interface's messages (51 the money unit, 124 the money label) in
// a game resource's message list, growing it as needed.
void AddSampleUiMessages(std::vector<std::string>& messages);

// The save list's and the trade window's pictures and the item icons.
std::vector<uiart::PictureSpec> SampleShopPictures();

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
