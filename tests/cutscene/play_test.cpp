// The play and its player: ticking, holding for a dialogue, ending, scenes
// and lights, actor creation and the player's lifetime rules.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "components/gcb_light.h"
#include "cutscene/cut_scene_player.h"
#include "cutscene/keys.h"
#include "engine/core/cameras.h"
#include "engine/core/nodes.h"
#include "engine/media/data_directories.h"
#include "tests/cutscene/cutscene_fixtures.h"

namespace cstest {
namespace {

using CutScenePlay = CutSceneTest;

// A dialogue asking at frame 2, a camera and a board showing at frames 1, 3 and 4.
CutSceneData HeldPlay() {
  CutSceneData scene;
  scene.finalFrame = 6;
  scene.players.push_back(Player("DIALOG", "d", "talk.dlg", {{"DIALOG", 2, {"q", 1, -1}}}));
  scene.players.push_back(Player("TCAMERA", "cam"));
  scene.players.push_back(Player("BOARD", "b", "smoke", {{"SHOW", 1, {1}}, {"SHOW", 3, {0}}, {"SHOW", 4, {1}}}));
  return scene;
}

TEST_F(CutScenePlay, AWaitingDialogueHoldsFramesAndCamerasUntilItCloses) {
  WriteScript("held", HeldPlay(), 1);
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("held", "scripts", 1), 0);
  auto* dialog = static_cast<RecDialog*>(play.FindActor(ACTOR_DIALOG, "d"));
  ASSERT_NE(dialog, nullptr);

  std::vector<int> results, frames;
  CallLog all;
  auto tick = [&] {
    Log().Clear();
    results.push_back(play.Tick());
    frames.push_back(play.CurrentFrame());
    for (const std::string& line : Log().Lines()) all.Add(line);
  };
  for (int i = 0; i < 3; ++i) tick();  // frames 0, 1, 2: the question opens at 2
  EXPECT_EQ(Log().Count("d:Ask(q,null)"), 1);
  EXPECT_EQ(play.IsPaused(), 1);
  for (int i = 0; i < 3; ++i) {
    tick();
    EXPECT_EQ(Log().Count("cam:Update"), 0) << "held tick " << i;
    EXPECT_EQ(Log().Count("b:Update(1)"), 1);  // other actors still animate
    EXPECT_EQ(Log().Count("SetVisible"), 0);
  }
  dialog->open = 0;
  dialog->answer = 2;
  tick();  // the play leaves the hold: no frame runs in this tick yet
  tick();
  tick();
  EXPECT_EQ(results, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 2, 2, 2, 2, 3, 4}));
  EXPECT_EQ(play.GetAnswer(), 2);
  // No key acted twice, and the camera moved only in the ticks that were not held.
  EXPECT_EQ(all.Count("d:Ask"), 1);
  EXPECT_EQ(all.With("b:SetVisible"),
            (std::vector<std::string>{"b:SetVisible(1)", "b:SetVisible(0)", "b:SetVisible(1)"}));
  EXPECT_EQ(all.Count("cam:Update(1)"), 5);
}

TEST_F(CutScenePlay, AStopCountLetsTheFramesRunBeforeTheHold) {
  CutSceneData scene;
  scene.finalFrame = 20;
  scene.players.push_back(Player("DIALOG", "d", "talk.dlg", {{"DIALOG", 1, {"t", 0, 3}}}));
  WriteScript("count", scene, 0);
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load("count", "scripts", 0), 0);
  std::vector<int> frames;
  for (int i = 0; i < 9; ++i) {
    play.Tick();
    frames.push_back(play.CurrentFrame());
  }
  // The key's frame and three more run with the box open, then the play holds.
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 4, 4, 4, 4}));
}

TEST_F(CutScenePlay, PlayerTickPlaysEveryDueFrameAndEndsInTheSameCall) {
  CutSceneData scene;
  scene.finalFrame = 5;
  scene.players.push_back(Player("BOARD", "b", "smoke", {{"SHOW", 4, {1}}, {"SHOW", 5, {0}}, {"SHOW", 6, {1}}}));
  WriteScript("end", scene, 1);
  FakeScene map(0);
  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  EXPECT_EQ(player.AttachScene(&map), 0);
  player.SetDirectories("creature", "resource", "waves", "texture", "scripts");
  ASSERT_EQ(player.Load("end", 1), 0);
  ASSERT_EQ(player.IsPlaying(), 1);
  for (int i = 0; i < 4; ++i) ASSERT_EQ(player.Tick(1), 1);
  EXPECT_EQ(player.GetPlay()->CurrentFrame(), 3);  // two frames before the final frame

  Log().Clear();
  EXPECT_EQ(player.Tick(3), 0);
  EXPECT_EQ(player.GetPlay(), nullptr);
  EXPECT_EQ(player.IsPlaying(), 0);
  EXPECT_EQ(Log().With("SetVisible"),
            (std::vector<std::string>{"b:SetVisible(1)", "b:SetVisible(0)", "b:SetVisible(1)"}));
  EXPECT_EQ(Log().Count("scene:Animate(0)"), 1);
  EXPECT_EQ(Log().Count("b:~"), 1);
  EXPECT_EQ(player.GetAnswer(), -1);
  EXPECT_EQ(player.Tick(1), 0);
  player.Stop();
}

