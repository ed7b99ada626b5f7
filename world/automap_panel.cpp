#include "world/automap_panel.h"

#include "base/tick_timer.h"
#include "engine/media/sprites.h"
#include "world/automap_sprites.h"

namespace {

constexpr int kCellSize = 8;
constexpr int kMapSize = 120;
constexpr float kViewRadius = 250;
constexpr int kMapX = 16, kMapY = 15;
constexpr int kPanelSide = 140;
constexpr int kPanelX = 4, kPanelY = 4;
constexpr int kSurfaceX = 12, kSurfaceY = 11;  // in the layer
constexpr int kLayerDepth = 800;
constexpr int kFrameDepth = 1000;
constexpr double kRedrawRate = 10;

}  // namespace

CAutomapPanel::CAutomapPanel()
    : automap_(std::make_unique<CAutomap>(kCellSize, kMapSize, kViewRadius, kMapX, kMapY)),
      redrawTimer_(std::make_unique<CTickTimer>()) {
  layer_ = CreateAutomapBlankSprite(kPanelSide, kPanelSide, 0, 0, 255);
  SetSpriteColorKey(layer_, 0, 0, 255, 1);
  SetSpriteDepth(layer_, 0, 0, kLayerDepth);
  SetSpritePosition(layer_, kPanelX, kPanelY);
  ShowSprite(layer_, 1);
  frame_ = CreateAutomapImageSprite("automap", kPanelSide, kPanelSide, kFrameDepth, 1);
  SetSpritePosition(frame_, kPanelX, kPanelY);
  surface_ = CreateAutomapBlankSprite(kMapSize, kMapSize, 0, 0, 255);
  SetSpriteColorKey(surface_, 0, 0, 255, 1);
  SetSpritePosition(surface_, kSurfaceX, kSurfaceY);
  redrawTimer_->SetRate(kRedrawRate);
}

CAutomapPanel::~CAutomapPanel() {
  redrawTimer_.reset();
  automap_.reset();
  DeleteAutomapSprite(layer_);
  DeleteAutomapSprite(frame_);
  DeleteAutomapSprite(surface_);
}

int CAutomapPanel::BuildForScene(const char* sceneName, HOBJECT terrain, int tracking) {
  return automap_->BuildForScene(sceneName, terrain, tracking) > 0 ? 0 : -1;
}

void CAutomapPanel::SetPortalIcons(const std::vector<AUTOMAPICONDESC>& icons) { automap_->SetIcons(icons); }

int CAutomapPanel::UpdatePortalIcon(const AUTOMAPICONDESC& icon) { return automap_->UpdateIcon(icon); }

int CAutomapPanel::UpdatePlayer(float x, float y, float facingX, float facingY) {
  int result = automap_->UpdatePlayer(x, y, facingX, facingY);
  return result == 0 || result == 1 ? 0 : -1;
}

int CAutomapPanel::Redraw(int) {
  if (!visible_ || redrawTimer_->Tick() == 0) return 0;
  if (automap_->Draw(showAllIcons_, surface_) < 0) return -1;
  FillSprite(layer_, 0, 0, 0, 255);
  DrawSpriteOnto(surface_, layer_);
  return 0;
}

void CAutomapPanel::Show(int flag) {
  visible_ = flag & 0xFF;
  automap_->Show(visible_);
  ShowSprite(frame_, visible_);
  ShowSprite(layer_, visible_);
}

void CAutomapPanel::SetAlpha(float opacity) { SetSpriteAlpha(layer_, opacity); }

void CAutomapPanel::SetFollowMode(int mode) { automap_->SetDisplayMode(mode); }

int CAutomapPanel::SaveFile(const char* path) { return automap_->SaveFile(path); }

int CAutomapPanel::LoadFile(const char* path, const char* sceneName, HOBJECT terrain) {
  return automap_->LoadFile(path, sceneName, terrain);
}

void CAutomapPanel::Clear() { automap_->ClearAll(); }

void CAutomapPanel::ClearScene() { automap_->ClearScene(); }
