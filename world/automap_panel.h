#pragma once
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "world/automap.h"

class CTickTimer;

// The automap on the field screen: a 140 x 140 panel at the top-left with a
// decorative frame, a half-transparent map layer and the 120 x 120 surface
// the map is drawn into, whose pixel (0, 0) falls on screen point (16, 15).
// The map scene builds it per scene and ticks it; the game core switches
// the display and saves, loads and clears the explored cells. The map is
// redrawn at most 10 times per second.
class CAutomapPanel {
 public:
  CAutomapPanel();
  ~CAutomapPanel();
  CAutomapPanel(const CAutomapPanel&) = delete;
  CAutomapPanel& operator=(const CAutomapPanel&) = delete;

  // 0, or -1 when the scene's map cannot be built.
  int BuildForScene(const char* sceneName, HOBJECT terrain, int tracking);
  void SetPortalIcons(const std::vector<AUTOMAPICONDESC>& icons);
  // 0, or -1 when no icon matches.
  int UpdatePortalIcon(const AUTOMAPICONDESC& icon);
  // 0 for a newly or already explored cell (or without fog), else -1.
  int UpdatePlayer(float x, float y, float facingX, float facingY);
  // Draws when visible and a redraw is due; 0, or -1 when drawing fails.
  int Redraw(int frames);
  void Show(int flag);
  void SetAlpha(float opacity);
  // 0 fixed map, 1 follow view.
  void SetFollowMode(int mode);
  // 0, or -1 when the file cannot be written.
  int SaveFile(const char* path);
  // 0, or -1 when the file cannot be read.
  int LoadFile(const char* path, const char* sceneName, HOBJECT terrain);
  // Forgets every scene's explored cells (new game).
  void Clear();
  // Drops the current scene's map, for a scene without one.
  void ClearScene();

  CAutomap& Automap() { return *automap_; }
  HOBJECT Layer() const { return layer_; }
  HOBJECT Frame() const { return frame_; }
  HOBJECT Surface() const { return surface_; }
  int Visible() const { return visible_; }

 private:
  std::unique_ptr<CAutomap> automap_;
  HOBJECT layer_ = 0;
  HOBJECT frame_ = 0;
  HOBJECT surface_ = 0;
  std::unique_ptr<CTickTimer> redrawTimer_;
  int showAllIcons_ = 0;
  int visible_ = 1;
};
