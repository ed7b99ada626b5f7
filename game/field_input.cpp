// Field input: key bindings and close-ups.
#include "game/field_input.h"

#include "components/sword_man.h"
#include "database/system_config.h"
#include "engine/core/input_hooks.h"
#include "game/debug_console.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/pick_manager.h"
#include "talk/talk_host.h"
#include "ui/overlay_input.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/world_map_screen.h"

int g_walkKeyMask = 0;

namespace {

constexpr int kTab = 9, kReturn = 13, kShift = 16, kCtrl = 17, kEsc = 27, kSpace = 32, kBackspace = 8;
constexpr int kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kF1 = 112, kF10 = 121;

// Where the walker fades in a close-up: 1 opaque, 0 gone.
float g_closeUpInAlpha = 1.0f;
float g_closeUpOutAlpha = 0.0f;

void Ignore(int, int) {}
void IgnoreMouse(int, int) {}

void WalkKeys(int out[4]) {
  const CSystemConfig* c = g_game ? g_game->config : nullptr;
  out[0] = c ? c->keyForward : 'W';
  out[1] = c ? c->keyBack : 'S';
  out[2] = c ? c->keyLeft : 'A';
  out[3] = c ? c->keyRight : 'D';
}

// The bit of a walk key, 0 for any other key.
int WalkBit(int key) {
  int keys[4];
  WalkKeys(keys);
  static constexpr int kBits[4] = {1, 8, 4, 2};
  for (int i = 0; i < 4; ++i)
    if (key == keys[i]) return kBits[i];
  return 0;
}

void SetWalkerAlpha(CGame& g, float alpha) {
  if (g.walker && g.walker->creature) g.walker->creature->SetAlpha(alpha);
}

}  // namespace

int WalkCommandOfMask(int mask) {
  if (mask == 0) return CFieldWalker::kStanding;
  if ((mask & 9) == 1) return 3;
  if ((mask & 9) == 8) return 6;
  if ((mask & 6) == 2) return 5;
  if ((mask & 6) == 4) return 4;
  return CFieldWalker::kStanding;
}

void OnGameKey(int key, int down) {
  CGame* g = g_game;
  if (IsKeyDown(kShift)) {
    if (g && g->console) g->console->OnKey(key, down);
    return;
  }
  if (down) {
    g_walkKeyMask |= WalkBit(key);
    if (key == kTab && g) g->CycleAutomap();
    if (key == kEsc) {
      g_walkKeyMask = 0;
      if (g) g->OpenMainMenu();
    }
  } else {
    g_walkKeyMask &= ~WalkBit(key);
  }
  if (g && g->walker && g->walker->creature) g->walker->SetAction(WalkCommandOfMask(g_walkKeyMask));
}

void CGame::BindFieldKeys(int walkKeys) {
  cameraFollow = 1;
  SetKeyHook(kEsc, OnGameKey, 0);
  SetKeyHook(kTab, OnGameKey, 0);
  if (walkKeys) {
    int keys[4];
    WalkKeys(keys);
    for (int key : keys) SetKeyHook(key, OnGameKey, 1);
  }
  for (int key = kF1; key <= kF10; ++key) SetKeyHook(key, Ignore, 0);
  SetKeyHook(kShift, Ignore, 0);
  SetKeyHook(kCtrl, Ignore, 0);
  BindConsoleKeys(1);
  SetMouseMoveHook(OnFieldMouseMove);
  SetMouseButtonHooks(0, OnFieldLeftPress, nullptr, IgnoreMouse, OnFieldLeftDoubleClick);
  SetMouseButtonHooks(1, OnFieldRightPress, nullptr, nullptr, nullptr);
}

void CGame::BindTalkKeys() {
  ClearWalkMask();
  ClearBindings();
  SetKeyHook(kEsc, nullptr, 0);
  for (int key : {kReturn, kUp, kDown, kLeft, kRight}) SetKeyHook(key, OnTalkKey, 0);
  SetMouseMoveHook(OnTalkMouseMove);
  SetMouseButtonHooks(0, OnTalkLeftPress, nullptr, nullptr, nullptr);
}

void CGame::BindWorldMapKeys() {
  ClearWalkMask();
  ClearBindings();
  SetKeyHook(kEsc, nullptr, 0);
  SetMouseMoveHook(OnWorldMapMouseMove);
  SetMouseButtonHooks(0, OnWorldMapLeftPress, nullptr, nullptr, nullptr);
}

void CGame::BindBattleKeys() {
  // The game's Esc goes; the battle's, which its start routed through the
  // overlay root, stays, or Escape could never end a battle.
  InstallOverlayEscapeKey(menuAgency);
  SetKeyHook(kTab, nullptr, 0);
  BindConsoleKeys(1);
}

void CGame::BindScriptKeys() { SetKeyHook(kEsc, OnScriptEsc, 0); }

void CGame::BindConsoleKeys(int on) {
  const KeyHookCallback hook = on ? OnGameKey : nullptr;
  for (int key : {kReturn, kBackspace, kSpace}) SetKeyHook(key, hook, 0);
  for (int key = 187; key <= 190; ++key) SetKeyHook(key, hook, 0);
  for (int key = '0'; key <= 'Z'; ++key) SetKeyHook(key, hook, 0);
}

