#include "cutscene/sg_society.h"

#include <memory>

namespace {

std::unique_ptr<SGSociety> g_society;

}  // namespace

SGSociety& SGSociety::Instance() {
  if (!g_society) g_society.reset(new SGSociety());
  return *g_society;
}

void SGSociety::Shutdown() { g_society.reset(); }
