#pragma once

// The automap of the current scene.
// MINIMAL: there is no map to draw; Clear only counts.
class CAutomapPanel {
 public:
  void Clear() { ++clearCount; }

  int clearCount = 0;
};
