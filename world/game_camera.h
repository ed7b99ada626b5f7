#pragma once

// The field camera of the map scene.
// MINIMAL: it keeps the flags the game sets; following, close-ups and the
// aimer drawing are missing.
class CGameCamera {
 public:
  void ShowAimer(int on) { aimerShown = on; }
  void CenterCursor() {}
  void RestoreView() {}
  void Activate() {}

  // The yaw limit in degrees (180 turns freely); the accumulated yaw restarts.
  void SetYawRange(float degrees) {
    yawLimit = degrees;
    accumulatedYaw = 0;
  }

  int aimerShown = 0;
  int mouseLookLocked = 0;
  float yawLimit = 180;
  float accumulatedYaw = 0;
  int turnsWalker = 1;  // mouse look turns the walker too
};
