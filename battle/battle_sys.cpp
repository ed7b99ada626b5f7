#include "battle/battle_sys.h"

#include <string.h>
#include <strings.h>

#include <cstdio>

#include "battle/after_image.h"
#include "battle/battle_arena.h"
#include "battle/battle_camera.h"
#include "battle/battle_interface.h"
#include "battle/battle_script.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/kbs_console.h"
#include "battle/kbs_state.h"
#include "battle/sys_state.h"
#include "battle/tarnwick.h"
#include "battle/ui_manager.h"
#include "battle/x_shot.h"
#include "battle/x_trap.h"
#include "battle/x_wave.h"
#include "components/society_ext.h"
#include "database/game_database.h"
#include "engine/core/input_hooks.h"
#include "engine/media/cdaudio.h"
#include "platform/message_box.h"
#include "platform/qel/kbs_control.h"
#include "ui/menu_agency.h"
#include "ui/overlay_input.h"
#include "ui/qmz/sp_kernel.h"
#include "world/battle_scene.h"
#include "world/scene_content.h"

CBattleSys* g_battleSys = nullptr;
int CBattleSys::updateCounter = 0;

namespace {

constexpr char kBattleFolder[] = ".\\creature\\battle\\";
constexpr char kArenaFolder[] = "BattleScene";
// Battle keys: left, right, back, forward until the game defines its own.
constexpr int kDefaultKeys[4] = {'A', 'D', 'S', 'W'};

}  // namespace

CBattleSys::CBattleSys(CMenuAgency* owner)
    : console(std::make_unique<CKBSConsole>()), arena(std::make_unique<CBattleArena>()) {
  defer = 1;
  LoadBattleData();
  hud.SetOwner(this);
  cursor.Create("cursor00", 24, 24, 3, 5);
  cursor.SetColorKey(0, 0, 255);
  CBattleCamera::Instance()->LoadTracksAndController();
  CBattleScript* script = CBattleScript::Instance();
  script->LoadScript("sbe.sc");
  script->LoadThrows("scriptdata.txt");
  for (int slot = 0; slot < 4; ++slot) g_battleInterface.DefineBattleKey(slot, kDefaultKeys[slot]);
  overlay = owner;
  if (overlay) overlay->SetCallback(OnInput);
  g_battleSys = this;
}

CBattleSys::~CBattleSys() {
  End();
  ClearShots();
  if (g_battleSys == this) g_battleSys = nullptr;
  if (overlay && overlay->callback == OnInput) overlay->SetCallback(nullptr);
  CBattleCamera::Destroy();
  qmz::CKBSControl::CleanClear();
  CAfterImage::Destroy();
  CBattleScript::Destroy();
  CBattleInterface::Destroy();
}

void CBattleSys::LoadBattleData() {
  const std::string base = kBattleFolder;
  actionTable.Load(base + "kbs.acb");
  hitVertices = LoadHitVertices(base + "HitVertice.txt");
}

int CBattleSys::Start(BATTLEDESC battle, int extraValue) {
  // A battle already running is never replaced under its fighters.
  if (!CGCBase::owner || !overlay || !battle.sceneName[0] || running) return 0;
  auto* society = dynamic_cast<CSocietyExt*>(CGCBase::owner);

  // The arena first: without ground to stand on nothing is started.
  // Map records may already carry the extension.
  const int length = static_cast<int>(strnlen(battle.sceneName, sizeof battle.sceneName));
  const bool named = length > 3 && strncasecmp(battle.sceneName + length - 3, ".sb", 3) == 0;
  char fileName[sizeof battle.sceneName + 4];
  std::snprintf(fileName, sizeof fileName, named ? "%.*s" : "%.*s.sb", length, battle.sceneName);
  auto stage = std::make_unique<CBattleScene>(fileName, kArenaFolder);
  stage->BuildContent();
  if (!stage->Content() || !stage->Content()->terrain) {
    plat::ShowMessageBox("", "Invalid scene data!!! Game will crash");
    return 0;
  }

  desc = std::move(battle);
  extra = extraValue;
  spawnList.clear();
  for (int id : desc.enemies) spawnList.push_back({id, 0});
  spawnCursor = 0;

  overlay->SetCallback(OnInput);
  InstallOverlayEscapeKey(overlay);
  // The combination input reads these keys' down state; nothing else hooks them.
  qmz::CKBSControl* keys = qmz::CKBSControl::Instance();
  for (int slot = 0; slot < 4; ++slot) SetKeyHook(keys->GetKey(slot), nullptr, 0);
  keys->BindKeyProc(IsKeyDown);

  if (society) {
    savedViewCamera = society->ViewCamera();
    society->SetViewCamera(0);
  }
  scene = std::move(stage);
  arena->Build(scene->Content()->terrainNode);

  CBattleScript::Instance()->Begin(this, desc.battleId);
  PlayCDTrack(g_battleInterface.GetBattleTrack(), 1);
  music = std::make_unique<CXWave>();
  const CParty& party = g_gameDataBase.party;
  PlaceHero(party.members.empty() ? 0 : party.members[0]);
  SpawnWave(1);
  EnterPhase(1);
  return 1;
}

