#include "talk/talk_text.h"

#include <climits>
#include <cmath>
#include <cstdlib>

void LowerAscii(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  return static_cast<int>(value);
}

float TextToFloat(const std::string& text) { return std::strtof(text.c_str(), nullptr); }
