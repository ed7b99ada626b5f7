#pragma once
#include <string>

// Small text and number rules shared by the talk markup and its languages.

// Big5 "玩家": the speaker that stands for the hero.
inline constexpr char kBig5Player[] = "\xAA\xB1\xAE\x61";
// Big5 "玩家姓名": the hero's name until the game gives it.
inline constexpr char kBig5PlayerName[] = "\xAA\xB1\xAE\x61\xA9\x6D\xA6\x57";
// Big5 "新細明體": the default font face.
inline constexpr char kBig5DefaultFont[] = "\xB7\x73\xB2\xD3\xA9\xFA\xC5\xE9";

// Folds A-Z to a-z in place; other bytes (Big5 included) stay as they are.
void LowerAscii(std::string& text);

// Truncates toward zero; values beyond the int range saturate, NaN gives 0.
int TruncateToInt(double value);

// Text to number the way the markup reads it: leading digits as far as they
// go, 0 for none; overflow gives an infinity rather than undefined behaviour.
float TextToFloat(const std::string& text);
