#pragma once
// The battle display's pictures and the battle's sounds: the names and cell
// sizes the tests share with the sample world.

namespace datagen::sample {

// The quick-item window's picture holds one 42 x 38 cell per item id from 0.
inline constexpr int kQuickItemColumns = 8;
inline constexpr int kCursorColumns = 3;
inline constexpr int kCursorRows = 2;
// Waves in "waves": the battle music, victory and defeat, and the display's
// button sounds.
inline constexpr const char* kBattleWaves[] = {"music1", "victory", "majorDie", "bdown", "swordsfs"};

}  // namespace datagen::sample
