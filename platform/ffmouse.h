#pragma once
#include <cstdint>

#include "platform/window.h"

// The force-feedback mouse: a device that can play periodic pulses. No such
// device exists on this platform, so Initialize fails; tests can switch on a
// fake device whose effects play for their duration on the process clock.
namespace plat {

// Tests: whether the next FfMouse::Initialize finds a (fake) device.
void SetFakeForceFeedbackDevice(bool present);

class FfMouse {
 public:
  // True when a device was found for the window.
  bool Initialize(WindowHandle window);
  bool Ready() const { return ready_; }

 private:
  bool ready_ = false;
};

class FfPeriodic {
 public:
  static constexpr uint32_t kPlaying = 1;  // status bit

  // False when the mouse has no device.
  bool Initialize(const FfMouse& mouse, int magnitude, int periodMs, int durationMs);
  bool ChangeParameters(int magnitude, int periodMs, int durationMs);
  // False when the status cannot be read (an effect never initialised).
  bool GetStatus(uint32_t* status) const;
  bool Start();
  bool Stop();

  int Magnitude() const { return magnitude_; }
  int PeriodMs() const { return periodMs_; }
  int DurationMs() const { return durationMs_; }

 private:
  bool initialised_ = false;
  bool started_ = false;
  uint32_t startMs_ = 0;
  int magnitude_ = 0;
  int periodMs_ = 0;
  int durationMs_ = 0;
};

}  // namespace plat
