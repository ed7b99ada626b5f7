// Random encounters and scripted battles: the battle record, the screen
// transition and the procedures the battle calls back.
#include "game/battle_start.h"

#include <cstdio>
#include <cstring>

#include "base/debug_trace.h"
#include "base/game_audio.h"
#include "battle/battle_desc.h"
#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "components/sword_man.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "database/system_config.h"
#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "game/encounter_table.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "platform/crt.h"
#include "platform/time.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"
#include "world/scene_markers.h"
#include "world/transition_player.h"

namespace {

// The boss battle that may start without enemies.
constexpr int kEmptyBossBattle = 8;
constexpr int kQuickItemType = 1;
constexpr int kBattleMainWindowMode = 4;

const MAPDESC* MapRow(const CGameResource* resource, int mapIndex) {
  if (!resource || mapIndex < 1 || mapIndex > static_cast<int>(resource->Maps().size())) return nullptr;
  return &resource->Maps()[static_cast<size_t>(mapIndex - 1)];
}

const ITEMDESC* QuickItem() {
  const CGDMainManSoul* leader = g_game ? g_game->battleLeader : nullptr;
  return leader ? leader->GetEquippedItem(kQuickItemType) : nullptr;
}

int QuickItemCount() {
  const ITEMDESC* item = QuickItem();
  return item ? g_gameDataBase.party.GetItemCount(item->Type(), item->Id()) : 0;
}

int QuickItemId() {
  const ITEMDESC* item = QuickItem();
  return item ? item->Type() : -1;
}

// 1 when the item was used.
int UseQuickItem(int n) {
  const ITEMDESC* item = QuickItem();
  if (!item || !g_game->itemPool) return 0;
  if (g_game->itemPool->RemoveItem(item->Type(), item->Id(), n) == 1) g_game->itemPool->UnequipItem(kQuickItemType);
  return 1;
}

}  // namespace

void OpenBattleItemMenu() {
  g_battleInterface.PauseBattle();
  if (g_game && g_game->walker) g_game->leaderCreature = g_game->walker->creature;
  OpenMainWindow(kBattleMainWindowMode);
}

void GiveBattleItem(int id, int count, int type) {
  if (g_game && g_game->itemPool) g_game->itemPool->AddItem(type, id, count, -1);
}

int CGame::TryRandomEncounter() {
  if ((debugSwitches & 1) || state != GS_FIELD || !encounters) return 0;
  if (!encounters->Roll(&tickCounter, walker ? walker->encounterFactor : 1)) return 0;
  ReleaseSelectedItem();
  StartBattle(0, 0);
  // A group without enemies starts nothing; the field goes on.
  return state == GS_BATTLE;
}

int CGame::FillBattleDesc(BATTLEDESC& desc, int scripted, int bossId) {
  const MAPDESC* map = encounters ? encounters->mapRecord : nullptr;
  int arenas = 0;
  while (map && arenas < 2 && map->BattleScene(arenas) != 0) ++arenas;
  if (encounters) encounters->currentBattleId = static_cast<int16_t>(scripted);
  int arena = 0;
  desc.enemies.clear();
  if (scripted) {
    if (const BOSSINFODESC* entry = bosses.Find(bossId)) desc.enemies = entry->enemyIds;
    if (map) arena = map->BossScene();
  } else {
    const int r = plat::Rand();
    if (map && arenas > 0) arena = map->BattleScene((r - 1) * arenas / 32767);
    for (int i = 0; encounters && i < encounters->groupSize; ++i) {
      if (encounters->group[static_cast<size_t>(i)] > 0)
        desc.enemies.push_back(encounters->group[static_cast<size_t>(i)]);
    }
  }
  desc.mapIndex = arena;
  desc.sceneName[0] = 0;
  const MAPDESC* arenaRow = MapRow(gameResource, arena);
  if (arenaRow) std::snprintf(desc.sceneName, sizeof desc.sceneName, "%s", arenaRow->SceneName().c_str());
  if (!arenaRow) {
    DebugTrace("Battle: arena map %d is not in the map table\n", arena);
    return 0;
  }
  return bossId == kEmptyBossBattle || !desc.enemies.empty();
}

void CGame::StartBattle(int scripted, int bossId) {
  if (state == GS_BATTLE) return;
  SetCursorShape(2, 0);
  BATTLEDESC desc;
  if (!FillBattleDesc(desc, scripted, bossId)) {
    // No battle after all: the cursor of the current mode comes back at once.
    SetCursorShape(cursorMode == 2 ? 1 : 0, 0);
    return;
  }
  if (audio) audio->OverrideTrack(-1);
  PlaySound("boom005.wav");
  PlayBattleTransition(1);
  state = GS_BATTLE;
  const CParty& party = g_gameDataBase.party;
  battleLeader = party.members.empty() ? nullptr : party.FindMember(party.members[0]);
  if (config) {
    g_battleInterface.DefineBattleKey(0, config->keyLeft);
    g_battleInterface.DefineBattleKey(1, config->keyRight);
    g_battleInterface.DefineBattleKey(2, config->keyBack);
    g_battleInterface.DefineBattleKey(3, config->keyForward);
    g_battleInterface.SetMousePrecision(config->GetViewDistanceSlider() / 20 + 1);
    g_battleInterface.SetShadowMode(config->shadows ? 16 : 2);
  }
  g_battleInterface.SetItemCountProc(QuickItemCount);
  g_battleInterface.SetUseItemProc(UseQuickItem);
  g_battleInterface.SetItemIdProc(QuickItemId);
  if (encounters && encounters->mapRecord) g_battleInterface.SetBattleTrack(encounters->mapRecord->BattleCdTrack());
  desc.battleId = scripted ? bossId : 0;
  this->bossId = desc.battleId;
  gameOverAfter = 0;
  battle->Start(desc, 0);
  ClearWalkMask();
  BindBattleKeys();
  PlayBattleTransition(0);
  if (scene && scene->portals) scene->portals->Show(0);
}

void CGame::PlayBattleTransition(int start) {
  if (!start) {
    ShowLoading(0, 1);
    return;
  }
  if (transition) {
    transition->GrabScreen();
    transition->StartRandom();
  }
  ShowScene(0, 0);
  const uint64_t period = plat::QueryFrequency() / 30;
  uint64_t next = plat::QueryCounter() + period;
  while (transition && transition->Step() != -2) {
    DrawSprites(0, 1);
    transition->Render();
    FlipScreen();
    const uint64_t now = plat::QueryCounter();
    if (now < next) plat::SleepMs(static_cast<uint32_t>((next - now) * 1000 / plat::QueryFrequency()) + 1);
    next += period;
  }
  ShowLoading(1, 0);
}
