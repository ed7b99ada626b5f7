// The game tick: what each game state does on the 30-per-second game frame.
#include "base/game_audio.h"
#include "battle/battle_sys.h"
#include "components/society_ext.h"
#include "cutscene/cut_scene_player.h"
#include "database/game_database.h"
#include "engine/core/back_buffer.h"
#include "engine/core/engine_queries.h"
#include "engine/core/node_transforms.h"
#include "engine/media/sprites.h"
#include "game/boss_info.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_input.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "talk/talk_host.h"
#include "ui/menu_agency.h"
#include "ui/screen_manager.h"
#include "world/game_camera.h"
#include "world/map_scene.h"
#include "world/mini_game_host.h"
#include "world/scene_content.h"
#include "world/world_map_screen.h"

namespace {

constexpr int kWalkerStanding = 2;
constexpr int kGameOverTicks = 45;
constexpr int kWaitActionType = 9;  // a pending action that Esc does not skip
constexpr int kLeaderHp = 6;
constexpr int kTalkResume = 10;  // the talk host asks for its player back

// The scene society's ticks this frame; 0 before the first scene.
int TickSociety(CSocietyExt* society) { return society ? society->Tick() : 0; }

void UnlockMouseLook(MScene* scene) {
  if (scene && scene->camera) scene->camera->mouseLookLocked = 0;
}

}  // namespace

void OnGameFrame(int n) {
  CGame* game = g_game;
  if (!game) return;
  if (game->state <= GS_FIELD && game->talk->Update() == 0 && game->walker) {
    if (game->walker->Step(g_walkKeyMask, n)) game->OnWalkerMoved(1);
  }
  game->Tick(n);
}

void CGame::Tick(int n) {
  if (pendingHeroForm) {
    ChangeHeroForm(pendingHeroForm);
    pendingHeroForm = 0;
    return;
  }
  if (banner->IsShowing()) banner->Step();
  skipUiFrame = 0;

  switch (state) {
    case GS_FIELD:
      if (!pick->Scan()) pick->PickAt(320, 240);
      sceneTicks = TickSociety(society);
      if (g_fieldFrameHook) g_fieldFrameHook(n);
      break;
    case GS_APPROACH_NPC:
      if (walker && walker->action == kWalkerStanding) StartApproachEvent(0);
      else TickSociety(society);
      break;
    case GS_BATTLE: {
      TickSociety(society);
      g_menuAgency.Tick();
      int result = 0;
      if (battle->IsRunning(&result)) {
        if (CSceneContent* arena = battle->ArenaContent()) {
          VECTOR3 eye{0, 0, 0};
          VECTOR3 origin{0, 0, 0};
          GetNodeWorldVectors(GetCurrentCamera(), &eye, nullptr, nullptr);
          arena->FadeOccluders(eye, origin);
          arena->TickWeather(1, origin);
          if (tickCounter % 32 == 0) {
            arena->FollowCamera(eye, origin);
            tickCounter = 0;
          }
        }
        ++tickCounter;
        return;
      }
      OnBattleEnded(result);
      return;
    }
    case GS_MINIGAME:
      miniGame->Tick(n);
      if (miniGame->IsFinished()) EndMiniGame();
      TickSociety(society);
      break;
    case GS_SCRIPT: {
      if (talk->talking) {
        if (talk->player) talk->player->Pause();
        talk->Update();
      }
      ClearScreenRect(0, 0, 640, 480);
      int playing = cutScene->Tick(n);
      if (playing && (events->NextActionType() == kWaitActionType || skipScript == 0)) {
        ++tickCounter;
        if ((tickCounter & 63) == 0) tickCounter = 0;
        return;
      }
      UnlockMouseLook(scene);
      EndScript();
      tickCounter = 0;
      if (scriptEvent == endingEvent) {
        state = GS_ENDING;
      } else if (gameOverAfter) {
        GameOver();
        gameOverAfter = 0;
        return;
      }
      break;
    }
    case GS_TALK:
      if (talk->Update() != 1 && state == GS_TALK) EndTalk();
      TickSociety(society);
      break;
    case GS_MENU:
      if (talk->talking) {
        if (talk->player) talk->player->Pause();
        talk->Update();
      }
      return;
    case GS_ENDING:
      WriteSuperSave();
      ShowScene(0, 0);
      audio->OverrideTrack(-1);
      PlayMovie("credit");
      StopGameFrames();
      SetCursorShape(2, 0);
      Run();
      return;
    case GS_GAMEOVER:
      if (scene && scene->fadeActive) break;
      if (++tickCounter > kGameOverTicks) {
        DeleteSprite(gameOverSprite);
        gameOverSprite = 0;
        StopGameFrames();
        Run();
      }
      break;
    case GS_AREA_CHANGE:
      if (UpdateAreaChange(n)) {
        EnterScene(pendingScene, pendingEntry);
        state = GS_SETTLE;
      }
      break;
    case GS_WORLD_MAP:
      if (worldMap) worldMap->Update();
      if (worldMapChosen) {
        worldMapChosen = 0;
        GoToScene(pendingScene, pendingEntry);
      }
      return;
    case GS_SETTLE: Settle(); break;
    case GS_CLOSEUP_IN: StepCloseUpIn(1); break;
    case GS_CLOSEUP_OUT: StepCloseUpOut(1); break;
    case GS_CLOSEUP:
      if (!pick->Scan()) pick->PickAt(mouse.x, mouse.y);
      UpdateCloseUp();
      break;
    default:  // GS_QUIT and the unused codes: the tail only
      break;
  }
  g_menuAgency.Tick();
  if (scene) scene->Tick(sceneTicks);
}

