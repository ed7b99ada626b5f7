#pragma once

// The world-map screen.
// MINIMAL: no map is shown and no place is ever chosen.
class CWorldMapScreen {
 public:
  void Update() {}
  void OnMouseMove(int, int) {}
  void OnMouseDown(int, int) {}
};
