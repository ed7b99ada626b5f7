#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "platform/gdi2d.h"
#include "world/automap_outline.h"
#include "world/explored_cells.h"

// A portal or position icon handed from the map scene to the automap.
struct AUTOMAPICONDESC {
  float x = 0;
  float y = 0;
  int kind = 0;   // 1 portal
  int state = 0;  // bit value 4 hidden: the map scene sends 1 open, 5 closed
  int index = 0;
};

// One portal icon of the current scene with its own sprite (0 for a kind
// without an image).
struct AUTOMAPICON {
  AUTOMAPICONDESC desc;
  int discovered = 0;
  HOBJECT sprite = 0;
};

// The small map of the scene being walked: the terrain outline fitted into a
// square map, the explored cells of every scene visited (the fog of the
// fixed map, saved as the ".map" file beside each saved game) and the
// portal icons. It draws a fixed map with fog or a view that follows the
// player into a target sprite. Scenes are keyed by their file name in lower
// case up to its first '.', so "A004.SB" and "a004.sb" share one record.
class CAutomap {
 public:
  CAutomap(int cellSize, int mapSize, float viewRadius, int originX, int originY);
  ~CAutomap();
  CAutomap(const CAutomap&) = delete;
  CAutomap& operator=(const CAutomap&) = delete;

  static std::string SceneKey(const char* sceneName);

  // Forgets the previous scene, fits the terrain's outline into the map and,
  // with tracking, makes the scene's explored cells current (a fresh record
  // the first time). 1, or -1 when the outline spans nothing in x or y.
  int BuildForScene(const char* sceneName, HOBJECT terrain, int tracking);
  // The previous scene's outline, sprites and icons go; its record stays.
  void ClearScene();
  // Forgets every scene (new game).
  void ClearAll();

  // Per frame: places the position icon and marks the player's cell. 0 for
  // a newly explored cell or without tracking, 1 for an explored one, -1
  // without a current record, -2 outside the grid.
  int UpdatePlayer(float x, float y, float facingX, float facingY);
  void SetIcons(const std::vector<AUTOMAPICONDESC>& icons);
  // 0, or -1 when no icon has the kind and index.
  int UpdateIcon(const AUTOMAPICONDESC& icon);
  void Show(int flag);

  // 0 fixed map, 1 follow view.
  void SetDisplayMode(int mode) { displayMode_ = mode ? 1 : 0; }
  // Fills the target blue, then draws: -1 for a target that is not
  // mapSize x mapSize, 1 while hidden, else 0.
  int Draw(int showAllIcons, HOBJECT target);
  // Clips a segment in map pixels to the view rectangle; 2 inside, 1
  // clipped (the ends written back), -1 and -2 nothing inside, -3 one point
  // on the border, -4 leaving, -5 entering. Regions 0..7 clockwise from the
  // top-left, -999 for a point inside.
  int ClipSegment(int& x0, int& y0, int& x1, int& y1, int* startRegion, int* endRegion);

  // 0, or -1 when the file cannot be written (the previous one stays).
  int SaveFile(const char* path);
  // Replaces every scene's explored cells from the file and rebuilds the
  // current scene (with fog when the file has it). 0, or -1 when the file
  // cannot be opened or its header and directory do not fit it (nothing
  // changes then).
  int LoadFile(const char* path, const char* sceneName, HOBJECT terrain);

  const TerrainOutline& Outline() const { return outline_; }
  const OUTLINEBOUNDSDESC& Bounds() const { return bounds_; }
  float Left() const { return left_; }
  float Top() const { return top_; }
  float Scale() const { return scale_; }
  int Tracking() const { return tracking_; }
  int Visible() const { return visible_; }
  const std::map<std::string, CExploredCells>& ExploredScenes() const { return explored_; }
  // Null without a current record.
  const CExploredCells* CurrentCells() const;
  const std::vector<AUTOMAPICON>& DiscoveredIcons() const { return discovered_; }
  const std::vector<AUTOMAPICON>& HiddenIcons() const { return hidden_; }
  HOBJECT PositionIcon() const { return positionIcon_; }
  HOBJECT FogLayer() const { return fogLayer_; }

 private:
  struct MapPixel {
    int x;
    int y;
  };

  MapPixel FixedPixel(float x, float y) const;
  MapPixel FollowPixel(float x, float y) const;
  void SetHeading(float fx, float fy);
  void PlaceMarkerOnMap();
  void CreateRevealSprite();
  void StampCell(int column, int row);
  HOBJECT CreateIconSprite(const AUTOMAPICONDESC& desc) const;
  void ClearIcons();
  void ShowIcon(const AUTOMAPICON& icon, int flag) const;
  void PlaceIcon(const AUTOMAPICON& icon, MapPixel at) const;
  void ClearSprites();

  void RenderFullMap();
  void DrawFixed(int showAllIcons, HOBJECT target);
  int DrawFollow(HOBJECT target);
  void DiscoverIcons();
  void PlacePoint(plat::Path& path, int x, int y);
  void PlaceSegment(plat::Path& path, int x0, int y0, int x1, int y1);
  void WalkBorder(plat::Path& path, int startRegion, int endRegion);
  void PlaceClipped(plat::Path& path, MapPixel a, MapPixel b);
  // Places every outline segment (each point to its successor, wrapping) in
  // map pixels of the fixed map, or of the follow view clipped to it.
  void TraceOutline(plat::Path& path, int follow);
  int RegionCode(int x, int y) const;

  int originX_;
  int originY_;
  uint32_t fillColor_;
  uint32_t penColor_;
  int cellSize_;
  int displayMode_ = 0;
  std::map<std::string, CExploredCells> explored_;
  std::map<std::string, CExploredCells>::iterator current_;
  float viewRadius_;
  float playerX_ = 0;
  float playerY_ = 0;
  int mapSize_;
  float left_ = 0;
  float top_ = 0;
  float scale_ = 1;
  OUTLINEBOUNDSDESC bounds_;
  int tracking_ = 0;
  HOBJECT portalTemplate_ = 0;
  HOBJECT positionIcon_ = 0;
  HOBJECT fullMap_ = 0;
  HOBJECT fogLayer_ = 0;
  HOBJECT revealSprite_ = 0;
  int firstPoint_ = 1;
  int visible_ = 0;
  TerrainOutline outline_;
  std::vector<AUTOMAPICON> discovered_;
  std::vector<AUTOMAPICON> hidden_;
  int clipLeft_;
  int clipRight_;
  int clipTop_;
  int clipBottom_;
  int centerX_;
  int centerY_;
  int lastX0_ = 0;
  int lastY0_ = 0;
  int lastX1_ = 0;
  int lastY1_ = 0;
  float followScale_;
  float viewLeft_ = 0;
  float viewTop_ = 0;
};
