// The dialogue actor over the game's dialogue box, clicked through the overlay.
#include "cutscene/dialog_actor.h"

#include <gtest/gtest.h>

#include "cutscene/cut_scene.h"
#include "cutscene/cut_scene_player.h"
#include "engine/media/sprites.h"
#include "tests/cutscene/actor_fixture.h"
#include "tests/cutscene/cutscene_fixtures.h"
#include "ui/dialog_player_ex.h"
#include "ui/menu_agency.h"

namespace cstest {
namespace {

using datagen::sample::kAskEntry;
using datagen::sample::kGreetEntry;

class DialogActor : public RealActorTest {
 protected:
  void TearDown() override {
    g_menuAgency.RemoveAll();
    RealActorTest::TearDown();
  }
  // A play of 80 frames asking or telling one entry at frame 2.
  void Write(const char* id, int type, int stopCount) {
    CutSceneData scene;
    scene.finalFrame = 80;
    scene.players.push_back(Player("DIALOG", "talk", "opening.dlg", {{"DIALOG", 2, {id, type, stopCount}}}));
    WriteScript("talk", scene, 1);
  }
  // Loads that play and runs it through the key's frame; the dialogue actor.
  SDialog* Start(CCutScene& play, const char* id, int type, int stopCount) {
    Write(id, type, stopCount);
    play.dialogDirectory = "resource";
    EXPECT_EQ(play.Load("talk", "scripts", 1), 0);
    for (int i = 0; i < 3; ++i) play.Tick();
    EXPECT_EQ(play.CurrentFrame(), 2);
    return dynamic_cast<SDialog*>(play.FindActor(ACTOR_DIALOG, "talk"));
  }
  // Clicks until the box closes (a bounded number of times).
  static void ClickThrough(CCutScene& play, CDialogPlayerEx* box) {
    for (int i = 0; i < 20 && box->IsActive(); ++i) {
      g_menuAgency.OnLButtonDown(320, 440);
      play.Tick();
    }
  }
};

TEST_F(DialogActor, AStopCountRunsItsFramesBlockedThenHoldsUntilClicked) {
  CCutScene play(640, 480, nullptr);
  SDialog* talk = Start(play, kGreetEntry, 0, 30);
  ASSERT_NE(talk, nullptr);
  CDialogPlayerEx* box = talk->GetBox();
  ASSERT_EQ(box->IsActive(), 1);
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(box->inputBlocked, 1) << i;
    g_menuAgency.OnLButtonDown(320, 440);  // ignored
    play.Tick();
  }
  EXPECT_EQ(play.CurrentFrame(), 32) << "the key's frame and 30 more";
  for (int i = 0; i < 5; ++i) play.Tick();
  EXPECT_EQ(play.CurrentFrame(), 32) << "held";
  EXPECT_EQ(box->inputBlocked, 0);
  EXPECT_EQ(box->IsActive(), 1);
  ClickThrough(play, box);
  EXPECT_EQ(box->IsActive(), 0);
  play.Tick();
  EXPECT_GT(play.CurrentFrame(), 32);
}

TEST_F(DialogActor, WithoutAStopCountThePlayHoldsAtOnceAndTheFirstHeldTickTakesClicks) {
  CCutScene play(640, 480, nullptr);
  SDialog* talk = Start(play, kGreetEntry, 0, -1);
  ASSERT_NE(talk, nullptr);
  EXPECT_EQ(talk->IsWaiting(), 1);
  EXPECT_EQ(talk->GetBox()->inputBlocked, 0);
  EXPECT_EQ(talk->GetBox()->waiting, 0) << "the page is being typed";
  g_menuAgency.OnLButtonDown(320, 440);
  EXPECT_EQ(talk->GetBox()->waiting, 1) << "the click typed the page out";
  play.Tick();
  EXPECT_EQ(play.CurrentFrame(), 2);
  ClickThrough(play, talk->GetBox());
  EXPECT_EQ(talk->IsWaiting(), 0);
}

TEST_F(DialogActor, TheChosenAnswerIsThePlayersAnswer) {
  Write(kAskEntry, 1, -1);
  CCutScenePlayer player;
  player.Create(640, 480, nullptr, 0);
  player.SetDirectories("creature", "resource", "waves", "texture", "scripts");
  ASSERT_EQ(player.Load("talk", 1), 0);
  auto* talk = dynamic_cast<SDialog*>(player.GetPlay()->FindActor(ACTOR_DIALOG, "talk"));
  ASSERT_NE(talk, nullptr);
  CDialogPlayerEx* box = talk->GetBox();
  int ticks = 0;
  while (!box->choicesReady && ticks < 200) {
    player.Tick(1);
    if (box->IsActive()) g_menuAgency.OnLButtonDown(600, 10);  // completes the question
    ++ticks;
  }
  ASSERT_EQ(box->choicesReady, 1);
  ClickAnswer(box, 1);
  EXPECT_EQ(talk->GetAnswer(), 1);
  while (player.Tick(1) != 0 && ticks < 400) ++ticks;
  EXPECT_EQ(player.GetAnswer(), 1);
}

TEST_F(DialogActor, ResetClosesTheBoxAndAnUnknownEntryNeverWaits) {
  CCutScene play(640, 480, nullptr);
  SDialog* talk = Start(play, kGreetEntry, 0, -1);
  ASSERT_NE(talk, nullptr);
  ASSERT_EQ(talk->GetBox()->IsActive(), 1);
  play.Reset();
  EXPECT_EQ(talk->GetBox()->IsActive(), 0);
  EXPECT_EQ(talk->IsWaiting(), 0);

  CCutScene other(640, 480, nullptr);
  SDialog* none = Start(other, "nobody", 0, -1);
  ASSERT_NE(none, nullptr);
  for (int i = 0; i < 7; ++i) other.Tick();
  EXPECT_EQ(other.CurrentFrame(), 9);
  EXPECT_EQ(none->IsWaiting(), 0);
  EXPECT_EQ(none->GetAnswer(), -1);
}

}  // namespace
}  // namespace cstest
