// Mouse look of the field camera: the pointer is put back near the middle
// after every move, so it never leaves the window while the view turns.
#include <algorithm>
#include <numbers>

#include "engine/core/input_hooks.h"
#include "engine/core/walking.h"
#include "world/game_camera.h"

namespace {

// The reference wraps from one side of its band to the other.
int Wrap(int at, int low, int high) {
  if (at > high) return low;
  if (at < low) return high;
  return at;
}

}  // namespace

void CGameCamera::OnMouseMove(int x, int y) {
  if (mouseLookLocked) return;
  if (x != cursorX) {
    AddYaw(360.0f / pixelsPerTurn * static_cast<float>(x - cursorX));
    cursorX = Wrap(x, 40, 500);
    SetMousePosition(cursorX, cursorY);
  }
  if (y != cursorY) {
    AddPitch(static_cast<float>(cursorY - y) * std::numbers::pi_v<float> / 180 * 0.25f);
    cursorY = Wrap(y, 40, 400);
    SetMousePosition(cursorX, cursorY);
  }
}

void CGameCamera::AddYaw(float degrees) {
  accumulatedYaw += degrees;
  if (yawLimit < 180) {
    const float clamped = std::clamp(accumulatedYaw, -yawLimit, yawLimit);
    degrees -= accumulatedYaw - clamped;
    accumulatedYaw = clamped;
  }
  if (turnsWalker && targetNode) TurnNodeOnTerrainReverse(targetNode, degrees, 0, 0);
  // Several moves may come within one frame; the next update takes them all.
  pendingYaw += -degrees * std::numbers::pi_v<float> / 180;
  pendingYawSet = 1;
}

void CGameCamera::AddPitch(float radians) {
  pitch = std::clamp(pitch - radians, pitchLower, pitchUpper);
  dirty = 1;
}

void CGameCamera::SetYawRange(float degrees) {
  yawLimit = degrees;
  accumulatedYaw = 0;
}

void CGameCamera::CenterCursor() {
  mouseLookLocked = 0;
  cursorX = kScreenCentreX;
  cursorY = kScreenCentreY;
  GetMousePosition(&cursorX, &cursorY);
}
