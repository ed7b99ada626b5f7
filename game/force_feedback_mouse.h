#pragma once
#include <memory>
#include <vector>

#include "platform/ffmouse.h"

// Drives a force-feedback mouse when one is present: short periodic pulses on
// scene changes, talks and new cursor targets. Without a device every pulse
// is refused at once and the game runs the same.
class CForceFeedbackMouse {
 public:
  CForceFeedbackMouse() = default;
  // Stops and frees every effect, then the device.
  ~CForceFeedbackMouse();
  CForceFeedbackMouse(const CForceFeedbackMouse&) = delete;
  CForceFeedbackMouse& operator=(const CForceFeedbackMouse&) = delete;

  // 0 ready, -1 no device, -3 when a device was opened already.
  int Init(plat::WindowHandle window);
  // Plays a pulse, reusing the first effect that has finished. 0 when it
  // plays, -1 when no effect could be made, -2 without a device, -3 before
  // Init.
  int PlayPeriodic(int magnitude, int periodMs, int durationMs);

  int Status() const { return status_; }
  int EffectCount() const { return static_cast<int>(effects_.size()); }

 private:
  std::unique_ptr<plat::FfMouse> device_;
  std::vector<std::unique_ptr<plat::FfPeriodic>> effects_;
  int status_ = 0;  // 0 not initialised, 1 ready, -1 no device
};

extern CForceFeedbackMouse g_forceFeedbackMouse;
