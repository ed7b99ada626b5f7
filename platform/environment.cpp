#include "platform/environment.h"

#include <cstdlib>
#include <cstring>

namespace plat {

std::string UserLocale() {
  const char* locale = std::getenv("LC_ALL");
  if (!locale || !*locale) locale = std::getenv("LANG");
  return locale ? locale : "";
}

bool WantsWindowed() {
  const char* windowed = std::getenv("TARNWICK_WINDOWED");
  return windowed && std::strcmp(windowed, "1") == 0;
}

}  // namespace plat
