// The event runner, random encounters, the battle record and the party
// services, on game resources written for each test.
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

#include "base/game_audio.h"
#include "base/game_globals.h"
#include "battle/battle_desc.h"
#include "battle/battle_interface.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/scene_records.h"
#include "database/system_config.h"
#include "engine/core/fog.h"
#include "engine/core/input_hooks.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/sprites.h"
#include "game/boxes_and_traps.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_input.h"
#include "game/map_special_events.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "platform/crt.h"
#include "platform/qel/kbs_control.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/cutscene_writer.h"
#include "tools/datagen/game_resource_writer.h"
#include "ui/gm_mouse.h"
#include "ui/screen_manager.h"
#include "world/automap_panel.h"
#include "world/game_camera.h"
#include "world/guess_game_panel.h"
#include "world/map_scene.h"
#include "world/mini_game_host.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_markers.h"

namespace gametest {
namespace {

using datagen::EventActionData;
using datagen::EventData;
using datagen::GameResourceData;

constexpr const char* kResourceFile = "resource/Zudur.res";

class EventTest : public GameTest {
 protected:
  void StartWith(const GameResourceData& data) {
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource(kResourceFile, data, error)) << error;
    ASSERT_EQ(Start(), 1);
  }
  // Adds an event with its conditions and actions; its table index.
  static int AddEvent(GameResourceData& data, std::vector<EventActionData> conditions,
                      std::vector<EventActionData> actions, const std::string& name = "e") {
    EventData e;
    e.name = name;
    e.conditions = static_cast<uint8_t>(conditions.size());
    e.actions = static_cast<uint8_t>(actions.size());
    e.firstAction = static_cast<int16_t>(data.actions.size());
    data.actions.insert(data.actions.end(), conditions.begin(), conditions.end());
    data.actions.insert(data.actions.end(), actions.begin(), actions.end());
    data.events.push_back(e);
    return static_cast<int>(data.events.size()) - 1;
  }
  static void SetBase(std::array<uint8_t, 4>& block, int16_t base) {
    block[2] = static_cast<uint8_t>(base & 0xFF);
    block[3] = static_cast<uint8_t>((base >> 8) & 0xFF);
  }
  CEventRunner& Runner() { return *Game().events; }
  void Run(int event) {
    ASSERT_EQ(Runner().PushEvent(event), 1);
    Runner().RunPending();
  }
};

TEST_F(EventTest, RunnerCases) {
  GameResourceData data;
  const int ordered = AddEvent(data, {}, {{3, 0, 10}, {3, 0, -10}, {3, 0, 11}});
  const int tagged = AddEvent(data, {}, {{9, 0, 14}, {3, 0, 20}, {3, 0, 21}});
  const int failing = AddEvent(data, {{3, 0, 99}}, {});
  const int pausing = AddEvent(data, {}, {{6, 0, static_cast<int16_t>(failing)}, {3, 0, 30}});
  const int talkPausing = AddEvent(data, {}, {{2, 0, static_cast<int16_t>(failing)}, {3, 0, 31}});
  const int limited = AddEvent(data, {{1, 0, 16}}, {});
  const int limited3 = AddEvent(data, {{1, 0, 3}}, {});
  const int poor = AddEvent(data, {{4, 0, -500}}, {});
  StartWith(data);

  struct Case {
    const char* name;
    std::function<void()> check;
  };
  const Case cases[] = {
      {"actions run in table order",
       [&] {
         Run(ordered);
         EXPECT_EQ(Runner().TestFlag(10), 0);
         EXPECT_EQ(Runner().TestFlag(11), 1);
       }},
      {"tag 14 after a won and a lost battle",
       [&] {
         Runner().lastResult = CEventRunner::kBattleWon;
         Run(tagged);
         EXPECT_EQ(Runner().TestFlag(20) + Runner().TestFlag(21), 2);
         Runner().SetFlag(20, 0);
         Runner().SetFlag(21, 0);
         Runner().lastResult = CEventRunner::kBattleLost;
         Run(tagged);
         EXPECT_EQ(Runner().TestFlag(20) + Runner().TestFlag(21), 0);
         EXPECT_EQ(Runner().resultTag, 0) << "the end of a run clears the tag";
         EXPECT_EQ(Runner().lastResult, 0);
       }},
      {"a failing script or talk still pauses the run",
       [&] {
         for (const auto& [event, flag] : {std::pair{pausing, 30}, std::pair{talkPausing, 31}}) {
           Run(event);
           EXPECT_EQ(Runner().TestFlag(flag), 0) << flag;
           EXPECT_EQ(Runner().top, 1) << flag;
           Runner().RunPending();
           EXPECT_EQ(Runner().TestFlag(flag), 1) << flag;
         }
       }},
      {"run counts stop at 15; limit 16 never fails",
       [&] {
         for (int i = 0; i < 20; ++i) Runner().PushEvent(limited);
         EXPECT_EQ(Runner().Event(limited)->runCount, 15);
         EXPECT_EQ(Runner().CheckConditions(limited), 1);
         for (int i = 0; i < 3; ++i) {
           EXPECT_EQ(Runner().CheckConditions(limited3), 1);
           Runner().PushEvent(limited3);
         }
         EXPECT_EQ(Runner().CheckConditions(limited3), 0);
       }},
      {"money below 500",
       [&] {
         g_gameDataBase.party.SetMoney(499);
         EXPECT_EQ(Runner().CheckConditions(poor), 1);
         g_gameDataBase.party.SetMoney(500);
         EXPECT_EQ(Runner().CheckConditions(poor), 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Runner().Reset();
    c.check();
  }
}

TEST_F(EventTest, StackOverflowItemDecodingAndFlagBounds) {
  GameResourceData data;
  const int big = AddEvent(data, {}, std::vector<EventActionData>(70, EventActionData{0, 0, 0}));
  StartWith(data);

  EXPECT_EQ(Runner().PushEvent(big), 0);
  EXPECT_EQ(Runner().top, CEventRunner::kStackSize);
  EXPECT_TRUE(traces_.Contains("Event statck over flow !"));
  EXPECT_EQ(Runner().PushEvent(big), 0) << "a full stack takes nothing";
  EXPECT_EQ(Runner().top, CEventRunner::kStackSize);

  EVENTACTIONDESC record{7, 0, static_cast<int16_t>(3 << 8 | 79)};
  record.argument = 7;
  EventItem item = DecodeEventItem(record);
  EXPECT_EQ(item.id, 335);
  EXPECT_EQ(item.count, 2);
  record.argument = 256 - 3;
  item = DecodeEventItem(record);
  EXPECT_EQ(item.type, 3);
  EXPECT_EQ(item.id, 79);
  EXPECT_EQ(item.inverted, 1);

  Runner().SetFlag(600, 1);
  EXPECT_EQ(Runner().TestFlag(600), 0);
  EXPECT_TRUE(traces_.Contains("Story flag 600"));
  EXPECT_EQ(Runner().CheckConditions(500), 0) << "an event past the table";
}

GameResourceData EncounterMaps() {
  GameResourceData data;
  datagen::MapData map;
  map.scene = "e001.SB";
  map.battleScenes = {3, 2};
  map.bossScene = 3;
  map.stepThreshold = 10;
  map.encounterRate = 100;
  map.groupSizeFactor = 100;
  map.enemies = {101, 102, 103};
  datagen::MapData single = map;
  single.enemies = {101};
  datagen::MapData none = map;
  none.enemies = {};
  datagen::MapData arena;
  arena.scene = "ba01.SB";
  data.maps = {map, single, arena, none};
  return data;
}

TEST_F(EventTest, EncounterRolls) {
  StartWith(EncounterMaps());
  plat::Srand(1);
  CEncounterTable table;
  table.Reset(*Game().gameResource, 1);
  ASSERT_EQ(table.enabled, 1);
  ASSERT_EQ(table.candidateCount, 3);

  int steps = 10;
  EXPECT_EQ(table.Roll(&steps, 1), 0) << "threshold 10 needs step 11";
  EXPECT_EQ(steps, 10);
  steps = 11;
  EXPECT_EQ(table.Roll(&steps, 0), 0) << "factor 0";
  EXPECT_EQ(steps, 0) << "a failed rate still resets";

  std::set<int> sizes;
  std::set<int> members;
  for (int i = 0; i < 300; ++i) {
    steps = 11;
    ASSERT_EQ(table.Roll(&steps, 1), 1);
    sizes.insert(table.groupSize);
    for (int s = 0; s < table.groupSize; ++s) members.insert(table.group[static_cast<size_t>(s)]);
  }
  EXPECT_EQ(*sizes.begin(), 1);
  EXPECT_GE(*sizes.rbegin(), 14);
  EXPECT_LE(*sizes.rbegin(), 15);
  EXPECT_EQ(members.count(101), 0u) << "the first candidate never joins";
  EXPECT_EQ(members.count(102) + members.count(103), 2u);

  table.Reset(*Game().gameResource, 4);
  EXPECT_EQ(table.enabled, 0) << "first candidate 0";
  table.Reset(*Game().gameResource, 9);
  EXPECT_EQ(table.enabled, 0);
  EXPECT_TRUE(traces_.Contains("map 9"));
}

TEST_F(EventTest, GroupSizeFactorZeroAndRateZero) {
  GameResourceData data = EncounterMaps();
  data.maps[0].groupSizeFactor = 0;
  data.maps[1].encounterRate = 0;
  StartWith(data);
  CEncounterTable table;
  table.Reset(*Game().gameResource, 1);
  for (int i = 0; i < 50; ++i) {
    int steps = 11;
    ASSERT_EQ(table.Roll(&steps, 1), 1);
    EXPECT_EQ(table.groupSize, 1);
  }
  table.Reset(*Game().gameResource, 2);
  for (int i = 0; i < 50; ++i) {
    int steps = 11;
    EXPECT_EQ(table.Roll(&steps, 1), 0);
  }
}

TEST_F(EventTest, RandomEncounterStartsOnlyWithEnemies) {
  StartWith(EncounterMaps());
  Game().scene = new MScene("none.sb", nullptr);
  Game().encounters = new CEncounterTable;
  Game().encounters->Reset(*Game().gameResource, 2);
  auto elementShown = [&] { return LookupSprite(Game().mouse.cursor->sprite)->visible; };
  // The field shows the aimer; the interface shows the cursor element.
  for (const int mode : {1, 2}) {
    SCOPED_TRACE(mode);
    Game().state = GS_FIELD;
    Game().SetCursorMode(mode);
    Game().SetCursorShape(1, CT_NPC);
    Game().tickCounter = 11;
    EXPECT_EQ(Game().TryRandomEncounter(), 0) << "a single candidate never fills a group";
    EXPECT_EQ(Game().state, GS_FIELD);
    EXPECT_EQ(Game().tickCounter, 0);
    EXPECT_EQ(Game().scene->camera->aimerShown, mode == 1);
    EXPECT_EQ(elementShown(), mode == 2);
  }

  Game().encounters->Reset(*Game().gameResource, 1);
  Game().tickCounter = 11;
  EXPECT_EQ(Game().TryRandomEncounter(), 1);
  EXPECT_EQ(Game().state, GS_BATTLE);
  EXPECT_EQ(Game().bossId, 0);
  Game().StartBattle(1, 8);
  EXPECT_EQ(Game().bossId, 0) << "a second start is ignored";
}

TEST_F(EventTest, BattleRecord) {
  StartWith(EncounterMaps());
  Game().encounters = new CEncounterTable;
  CEncounterTable& table = *Game().encounters;
  table.Reset(*Game().gameResource, 1);
  table.groupSize = 4;
  table.group = {0, 102, 0, 103, 101};

  plat::Srand(7);
  const int r = plat::Rand();
  plat::Srand(7);
  BATTLEDESC desc;
  ASSERT_EQ(Game().FillBattleDesc(desc, 0, 0), 1);
  EXPECT_EQ(desc.mapIndex, (r - 1) * 2 / 32767 == 0 ? 3 : 2);
  EXPECT_EQ(desc.enemies, (std::vector<int>{102, 103}));
  EXPECT_EQ(table.currentBattleId, 0);

  Game().bosses.baseId = 1;
  Game().bosses.entries.assign(1, BOSSINFODESC{{101, 101}, -1, 0});
  ASSERT_EQ(Game().FillBattleDesc(desc, 1, 1), 1);
  EXPECT_EQ(desc.mapIndex, 3);
  EXPECT_STREQ(desc.sceneName, "ba01.SB");
  EXPECT_EQ(desc.enemies, (std::vector<int>{101, 101}));
  EXPECT_EQ(Game().FillBattleDesc(desc, 1, 8), 1) << "boss 8 starts without enemies";
  EXPECT_TRUE(desc.enemies.empty());
  EXPECT_EQ(Game().FillBattleDesc(desc, 1, 5), 0);

  Game().state = GS_FIELD;
  Game().config->shadows = 0;
  Game().BindFieldKeys(1);
  g_walkKeyMask = 5;
  Game().StartBattle(1, 1);
  ASSERT_EQ(Game().state, GS_BATTLE);
  auto hook = [](int key) { return g_gameWorld->keyHooks[static_cast<size_t>(key)]->callback; };
  EXPECT_NE(hook(27), nullptr) << "Esc reaches the battle through the overlay";
  EXPECT_NE(hook(27), OnGameKey) << "the field's Esc is gone";
  EXPECT_EQ(hook(9), nullptr) << "Tab unbound";
  EXPECT_EQ(hook('P'), OnGameKey) << "the console keys stay";
  EXPECT_EQ(g_walkKeyMask, 0);
  const qmz::CKBSControl* keys = qmz::CKBSControl::Instance();
  EXPECT_EQ(keys->GetKey(0), 'A');
  EXPECT_EQ(keys->GetKey(1), 'D');
  EXPECT_EQ(keys->GetKey(2), 'S');
  EXPECT_EQ(keys->GetKey(3), 'W');
  EXPECT_EQ(g_battleInterface.shadowMode, 2);
  EXPECT_EQ(Game().bossId, 1);
  Game().state = GS_FIELD;
  Game().config->shadows = 1;
  Game().StartBattle(1, 1);
  EXPECT_EQ(g_battleInterface.shadowMode, 16);
}

TEST_F(EventTest, PartyServices) {
  GameResourceData data;
  SetBase(data.numbers28, -1490);
  for (int i = 0; i < 12; ++i) AddEvent(data, {}, {});
  StartWith(data);

  g_gameDataBase.party.SetMoney(999990);
  Game().ChangeMoney(1, 100);
  EXPECT_EQ(Game().GetMoney(), 999999);
  EXPECT_NE(g_screenManager->itemInfoBox, nullptr);
  Game().ChangeMoney(2, 5000000);
  EXPECT_EQ(Game().GetMoney(), 0);

  struct FlagCase {
    int flag;
    int on;
    int hint;
  };
  for (const FlagCase& c : {FlagCase{101, 1, 1}, FlagCase{100, 1, 0}, FlagCase{102, 1, 0}, FlagCase{101, 0, 0}}) {
    SCOPED_TRACE(c.flag);
    g_screenManager->kind = kScreenNone;
    Game().SetStoryFlag(c.flag, c.on);
    EXPECT_EQ(Game().events->TestFlag(c.flag), c.on);
    EXPECT_EQ(g_screenManager->kind == kScreenNewHint, c.hint == 1);
  }

  Game().hero = 2;
  EXPECT_EQ(Game().StartEvent(6, -1490 + 1500), 0) << "the first hero's event";
  Game().hero = 1;
  EXPECT_EQ(Game().StartEvent(6, -1490 + 1501), 0) << "the second hero's event";
  Game().state = GS_FIELD;
  EXPECT_EQ(Game().StartEvent(6, -1490 + 1500), 1);
  EXPECT_EQ(Game().events->Event(9)->runCount, 1);
}

TEST_F(EventTest, RewardsAreChosenByHalvesButNeverNone) {
  StartWith(GameResourceData{});
  plat::Srand(1);
  for (int id : {1, 2, 3}) {
    ITEMDESC item;
    item.values[kItemType] = 2;
    item.values[kItemId] = id;
    g_gameDataBase.items.push_back(item);
  }
  const ITEMREWARDDESC items[] = {{2, 1, 1}, {2, 2, 1}, {2, 3, 1}};
  std::set<int> given;  // bit i: entry i given
  for (int i = 0; i < 200; ++i) {
    for (int id : {1, 2, 3}) Game().itemPool->SetItemCount(2, id, 0);
    Game().GiveItems(items, 3);
    int mask = 0;
    for (int id : {1, 2, 3}) mask |= Game().CountItems(2, id) << (id - 1);
    given.insert(mask);
  }
  EXPECT_EQ(given, (std::set<int>{1, 2, 3, 4, 5, 6, 7})) << "every choice but none";

  // Money is type 9: it is chosen like any other entry.
  const ITEMREWARDDESC money[] = {{9, 0, 1}, {9, 0, 10}, {9, 0, 100}};
  std::set<int> totals;
  for (int i = 0; i < 200; ++i) {
    g_gameDataBase.party.SetMoney(0);
    Game().GiveItems(money, 3);
    totals.insert(Game().GetMoney());
  }
  EXPECT_EQ(totals, (std::set<int>{10, 100, 110, 1000, 1010, 1100, 1110}));

  const ITEMREWARDDESC withEvent[] = {{9, 0, 1}, {2, 1, 1}, {10, 0, 0}};
  for (int i = 0; i < 20; ++i) {
    g_gameDataBase.party.SetMoney(0);
    Game().itemPool->SetItemCount(2, 1, 0);
    Game().GiveItems(withEvent, 3);
    EXPECT_EQ(Game().GetMoney(), 10) << "a type above 9 gives every entry";
    EXPECT_EQ(Game().CountItems(2, 1), 1);
  }
  // Taking an item away gives nothing: no sound, no box.
  Game().audio->SetSoundVolume(80);
  Game().itemPool->SetItemCount(2, 1, 3);
  const int sounds = Game().audio->effectCount;
  const ITEMREWARDDESC takeTwo{2, 1, -2};
  Game().GiveItems(&takeTwo, 1);
  EXPECT_EQ(Game().CountItems(2, 1), 1);
  EXPECT_EQ(Game().audio->effectCount, sounds);

  Game().GiveItems(nullptr, 3);
  Game().GiveItems(money, -1);
  g_gameDataBase.items.clear();
}

TEST_F(EventTest, BoxSounds) {
  struct Case {
    int kind;
    const char* name;
    const char* sound;
  };
  const Case cases[] = {{32, "_box", "wood.wav"},         {64, "_box", "stone.wav"},  {96, "_box", "stone1.wav"},
                        {160, "_box", "stone_broke.wav"}, {192, "_box", "snake.wav"}, {0, "_box", "OpenBox.wav"},
                        {128, "_box", "OpenBox.wav"},     {32, "_box12", nullptr},    {32, "1", "wood.wav"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const char* sound = BoxSoundName(c.kind, c.name);
    if (c.sound) EXPECT_STREQ(sound, c.sound);
    else EXPECT_EQ(sound, nullptr);
  }
}

TEST_F(EventTest, Map24TimerRestartsAtHalf) {
  GameResourceData data;
  for (int i = 0; i < 360; ++i) AddEvent(data, {}, {});
  StartWith(data);
  Runner().SetEventCount(351, 1);
  g_mapTimerFrames = 1000;
  UpdateMapSpecialEvents(24, 0);
  EXPECT_EQ(g_mapTimerFrames, 450);
  ASSERT_NE(g_fieldFrameHook, nullptr);
  g_fieldFrameHook(3);
  EXPECT_EQ(g_mapTimerFrames, 453);
  UpdateMapSpecialEvents(24, 1);
  EXPECT_EQ(g_mapTimers, nullptr);
  EXPECT_EQ(g_fieldFrameHook, nullptr);

  Runner().SetEventCount(350, 1);
  g_mapTimerFrames = 100;
  UpdateMapSpecialEvents(24, 0);
  EXPECT_EQ(g_mapTimerFrames, 0) << "the timed event has run";
  EXPECT_EQ(g_fieldFrameHook, nullptr);
}

TEST_F(EventTest, EscSkipsAScriptUnlessAWaitIsNext) {
  GameResourceData data;
  const int waiting = AddEvent(data, {}, {{9, 0, 14}, {3, 0, 40}});
  const int plain = AddEvent(data, {}, {{3, 0, 41}});
  StartWith(data);
  datagen::CutSceneData play;
  play.finalFrame = 300;
  std::string error;
  ASSERT_TRUE(datagen::WriteCutSceneBinary("scripts/play.spb", play, error)) << error;

  for (const auto& [event, stays] : {std::pair{waiting, true}, std::pair{plain, false}}) {
    SCOPED_TRACE(event);
    Runner().top = 0;
    ASSERT_EQ(Runner().PushEvent(event), 1);
    Game().StartScript("play", -1);
    ASSERT_EQ(Game().state, GS_SCRIPT);
    Game().skipScript = 1;
    clock_->AdvanceSeconds(1.0 / 30);
    Game().Tick(1);
    EXPECT_EQ(Game().state == GS_SCRIPT, stays);
    if (stays) {
      Game().EndScript();
    }
  }
}

TEST_F(EventTest, AKeyedBoxStaysShutAndSilentUntilItsKeyIsUsed) {
  StartWith(GameResourceData{});
  Game().scene = new MScene("none.sb", nullptr);
  SCENEANIMDESC record;
  record.mode = 1 << 5;  // a wooden box
  record.keyNumber = 5;
  record.links = 1;
  record.items = {SCENEITEMDESC{0, 9, 3}};  // 30 money
  ANIMOBJSTATE box;
  box.index = -1;
  box.record = &record;
  std::vector<ANIMOBJSTATE>& keyframed = Game().scene->content->keyframed;
  keyframed.assign(1, box);
  Game().audio->SetSoundVolume(80);
  g_gameDataBase.party.SetMoney(0);
  ITEMDESC wrongKey, key;
  wrongKey.values[kItemType] = key.values[kItemType] = 6;
  wrongKey.values[kItemId] = 4;
  key.values[kItemId] = 5;

  for (ITEMDESC* used : {static_cast<ITEMDESC*>(nullptr), &wrongKey}) {
    Game().usedItem = used;
    const int sounds = Game().audio->effectCount;
    EXPECT_EQ(Game().OpenBox(0), 1);
    EXPECT_EQ(Game().audio->effectCount, sounds) << "silent";
    EXPECT_EQ(keyframed[0].state, ANIM_WAITING) << "shut";
    EXPECT_EQ(Game().GetMoney(), 0);
  }
  Game().usedItem = &key;
  const int sounds = Game().audio->effectCount;
  EXPECT_EQ(Game().OpenBox(0), 1);
  EXPECT_EQ(Game().audio->effectCount, sounds + 2) << "the box and the reward";
  EXPECT_EQ(keyframed[0].state, ANIM_PLAYING);
  EXPECT_EQ(Game().GetMoney(), 30);
  EXPECT_EQ(Game().usedItemConsumed, 1);
  Game().usedItem = nullptr;
  keyframed.clear();
}

TEST_F(EventTest, LostBossBattles) {
  GameResourceData data;
  for (int i = 0; i < 3; ++i) AddEvent(data, {}, {});
  StartWith(data);
  constexpr int kAutoEvent = 2;  // relative: table index 1
  Game().bosses.baseId = 1;
  Game().bosses.entries = {BOSSINFODESC{{101}, kAutoEvent, 1}, BOSSINFODESC{{101}, kAutoEvent, 0},
                           BOSSINFODESC{{101}, -1, 1}, BOSSINFODESC{{101}, -1, 0}};
  Game().encounters = new CEncounterTable;
  g_gameDataBase.party.members = {1};

  struct Case {
    const char* name;
    int boss;
    int result;
    int hpBase;
    int state;
    int hpBaseAfter;
    int lastResult;
    int afterScript;  // the state once the event's script has ended
  } const cases[] = {
      {"auto event, no life left, then the end", 1, -1, -5, GS_SCRIPT, 0, 13, GS_GAMEOVER},
      {"auto event, life left, the story goes on", 2, -1, 10, GS_SCRIPT, 10, 13, GS_SETTLE},
      {"no auto event, the end", 3, -1, 10, GS_GAMEOVER, 10, 13, -1},
      {"neither", 4, -1, -5, GS_SETTLE, -5, 13, -1},
      {"won: neither is read", 1, 1, -5, GS_SETTLE, -5, 14, -1},
      {"a lost random battle", 0, -1, -5, GS_GAMEOVER, -5, 0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CGDMainManSoul hero;
    hero.id = 1;
    hero.attributes = {{6, c.hpBase, 0}};
    g_gameDataBase.heroes = {hero};
    Runner().Reset();
    Game().state = GS_BATTLE;
    Game().encounters->currentBattleId = static_cast<int16_t>(c.boss != 0);
    Game().bossId = c.boss;
    Game().OnBattleEnded(c.result);
    EXPECT_EQ(Game().state, c.state);
    int base = 0;
    g_gameDataBase.heroes[0].GetAttribute(6, &base);
    EXPECT_EQ(base, c.hpBaseAfter);
    EXPECT_EQ(Runner().lastResult, c.lastResult);
    EXPECT_EQ(Runner().GetEventCount(kAutoEvent), c.state == GS_SCRIPT ? 1 : 0);
    if (c.afterScript >= 0) {
      Game().Tick(1);
      EXPECT_EQ(Game().state, c.afterScript);
    }
  }
  g_gameDataBase.heroes.clear();
  g_gameDataBase.party.members.clear();
}

TEST_F(EventTest, AScriptHidesTheMarkersAndGivesBackFogAndCamera) {
  StartWith(GameResourceData{});
  MScene& scene = *(Game().scene = new MScene("none.sb", nullptr));
  std::vector<PORTALDESC> portalRecords(1);
  scene.portals = std::make_unique<CPortalSet>(1, &portalRecords, 0);
  scene.portals->active[0] = 1;
  ShowNode(scene.portals->markers[0], 1);
  scene.automap->Show(1);
  const int textureMemory = g_textureMemory;
  g_textureMemory = 1;  // the device path, where the engine hears of fog
  CSceneEnvironment& environment = *scene.content->environment;
  environment.effectFlags |= ENV_FOG;
  Game().sceneEffectFlags = ENV_FOG;  // what the scene's entry would have kept
  Game().config->effects = 1;
  environment.SetFog(255, 10, 20, 30, 123, 456);

  Game().StartScript("play", -1);
  EXPECT_EQ(scene.automap->Visible(), 0);
  EXPECT_EQ(LookupNode(scene.portals->markers[0])->visible, 0);
  // What a play may leave behind: its own fog and camera.
  EnableFog(0);
  SetFogRange(1, 2);
  SetViewportCamera(0, 0);
  Game().EndScript();
  EXPECT_EQ(g_gameWorld->fogEnabled, 1);
  EXPECT_FLOAT_EQ(g_gameWorld->fogStart, 123);
  EXPECT_FLOAT_EQ(g_gameWorld->fogEnd, 456);
  EXPECT_EQ(LookupViewport(0)->camera, LookupNode(scene.camera->node));
  g_textureMemory = textureMemory;
  scene.portals.reset();
}

TEST_F(EventTest, TheLeaderLearnsASkillAndTheBoardNamesIt) {
  GameResourceData data;
  data.messages.assign(125, "");
  data.messages[124] = "Learned";
  const int learnKnown = AddEvent(data, {}, {{10, 0, 1}});
  const int learnUnknown = AddEvent(data, {}, {{10, 0, 5}});
  StartWith(data);
  CGDMainManSoul hero;
  hero.id = 1;
  hero.actions.resize(1);
  hero.actions[0].name = "Slash";
  g_gameDataBase.heroes = {hero};
  g_gameDataBase.party.members = {1};
  CGDMainManSoul& leader = g_gameDataBase.heroes[0];

  Run(learnUnknown);
  EXPECT_EQ(leader.HasLearnedAction(5), 1);
  EXPECT_EQ(Game().board->board, nullptr) << "no record to name";
  EXPECT_TRUE(traces_.Contains("Skill 5"));
  Run(learnKnown);
  EXPECT_EQ(leader.HasLearnedAction(1), 1);
  ASSERT_NE(Game().board->board, nullptr);
  EXPECT_EQ(Game().board->timer, CMessageBoard::kShowTimer);
  g_gameDataBase.heroes.clear();
  g_gameDataBase.party.members.clear();
}

TEST_F(EventTest, AMiniGameEndsWithItsResultAndGivesTheSceneItsEnvironmentBack) {
  GameResourceData data;
  const int afterWin = AddEvent(data, {}, {{9, 0, 14}, {3, 0, 50}});
  StartWith(data);
  MScene& scene = *(Game().scene = new MScene("none.sb", nullptr));
  const int textureMemory = g_textureMemory;
  g_textureMemory = 1;
  scene.content->environment->SetFog(255, 10, 20, 30, 123, 456);

  struct Case {
    int panelState;
    int prizes;
  } const cases[] = {{CGuessGamePanel::kWon, 1}, {CGuessGamePanel::kLost, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.panelState);
    Runner().Reset();
    Game().itemPool->SetItemCount(7, 266, 0);
    ASSERT_EQ(Runner().PushEvent(afterWin), 1);
    Game().EnterMiniGame(0);
    ASSERT_EQ(Game().state, GS_MINIGAME);
    ASSERT_NE(Game().miniGame->panel, nullptr);
    Game().miniGame->panel->state = c.panelState;
    SetFogRange(1, 2);
    Game().Tick(1);
    EXPECT_NE(Game().state, GS_MINIGAME);
    EXPECT_EQ(Game().miniGame->panel, nullptr);
    EXPECT_EQ(Game().CountItems(7, 266), c.prizes);
    EXPECT_EQ(Runner().TestFlag(50), c.prizes) << "the actions after the game branch on it";
    EXPECT_FLOAT_EQ(g_gameWorld->fogStart, 123);
  }
  g_textureMemory = textureMemory;
}

}  // namespace
}  // namespace gametest