TEST_F(CutScenePlay, PlayerKeepsTheFirstDialogueAnswer) {
  CutSceneData scene;
  scene.finalFrame = 1;
  scene.players.push_back(Player("DIALOG", "first", "a.dlg"));
  scene.players.push_back(Player("DIALOG", "second", "b.dlg"));
  WriteScript("answer", scene, 1);
  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  player.SetDirectories("creature", "resource", "waves", "texture", "scripts");
  ASSERT_EQ(player.Load("answer", 1), 0);
  static_cast<RecDialog*>(player.GetPlay()->FindActor(ACTOR_DIALOG, "first"))->answer = 3;
  static_cast<RecDialog*>(player.GetPlay()->FindActor(ACTOR_DIALOG, "second"))->answer = 1;
  EXPECT_EQ(player.Tick(1), 1);
  EXPECT_EQ(player.Tick(1), 0);
  EXPECT_EQ(player.GetAnswer(), 3);
}

TEST_F(CutScenePlay, AFinalFrameOfZeroEndsAfterTheFirstTick) {
  for (int finalFrame : {0, -4}) {
    CutSceneData scene;
    scene.finalFrame = finalFrame;
    WriteScript("short", scene, 1);
    CCutScenePlayer player;
    player.Create(640, 480, nullptr, 0);
    player.SetDirectories("", "", "", "", "scripts");
    ASSERT_EQ(player.Load("short", 1), 0);
    EXPECT_EQ(player.Tick(1), 0) << finalFrame;
  }
}

TEST_F(CutScenePlay, PlayerWithoutAPlayAnswersQuietly) {
  FakeScene map(1);
  CCutScenePlayer player;
  EXPECT_EQ(player.AttachScene(&map), -1);
  EXPECT_EQ(player.Load("anything", 1), -1);
  EXPECT_EQ(player.Tick(2), 0);
  EXPECT_EQ(Log().Count("scene:"), 0);
  player.Stop();

  player.Create(640, 480, nullptr, 0);
  player.SetDirectories("c", "d", "w", "t", "scripts");
  EXPECT_EQ(player.Load("missing", 1), -2);
  EXPECT_EQ(player.IsPlaying(), 0);
  EXPECT_NE(player.GetPlay(), nullptr);
  EXPECT_EQ(player.Tick(1), 0);
}

TEST_F(CutScenePlay, CreateStopsThePlayBeforeIt) {
  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  player.GetPlay()->CreateBoard("smoke", 1, 1, 1, 0)->actor->SetName("old");
  Log().Clear();
  player.Create(640, 480, nullptr, 0);
  EXPECT_EQ(Log().Lines(), (std::vector<std::string>{"old:Reset()", "old:~"}));
  EXPECT_TRUE(player.GetPlay()->Actors().empty());
}

