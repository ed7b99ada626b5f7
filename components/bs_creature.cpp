#include "components/bs_creature.h"

#include <cstring>

int IBsCreature::SetName(const char* text) {
  if (!text) return 0;
  std::strncpy(name, text, kNameSize - 1);
  name[kNameSize - 1] = 0;
  return 1;
}

int IBsCreature::GetName(char* buffer) {
  if (!buffer) return 0;
  std::memcpy(buffer, name, kNameSize);
  return 1;
}
