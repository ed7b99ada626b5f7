// Drawing the automap: the outline rendered once per scene for the fixed
// map with its fog and icons, and the view that follows the player, whose
// clipped outline walks along the view's border where it runs outside.
#include <algorithm>

#include "engine/core/engine_queries.h"
#include "engine/media/sprite_dc.h"
#include "engine/media/sprites.h"
#include "world/automap.h"
#include "world/automap_sprites.h"

namespace {

enum Corner { kTL = 'a', kTR = 'b', kBR = 'c', kBL = 'd' };

// The corners to visit from the region a segment starts in (row) to the one
// it ends in (column): the corners between them the shorter way round, a
// corner region counting its own corner; "*" between opposite corners,
// where the side of the view centre chooses the way.
constexpr const char* kBorderWalk[8][8] = {
    {"a", "a", "ab", "ab", "*", "ad", "ad", "a"}, {"a", "", "b", "b", "bc", "", "ad", "a"},
    {"ba", "b", "b", "b", "bc", "bc", "*", "ba"}, {"ba", "b", "b", "", "c", "c", "cd", ""},
    {"*", "cb", "cb", "c", "c", "c", "cd", "cd"}, {"da", "", "cb", "c", "c", "", "d", "d"},
    {"da", "da", "*", "dc", "dc", "d", "d", "d"}, {"a", "a", "ab", "", "dc", "d", "d", ""},
};

// Opposite-corner walks: start corner, the way when the view centre lies
// on the non-positive side of the segment, the other way, end corner. The
// walk keeps to the segment's side of the view: going round the other side
// would wrap the whole view once more and fill or empty it wrongly.
struct SideWalk {
  char from, ifNotPositive, otherwise, to;
};
constexpr SideWalk kSideWalks[4] = {
    {kTL, kTR, kBL, kBR}, {kTR, kBR, kTL, kBL}, {kBR, kBL, kTR, kTL}, {kBL, kTL, kBR, kTR}};

}  // namespace

void CAutomap::PlacePoint(plat::Path& path, int x, int y) {
  if (firstPoint_) {
    path.MoveTo(x, y);
    firstPoint_ = 0;
  } else {
    path.LineTo(x, y);
  }
}

void CAutomap::PlaceSegment(plat::Path& path, int x0, int y0, int x1, int y1) {
  PlacePoint(path, x0, y0);
  path.LineTo(x1, y1);
}

void CAutomap::WalkBorder(plat::Path& path, int startRegion, int endRegion) {
  if (startRegion < 0 || startRegion > 7 || endRegion < 0 || endRegion > 7) return;
  const char* corners = kBorderWalk[startRegion][endRegion];
  char via[4] = {};
  if (corners[0] == '*') {
    const SideWalk& walk = kSideWalks[startRegion / 2];
    long long d = static_cast<long long>(lastY1_ - lastY0_) * (centerX_ - lastX0_) -
                  static_cast<long long>(centerY_ - lastY0_) * (lastX1_ - lastX0_);
    via[0] = walk.from;
    via[1] = d <= 0 ? walk.ifNotPositive : walk.otherwise;
    via[2] = walk.to;
    corners = via;
  }
  for (const char* c = corners; *c; ++c) {
    switch (*c) {
      case kTL: PlacePoint(path, clipLeft_, clipTop_); break;
      case kTR: PlacePoint(path, clipRight_, clipTop_); break;
      case kBR: PlacePoint(path, clipRight_, clipBottom_); break;
      default: PlacePoint(path, clipLeft_, clipBottom_); break;
    }
  }
}

void CAutomap::PlaceClipped(plat::Path& path, MapPixel a, MapPixel b) {
  int start = 0, end = 0;
  switch (ClipSegment(a.x, a.y, b.x, b.y, &start, &end)) {
    case 2:
    case 1: PlaceSegment(path, a.x, a.y, b.x, b.y); break;
    case -5:
      WalkBorder(path, start, start);
      PlaceSegment(path, a.x, a.y, b.x, b.y);
      break;
    case -4:
      PlaceSegment(path, a.x, a.y, b.x, b.y);
      WalkBorder(path, end, end);
      break;
    case -3:
      PlacePoint(path, a.x, a.y);
      WalkBorder(path, start, start);
      break;
    default:
      lastX0_ = a.x;
      lastY0_ = a.y;
      lastX1_ = b.x;
      lastY1_ = b.y;
      WalkBorder(path, start, end);
      break;
  }
}

