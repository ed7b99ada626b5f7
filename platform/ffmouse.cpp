#include "platform/ffmouse.h"

#include "platform/time.h"

namespace plat {
namespace {

bool g_fakeDevice = false;

}  // namespace

void SetFakeForceFeedbackDevice(bool present) { g_fakeDevice = present; }

bool FfMouse::Initialize(WindowHandle) {
  ready_ = g_fakeDevice;
  return ready_;
}

bool FfPeriodic::Initialize(const FfMouse& mouse, int magnitude, int periodMs, int durationMs) {
  if (!mouse.Ready()) return false;
  initialised_ = true;
  return ChangeParameters(magnitude, periodMs, durationMs);
}

bool FfPeriodic::ChangeParameters(int magnitude, int periodMs, int durationMs) {
  if (!initialised_) return false;
  magnitude_ = magnitude;
  periodMs_ = periodMs;
  durationMs_ = durationMs;
  return true;
}

bool FfPeriodic::GetStatus(uint32_t* status) const {
  if (!initialised_ || !status) return false;
  bool playing = started_ && TickCountMs() - startMs_ < static_cast<uint32_t>(durationMs_);
  *status = playing ? kPlaying : 0;
  return true;
}

bool FfPeriodic::Start() {
  if (!initialised_) return false;
  started_ = true;
  startMs_ = TickCountMs();
  return true;
}

bool FfPeriodic::Stop() {
  if (!initialised_) return false;
  started_ = false;
  return true;
}

}  // namespace plat
