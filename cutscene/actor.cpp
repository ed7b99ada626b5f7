#include "cutscene/actor.h"

#include <cstring>

void SActor::SetName(std::string_view name) {
  size_t n = name.size() < kNameSize - 1 ? name.size() : kNameSize - 1;
  std::memset(name_, 0, sizeof name_);
  std::memcpy(name_, name.data(), n);
}
