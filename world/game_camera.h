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

  int aimerShown = 0;
  int mouseLookLocked = 0;
};
