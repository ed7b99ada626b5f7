// The user-interface frame, the menu results and the big turns of a run:
// title, main menu, new game, game over and quit.
#include <cstring>

#include "base/game_audio.h"
#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "components/sword_man.h"
#include "cutscene/cut_scene_player.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "database/item_pool.h"
#include "database/system_config.h"
#include "engine/core/frame_timers.h"
#include "engine/core/viewport_render.h"
#include "engine/media/cdaudio.h"
#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "game/debug_console.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/picture_sprite.h"
#include "game/save_thumbnail.h"
#include "game/state_report.h"
#include "talk/talk_host.h"
#include "ui/menu_agency.h"
#include "ui/overlay_input.h"
#include "ui/screen_manager.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/map_scene.h"

namespace {

// Events whose scripts mark the story's turns, per hero.
constexpr int kMilestoneEvent[2] = {135, 1594};
constexpr int kEndingEvent[2] = {335, 1679};

void ActivateSceneCamera(MScene* scene) {
  if (scene && scene->camera) scene->camera->Activate();
}

}  // namespace

void OnUiFrame(int n) {
  CGame* game = g_game;
  if (!game) return;
  ++game->uiFrames;
  ReportGameState(*game);
  // A quit is acted on whatever cleared the skip flag in between.
  if (game->state == GS_QUIT) {
    game->DestroyOnQuit();
    return;
  }
  if (game->skipUiFrame) return;
  CCutScene* play = game->cutScene->GetPlay();
  if ((game->state == GS_SCRIPT || game->state == GS_AREA_CHANGE) && play) play->RenderViewports();
  else if (game->state != GS_SCRIPT && game->state != GS_AREA_CHANGE) RenderViewport(0, 1, 1);
  game->OnMenuResult(n);
  DrawSprites(0, 0);
  g_gameDataBase.party.header[CParty::kSummaryValue] += n;
  game->console->DrawOverlay();
  FlipScreen();
}

void CGame::DestroyOnQuit() { delete this; }

void CGame::OnMenuResult(int n) { OnScreenResult(UpdateScreens(n)); }

void CGame::OnScreenResult(int result) {
  switch (result) {
    case SR_RESUME:
      if (state == GS_BATTLE) {
        if (mapHookPaused) {
          if (g_fieldPauseHook) g_fieldPauseHook(0);
          mapHookPaused = 0;
        }
        g_battleInterface.ResumeBattle();
        if (leaderCreature) ShowLeaderCreature(0);
      } else {
        delete menuShot;
        menuShot = nullptr;
        usedItem = nullptr;
        ShowScene(1, 0);
        state = GS_SETTLE;
        if (scene && scene->camera) {
          scene->camera->Activate();
          scene->camera->CenterCursor();
        }
        ApplyDisplaySettings();
        if (leaderCreature && (!walker || leaderCreature != walker->creature)) ShowLeaderCreature(0);
      }
      InstallOverlayInput(&g_menuAgency);
      break;
    case SR_TITLE:
      ActivateSceneCamera(scene);
      StopGameFrames();
      Run();
      break;
    case SR_NEW_GAME: NewGame(GetChosenHero()); break;
    case SR_QUIT:
      skipUiFrame = 1;
      state = GS_QUIT;
      break;
    case SR_LOAD: {
      // The list checked the slot, but it may have changed since: a refused
      // load must not leave the player before a closed menu and a hidden
      // scene. The menu's own snapshot tells a game in play from the title.
      const bool inPlay = menuShot != nullptr;
      ShowLoading(1, 0);
      const int loaded = LoadGame(GetSelectedSlot());
      ShowLoading(0, 0);
      if (!loaded) OnScreenResult(inPlay ? SR_RESUME : SR_TITLE);
      break;
    }
    case SR_USE_ITEM:
      usedItem = GetSelectedItem();
      ShowScene(1, 0);
      state = GS_SETTLE;
      ActivateSceneCamera(scene);
      break;
    default:  // 3 (an information box closed) and anything else: nothing
      break;
  }
}

void CGame::Run() {
  // No game is in play at the title, so nothing of one is kept.
  delete menuShot;
  menuShot = nullptr;
  state = GS_MENU;
  ShowScene(0, 0);
  audio->ApplyMusicVolume();
  audio->PlayTrack(2);
  OpenStartMenu(CheckSuperSave() > 0);
}

void CGame::OpenMainMenu() {
  if ((state != GS_FIELD && state != GS_CLOSEUP) || !IsScreenIdle()) return;
  if (g_fieldPauseHook) g_fieldPauseHook(1);
  mapHookPaused = 1;
  delete menuShot;
  menuShot = new CSaveThumbnail(220, 160);
  menuShot->Capture(0, 0, 640, 480);
  if (walker) {
    VECTOR3 position{0, 0, 0}, direction{0, 1, 0};
    if (walker->creature) walker->GetPosition(&position, &direction);
    std::memcpy(menuWalkerPos, &position, sizeof menuWalkerPos);
    std::memcpy(menuWalkerDir, &direction, sizeof menuWalkerDir);
    walker->SetAction(2);
  }
  SaveNpcSnapshots();
  returnState = state;
  SetCursorShape(2, 0);
  ShowScene(0, 0);
  audio->ApplyMusicVolume();
  int form = walker ? walker->form : 0;
  bool smallForm = form == 7 || form == 8;
  int mode = state == GS_FIELD ? (smallForm ? 1 : 0) : (smallForm ? 3 : 2);
  if ((mode == 0 || mode == 2) && leaderCreature && (!walker || leaderCreature != walker->creature))
    ShowLeaderCreature(1);
  OpenMainWindow(mode);
  state = GS_MENU;
}

void CGame::NewGame(int secondHero) {
  StopCDAudio();
  delete dataLoader;
  dataLoader = new CGameDataLoader(secondHero ? 1 : 0);
  hero = secondHero ? 2 : 1;
  milestoneEvent = kMilestoneEvent[secondHero ? 1 : 0];
  endingEvent = kEndingEvent[secondHero ? 1 : 0];
  const char* sceneFile = secondHero ? "a013.SB" : "a004.SB";
  const char* startScript = secondHero ? "f_start" : "start";
  if (scene && scene->automap) scene->automap->Clear();
  talk->Load("talk.pt");
  OpenScene(sceneFile);
  if (secondHero) ImportSuperSave();
  SetupWalker();
  PlaceWalkerAtStart();
  ReattachSceneObjects();
  FinishSceneEntry();
  delete itemPool;
  itemPool = new CGDItemPool(dataLoader->database);
  itemPool->RebuildSlots();
  SetScreenContext(dataLoader, gameResource, itemPool, events, config);
  ShowScene(1, 0);
  StartScript(startScript, -1);
  SetFrameTimer(0, 30.0f, OnGameFrame, 1);
}

void CGame::GameOver() {
  SetCursorShape(2, 0);
  if (state == GS_BATTLE) battle->End();
  if (state == GS_GAMEOVER) return;
  // The party record holds no object of its own to delete here.
  state = GS_GAMEOVER;
  tickCounter = 0;
  gameOverSprite = CreatePictureSprite(170, 140, 300, 160, "end");
  ShowScene(0, 0);
  audio->StopMusic();
  g_fieldFrameHook = nullptr;
  gameOverAfter = 0;
}

void CGame::StopGameFrames() { SetFrameTimer(0, 30.0f, nullptr, 1); }
