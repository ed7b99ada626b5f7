// Scene changes: a new game's first scene, portals, day-night travel, the
// world map, entry points, the per-scene lists, NPC visibility and snapshots,
// on scenes of their own written with the scene writers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/game_audio.h"
#include "components/mix_creature.h"
#include "components/sword_man.h"
#include "cutscene/cut_scene_player.h"
#include "database/game_resource.h"
#include "database/scene_records.h"
#include "database/system_config.h"
#include "game/encounter_table.h"
#include "game/event_runner.h"
#include "game/field_input.h"
#include "game/field_walker.h"
#include "game/message_board.h"
#include "game/pick_manager.h"
#include "game/scene_change.h"
#include "platform/files.h"
#include "platform/window.h"
#include "tests/game/game_fixture.h"
#include "tests/world/live_scene_fixture.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/cutscene_writer.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_swordsman.h"
#include "ui/gm_board.h"
#include "ui/screen_manager.h"
#include "world/map_scene.h"
#include "world/scene_content.h"
#include "world/scene_environment.h"
#include "world/scene_markers.h"
#include "world/scene_npc.h"
#include "world/world_map_screen.h"

namespace gametest {
namespace {

using datagen::SceneFileData;
using datagen::SceneRect;

constexpr const char* kModel = "mira";
constexpr int kVillageTrack = 3;
constexpr int kMiraId = 1;
constexpr int kMilestone = 2;
// Script lengths tell the travel scripts apart.
constexpr int kNightFrames = 5, kMorning1Frames = 6, kMorning2Frames = 7;

SceneFileData Flat() {
  SceneFileData s;
  s.objects = {worldtest::Ground(1000)};
  return s;
}

SceneFileData Village() {
  SceneFileData s = Flat();
  s.start = {-300, -100, 0};
  s.points = {{1, {100, 0, 0}, {0, 1, 0}}, {2, {-200, 300, 0}, {1, 0, 0}}};
  s.portals = {{"e001", 4, 0, SceneRect(500, -100, 600, 100, -50, 300)},
               {"n001", 1, 0, SceneRect(-600, -100, -500, 100, -50, 300)}};
  return s;
}

datagen::SceneObjectData Named(const std::string& name, uint8_t flags = 0) {
  datagen::SceneObjectData o = worldtest::Triangle(name, {worldtest::Part("wood")});
  o.flags = flags;
  return o;
}

datagen::SceneTriggerData Trigger(const std::string& name) {
  datagen::SceneTriggerData t;
  t.name = name;
  t.zone = SceneRect(-900, -900, -800, -800, -50, 100);
  return t;
}

SceneFileData Meadow() {
  SceneFileData s = Flat();
  s.start = {0, -400, 0};
  s.points = {{4, {0, 450, 0}, {0, -1, 0}}};
  datagen::ScenePersonData hidden = worldtest::Person("Ghost", {-300, 300, 0});
  hidden.flags = SCENEPERSONDESC::kHide;
  datagen::ScenePersonData hank = worldtest::Person("Hank", {200, -200, 0});
  datagen::SceneAnimData route;
  route.mode = 1;
  route.plays = 100;
  route.positionKeys = {{0, {200, -200, 0}}, {90, {200, -450, 0}}};
  hank.routine = route;
  s.people = {worldtest::Person("Mira", {200, 200, 0}), worldtest::Person("Wall", {-200, 200, 0}), hank,
              worldtest::Person("Olga", {-200, -200, 0}), hidden};
  s.objects.push_back(Named("house"));
  s.objects.push_back(Named("_chkBox"));
  s.objects.push_back(Named("_WWWwall"));
  s.objects.push_back(Named("_HITDOORa"));
  s.objects.push_back(Named("river", 0x04));
  s.triggers = {Trigger("$CHKBody_3"), Trigger("$chkbodyX_7"), Trigger("$CHKBody_3b"),
                Trigger("$CHKlever"),  Trigger("$FB00010002"), Trigger("gate")};
  return s;
}

class SceneChange : public GameTest {
 protected:
  void SetUp() override {
    std::string error;
    plat::ByteWriter walker;
    ASSERT_TRUE(datagen::WriteCreatureBinary(datagen::WalkerModel("Walk01"), walker, error)) << error;
    ASSERT_TRUE(plat::CreateDirectories("creature"));
    ASSERT_TRUE(plat::WriteFileAtomic("creature/Walk01.MCB", walker.Bytes().data(), walker.Size()));
    ASSERT_TRUE(datagen::WriteSamplePeople("./", error)) << error;

    datagen::GameResourceData r;
    r.npcs = {{'k', kModel, 0, "Mira", 1},
              {'l', kModel, 0, "Wall", 0},
              {'h', kModel, 0, "Hank", 0},
              {'o', kModel, 0, "Olga", 0},
              {'o', kModel, 0, "Ghost", 0}};
    const struct {
      const char* scene;
      const char* caption;
      uint8_t phase;
    } maps[] = {{"a004", "Village", 1}, {"e001", "Meadow", 1}, {"n001", "Night", 2},
                {"K035", "Dusk", 0},    {"B006", "Dawn", 0},   {"L002", "Dawn", 0}};
    for (const auto& m : maps) {
      datagen::MapData row;
      row.scene = m.scene;
      row.caption = m.caption;
      row.dayPhase = m.phase;
      row.cdTrack = kVillageTrack;
      r.maps.push_back(row);
    }
    r.events.resize(4);
    ASSERT_TRUE(datagen::WriteGameResource("Resource/zudur.res", r, error)) << error;

    const struct {
      const char* name;
      SceneFileData data;
    } scenes[] = {{"a004.SB", Village()}, {"e001.SB", Meadow()}, {"n001.SB", Village()}, {"K035.SB", Flat()},
                  {"B006.SB", Flat()},    {"L002.SB", Flat()},   {"lost.SB", Flat()}};
    for (const auto& s : scenes)
      ASSERT_TRUE(datagen::WriteSceneFile(std::string("scenes/") + s.name, s.data, error)) << error;
    for (const auto& [name, frames] :
         {std::pair{"night", kNightFrames}, {"morning1", kMorning1Frames}, {"morning2", kMorning2Frames}}) {
      datagen::CutSceneData play;
      play.finalFrame = frames;
      ASSERT_TRUE(datagen::WriteCutSceneBinary(std::string("scripts/") + name + ".spb", play, error)) << error;
    }
    ASSERT_EQ(Start(), 1);
  }

