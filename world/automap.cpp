#include "world/automap.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "engine/media/sprites.h"
#include "world/automap_sprites.h"

namespace {

constexpr int kPortalKind = 1;
constexpr int kHiddenState = 4;
constexpr int kPortalLayer = 900;
constexpr int kPositionLayer = 999;
constexpr int kPortalSide = 12;
constexpr int kPositionSide = 16;
constexpr size_t kMaxKeyLength = 31;  // a ".map" directory entry holds 31 characters and a zero

uint32_t ColorRef(int red, int green, int blue) {
  return static_cast<uint32_t>(red) | static_cast<uint32_t>(green) << 8 | static_cast<uint32_t>(blue) << 16;
}

}  // namespace

CAutomap::CAutomap(int cellSize, int mapSize, float viewRadius, int originX, int originY)
    : originX_(originX),
      originY_(originY),
      fillColor_(ColorRef(0, 0, 64)),
      penColor_(ColorRef(255, 255, 255)),
      cellSize_(std::max(cellSize, 1)),
      current_(explored_.end()),
      viewRadius_(viewRadius),
      mapSize_(std::max(mapSize, 1)),
      clipLeft_(0),
      clipRight_(mapSize_),
      clipTop_(0),
      clipBottom_(mapSize_),
      centerX_(mapSize_ / 2),
      centerY_(mapSize_ / 2),
      followScale_(viewRadius > 0 ? mapSize_ / (2 * viewRadius) : 1) {
  portalTemplate_ = CreateAutomapImageSprite("portal", kPortalSide, kPortalSide, kPortalLayer, 0);
  positionIcon_ = CreateAutomapImageSprite("mypos", kPositionSide, kPositionSide, kPositionLayer, 0);
  Show(1);
}

CAutomap::~CAutomap() {
  ClearScene();
  DeleteAutomapSprite(portalTemplate_);
  DeleteAutomapSprite(positionIcon_);
}

std::string CAutomap::SceneKey(const char* sceneName) {
  std::string key;
  for (const char* c = sceneName ? sceneName : ""; *c && *c != '.' && key.size() < kMaxKeyLength; ++c)
    key.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(*c))));
  return key;
}

const CExploredCells* CAutomap::CurrentCells() const {
  return current_ == explored_.end() ? nullptr : &current_->second;
}

void CAutomap::ClearSprites() {
  DeleteAutomapSprite(fogLayer_);
  DeleteAutomapSprite(revealSprite_);
  DeleteAutomapSprite(fullMap_);
}

void CAutomap::ClearScene() {
  outline_.clear();
  bounds_ = OUTLINEBOUNDSDESC{};
  ClearSprites();
  ClearIcons();
  current_ = explored_.end();
}

void CAutomap::ClearAll() {
  ClearScene();
  explored_.clear();
  current_ = explored_.end();
}

int CAutomap::BuildForScene(const char* sceneName, HOBJECT terrain, int tracking) {
  ClearScene();
  ExtractTerrainOutline(terrain, outline_, bounds_);
  tracking_ = tracking ? 1 : 0;
  float w = bounds_.right.x - bounds_.left.x;
  float h = bounds_.top.y - bounds_.bottom.y;
  // An outline without width or height cannot be fitted into the square.
  if (outline_.empty() || !(w > 0) || !(h > 0)) {
    outline_.clear();
    return -1;
  }
  if (h > w) {
    scale_ = mapSize_ / h;
    top_ = bounds_.top.y;
    left_ = bounds_.left.x - (h - w) / 2;
  } else {
    scale_ = mapSize_ / w;
    left_ = bounds_.left.x;
    top_ = bounds_.top.y + (w - h) / 2;
  }
  if (tracking_) {
    fogLayer_ = CreateAutomapBlankSprite(mapSize_, mapSize_, 0, 0, 255);
    SetSpriteColorKey(fogLayer_, 0, 0, 0, 1);
    std::string key = SceneKey(sceneName);
    current_ = explored_.find(key);
    if (current_ == explored_.end()) {
      current_ = explored_.emplace(key, CExploredCells(mapSize_, mapSize_, left_, top_, scale_, cellSize_)).first;
      CreateRevealSprite();
    } else {
      CreateRevealSprite();
      const CExploredCells& cells = current_->second;
      for (int row = 0; row < cells.Rows(); ++row)
        for (int column = 0; column < cells.Columns(); ++column)
          if (cells.IsExplored(column, row)) StampCell(column, row);
    }
  }
  RenderFullMap();
  return 1;
}

void CAutomap::CreateRevealSprite() {
  int side = std::max(1, static_cast<int>(scale_ * viewRadius_ * 2));
  revealSprite_ = CreateAutomapBlankSprite(side, side, 0, 0, 0);
}

void CAutomap::StampCell(int column, int row) {
  // The square is centred on the cell: one cell uncovers two view radii.
  int a = cellSize_ / 2 - static_cast<int>(scale_ * viewRadius_);
  SetSpritePosition(revealSprite_, a + column * cellSize_, a + row * cellSize_);
  DrawSpriteOnto(revealSprite_, fogLayer_);
}