TEST_F(CutScenePlay, DirectoriesTakeAWorkingDirectoryOfAnyLength) {
  std::filesystem::path deep = std::filesystem::current_path();
  for (int i = 0; i < 6; ++i) deep /= std::string(60, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  std::filesystem::current_path(deep);
  ASSERT_GT(deep.string().size(), 300u);

  CutSceneData scene;
  scene.finalFrame = 3;
  scene.players.push_back(Player("CREATURE", "hero", "hero"));
  WriteScript("deep", scene, 1);
  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  player.SetDirectories("creature", "resource", "waves", "texture", "scripts");
  EXPECT_EQ(player.CreatureDirectory(), deep.string() + "\\creature");
  EXPECT_EQ(player.ScriptDirectory(), deep.string() + "\\scripts");
  EXPECT_EQ(player.GetPlay()->dialogDirectory, deep.string() + "\\resource");
  EXPECT_EQ(player.GetPlay()->waveDirectory, deep.string() + "\\waves");
  EXPECT_EQ(player.GetPlay()->textureDirectory, deep.string() + "\\texture");
  EXPECT_EQ(player.GetPlay()->spriteDirectory, "");
  ASSERT_EQ(player.Load("deep", 1), 0);
  EXPECT_EQ(Log().Count("make:Creature(hero,1," + deep.string() + "\\creature)"), 1);
}

TEST_F(CutScenePlay, AttachingASceneGivesCreaturesTerrainSocietyAndLights) {
  CCutScene play(640, 480, nullptr);
  play.CreateCreature("a", 1);
  play.CreateCreature("b", 1);
  auto* first = static_cast<RecCreature*>(play.FindActor(ACTOR_CREATURE, "a_0"));
  auto* second = static_cast<RecCreature*>(play.FindActor(ACTOR_CREATURE, "b_0"));
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->IsAttached(), 0);

  FakeScene map(3);
  Log().Clear();
  EXPECT_EQ(play.AttachScene(&map), 0);
  EXPECT_EQ(Log().Count("SetTerrain(33554498,100663297,0,0)"), 2);
  EXPECT_EQ(first->owner, &SGSociety::Instance());
  EXPECT_EQ(second->owner, &SGSociety::Instance());
  ASSERT_EQ(play.Lights().size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(play.Lights()[i]->lightNode, map.GetLightNode(i));
    EXPECT_EQ(play.Lights()[i]->lightKind, map.GetLightKind(i));
    EXPECT_EQ(play.Lights()[i]->owner, &SGSociety::Instance());
  }
  EXPECT_EQ(SGSociety::Instance().Lights().size(), 3u);
  EXPECT_EQ(SGSociety::Instance().Count(), 6);  // with its camera-script component

  // Attaching again rebuilds the lights instead of adding more.
  map.lightCount = 2;
  play.AttachScene(&map);
  EXPECT_EQ(play.Lights().size(), 2u);
  EXPECT_EQ(SGSociety::Instance().Lights().size(), 2u);

  // A creature made while a scene is attached joins at once.
  Log().Clear();
  SActorTrackSet* late = play.CreateCreature("c", 0);
  EXPECT_EQ(static_cast<RecCreature*>(late->actor)->IsAttached(), 1);
  EXPECT_EQ(Log().Count("SetTerrain(33554498,100663297,0,0)"), 1);

  Log().Clear();
  EXPECT_EQ(play.AttachScene(nullptr), 0);
  EXPECT_EQ(Log().Count("PlaceOnTerrain(0,0,0)"), 3);
  EXPECT_EQ(first->IsAttached(), 0);
  EXPECT_EQ(second->IsAttached(), 0);
  EXPECT_EQ(play.Lights().size(), 2u);  // the light components stay
}

TEST_F(CutScenePlay, APlayWithoutCreaturesBuildsNoLights) {
  CCutScene play(640, 480, nullptr);
  play.CreateBoard("smoke", 1, 1, 1, 0);
  FakeScene map(4);
  EXPECT_EQ(play.AttachScene(&map), 0);
  EXPECT_TRUE(play.Lights().empty());
}

TEST_F(CutScenePlay, ResetRestoresActorsTracksAndTerrainFollowing) {
  CCutScene play(640, 480, nullptr);
  SActorTrackSet* set = play.CreateCreature("a", 0);
  auto* creature = static_cast<RecCreature*>(set->actor);
  EXPECT_EQ(creature->terrainFollow, 1);
  creature->SetTerrainFollow(0);
  play.Tick();
  Log().Clear();
  play.Reset();
  EXPECT_EQ(Log().Lines(), (std::vector<std::string>{":Reset()", ":SetTerrainFollow(1)"}));
  EXPECT_EQ(play.CurrentFrame(), -1);
}

