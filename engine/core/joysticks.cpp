#include "engine/core/joysticks.h"

#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/world.h"
#include "platform/input.h"

JOYSTICKDESC::~JOYSTICKDESC() = default;

namespace {

bool ConfigureAxes(plat::Joystick& joystick) {
  for (int axis : {plat::kJoystickAxisX, plat::kJoystickAxisY}) {
    if (!joystick.SetAxisRange(axis, -1000, 1000)) return false;
    if (!joystick.SetDeadZone(axis, 5000)) return false;
  }
  return true;
}

}  // namespace

int InitJoysticks() {
  if (!g_gameWorld) return 0;
  g_gameWorld->joystickCount = 0;
  std::unique_ptr<plat::JoystickInput> input = plat::JoystickInput::Create();
  if (!input) return 0;
  for (int id : input->EnumerateJoysticks()) {
    std::unique_ptr<plat::Joystick> joystick = input->Open(id);
    if (!joystick || !joystick->SetStandardDataFormat() || !joystick->SetCooperativeLevel(g_mainWindow)) continue;
    // A joystick whose axes cannot be set up ends the search.
    if (!ConfigureAxes(*joystick)) break;
    if (g_gameWorld->joystickCount < kMaxJoysticks) {
      auto* record = new JOYSTICKDESC;
      record->device = std::move(joystick);
      g_gameWorld->joysticks[g_gameWorld->joystickCount++] = record;
    }
  }
  return 1;
}

void AcquireJoysticks() {
  if (!g_gameWorld) return;
  for (int i = 0; i < g_gameWorld->joystickCount; ++i)
    if (JOYSTICKDESC* j = g_gameWorld->joysticks[i]) j->device->Acquire();
}

void ReleaseJoysticks() {
  if (!g_gameWorld) return;
  for (JOYSTICKDESC*& j : g_gameWorld->joysticks) {
    if (j) j->device->Unacquire();
    delete j;
    j = nullptr;
  }
  g_gameWorld->joystickCount = 0;
  g_joysticksPresent = 0;
}
