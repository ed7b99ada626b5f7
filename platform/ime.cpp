#include "platform/ime.h"

#include <algorithm>
#include <cstring>

namespace plat {
namespace {

std::string g_description;

}  // namespace

int GetInputMethodDescription(char* buffer, int size) {
  int length = static_cast<int>(g_description.size());
  if (!buffer) return length;
  int count = std::clamp(length, 0, std::max(size, 0));
  std::memcpy(buffer, g_description.data(), static_cast<size_t>(count));
  if (count < size) buffer[count] = '\0';
  return count;
}

void SetTestInputMethodDescription(const std::string& description) { g_description = description; }

}  // namespace plat
