#include "cutscene/sg_society.h"

namespace {

// A plain pointer: the society is ended by Shutdown, never by the exit.
SGSociety* g_society = nullptr;

}  // namespace

SGSociety& SGSociety::Instance() {
  if (!g_society) g_society = new SGSociety();
  return *g_society;
}

void SGSociety::Shutdown() {
  delete g_society;
  g_society = nullptr;
}