CAutomap::MapPixel CAutomap::FixedPixel(float x, float y) const {
  auto to = [&](double v) { return static_cast<int>(std::clamp(std::trunc(v), 0.0, mapSize_ - 1.0)); };
  return {to((static_cast<double>(x) - left_) * scale_), to((static_cast<double>(top_) - y) * scale_)};
}

CAutomap::MapPixel CAutomap::FollowPixel(float x, float y) const {
  // Far-away points are held a long way outside so the clipping stays in range.
  constexpr double kFar = 1 << 20;
  auto to = [&](double v) { return static_cast<int>(std::clamp(std::trunc(v), -kFar, kFar)); };
  return {to((static_cast<double>(x) - viewLeft_) * followScale_),
          to((static_cast<double>(viewTop_) - y) * followScale_)};
}

int CAutomap::UpdatePlayer(float x, float y, float facingX, float facingY) {
  playerX_ = x;
  playerY_ = y;
  viewLeft_ = x - viewRadius_;
  viewTop_ = y + viewRadius_;
  if (visible_) {
    if (displayMode_ == 0) {
      PlaceMarkerOnMap();
    } else {
      int w = 0, h = 0;
      GetSpriteSize(positionIcon_, &w, &h);
      SetSpritePosition(positionIcon_, originX_ + mapSize_ / 2 - w / 2, originY_ + mapSize_ / 2 - h / 2);
    }
    SetHeading(facingX, facingY);
  }
  if (!tracking_) return 0;
  if (current_ == explored_.end()) return -1;
  CExploredCells& cells = current_->second;
  int column = 0, row = 0;
  if (!cells.CellOf(x, y, &column, &row)) return -2;
  if (cells.IsExplored(column, row)) return 1;
  cells.MarkExplored(column, row);
  if (fogLayer_ && revealSprite_) StampCell(column, row);
  return 0;
}

void CAutomap::PlaceMarkerOnMap() {
  int w = 0, h = 0;
  GetSpriteSize(positionIcon_, &w, &h);
  MapPixel p = FixedPixel(playerX_, playerY_);
  SetSpritePosition(positionIcon_, originX_ + p.x - w / 2, originY_ + p.y - h / 2);
}

void CAutomap::SetHeading(float fx, float fy) {
  float length = std::sqrt(fx * fx + fy * fy);
  float s = length > 0 ? std::fabs(fy) / length : 0;
  int band = s < 0.5f ? 0 : (s <= 0.866025f ? 1 : 2);
  int cell;
  if (fx >= 0 && fy >= 0) cell = band;
  else if (fx < 0 && fy >= 0) cell = 4 - band;
  else if (fx < 0) cell = 4 + band;
  else cell = band == 0 ? 0 : 8 - band;
  SetSpriteFrame(positionIcon_, nullptr, nullptr, &cell);
}

HOBJECT CAutomap::CreateIconSprite(const AUTOMAPICONDESC& desc) const {
  if (desc.kind != kPortalKind) return 0;
  HOBJECT sprite = CloneSprite(portalTemplate_);
  SetSpriteColorKey(sprite, 0, 0, 255, 1);
  SetSpriteDepth(sprite, 0, 0, kPortalLayer);
  return sprite;
}

void CAutomap::ClearIcons() {
  for (auto* list : {&discovered_, &hidden_}) {
    for (AUTOMAPICON& icon : *list) DeleteAutomapSprite(icon.sprite);
    list->clear();
  }
}

void CAutomap::SetIcons(const std::vector<AUTOMAPICONDESC>& icons) {
  ClearIcons();
  for (const AUTOMAPICONDESC& desc : icons) hidden_.push_back({desc, 0, CreateIconSprite(desc)});
}

int CAutomap::UpdateIcon(const AUTOMAPICONDESC& desc) {
  for (auto* list : {&discovered_, &hidden_}) {
    for (AUTOMAPICON& icon : *list) {
      if (icon.desc.kind != desc.kind || icon.desc.index != desc.index) continue;
      icon.desc.state = desc.state;
      if (desc.state & kHiddenState) ShowSprite(icon.sprite, 0);
      return 0;
    }
  }
  return -1;
}

void CAutomap::ShowIcon(const AUTOMAPICON& icon, int flag) const {
  ShowSprite(icon.sprite, flag && !(icon.desc.state & kHiddenState) ? 1 : 0);
}

void CAutomap::PlaceIcon(const AUTOMAPICON& icon, MapPixel at) const {
  int w = 0, h = 0;
  GetSpriteSize(icon.sprite, &w, &h);
  SetSpritePosition(icon.sprite, originX_ + at.x - w / 2, originY_ + at.y - h / 2);
}

void CAutomap::Show(int flag) {
  ShowSprite(positionIcon_, flag);
  for (auto* list : {&discovered_, &hidden_})
    for (const AUTOMAPICON& icon : *list) ShowIcon(icon, flag);
  visible_ = flag;
}