TEST_F(CutScenePlay, CreationNamesPlacesAndPreparesActors) {
  CCutScene play(640, 480, "xyz");
  play.creatureDirectory = "C";
  play.waveDirectory = "W";
  play.textureDirectory = "T";
  play.dialogDirectory = "D";
  play.spriteDirectory = "S";
  EXPECT_NE(play.CreateCreature("hero", 1), nullptr);
  EXPECT_NE(play.CreateCreature("hero", 1), nullptr);
  EXPECT_NE(play.CreateMusic(1), nullptr);
  EXPECT_NE(play.CreateFade(1), nullptr);
  EXPECT_NE(play.CreateWave("hit.wav", 1), nullptr);
  EXPECT_NE(play.CreateDialog("talk.dlg", 0), nullptr);
  EXPECT_NE(play.CreateBoard("smoke", 4, 32, 16, 1), nullptr);
  EXPECT_NE(play.CreateSprite("logo", 3, 2, 1, 1), nullptr);
  EXPECT_NE(play.CreateViewport(0.5f, 0.25f, 0.333f, 1.0f, 7, 1), nullptr);
  EXPECT_EQ(play.CreateViewport(0.0f, 0.0f, 1.0f, 1.0f, 7, 1), nullptr);  // number taken
  EXPECT_NE(play.CreateViewport(1e30f, -1e30f, std::nanf(""), 2.0f, 8, 1), nullptr);
  HOBJECT node = 12345;
  EXPECT_NE(play.CreateCamera(1.33f, 16.9899f, 0.86f, 2.0f, 8000.0f, &node, 1), nullptr);

  EXPECT_NE(play.FindActor(ACTOR_CREATURE, "hero_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_CREATURE, "hero_1"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_MUSIC, "music_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_FADE, "fade_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_WAVE, "hit.wav_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_DIALOG, ""), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_BOARD, "smoke_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_SPRITE, "logo_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_VIEWPORT, "viewport_0"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_VIEWPORT, "viewport_1"), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_TCAMERA, "camera_0"), nullptr);
  EXPECT_EQ(play.FindActor(ACTOR_BOARD, "hero_0"), nullptr);

  for (const char* made : {"make:Creature(hero,1,C)", "make:Wave(hit.wav,W)", "make:Dialog(talk.dlg,D)",
                           "make:Board(smoke,T)(4,32,16)", "make:Sprite(logox,S)(3,2,1,1)", "make:Fade(0,0,640,480)",
                           "make:Viewport(320,120,213,480)", "make:Viewport(2147483647,-2147483648,0,960)"})
    EXPECT_EQ(Log().Count(made), made == std::string("make:Creature(hero,1,C)") ? 2 : 1) << made;
  EXPECT_EQ(Log().Count(":Show(0)"), 1);  // the sprite is made hidden
  EXPECT_EQ(node, 0u);                    // the engine is closed: no camera node
  EXPECT_EQ(play.CameraNodes().size(), 1u);
  EXPECT_EQ(play.Viewports().size(), 2u);

  // Actors and track sets by type, then creation order.
  int lastType = 0;
  auto set = play.TrackSets().begin();
  for (const auto& [type, actor] : play.Actors()) {
    EXPECT_GE(type, lastType);
    EXPECT_EQ(actor->TypeId(), type);
    EXPECT_EQ(set->second->actor, actor.get());
    lastType = type;
    ++set;
  }
  EXPECT_EQ(std::string(play.Actors().find(ACTOR_CREATURE)->second->GetName()), "hero_0");
}

TEST_F(CutScenePlay, GeneratedNamesStayDistinctForLongBases) {
  CCutScene play(640, 480, nullptr);
  std::string base(200, 'x');
  play.CreateWave(base, 1);
  play.CreateWave(base, 1);
  auto range = play.Actors().equal_range(ACTOR_WAVE);
  ASSERT_EQ(std::distance(range.first, range.second), 2);
  std::string a = range.first->second->GetName();
  std::string b = std::next(range.first)->second->GetName();
  EXPECT_NE(a, b);
  EXPECT_LT(a.size(), static_cast<size_t>(SActor::kNameSize));
}

TEST_F(CutScenePlay, AFailedCreationFailsWithoutKeepingTheActor) {
  factory_.refuse = {"Board"};
  CCutScene play(640, 480, nullptr);
  EXPECT_EQ(play.CreateBoard("smoke", 1, 1, 1, 0), nullptr);
  EXPECT_TRUE(play.Actors().empty());
  EXPECT_TRUE(play.TrackSets().empty());
}

// A component that is not an actor, to watch the society's lifetime.
class Member : public CGCBase {};

TEST_F(CutScenePlay, ThePlayerEndsTheCutSceneSociety) {
  Member member;
  {
    CCutScenePlayer player;
    ASSERT_EQ(member.Attach(&SGSociety::Instance()), 1);
  }
  EXPECT_EQ(member.IsAttached(), 0);
  EXPECT_EQ(SGSociety::Instance().Count(), 1);  // a new society with only its camera script
}

