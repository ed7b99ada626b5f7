#pragma once
#include <vector>

#include "engine/core/handles.h"

// A portal or position icon handed from the map scene to the automap.
struct AUTOMAPICONDESC {
  float x = 0;
  float y = 0;
  int kind = 0;   // 1 portal
  int state = 0;  // bit 4 hidden: the map scene sends 1 open, 5 closed
  int index = 0;
};

// The automap of the current scene.
// MINIMAL: there is no map to draw: no scene's map is ever built (BuildForScene
// fails), Clear only counts, and the portal icons are only kept.
class CAutomapPanel {
 public:
  void Clear() { ++clearCount; }
  void SetAlpha(float value) { alpha = value; }
  void Show(int on) { shown = on; }
  // 0 when the scene's map was built.
  int BuildForScene(const char*, HOBJECT, int) { return -1; }
  void UpdatePlayer(float, float, float, float) {}
  void Redraw(int) {}
  void SetPortalIcons(const std::vector<AUTOMAPICONDESC>& icons) { portalIcons = icons; }
  void UpdatePortalIcon(const AUTOMAPICONDESC& icon) {
    for (AUTOMAPICONDESC& i : portalIcons)
      if (i.index == icon.index) i = icon;
  }

  int clearCount = 0;
  float alpha = 1;
  int shown = 1;
  std::vector<AUTOMAPICONDESC> portalIcons;
};