void CGame::ClearBindings() {
  for (int key = kF1; key <= kF10; ++key) SetKeyHook(key, nullptr, 0);
  for (int key : {kTab, kShift, kUp, kDown, kLeft, kRight, kCtrl}) SetKeyHook(key, nullptr, 0);
  int keys[4];
  WalkKeys(keys);
  for (int key : keys) SetKeyHook(key, nullptr, 0);
  SetMouseButtonHooks(0, nullptr, nullptr, nullptr, nullptr);
  SetMouseButtonHooks(1, nullptr, nullptr, nullptr, nullptr);
  SetMouseMoveHook(nullptr);
  if (walker) {
    OnGameKey(keys[0], 0);
    OnGameKey(keys[2], 0);
  }
}

void CGame::ClearWalkMask() { g_walkKeyMask = 0; }

void CGame::OnMouseMove(int x, int y) {
  if (state == GS_FIELD) MoveSelectedItem(CGameMouse::kCentreX, CGameMouse::kCentreY);
  else MoveSelectedItem(x, y);
  mouse.SetPosition(x, y);
  if (pick) pick->pickMode = 4;
}

void CGame::OnLeftClick(int, int) {
  if (!pick) return;
  pick->clickType = static_cast<int16_t>(mouse.type);
  const int target = pick->target;
  switch (mouse.type) {
    case CT_OBJECT:
    case CT_CHECK_OBJECT: OpenBox(target); break;
    case CT_NPC: ApproachTarget(target, 1); break;
    case CT_EXAMINE_NPC: ApproachTarget(target, 0); break;
    case CT_TRIGGER: FireTrigger(target); break;
    case CT_DOOR: PlaySound("flip.wav"); break;
    default: break;
  }
}

void CGame::OnSlowClick() {
  if (!pick) return;
  pick->clickType = static_cast<int16_t>(mouse.type);
  if (mouse.type != CT_DOOR) return;
  PlaySound("flip.wav");
  OpenBox(pick->target);
}

void CGame::CycleAutomap() {
  automapMode = automapMode == 2 ? 0 : automapMode + 1;
  RefreshAutomap(0);
}

void CGame::StepCloseUpIn(int n) {
  CGameCamera* camera = scene ? scene->camera : nullptr;
  const float step = camera ? camera->closeUpStep : 1.0f;
  g_closeUpInAlpha -= step * static_cast<float>(n);
  SetWalkerAlpha(*this, g_closeUpInAlpha < 0 ? 0 : g_closeUpInAlpha);
  if (camera && !camera->StepCloseUp(n)) return;
  SetCursorMode(2);
  state = GS_CLOSEUP;
  leaveCloseUp = 0;
  SetWalkerAlpha(*this, 0);
  BindFieldKeys(0);
  g_closeUpInAlpha = 1.0f;
}

void CGame::UpdateCloseUp() {
  if (events) events->RunPending();
  if (!leaveCloseUp) return;
  ClearBindings();
  if (scene && scene->camera) scene->camera->ReverseCloseUp();
  state = GS_CLOSEUP_OUT;
}

void CGame::StepCloseUpOut(int n) {
  CGameCamera* camera = scene ? scene->camera : nullptr;
  const float step = camera ? camera->closeUpStep : 1.0f;
  g_closeUpOutAlpha += step * static_cast<float>(n);
  SetWalkerAlpha(*this, g_closeUpOutAlpha > 1 ? 1 : g_closeUpOutAlpha);
  if (camera && !camera->StepCloseUp(n)) return;
  SetCursorMode(1);
  if (camera) camera->CenterCursor();
  if (pick) pick->closeUpActive = 0;
  returnState = GS_FIELD;
  state = GS_FIELD;
  g_closeUpOutAlpha = 0;
  SetWalkerAlpha(*this, 1.0f);
  BindFieldKeys(1);
}

void OnFieldLeftPress(int x, int y) {
  CGame* g = g_game;
  if (!g) return;
  const unsigned now = g->uiFrames;
  const unsigned d = now - g->lastLeftPress;
  g->slowClickArmed = d >= 31 && d <= 59;
  g->lastLeftPress = now;
  if (g->talk && g->talk->Update()) return;
  g->OnLeftClick(x, y);
}

void OnFieldLeftDoubleClick(int, int) {
  CGame* g = g_game;
  if (!g) return;
  const unsigned now = g->uiFrames;
  if (g->slowClickArmed && now - g->lastLeftPress < 25) g->OnSlowClick();
  g->lastLeftPress = now;
  g->slowClickArmed = 0;
}

void OnFieldRightPress(int, int) {
  if (g_game) g_game->leaveCloseUp = 1;
}

void OnFieldMouseMove(int x, int y) {
  CGame* g = g_game;
  if (!g) return;
  g->OnMouseMove(x, y);
  if (g->scene && g->scene->camera) g->scene->camera->OnMouseMove(x, y);
  g->OnWalkerMoved(0);
}

void OnTalkLeftPress(int x, int y) {
  if (g_game && g_game->talk && g_game->talk->player) g_game->talk->player->OnClick(x, y);
}

void OnTalkMouseMove(int x, int y) {
  CGame* g = g_game;
  if (!g) return;
  g->OnMouseMove(x, y);
  if (g->talk && g->talk->player) g->talk->player->MouseOver(x, y);
}

void OnTalkKey(int key, int down) {
  if (down && g_game && g_game->talk && g_game->talk->player) g_game->talk->player->OnKey(key);
}

void OnWorldMapLeftPress(int x, int y) {
  if (g_game && g_game->worldMap) g_game->worldMap->OnMouseDown(x, y);
}

void OnWorldMapMouseMove(int x, int y) {
  CGame* g = g_game;
  if (!g) return;
  g->OnMouseMove(x, y);
  if (g->worldMap) g->worldMap->OnMouseMove(x, y);
}

void OnScriptEsc(int, int down) {
  if (down && g_game) g_game->skipScript = 1;
}