TEST_F(CutScenePlay, SocietyMembershipFollowsTheComponentRules) {
  SGSociety& society = SGSociety::Instance();
  std::vector<std::unique_ptr<Member>> members;
  // The camera-script component holds the first of the 100 places.
  ASSERT_EQ(society.Count(), 1);
  for (int i = 0; i < 100; ++i) members.push_back(std::make_unique<Member>());
  for (int i = 0; i < 99; ++i) ASSERT_EQ(members[i]->Attach(&society), 1);
  EXPECT_EQ(members[99]->Attach(&society), 0);
  EXPECT_EQ(members[0]->Attach(&society), 0);
  EXPECT_EQ(members[0]->Attach(nullptr), 0);
  EXPECT_EQ(members[0]->Detach(), 1);
  EXPECT_EQ(society.Member(1), members[98].get());
  EXPECT_EQ(members[98]->index, 1);
  EXPECT_EQ(members[0]->Detach(), 0);
  members[5].reset();  // leaves the society on destruction
  EXPECT_EQ(society.Count(), 98);

  CGCBLight light(0x02000001u, 2);
  CSociety plain;
  EXPECT_EQ(light.Attach(&plain), 0);  // a light needs a scene society
  EXPECT_EQ(plain.Count(), 0);
  EXPECT_EQ(light.Attach(&society), 1);
  EXPECT_EQ(society.Lights().count(&light), 1u);
  EXPECT_EQ(light.Detach(), 1);
  EXPECT_EQ(society.Lights().count(&light), 0u);
}

TEST_F(CutScenePlay, ViewportsRenderInNumberOrder) {
  CCutScene play(640, 480, nullptr);
  play.CreateViewport(0, 0, 1, 1, 5, 0)->actor->SetName("five");
  play.CreateViewport(0, 0, 1, 1, -1, 0)->actor->SetName("minus");
  play.CreateViewport(0, 0, 1, 1, 2, 0)->actor->SetName("two");
  Log().Clear();
  play.RenderViewports();
  EXPECT_EQ(Log().Lines(), (std::vector<std::string>{"minus:GetEngineViewport()", "two:GetEngineViewport()",
                                                     "five:GetEngineViewport()"}));
}

using CutSceneEngine = CutSceneEngineTest;

TEST_F(CutSceneEngine, CameraPlayersGetOneStandardCameraNodeThatDiesWithThePlay) {
  ASSERT_EQ(Open(), 1);
  CutSceneData scene;
  scene.players.push_back(Player("TCAMERA", "cam"));
  scene.players[0].cameraValues = {9, 8, 7, 6, 5};
  WriteScript("camera", scene, 1);
  HOBJECT node = 0;
  {
    CCutScene play(640, 480, nullptr);
    ASSERT_EQ(play.Load("camera", "scripts", 1), 0);
    ASSERT_EQ(play.CameraNodes().size(), 1u);
    node = play.CameraNodes()[0];
    NODEDESC* record = LookupNodeOfKind(node, NODE_CAMERA);
    ASSERT_NE(record, nullptr);
    const auto* camera = static_cast<const CAMERADESC*>(record->kindData);
    EXPECT_FLOAT_EQ(camera->aspect, 1.33f);
    EXPECT_FLOAT_EQ(camera->lens, 16.9899f);
    EXPECT_FLOAT_EQ(camera->aperture, 0.86f);
    EXPECT_FLOAT_EQ(camera->nearPlane, 2.0f);
    EXPECT_FLOAT_EQ(camera->farPlane, 8000.0f);
    EXPECT_EQ(static_cast<RecCamera*>(play.FindActor(ACTOR_TCAMERA, "cam"))->GetNode(), node);
    play.Clear();  // clearing destroys the camera nodes too
    EXPECT_EQ(LookupNodeOfKind(node, NODE_CAMERA), nullptr);
    ASSERT_EQ(play.Load("camera", "scripts", 1), 0);
    node = play.CameraNodes()[0];
    EXPECT_NE(LookupNodeOfKind(node, NODE_CAMERA), nullptr);
  }
  EXPECT_EQ(LookupNodeOfKind(node, NODE_CAMERA), nullptr);
}

TEST_F(CutSceneEngine, CreaturesAreMadeFromThePlaysTextureDirectory) {
  ASSERT_EQ(Open(), 1);
  SetTextureDirectory("elsewhere");
  CCutScene play(640, 480, nullptr);
  play.textureDirectory = "cut\\textures";
  play.CreateBoard("smoke", 1, 1, 1, 0);
  EXPECT_EQ(GetTextureDirectory().rfind("elsewhere", 0), 0u);
  play.CreateCreature("hero", 0);
  EXPECT_EQ(GetTextureDirectory().rfind("cut\\textures", 0), 0u);
}

}  // namespace
}  // namespace cstest
