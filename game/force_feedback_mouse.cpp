#include "game/force_feedback_mouse.h"

CForceFeedbackMouse g_forceFeedbackMouse;

CForceFeedbackMouse::~CForceFeedbackMouse() {
  for (auto& effect : effects_) effect->Stop();
  effects_.clear();
  device_.reset();
}

int CForceFeedbackMouse::Init(plat::WindowHandle window) {
  if (device_) return -3;
  auto device = std::make_unique<plat::FfMouse>();
  if (!device->Initialize(window)) {
    status_ = -1;
    return -1;
  }
  device_ = std::move(device);
  status_ = 1;
  return 0;
}

int CForceFeedbackMouse::PlayPeriodic(int magnitude, int periodMs, int durationMs) {
  if (status_ == -1) return -2;
  if (status_ == 0) return -3;
  plat::FfPeriodic* chosen = nullptr;
  for (auto& effect : effects_) {
    uint32_t status = 0;
    if (effect->GetStatus(&status) && !(status & plat::FfPeriodic::kPlaying)) {
      chosen = effect.get();
      chosen->ChangeParameters(magnitude, periodMs, durationMs);
      break;
    }
  }
  if (!chosen) {
    auto effect = std::make_unique<plat::FfPeriodic>();
    if (!effect->Initialize(*device_, magnitude, periodMs, durationMs)) return -1;
    chosen = effect.get();
    effects_.push_back(std::move(effect));
  }
  chosen->Start();
  return 0;
}
