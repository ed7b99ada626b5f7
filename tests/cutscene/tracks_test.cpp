// Key tracks and event tracks: each event key acts in exactly the tick of its
// frame, on the actor kinds its track serves, in type-code order.
#include <gtest/gtest.h>

#include <functional>

#include "cutscene/event_tracks.h"
#include "cutscene/key_factory.h"
#include "cutscene/keys.h"
#include "engine/core/nodes.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

template <class K>
std::unique_ptr<K> Key(int frame, std::function<void(K&)> fill = nullptr) {
  auto key = std::make_unique<K>(frame);
  if (fill) fill(*key);
  return key;
}

// An actor of a kind, named as given.
SActorTrackSet* AddActor(CCutScene& play, const std::string& kind, const std::string& name) {
  SActorTrackSet* set = kind == "Creature" ? play.CreateCreature("model", 0)
                        : kind == "Board"  ? play.CreateBoard("board", 1, 8, 8, 0)
                        : kind == "Fade"   ? play.CreateFade(0)
                        : kind == "Sprite" ? play.CreateSprite("sprite", 1, 1, 1, 0)
                        : kind == "Dialog" ? play.CreateDialog("talk.dlg", 0)
                        : kind == "Wave"   ? play.CreateWave("hit.wav", 0)
                        : kind == "Music"  ? play.CreateMusic(0)
                                           : nullptr;
  EXPECT_NE(set, nullptr) << kind;
  if (set) set->actor->SetName(name);
  return set;
}

// Ticks the play n times; per tick the log lines of that tick.
std::vector<std::vector<std::string>> TickAndCollect(CCutScene& play, int n) {
  std::vector<std::vector<std::string>> ticks;
  for (int i = 0; i < n; ++i) {
    Log().Clear();
    play.Tick();
    ticks.push_back(Log().Lines());
  }
  return ticks;
}

