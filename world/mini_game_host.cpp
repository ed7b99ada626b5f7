#include "world/mini_game_host.h"

#include "engine/core/input_hooks.h"
#include "ui/menu_agency.h"
#include "world/guess_game_panel.h"

namespace {

CMiniGameHost* g_miniGameHost = nullptr;

}  // namespace

CMiniGameHost::CMiniGameHost(CMenuAgency* root) : root(root) { g_miniGameHost = this; }

CMiniGameHost::~CMiniGameHost() {
  delete panel;
  if (g_miniGameHost == this) g_miniGameHost = nullptr;
}

void CMiniGameHost::OnPress(int x, int y) {
  if (g_miniGameHost && g_miniGameHost->panel) g_miniGameHost->panel->OnClick(x, y);
}

void CMiniGameHost::OnMove(int x, int y) {
  if (!g_miniGameHost) return;
  if (g_miniGameHost->panel) g_miniGameHost->panel->OnMouseMove(x, y);
  if (g_miniGameHost->root) g_miniGameHost->root->OnMouseMove(x, y);
}

void CMiniGameHost::InstallMouseHooks() {
  SetMouseButtonHooks(0, OnPress, nullptr, nullptr, nullptr);
  SetMouseButtonHooks(1, nullptr, nullptr, nullptr, nullptr);
  SetMouseMoveHook(OnMove);
}

void CMiniGameHost::Start() {
  InstallMouseHooks();
  running = 1;
  delete panel;
  panel = new CGuessGamePanel;
  panel->LoadBackground("Image", "_back", 640, 120, 0, 360);
  panel->SetAlpha(0.5f);
  panel->NewGame();
}

void CMiniGameHost::Tick(int n) {
  if (!panel) return;
  panel->Refresh();
  if (root) root->Update(n);
}

int CMiniGameHost::IsFinished() {
  if (!panel) return 1;
  if (panel->state != CGuessGamePanel::kWon && panel->state != CGuessGamePanel::kLost) return 0;
  lost = panel->state == CGuessGamePanel::kLost ? 1 : 0;
  return 1;
}

void CMiniGameHost::Stop() {
  delete panel;
  panel = nullptr;
  SetMouseButtonHooks(0, nullptr, nullptr, nullptr, nullptr);
  SetMouseButtonHooks(1, nullptr, nullptr, nullptr, nullptr);
  SetMouseMoveHook(nullptr);
}