  void Tick(int k = 1) {
    for (int i = 0; i < k; ++i) {
      clock_->AdvanceSeconds(1.0 / 30);
      Game().Tick(1);
    }
  }

  // A new game, through its start script and settling, into the field.
  void NewGameInTheField() {
    Game().OnScreenResult(SR_NEW_GAME);
    for (int i = 0; i < 20 && Game().state != GS_FIELD; ++i) Tick();
    ASSERT_EQ(Game().state, GS_FIELD);
  }

  // Ticks while the state is `from`; false when it never left.
  bool TickOut(int from) {
    for (int i = 0; i < 100 && Game().state == from; ++i) Tick();
    return Game().state != from;
  }

  VECTOR3 WalkerAt() {
    VECTOR3 p{0, 0, 0};
    Game().walker->GetPosition(&p, nullptr);
    return p;
  }

  void PlaceWalker(float x, float y) {
    const VECTOR3 at{x, y, 0}, north{0, 1, 0};
    Game().PlaceWalker(&at, &north, Game().scene->GetTerrain());
  }

  std::string SceneName() { return Game().scene ? Game().scene->sceneName : std::string(); }
  int BannerWidth() { return Game().banner->board ? Game().banner->board->width : 0; }
  int PlayFrames() {
    const CCutScene* play = Game().cutScene->GetPlay();
    return play ? play->FinalFrame() : -1;
  }