bool Has(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

using CutSceneTracks = CutSceneTest;

TEST_F(CutSceneTracks, EveryEventKeyActsInTheTickOfItsFrameOnly) {
  struct Row {
    const char* kind;
    std::function<std::unique_ptr<SKey>(int)> key;
    std::vector<std::string> calls;
  };
  const Row rows[] = {
      {"Board", [](int f) { return Key<SKeyShow>(f, [](auto& k) { k.value = 1; }); }, {"a:SetVisible(1)"}},
      {"Sprite", [](int f) { return Key<SKeyShow>(f, [](auto& k) { k.value = 1; }); }, {"a:Show(1)"}},
      {"Creature", [](int f) { return Key<SKeyPause>(f, [](auto& k) { k.value = 1; }); }, {"a:SetPaused(1)"}},
      {"Creature",
       [](int f) { return Key<SKeyOnTerrain>(f, [](auto& k) { k.value = 1; }); },
       {"a:DropOnTerrain(0,0)", "a:SetTerrainFollow(1)"}},
      {"Creature", [](int f) { return Key<SKeyOnTerrain>(f); }, {"a:SetTerrainFollow(0)"}},
      {"Creature",
       [](int f) {
         return Key<SKeyChangePose>(f, [](auto& k) {
           k.pose = 4, k.from = 2, k.to = 30, k.playType = 1, k.style = 16, k.walkOut = 1, k.cPose = 5;
         });
       },
       {"a:PlayPose(4,2,30,1,16,1)"}},
      {"Wave", [](int f) { return Key<SKeyWave>(f, [](auto& k) { k.loop = 7; }); }, {"a:Play(1)"}},
      {"Wave", [](int f) { return Key<SKeyWave>(f, [](auto& k) { k.playMode = 2; }); }, {"a:Stop()"}},
      {"Music",
       [](int f) { return Key<SKeyMusic>(f, [](auto& k) { k.track = 7, k.loop = 2; }); },
       {"a:PlayTrack(7,1)"}},
      {"Music", [](int f) { return Key<SKeyMusic>(f, [](auto& k) { k.playMode = 1; }); }, {"a:Stop()"}},
      {"Music", [](int f) { return Key<SKeyMusic>(f, [](auto& k) { k.playMode = 2; }); }, {"a:Pause()"}},
      {"Music", [](int f) { return Key<SKeyMusic>(f, [](auto& k) { k.playMode = 9; }); }, {"a:Resume()"}},
      {"Creature", [](int f) { return Key<SKeyPoseSpeed>(f, [](auto& k) { k.value = -2; }); }, {"a:SetPoseSpeed(-2)"}},
      {"Wave", [](int f) { return Key<SKeyWavePlay>(f, [](auto& k) { k.playFlag = 0x10001; }); }, {"a:Play(65537)"}},
      {"Wave", [](int f) { return Key<SKeyWavePlay>(f, [](auto& k) { k.playMode = 1; }); }, {"a:Pause()"}},
      {"Wave", [](int f) { return Key<SKeyWavePlay>(f, [](auto& k) { k.playMode = 5; }); }, {"a:Stop()"}},
      {"Dialog",
       [](int f) { return Key<SKeyDialog>(f, [](auto& k) { k.id = "q1", k.type = 1, k.stopCount = 30; }); },
       {"a:Ask(q1,null)", "a:SetStopCount(30)"}},
      {"Dialog",
       [](int f) { return Key<SKeyDialog>(f, [](auto& k) { k.id = "t1", k.stopCount = 30; }); },
       {"a:Talk(t1,null)", "a:SetStopCount(30)"}},
      {"Board", [](int f) { return Key<SKeyROSrcBlend>(f, [](auto& k) { k.value = 5; }); }, {"a:SetRenderState(22,5)"}},
      {"Board",
       [](int f) { return Key<SKeyRODestBlend>(f, [](auto& k) { k.value = 4; }); },
       {"a:SetRenderState(23,4)"}},
      {"Fade",
       [](int f) { return Key<SKeyROUseRGBAsOpaque>(f, [](auto& k) { k.value = 1; }); },
       {"a:SetRenderState(5,1)"}},
      {"Fade",
       [](int f) { return Key<SKeyRGB>(f, [](auto& k) { k.r = 300, k.g = 128, k.b = -1; }); },
       {"a:SetColor(44,128,255)"}},
      {"Creature", [](int f) { return Key<SKeyShadow>(f); }, {"a:ShowShadow(0)"}},
      {"Sprite", [](int f) { return Key<SKeyChangePage>(f, [](auto& k) { k.page = 3; }); }, {"a:SetPage(3,none,none)"}},
      {"Dialog", [](int f) { return Key<SKeyShowBG>(f); }, {"a:SetShowFrame(0)"}},
      {"Dialog",
       [](int f) { return Key<SKeyPosition2D>(f, [](auto& k) { k.x = 100, k.y = -40; }); },
       {"a:SetLayoutParams(2,none,none)", "a:SetPosition(100,-40)"}},
      {"Dialog",
       [](int f) { return Key<SKeyTextColor>(f, [](auto& k) { k.r = 257, k.g = 2, k.b = 3; }); },
       {"a:SetTextColor(1,2,3)"}},
      {"Dialog",
       [](int f) { return Key<SKeyTextBColor>(f, [](auto& k) { k.r = 4, k.g = 5, k.b = 6; }); },
       {"a:SetTextBackColor(4,5,6)"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.calls.front());
    CCutScene play(640, 480, nullptr);
    play.creatureDirectory = "creature";
    SActorTrackSet* set = AddActor(play, row.kind, "a");
    ASSERT_EQ(set->AddKey(row.key(2)), 0);
    play.Reset();
    auto ticks = TickAndCollect(play, 5);
    for (int tick = 0; tick < 5; ++tick)
      for (const std::string& call : row.calls)
        EXPECT_EQ(Has(ticks[static_cast<size_t>(tick)], call), tick == 2) << "tick " << tick << " " << call;
  }
}

TEST_F(CutSceneTracks, KeysOnActorsTheirTrackDoesNotServeDoNothing) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* wave = AddActor(play, "Wave", "w");
  SActorTrackSet* music = AddActor(play, "Music", "m");
  ASSERT_EQ(wave->AddKey(Key<SKeyPause>(0, [](auto& k) { k.value = 1; })), 0);
  ASSERT_EQ(wave->AddKey(Key<SKeyRGB>(0)), 0);
  ASSERT_EQ(music->AddKey(Key<SKeyShow>(0, [](auto& k) { k.value = 1; })), 0);
  ASSERT_EQ(music->AddKey(Key<SKeyDialog>(0)), 0);
  play.Reset();
  auto ticks = TickAndCollect(play, 2);
  EXPECT_TRUE(ticks[0].empty()) << ticks[0].front();
}

TEST_F(CutSceneTracks, ShowKeysByFrameNegativeReplacedAndAfterReset) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* board = AddActor(play, "Board", "b");
  auto show = [](int frame, int value) { return Key<SKeyShow>(frame, [value](auto& k) { k.value = value; }); };
  ASSERT_EQ(board->AddKey(show(-2, 1)), 0);
  ASSERT_EQ(board->AddKey(show(0, 0)), 0);
  ASSERT_EQ(board->AddKey(show(3, 1)), 0);
  ASSERT_EQ(board->AddKey(show(3, 0)), 0);  // replaces the first key at frame 3
  ASSERT_EQ(board->AddKey(show(5, 1)), 0);
  EXPECT_EQ(board->tracks.at(KEY_SHOW)->keys.size(), 4u);

  for (int round = 0; round < 2; ++round) {
    play.Reset();
    auto ticks = TickAndCollect(play, 8);
    std::vector<std::string> shown;
    for (size_t tick = 0; tick < ticks.size(); ++tick)
      for (const std::string& line : ticks[tick])
        if (line.find("SetVisible") != std::string::npos) shown.push_back(std::to_string(tick) + " " + line);
    EXPECT_EQ(shown, (std::vector<std::string>{"0 b:SetVisible(0)", "3 b:SetVisible(0)", "5 b:SetVisible(1)"}))
        << "round " << round;
  }
}

