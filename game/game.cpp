#include "game/game.h"

#include "base/game_audio.h"
#include "base/game_globals.h"
#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "components/bs_creature.h"
#include "components/society_ext.h"
#include "components/sword_man.h"
#include "cutscene/cut_scene_player.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/system_config.h"
#include "engine/core/engine_queries.h"
#include "engine/core/frame_timers.h"
#include "engine/core/lifecycle.h"
#include "engine/media/cdaudio.h"
#include "engine/media/sprites.h"
#include "game/battle_start.h"
#include "game/debug_console.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game_sys_proc.h"
#include "game/loading_animation.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "game/save_slots.h"
#include "game/save_thumbnail.h"
#include "game/world_services.h"
#include "platform/crt.h"
#include "platform/window.h"
#include "talk/talk_host.h"
#include "ui/gm_mouse.h"
#include "ui/menu_agency.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"
#include "world/mini_game_host.h"
#include "world/terrain_boundary.h"
#include "world/transition_player.h"
#include "world/world_map_screen.h"

CGame* g_game = nullptr;
FieldHook g_fieldFrameHook = nullptr;
FieldHook g_fieldPauseHook = nullptr;

CGame::CGame(int, char**) : state(0), cameraFollow(0), skipUiFrame(0), debugSwitches(0), currentTrigger(0) {
  SetDoubleClickAsPress(1);
  plat::Srand(1);
  scene = nullptr;
  plat::ShowCursor(false);

  gameResource = new CGameResource;
  gameResource->Open(kResourceName);
  dataLoader = new CGameDataLoader(0);
  events = new CEventRunner(gameResource);
  itemPool = new CGDItemPool(dataLoader->database);

  menuAgency = &g_menuAgency;
  board = new CMessageBoard;
  banner = new CCaptionBanner;

  mouse.cursor->timer.SetRate(7.5);
  mouse.cursor->AttachTo(&g_menuAgency);
  mouse.Show(0);

  battle = new CBattleSys(&g_menuAgency);
  g_battleInterface.SetItemMenuProc(OpenBattleItemMenu);
  g_battleInterface.SetGiveItemProc(GiveBattleItem);
  InstallSaveSlotProcedures();

  boughtItems = new std::vector<int>;
  SetBoughtItemList(boughtItems);

  worldMap = nullptr;
  worldMapChosen = 0;
  leaderCreature = nullptr;
  mouse.type = 0;
  pendingHeroForm = 0;
  hero = 0;
  cursorMode = 0;
  usedItem = nullptr;
  usedItemConsumed = 0;
  leaveCloseUp = 1;
  returnState = 0;
  state = GS_SETTLE;
  talkNpc = nullptr;
  npcRange = objectRange = triggerRange = 0;
  menuShot = nullptr;
  skipScript = 0;
  showCaption = 1;
  g_game = this;
  InstallWorldServices();
  encountersOn = 1;

  cutScene = new CCutScenePlayer;
  loading = nullptr;
  CreateLoadingSprite();

  talk = new CTalkHost(640, 480, GameTalkSysProc);
  talk->Load("talk.pt");

  audio = new CGameAudio;
  config = new CSystemConfig(audio);
  config->softwareRendering = g_hardwareRendering ? 0 : 1;

  miniGame = new CMiniGameHost(&g_menuAgency);
  transition = new CTransitionPlayer;
  pick = new CPickManager(this);
  console = new CDebugConsole(this);
  boundary = new TerrainBoundary;

  CreateScreenManager(dataLoader, gameResource, itemPool, events, config);
  mapHookPaused = 0;
  currentTrigger = 0;
  SetFrameTimer(1, 30.0f, OnUiFrame, 0);
  bossId = 0;
}

CGame::~CGame() {
  // Nothing the loading worker draws may go while it still runs.
  if (loading) loading->StopWorker();
  DestroyScreenManager();
  delete config;
  config = nullptr;

  delete boundary;
  // The walker lets go of the scene's people before they go.
  if (walker) walker->SetObstacles({});
  delete scene;
  scene = nullptr;
  delete boughtItems;
  if (walker) {
    if (leaderCreature != walker->creature) delete leaderCreature;
    delete walker;
    walker = nullptr;
  }

  delete console;
  delete encounters;
  delete miniGame;
  // The battle leaves the scene society before the society goes.
  delete battle;
  delete board;
  delete banner;
  delete talk;
  delete gameResource;
  delete dataLoader;
  delete events;
  delete pick;
  delete cutScene;
  delete audio;
  delete loading;
  CloseCDAudio();
  delete transition;
  delete menuShot;

  mouse.cursor->Detach();
  g_menuAgency.ReleaseSounds();
  delete itemPool;
  delete society;
  delete worldMap;

  if (g_loadingSprite) DeleteSprite(g_loadingSprite);
  g_loadingSprite = 0;
  CloseEngine(1);
  plat::ShowCursor(true);
  if (g_game == this) g_game = nullptr;
}