  CSceneNpc* Person(const std::string& name) {
    for (const auto& p : Game().scene->content->people)
      if (p->person.name == name) return p.get();
    return nullptr;
  }
};

TEST_F(SceneChange, ANewGameEntersTheVillageAtItsStartAndWalks) {
  Game().OnScreenResult(SR_NEW_GAME);
  ASSERT_NE(Game().scene, nullptr);
  EXPECT_EQ(SceneName(), "a004.SB");
  EXPECT_EQ(Game().scene->mapIndex, 1);
  EXPECT_EQ(Game().dayPhase, 1);
  EXPECT_EQ(Game().loading, nullptr);
  EXPECT_NEAR(WalkerAt().x, -300, 1e-3);
  EXPECT_NEAR(WalkerAt().y, -100, 1e-3);
  for (int i = 0; i < 20 && Game().state != GS_FIELD; ++i) Tick();
  ASSERT_EQ(Game().state, GS_FIELD);
  EXPECT_EQ(Game().audio->currentTrack, kVillageTrack);

  Post(plat::WM_KEYDOWN, 'W');
  Pass(10);
  Post(plat::WM_KEYUP, 'W');
  Pass();
  EXPECT_GT(WalkerAt().y, -100 + 20) << "forward is north";
  EXPECT_NEAR(WalkerAt().x, -300, 1e-2);
}

TEST_F(SceneChange, PortalsEnterAtOnceOrThroughATravelScene) {
  NewGameInTheField();
  Game().milestoneEvent = kMilestone;

  // The same day phase: entered at once, at the portal's point, with a caption.
  PlaceWalker(550, 0);
  Game().OnWalkerMoved(1);
  EXPECT_EQ(SceneName(), "e001.SB");
  EXPECT_NEAR(WalkerAt().x, 0, 1e-3);
  EXPECT_NEAR(WalkerAt().y, 450, 1e-3);
  EXPECT_EQ(BannerWidth(), 22 * 6 + 66) << "\"Meadow\"";
  ASSERT_TRUE(TickOut(GS_SETTLE));

  struct Case {
    const char* to;
    int entry;
    const char* travel;
    int frames;
    int phase;
    int milestoneRuns;
  };
  const Case cases[] = {{"n001.SB", 1, "K035.SB", kNightFrames, 2, 0},
                        {"a004.SB", 2, "B006.SB", kMorning1Frames, 1, 0},
                        {"n001.SB", 1, "K035.SB", kNightFrames, 2, 1},
                        {"a004.SB", 2, "L002.SB", kMorning2Frames, 1, 1}};
  for (const Case& c : cases) {
    Game().events->SetEventCount(kMilestone, c.milestoneRuns);
    Game().GoToScene(c.to, c.entry);
    EXPECT_EQ(Game().state, GS_AREA_CHANGE) << c.to;
    EXPECT_EQ(SceneName(), c.travel);
    EXPECT_EQ(PlayFrames(), c.frames) << c.travel;
    EXPECT_EQ(BannerWidth(), 22 + 66) << "a travel scene has no caption";
    EXPECT_EQ(Game().dayPhase, c.phase);
    ASSERT_TRUE(TickOut(GS_AREA_CHANGE));
    EXPECT_EQ(SceneName(), c.to);
    EXPECT_EQ(Game().showCaption, 1);
    ASSERT_TRUE(TickOut(GS_SETTLE));
    EXPECT_EQ(Game().state, GS_FIELD) << c.to;
  }
  EXPECT_NEAR(WalkerAt().x, -200, 1e-3) << "point 2 of the village";
  EXPECT_NEAR(WalkerAt().y, 300, 1e-3);
}

TEST_F(SceneChange, EntryPointsMissingFilesTheWorldMapAndScenesWithoutARecord) {
  NewGameInTheField();
  PlaceWalker(120, 80);
  Game().GoToScene("e001.SB", 0);
  EXPECT_EQ(SceneName(), "e001.SB");
  EXPECT_NEAR(WalkerAt().x, 120, 1e-3) << "entry 0 keeps the position";
  EXPECT_NEAR(WalkerAt().y, 80, 1e-3);

  for (const char* missing : {"nowhere.SB", "", "..", "scenes"}) {
    Game().GoToScene(missing, 1);
    EXPECT_EQ(SceneName(), "e001.SB") << missing;
    EXPECT_NEAR(WalkerAt().x, 120, 1e-3) << missing;
    EXPECT_EQ(Game().loading, nullptr) << missing;
  }

  Game().GoToScene("MAP00.SB", 3);
  EXPECT_EQ(Game().state, GS_WORLD_MAP);
  ASSERT_NE(Game().worldMap, nullptr);
  EXPECT_EQ(Game().loading, nullptr);
  // Choosing the scene the party stands in re-enters it at the chosen point.
  OnWorldMapResult("e001.SB", 4);
  Tick();
  EXPECT_EQ(Game().worldMap, nullptr);
  EXPECT_EQ(SceneName(), "e001.SB");
  EXPECT_NEAR(WalkerAt().y, 450, 1e-3);
  // Another scene is loaded.
  Game().GoToScene("map00", 1);
  OnWorldMapResult("a004.SB", 2);
  Tick();
  EXPECT_EQ(Game().worldMap, nullptr);
  EXPECT_EQ(SceneName(), "a004.SB");
  EXPECT_NEAR(WalkerAt().x, -200, 1e-3);

  Game().GoToScene("lost.SB", -1);
  EXPECT_EQ(SceneName(), "lost.SB");
  EXPECT_EQ(Game().scene->mapRecord, nullptr);
  Game().GoToScene("a004.SB", 1);
  EXPECT_EQ(Game().state, GS_FIELD) << "no map record to leave";
  EXPECT_EQ(Game().loading, nullptr);
  EXPECT_TRUE(Game().objectVolumes.empty() && Game().walkInTriggers.empty()) << "nothing of the unloaded scene";
  Tick(3);  // the field goes on over an empty scene
}

TEST_F(SceneChange, ThePortalsNearTheWalkerBecomeTheCursorsMarkers) {
  NewGameInTheField();
  const CPortalSet& portals = *Game().scene->portals;
  const CPickManager& pick = *Game().pick;
  const struct {
    float x;
    int portal;  // the one marked, -1 for none
  } cases[] = {{400, 0}, {-400, 1}, {0, -1}, {450, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    PlaceWalker(c.x, 0);
    Game().OnWalkerMoved(1);
    ASSERT_EQ(SceneName(), "a004.SB") << "near a portal, not in it";
    ASSERT_EQ(pick.markerCount, c.portal < 0 ? 0 : 1);
    if (c.portal < 0) continue;
    EXPECT_EQ(pick.markerIndices[0], c.portal);
    EXPECT_EQ(pick.markerNodes[0], portals.areas[static_cast<size_t>(c.portal)]);
  }
}

TEST_F(SceneChange, AMapSceneTellsTheGameOfItsComingAndGoing) {
  NewGameInTheField();
  MScene* const live = Game().scene;
  Game().scene = nullptr;
  g_fieldFrameHook = [](int) {};
  live->Load("e001.SB");
  EXPECT_EQ(Game().scene, live) << "entered";
  EXPECT_EQ(g_fieldFrameHook, nullptr) << "the last map's special events were left";

  MScene* const other = new MScene("lost.SB", Game().gameResource);
  EXPECT_EQ(Game().scene, other);
  delete other;
  EXPECT_EQ(Game().scene, nullptr) << "left";
  Game().scene = live;
}

TEST_F(SceneChange, EntryBuildsTheListsAndVolumes) {
  NewGameInTheField();
  Game().GoToScene("e001.SB", 4);
  ASSERT_EQ(SceneName(), "e001.SB");
  EXPECT_EQ(Game().npcsK, std::vector<int>{0});
  EXPECT_EQ(Game().npcsL, std::vector<int>{1});
  EXPECT_EQ(Game().npcsHtoJ, std::vector<int>{2});
  EXPECT_EQ(Game().otherNpcs, std::vector<int>{3}) << "the hidden ghost is left out";
  // Content indices: the ground is not listed.
  EXPECT_EQ(Game().plainObjects, std::vector<int>{0});
  EXPECT_EQ(Game().chkObjects, std::vector<int>{1});
  EXPECT_EQ(Game().wwwObjects, std::vector<int>{2});
  EXPECT_EQ(Game().hitDoorObjects, std::vector<int>{3});
  EXPECT_EQ(Game().animatedObjects, std::vector<int>{4});
  EXPECT_TRUE(Game().scene->content->boxes[2].flags & CF_HIDDEN) << "_WWW objects start hidden";
  EXPECT_EQ(Game().walkInTriggers, (std::vector<int>{4, 5}));
  EXPECT_EQ(Game().chkTriggers, std::vector<int>{3});
  ASSERT_EQ(Game().bodyTriggerGroups.size(), 2u);
  EXPECT_EQ(Game().bodyTriggerGroups[0].group, 3);
  EXPECT_EQ(Game().bodyTriggerGroups[0].triggers, (std::vector<int>{0, 2}));
  EXPECT_EQ(Game().bodyTriggerGroups[1].group, 7);
  EXPECT_EQ(Game().battleZones, 1);
  EXPECT_EQ(Game().npcVolumes.size(), Game().scene->content->people.size());
  EXPECT_EQ(Game().objectVolumes.size(), Game().scene->content->objects.size());
  EXPECT_GT(Game().walkerVolume.height, 0);
  EXPECT_GT(Game().npcVolumes[0].radius, 0);

  Game().GoToScene("a004.SB", 1);
  EXPECT_TRUE(Game().npcsK.empty());
  EXPECT_TRUE(Game().bodyTriggerGroups.empty());
  EXPECT_EQ(Game().battleZones, 0);
}

TEST_F(SceneChange, AnNpcHiddenWhileItsSceneIsAwayIsHiddenOnEntry) {
  NewGameInTheField();
  EVENTACTIONDESC hide;
  hide.type = 17;
  hide.argument = 0;
  hide.value = kMiraId;
  Game().events->ExecuteAction(&hide);
  ASSERT_EQ(Game().pendingNpcVisibility.size(), 1u) << "Mira is not in the village";
  EXPECT_FALSE(Game().events->TestNpcToggle(kMiraId));

  Game().GoToScene("e001.SB", 4);
  ASSERT_NE(Person("Mira"), nullptr);
  EXPECT_TRUE(Person("Mira")->flags & NPC_HIDDEN);
  EXPECT_TRUE(Game().npcsK.empty());
  EXPECT_TRUE(Game().pendingNpcVisibility.empty());
  EXPECT_TRUE(Game().events->TestNpcToggle(kMiraId)) << "differs from the scene's default";
  EXPECT_TRUE(traces_.Contains("## NPC id : 1 Hide"));

  Game().ShowNpc(kMiraId, 1);
  EXPECT_FALSE(Person("Mira")->flags & NPC_HIDDEN);
  EXPECT_EQ(Game().npcsK, std::vector<int>{0});
  EXPECT_FALSE(Game().events->TestNpcToggle(kMiraId));
  EXPECT_TRUE(Game().pendingNpcVisibility.empty());
}

TEST_F(SceneChange, SnapshotsRestoreOnlyWhenTheCountsMatch) {
  NewGameInTheField();
  Game().GoToScene("e001.SB", 4);
  CSceneNpc* mira = Person("Mira");
  ASSERT_NE(mira, nullptr);
  Game().SaveNpcSnapshots();
  ASSERT_EQ(Game().npcSnapshots.size(), Game().scene->content->people.size());
  EXPECT_FLOAT_EQ(Game().npcSnapshots[0].position[0], 200);

  mira->MoveTo({-50, -60, 0});
  Game().RestoreNpcSnapshots();
  EXPECT_NEAR(mira->position.x, 200, 1e-3);
  EXPECT_NEAR(mira->position.y, 200, 1e-3);
  EXPECT_EQ(mira->pose, Game().npcSnapshots[0].pose);

  Game().npcSnapshots.pop_back();
  mira->MoveTo({-50, -60, 0});
  Game().RestoreNpcSnapshots();
  EXPECT_NEAR(mira->position.x, -50, 1e-3) << "one snapshot short: nothing restored";
}

TEST_F(SceneChange, AWalkingNpcWalksOnToItsSavedRoutePoint) {
  NewGameInTheField();
  Game().GoToScene("e001.SB", 4);
  CSceneNpc* hank = Person("Hank");
  ASSERT_NE(hank, nullptr);
  ASSERT_NE(hank->person.routine, nullptr);
  struct Case {
    int waypoint;
    float targetY;
  };
  // Past the route the first point is taken.
  for (const Case c : {Case{1, -450}, Case{0, -200}, Case{7, -200}}) {
    Game().SaveNpcSnapshots();
    Game().npcSnapshots[2].state = NPCR_WALKING;
    Game().npcSnapshots[2].waypoint = c.waypoint;
    Game().npcSnapshots[2].pose = 1;
    Game().RestoreNpcSnapshots();
    EXPECT_EQ(hank->state, NPCR_WALKING) << c.waypoint;
    EXPECT_NEAR(hank->walkTarget.y, c.targetY, 1e-3) << c.waypoint;
    EXPECT_EQ(hank->pose, 1);
  }
  // A route without points ends the walk.
  hank->person.routine->positionKeys.clear();
  Game().RestoreNpcSnapshots();
  EXPECT_EQ(hank->state, NPCR_FINISHED);
}

TEST_F(SceneChange, DisplaySettingsSwitchEffectsShadowsAndDistances) {
  NewGameInTheField();
  Game().GoToScene("e001.SB", 4);
  CSystemConfig& config = *Game().config;
  CSceneEnvironment& environment = *Game().scene->content->environment;
  Game().sceneEffectFlags = ENV_FOG | ENV_FLARE;
  CGCBMixCreature& mira = *Person("Mira")->creature;
  struct Case {
    int software, effects, shadows;
    int flags, shadowMode, shadowDetail;
  };
  const Case cases[] = {{0, 1, 1, ENV_FOG | ENV_FLARE, 16, 1}, {0, 0, 0, 0, 2, 0}, {1, 1, 1, 0, -1, -1}};
  for (const Case& c : cases) {
    config.softwareRendering = c.software;
    config.effects = static_cast<uint8_t>(c.effects);
    config.shadows = static_cast<uint8_t>(c.shadows);
    config.detailDistance = 1234.0f + c.software;
    Game().ApplyDisplaySettings();
    EXPECT_EQ(environment.GetEffectFlags(), c.flags) << c.software << c.effects;
    EXPECT_FLOAT_EQ(Game().scene->cullingDistance, 1234.0f + c.software);
    if (c.shadowMode >= 0) {
      EXPECT_EQ(mira.shadowMode, c.shadowMode);
      EXPECT_EQ(Game().walker->creature->shadowMode, c.shadowMode);
      EXPECT_EQ(Game().scene->shadowDetail, c.shadowDetail);
    }
    EXPECT_EQ(mira.shadowEnabled, c.software ? 0 : 1);
  }

  // Hiding turns the effects off and hands the input to the overlay; a
  // partial show moves only the portal markers and ambient sounds.
  config.softwareRendering = 0;
  Game().ShowScene(0, 0);
  EXPECT_EQ(environment.GetEffectFlags(), 0);
  Game().ShowScene(1, 1);
  EXPECT_EQ(environment.GetEffectFlags(), ENV_FOG | ENV_FLARE);
}

TEST_F(SceneChange, AnEventsChangeToTheLoadedSceneReentersItAndAnotherLoads) {
  NewGameInTheField();
  Game().GoToSceneIndex(1, 4);
  ASSERT_TRUE(TickOut(GS_SETTLE));
  CSceneNpc* olga = Person("Olga");
  ASSERT_NE(olga, nullptr);
  const VECTOR3 moved{-100, -120, 0};
  olga->MoveTo(moved);
  PlaceWalker(120, 80);

  // The same scene: the walker goes to the point, the people stay as they are.
  Game().ChangeSceneByEvent(1, 4);
  EXPECT_EQ(SceneName(), "e001.SB");
  EXPECT_EQ(Person("Olga"), olga) << "the people were rebuilt";
  EXPECT_NEAR(olga->position.x, moved.x, 1e-3);
  EXPECT_NEAR(olga->position.y, moved.y, 1e-3);
  EXPECT_NEAR(WalkerAt().y, 450, 1e-3);
  EXPECT_EQ(Game().state, GS_SETTLE);
  ASSERT_TRUE(TickOut(GS_SETTLE));

  // Another row loads its scene.
  Game().ChangeSceneByEvent(0, 2);
  EXPECT_EQ(SceneName(), "a004.SB");
  EXPECT_NEAR(WalkerAt().x, -200, 1e-3) << "point 2 of the village";
  Game().ChangeSceneByEvent(99, 1);
  EXPECT_EQ(SceneName(), "a004.SB") << "no such row";
}

TEST_F(SceneChange, MapRowsSkippedScriptsAndTheWorldMapKeys) {
  NewGameInTheField();
  Game().GoToSceneIndex(1, 4);
  EXPECT_EQ(SceneName(), "e001.SB") << "row 1 counted from 0";
  Game().GoToSceneIndex(99, 1);
  EXPECT_EQ(SceneName(), "e001.SB");

  // Esc's skip ends a travel script at the next tick.
  Game().GoToScene("n001.SB", 1);
  ASSERT_EQ(Game().state, GS_AREA_CHANGE);
  Game().skipScript = 1;
  Tick();
  EXPECT_EQ(SceneName(), "n001.SB");

  // The world map takes the mouse: the walk keys no longer walk.
  ASSERT_TRUE(TickOut(GS_SETTLE));
  Game().GoToScene("map01", 1);
  ASSERT_EQ(Game().state, GS_WORLD_MAP);
  Post(plat::WM_KEYDOWN, 'W');
  Pass();
  EXPECT_EQ(g_walkKeyMask, 0);
  Post(plat::WM_KEYUP, 'W');
  Pass();
}

}  // namespace
}  // namespace gametest