TEST_F(CutSceneTracks, OneFrameRunsTracksByTypeCodeAndActorsByType) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* board = AddActor(play, "Board", "b");
  SActorTrackSet* creature = AddActor(play, "Creature", "c");
  ASSERT_EQ(board->AddKey(Key<SKeyRODestBlend>(5, [](auto& k) { k.value = 2; })), 0);
  ASSERT_EQ(board->AddKey(Key<SKeyROSrcBlend>(5, [](auto& k) { k.value = 1; })), 0);
  ASSERT_EQ(board->AddKey(Key<SKeyShow>(5, [](auto& k) { k.value = 1; })), 0);
  ASSERT_EQ(creature->AddKey(Key<SKeyShow>(5, [](auto& k) { k.value = 1; })), 0);
  play.Reset();
  auto ticks = TickAndCollect(play, 6);
  std::vector<std::string> acts;
  for (const std::string& line : ticks[5])
    if (line.find("Update") == std::string::npos) acts.push_back(line);
  EXPECT_EQ(acts, (std::vector<std::string>{"c:SetVisible(1)", "b:SetVisible(1)", "b:SetRenderState(22,1)",
                                            "b:SetRenderState(23,2)"}));
}

TEST_F(CutSceneTracks, OnTerrainThatDoesNotLandLeavesFollowingAlone) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = AddActor(play, "Creature", "c");
  auto* creature = static_cast<RecCreature*>(set->actor);
  creature->landsOnTerrain = 0;
  ASSERT_EQ(set->AddKey(Key<SKeyOnTerrain>(0, [](auto& k) { k.value = 1; })), 0);
  play.Reset();
  creature->terrainFollow = 7;
  EXPECT_EQ(set->tracks.at(KEY_ONTERRAIN)->Apply(), -1);
  EXPECT_EQ(creature->terrainFollow, 7);
  EXPECT_EQ(Log().Count("c:DropOnTerrain(0,0)"), 1);
}

TEST_F(CutSceneTracks, ChangePoseQueuesAFollowUpOnlyForAPosePlayedOnce) {
  struct Row {
    int playType, cPose;
    std::string call;
  };
  const Row rows[] = {
      {0, 5, "c:PlayPose(3,-1,-1,0,0,0)+(5,-1,-1,1,16,0)"},
      {0, 0, "c:PlayPose(3,-1,-1,0,0,0)+(0,-1,-1,1,16,0)"},
      {0, -1, "c:PlayPose(3,-1,-1,0,0,0)"},
      {1, 5, "c:PlayPose(3,-1,-1,1,0,0)"},
      {2, 5, "c:PlayPose(3,-1,-1,2,0,0)"},
  };
  for (const Row& row : rows) {
    CCutScene play(640, 480, nullptr);
    SActorTrackSet* set = AddActor(play, "Creature", "c");
    set->AddKey(Key<SKeyChangePose>(
        0, [&](auto& k) { k.pose = 3, k.from = -1, k.to = -1, k.playType = row.playType, k.cPose = row.cPose; }));
    play.Reset();
    auto ticks = TickAndCollect(play, 1);
    EXPECT_TRUE(Has(ticks[0], row.call)) << row.call;
  }
}

TEST_F(CutSceneTracks, ResettingAWaveTrackStopsItsSound) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = AddActor(play, "Wave", "w");
  set->AddKey(Key<SKeyWave>(0, [](auto& k) { k.loop = 1; }));
  play.Reset();
  play.Tick();
  Log().Clear();
  play.Reset();
  EXPECT_EQ(Log().Lines(), std::vector<std::string>{"w:Stop()"});
}