void CGame::Settle() {
  bool talking = false;
  if (talk->lastState == kTalkResume) {
    if (talk->player) talk->player->Resume();
    talking = true;
  } else {
    talking = talk->Update() != 0;
  }
  if (talking) {
    talk->ShowWindow(1, 1);
    state = GS_TALK;
    BindTalkKeys();
    sceneTicks = TickSociety(society);
    return;
  }
  if (events->top != 0) {
    events->RunPending();
    sceneTicks = TickSociety(society);
    return;
  }
  state = returnState;
  if (mapHookPaused) {
    if (g_fieldPauseHook) g_fieldPauseHook(0);
    mapHookPaused = 0;
  }
  CGameCamera* camera = scene ? scene->camera : nullptr;
  if (state == GS_FIELD) {
    ShowSelectedItem(1);
    SetCursorMode(1);
    if (walker) walker->ShowCreature(1);
    if (camera) {
      camera->mouseLookLocked = 0;
      camera->CenterCursor();
      camera->ShowAimer(1);
    }
    pick->closeUpActive = 0;
    RefreshAutomap(0);
  } else if (state == GS_CLOSEUP) {
    if (camera) camera->mouseLookLocked = 1;
    ShowSelectedItem(1);
    SetCursorMode(2);
  }
  if (walker) {
    walker->idleTimer = 0;
    walker->idleAllowed = 1;
  }
  BindFieldKeys(1);
  PlaySceneTrack();
  sceneTicks = TickSociety(society);
}

void CGame::OnBattleEnded(int result) {
  g_gameDataBase.party.ClearMemberEffects();
  if (encounters && encounters->currentBattleId != 0) events->lastResult = result != -1 ? 14 : 13;
  if (result == -1) {
    if (bossId == 0) {
      GameOver();
      return;
    }
    const BOSSINFODESC* entry = bosses.Find(bossId);
    if (entry && entry->autoEvent > 0) {
      if (GetLeaderAttribute(kLeaderHp) <= 0) ChangeLeaderAttribute(kLeaderHp, 0, 0);
      gameOverAfter = entry->endGame;
      ShowScene(1, 0);
      StartEvent(6, EventBase() + entry->autoEvent);
      return;
    }
    if (entry && entry->endGame) {
      GameOver();
      return;
    }
  }
  state = GS_SETTLE;
  if (scene && scene->camera) scene->camera->ShowAimer(1);
  ShowScene(1, 0);
  if (scene && scene->camera) scene->camera->RestoreView();
  tickCounter = 0;
}