int CBattleSys::End() {
  if (!running) return 0;
  StopMusic();
  if (console) console->Close();
  ClearShots();
  delete hero;
  hero = nullptr;
  ReleaseEnemies();
  DeleteTraps();
  hud.HideAll();
  arena->Release();
  if (auto* society = dynamic_cast<CSocietyExt*>(CGCBase::owner)) society->SetViewCamera(savedViewCamera);
  savedViewCamera = 0;
  scene.reset();
  state = nullptr;
  running = 0;
  updateDivider = 1;
  SetCursorMode(kCursorHidden);
  cursor.Update();
  CAfterImage* images = CAfterImage::Instance();
  images->Clear();
  images->SetBody(nullptr);
  return 1;
}

int CBattleSys::IsRunning(int* result) {
  if (result) *result = CBattleScript::Instance()->result;
  return running;
}

int CBattleSys::ForceWin() {
  if (!running) return 0;
  End();
  CBattleScript::Instance()->result = 1;
  return 1;
}

int CBattleSys::Finish(int result) {
  if (!running) return 0;
  CutActions();
  CBattleScript::Instance()->result = result;
  SetState(CSysState::Instance(), result ? PHASE_VICTORY : PHASE_DEFEAT);
  return 1;
}

void CBattleSys::CutAction(CTarnwick* body) {
  if (!body) return;
  body->currentFrame = body->current[ACTIONDESC::END];
  body->StopMotion(1);
}

void CBattleSys::CutActions() {
  if (hero) CutAction(hero->body);
  for (int i = 0; i < enemyCount; ++i) {
    if (enemies[i]) CutAction(enemies[i]->body);
  }
}

void CBattleSys::SetState(CKBSState* newState, int code) {
  state = newState;
  phaseCode = code;
}

void CBattleSys::EnterPhase(int start) {
  if (!start) {
    CSysState::EnterHeroTurn(this);
    return;
  }
  running = 1;
  CBattleCamera::Instance()->cameraMode = CBattleCamera::MODE_NONE;
  SetState(CSysState::Instance(), PHASE_START);
}

int CBattleSys::Update(int n) {
  if (!running || !scene || sceneFrozen) return 0;
  // A divider that drops below the count still advances at the next call.
  if (++updateCounter >= updateDivider) {
    if (CSceneContent* content = scene->Content()) content->Update(n);
    updateCounter = 0;
  }
  return 1;
}

int CBattleSys::TickState(int n) {
  if (!running || paused) return 0;
  cursor.Update();
  qmz::UpdateSpWindows(n);
  if (state) state->Update(this, n);
  return 1;
}

int CBattleSys::OnInput(int type, int a, int b, intptr_t) {
  CBattleSys* sys = g_battleSys;
  if (!sys) return 0;
  const int x = a & 0xFFFF;
  const int y = static_cast<int>(static_cast<unsigned>(a) >> 16);
  switch (type) {
    case INPUT_MOUSE_MOVE:
    case INPUT_MOUSE_DRAG: qmz::SendSpMouseMove(x, y); break;
    case INPUT_LBUTTON_DOWN: qmz::SendSpLButtonDown(x, y); break;
    case INPUT_LBUTTON_UP: qmz::SendSpLButtonUp(x, y); break;
    default: break;
  }
  if (!sys->paused && sys->state) sys->state->Input(sys, type, a, b);
  return 1;
}

int CBattleSys::GetScriptValue(int kind, int key) { return CBattleScript::Instance()->GetValue(kind, key); }

HOBJECT CBattleSys::HeroBodyNode() const { return hero && hero->body ? hero->body->Node() : 0; }

CSceneContent* CBattleSys::ArenaContent() const { return scene ? scene->Content() : nullptr; }
