#pragma once

// The screen-transition player.
// MINIMAL: no transition plays; every one is at its end at once (-2).
class CTransitionPlayer {
 public:
  void GrabScreen() {}
  void StartRandom() {}
  int Step() { return -2; }
  void Render() {}
};
