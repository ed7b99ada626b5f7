#include "cutscene/actor_type.h"

namespace {

constexpr const char* kTypeWords[] = {
    nullptr,   "DIALOG",     "CREATURE", "CAMERA", "TCAMERA", "MUSIC",  "VIEWPORT",
    "SEFFECT", "WAVESYSTEM", "WAVE",     "BOARD",  "FADE",    "SPRITE",
};
constexpr int kTypeCount = static_cast<int>(sizeof kTypeWords / sizeof kTypeWords[0]);

}  // namespace

const char* ActorTypeName(int code) { return code >= 1 && code < kTypeCount ? kTypeWords[code] : "NULL"; }

int ActorTypeFromName(std::string_view word) {
  for (int code = 1; code < kTypeCount; ++code)
    if (word == kTypeWords[code]) return code;
  return -1;
}
