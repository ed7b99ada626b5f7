#include "platform/input.h"

#include <SDL.h>

#include <vector>

#include "platform/test_caps.h"

namespace plat {
namespace {

int g_openJoysticks = 0;
std::vector<int> g_testJoysticks;

bool EnsureJoysticks() { return SDL_WasInit(SDL_INIT_JOYSTICK) != 0 || SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0; }

}  // namespace

Joystick::Joystick(void* device) : device_(device) { ++g_openJoysticks; }

Joystick::~Joystick() {
  Unacquire();
  SDL_JoystickClose(static_cast<SDL_Joystick*>(device_));
  --g_openJoysticks;
}

bool Joystick::SetStandardDataFormat() { return true; }
bool Joystick::SetCooperativeLevel(WindowHandle window) { return IsWindow(window); }

bool Joystick::SetAxisRange(int axis, int minimum, int maximum) {
  if ((axis != kJoystickAxisX && axis != kJoystickAxisY) || minimum > maximum ||
      ShouldFail(FailPoint::SetJoystickAxisRange))
    return false;
  range_[axis * 2] = minimum;
  range_[axis * 2 + 1] = maximum;
  return true;
}

bool Joystick::SetDeadZone(int axis, int deadZone) {
  if ((axis != kJoystickAxisX && axis != kJoystickAxisY) || deadZone < 0 || deadZone > 10000) return false;
  deadZone_[axis] = deadZone;
  return true;
}

bool Joystick::Acquire() {
  acquired_ = true;
  return true;
}

void Joystick::Unacquire() { acquired_ = false; }

std::unique_ptr<JoystickInput> JoystickInput::Create() {
  if (ShouldFail(FailPoint::CreateJoystickInput) || !EnsureJoysticks()) return nullptr;
  return std::unique_ptr<JoystickInput>(new JoystickInput());
}

JoystickInput::~JoystickInput() = default;

std::vector<int> JoystickInput::EnumerateJoysticks() const {
  std::vector<int> ids;
  int count = SDL_NumJoysticks();
  for (int i = 0; i < count; ++i) ids.push_back(i);
  return ids;
}

std::unique_ptr<Joystick> JoystickInput::Open(int id) {
  SDL_Joystick* device = SDL_JoystickOpen(id);
  if (!device) return nullptr;
  return std::unique_ptr<Joystick>(new Joystick(device));
}

int AttachTestJoystick() {
  if (!EnsureJoysticks()) return -1;
  int id = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0);
  if (id >= 0) g_testJoysticks.push_back(id);
  return id;
}

void DetachTestJoysticks() {
  // Each detach renumbers the ones after it, so detach from the last.
  for (auto it = g_testJoysticks.rbegin(); it != g_testJoysticks.rend(); ++it) SDL_JoystickDetachVirtual(*it);
  g_testJoysticks.clear();
}

int OpenJoystickCount() { return g_openJoysticks; }

}  // namespace plat