TEST(CutSceneKeyManager, KeepsOneKeyPerFrameOfItsOwnType) {
  SKMShow track(Key<SKeyShow>(4));
  EXPECT_EQ(track.firstKeyFrame, 4);
  EXPECT_EQ(track.lastKeyFrame, 4);
  EXPECT_EQ(track.nextKeyFrame, -1);
  EXPECT_EQ(track.cursor, -1);
  EXPECT_EQ(track.AddKey(Key<SKeyShow>(9)), 0);
  EXPECT_EQ(track.AddKey(Key<SKeyShow>(-1)), 0);
  auto replacement = Key<SKeyShow>(9, [](auto& k) { k.value = 1; });
  SKey* kept = replacement.get();
  EXPECT_EQ(track.AddKey(std::move(replacement)), 0);
  EXPECT_EQ(track.AddKey(Key<SKeyPause>(12)), -1);
  EXPECT_EQ(track.keys.size(), 3u);
  EXPECT_EQ(track.firstKeyFrame, -1);
  EXPECT_EQ(track.lastKeyFrame, 9);
  EXPECT_EQ(track.FindAt(9), kept);
  EXPECT_EQ(track.FindAt(5), nullptr);
  EXPECT_EQ(track.FindAfter(4), kept);
  EXPECT_EQ(track.FindAfter(-5)->frame, -1);
  EXPECT_EQ(track.FindAfter(9), nullptr);
}

TEST_F(CutSceneTracks, TrackSetMakesOneTrackPerTypeAndBindsItsActor) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = AddActor(play, "Board", "b");
  EXPECT_EQ(set->AddKey(Key<SKeyShow>(1)), 0);
  EXPECT_EQ(set->AddKey(Key<SKeyShow>(2)), 0);
  EXPECT_EQ(set->AddKey(Key<SKeyShadow>(2)), 0);
  EXPECT_EQ(set->AddKey(nullptr), -1);
  ASSERT_EQ(set->tracks.size(), 2u);
  EXPECT_EQ(set->tracks.at(KEY_SHOW)->keys.size(), 2u);
  for (auto& [code, track] : set->tracks) {
    EXPECT_EQ(track->Code(), code);
    EXPECT_EQ(track->owner, set);
    EXPECT_EQ(track->actor, set->actor);
  }
  RecBoard other;
  set->BindActor(&other);
  EXPECT_EQ(set->actor, &other);
  for (auto& [code, track] : set->tracks) EXPECT_EQ(track->actor, &other);
}

// Parenting links engine nodes, so it runs with the engine open.
using CutSceneSetParent = CutSceneEngineTest;

TEST_F(CutSceneSetParent, HangsTheNodeUnderACreaturePartOrDetachesIt) {
  ASSERT_EQ(Open(), 1);
  HOBJECT root = CreateDummyNode(0, nullptr);
  HOBJECT hand = CreateDummyNode(root, nullptr);
  HOBJECT smokeNode = CreateDummyNode(0, nullptr);
  ASSERT_TRUE(root && hand && smokeNode);

  CCutScene play(640, 480, nullptr);
  SActorTrackSet* hero = AddActor(play, "Creature", "hero");
  auto* creature = static_cast<RecCreature*>(hero->actor);
  creature->parts = {{"", root}, {"hand", hand}};
  SActorTrackSet* other = AddActor(play, "Board", "other");
  static_cast<RecBoard*>(other->actor)->node = CreateDummyNode(0, nullptr);
  SActorTrackSet* smoke = AddActor(play, "Board", "smoke");
  static_cast<RecBoard*>(smoke->actor)->node = smokeNode;

  auto parentKey = [](int frame, int type, std::string name, std::string part) {
    return Key<SKeySetParent>(frame, [&](auto& k) { k.parentType = type, k.parentName = name, k.part = part; });
  };
  smoke->AddKey(parentKey(1, ACTOR_CREATURE, "hero", "hand"));
  smoke->AddKey(parentKey(2, ACTOR_CREATURE, "hero", ""));
  smoke->AddKey(parentKey(3, ACTOR_BOARD, "other", ""));      // not a creature: no change
  smoke->AddKey(parentKey(4, ACTOR_CREATURE, "nobody", ""));  // no such actor: no change
  smoke->AddKey(parentKey(5, ACTOR_CREATURE, "NULL", ""));
  play.Reset();
  auto* track = static_cast<SKMSetParent*>(smoke->tracks.at(KEY_SETPARENT).get());

  const HOBJECT expected[] = {0, hand, root, root, root, 0};
  for (int frame = 0; frame <= 5; ++frame) {
    play.Tick();
    EXPECT_EQ(GetNodeParent(smokeNode), expected[frame]) << "frame " << frame;
  }
  EXPECT_EQ(track->parent, nullptr);
  play.Reset();
  play.Tick();
  play.Tick();
  EXPECT_EQ(track->parent, creature);
  play.Reset();
  EXPECT_EQ(track->parent, nullptr);
}

}  // namespace
}  // namespace cstest
