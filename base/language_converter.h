#pragma once
// The GB2312/Big5 character converter the interface passes its texts through.
// The game gives it no direction and no tables, so texts pass unchanged until
// Configure is called.
#include <cstdint>
#include <string>
#include <vector>

class CLanguageConverter {
 public:
  static constexpr int kUnset = -1;
  static constexpr int kGb2312 = 1;
  static constexpr int kBig5 = 2;

  // No direction, no tables; the table paths are built from the working directory.
  CLanguageConverter();

  // Sets the direction and the character table that converts it (two bytes
  // per character at the offsets Convert uses).
  void Configure(int source, int target, std::vector<uint8_t> table);
  // Converts a NUL-terminated text in place; every text passes unchanged
  // unless a direction between the two code pages has its table. A pair whose
  // place lies beyond the table is copied.
  void Convert(char* text) const;

  int source = kUnset;
  int target = kUnset;
  int phraseMode = 0;
  std::string directory;
  std::vector<uint8_t> gbToBig;
  std::vector<uint8_t> bigToGb;
  std::string gbToBigPath;
  std::string bigToGbPath;
};

// The one converter, made on first use and freed at exit.
CLanguageConverter* GetLanguageConverter();

// The system's default language: 0x0804 (Chinese, Simplified) when LC_ALL,
// or else LANG, starts with "zh_CN"; 0x0409 otherwise.
int GetSystemDefaultLanguage();
