#pragma once
// The sample world's interface: the names its images, sounds and messages
// share with the tests.
#include <string>
#include <vector>

namespace datagen {

// Sets the interface's messages (51 the money unit, 124 the money label) in
// a game resource's message list, growing it as needed.
void AddSampleUiMessages(std::vector<std::string>& messages);

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