void CAutomap::TraceOutline(plat::Path& path, int follow) {
  clipLeft_ = clipTop_ = 0;
  clipRight_ = clipBottom_ = mapSize_;
  centerX_ = centerY_ = mapSize_ / 2;
  for (const OutlinePolyline& line : outline_) {
    firstPoint_ = 1;
    for (size_t i = 0; i < line.size(); ++i) {
      const OUTLINEPOINT& p = line[i];
      const OUTLINEPOINT& q = line[(i + 1) % line.size()];
      if (follow) {
        PlaceClipped(path, FollowPixel(p.x, p.y), FollowPixel(q.x, q.y));
      } else {
        // Every point of the fixed map lies in the map.
        MapPixel a = FixedPixel(p.x, p.y), b = FixedPixel(q.x, q.y);
        PlaceSegment(path, a.x, a.y, b.x, b.y);
      }
    }
  }
}

void CAutomap::RenderFullMap() {
  if (fullMap_) FillSprite(fullMap_, 0, 0, 0, 255);
  else fullMap_ = CreateAutomapBlankSprite(mapSize_, mapSize_, 0, 0, 255);
  plat::PixelTarget dc;
  if (GetSpriteDC(fullMap_, 0, &dc) != 0) return;
  plat::Path path;
  TraceOutline(path, 0);
  plat::FillPath(dc, path, plat::FillRule::Alternate, fillColor_);
  plat::StrokePath(dc, path, penColor_);
  ReleaseSpriteDC(fullMap_, 0, &dc);
}

int CAutomap::Draw(int showAllIcons, HOBJECT target) {
  int w = 0, h = 0;
  if (target) GetSpriteSize(target, &w, &h);
  if (w != mapSize_ || h != mapSize_) return -1;
  FillSprite(target, 0, 0, 0, 255);
  if (!visible_) return 1;
  if (displayMode_ == 0) {
    DrawFixed(showAllIcons, target);
    return 0;
  }
  return DrawFollow(target);
}

void CAutomap::DrawFixed(int showAllIcons, HOBJECT target) {
  if (fullMap_) DrawSpriteOnto(fullMap_, target);
  if (showAllIcons || !tracking_) {
    for (auto* list : {&discovered_, &hidden_}) {
      for (const AUTOMAPICON& icon : *list) {
        PlaceIcon(icon, FixedPixel(icon.desc.x, icon.desc.y));
        ShowIcon(icon, 1);
      }
    }
    return;
  }
  if (fogLayer_) DrawSpriteOnto(fogLayer_, target);
  DiscoverIcons();
  for (const AUTOMAPICON& icon : discovered_) {
    PlaceIcon(icon, FixedPixel(icon.desc.x, icon.desc.y));
    ShowIcon(icon, 1);
  }
  for (const AUTOMAPICON& icon : hidden_) ShowIcon(icon, 0);
}

void CAutomap::DiscoverIcons() {
  if (hidden_.empty() || !fogLayer_) return;
  const auto* pixels = static_cast<const uint8_t*>(LockSprite(fogLayer_, 0));
  if (!pixels) return;
  const int rowPixels = GetSpriteLockPitch() / 2;
  for (auto icon = hidden_.begin(); icon != hidden_.end();) {
    double x = (static_cast<double>(icon->desc.x) - left_) * scale_;
    double y = (static_cast<double>(top_) - icon->desc.y) * scale_;
    bool inside = x >= 0 && y >= 0 && x < mapSize_ && y < mapSize_;
    const auto* row = reinterpret_cast<const uint16_t*>(pixels) + static_cast<ptrdiff_t>(y) * rowPixels;
    if (inside && row[static_cast<int>(x)] == 0) {
      icon->discovered = 1;
      discovered_.push_back(*icon);
      icon = hidden_.erase(icon);
    } else {
      ++icon;
    }
  }
  UnlockSprite(fogLayer_, 0);
}

int CAutomap::DrawFollow(HOBJECT target) {
  plat::PixelTarget dc;
  if (GetSpriteDC(target, 0, &dc) != 0) return -1;
  plat::Path path;
  TraceOutline(path, 1);
  plat::FillPath(dc, path, plat::FillRule::Winding, fillColor_);
  ReleaseSpriteDC(target, 0, &dc);
  for (auto* list : {&discovered_, &hidden_}) {
    for (const AUTOMAPICON& icon : *list) {
      MapPixel p = FollowPixel(icon.desc.x, icon.desc.y);
      bool inView = p.x >= 0 && p.x < mapSize_ && p.y >= 1 && p.y < mapSize_;
      if (inView) PlaceIcon(icon, p);
      ShowIcon(icon, inView ? 1 : 0);
    }
  }
  return 0;
}
