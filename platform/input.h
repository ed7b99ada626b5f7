#pragma once
#include <memory>
#include <vector>

#include "platform/window.h"

// Joysticks. The engine opens and acquires them but never reads them, so
// this layer only finds, configures and holds them.
namespace plat {

constexpr int kJoystickAxisX = 0;
constexpr int kJoystickAxisY = 1;

class Joystick {
 public:
  ~Joystick();
  Joystick(const Joystick&) = delete;
  Joystick& operator=(const Joystick&) = delete;

  bool SetStandardDataFormat();
  // Non-exclusive, foreground: the device is shared and read only while the window is active.
  bool SetCooperativeLevel(WindowHandle window);
  bool SetAxisRange(int axis, int minimum, int maximum);
  // Out of 10000.
  bool SetDeadZone(int axis, int deadZone);
  bool Acquire();
  void Unacquire();

  bool Acquired() const { return acquired_; }
  int AxisMinimum(int axis) const { return axis == kJoystickAxisY ? range_[2] : range_[0]; }
  int AxisMaximum(int axis) const { return axis == kJoystickAxisY ? range_[3] : range_[1]; }
  int DeadZone(int axis) const { return axis == kJoystickAxisY ? deadZone_[1] : deadZone_[0]; }

 private:
  friend class JoystickInput;
  explicit Joystick(void* device);
  void* device_;  // the SDL joystick
  bool acquired_ = false;
  int range_[4] = {0, 0, 0, 0};
  int deadZone_[2] = {0, 0};
};

// The joystick service: lists the attached joysticks and opens them.
class JoystickInput {
 public:
  static std::unique_ptr<JoystickInput> Create();
  ~JoystickInput();
  JoystickInput(const JoystickInput&) = delete;
  JoystickInput& operator=(const JoystickInput&) = delete;

  // Ids of the attached joysticks, in the system's order.
  std::vector<int> EnumerateJoysticks() const;
  std::unique_ptr<Joystick> Open(int id);

 private:
  JoystickInput() = default;
};

// Tests: a virtual joystick the system lists like a real one; answers its id (-1 on failure).
int AttachTestJoystick();
void DetachTestJoysticks();
int OpenJoystickCount();

}  // namespace plat
