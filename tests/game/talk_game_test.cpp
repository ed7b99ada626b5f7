// Talks in the running game: the sys procedure on the real game object and
// the sample world's villager talk played to its end.
#include <gtest/gtest.h>

#include "cutscene/sg_society.h"
#include "database/game_database.h"
#include "game/event_runner.h"
#include "game/game_sys_proc.h"
#include "talk/talk_host.h"
#include "talk/talk_sys_proc.h"
#include "talk/talk_text.h"
#include "tests/game/game_fixture.h"
#include "tests/talk/talk_fixtures.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/am_wnd_manager.h"
#include "ui/screen_manager.h"
#include "ui/trade_wnd.h"

namespace gametest {
namespace {

using namespace datagen::sample;

class TalkGame : public GameTest {
 protected:
  TalkGame() {
    std::string error;
    EXPECT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  ~TalkGame() override {
    EndGame();
    SGSociety::Shutdown();
    SetTalkSysProc(DefaultTalkSysProc);
  }

  SYSRESULT Sys(SYSMODE mode, std::string name, int argument) { return GameTalkSysProc(mode, name.data(), argument); }
};

TEST(SysName, TheGameProcedureAnswersNothingWithoutAGame) {
  char name[] = "money";
  SYSRESULT r = GameTalkSysProc(SYSMODE_GET, name, 0);
  EXPECT_EQ(r.type, 0);
  EXPECT_EQ(r.value, 0);
  EXPECT_EQ(r.value2, 0);
}

TEST_F(TalkGame, TheSysProcedureReachesTheGame) {
  ASSERT_EQ(Start(), 1);
  EXPECT_EQ(g_talkSysProc, &GameTalkSysProc) << "installed by the game's load";
  ASSERT_EQ(Sys(SYSMODE_GET, "MONEY", 0).value, kStartingMoney);

  char lower[] = "+money";
  EXPECT_EQ(GameTalkSysProc(SYSMODE_SET, lower, 50).value, 0);
  EXPECT_STREQ(lower, "+MONEY") << "upper-cased in the caller's buffer";

  const struct {
    SYSMODE mode;
    const char* name;
    int argument;
    int answer;
    int money;  // afterwards
  } cases[] = {
      {SYSMODE_GET, "MONEY", 0, kStartingMoney + 50, kStartingMoney + 50},
      {SYSMODE_SET, "-MONEY", 30, 0, kStartingMoney + 20},
      {SYSMODE_SET, "MONEY", 7, 0, 7},
      {SYSMODE_SET, "-MONEY", 100, 0, 0},
      {SYSMODE_SET, "+MONEY", 5000000, 0, kMaxMoney},
      {SYSMODE_DO, "MONEY", 10, 0, kMaxMoney},
      {SYSMODE_SET, "MONEY", 10, 0, 10},
      {static_cast<SYSMODE>(3), "MONEY", 99, 0, 10},
      {SYSMODE_SET, "HP5", 99, 0, 10},
      {SYSMODE_GET, "HP5", 0, 0, 10},
      {SYSMODE_DO, "ITEM3", 0, 0, 10},
      {SYSMODE_GET, "FLAG120", 0, 0, 10},
      {SYSMODE_DO, "FIGHT1", 0, 0, 10},
      {SYSMODE_SET, "+ATTR6", 10, 0, 10},
      {SYSMODE_DO, "AUTOPT12", 0, 0, 10},
  };
  for (const auto& c : cases) {
    SYSRESULT r = Sys(c.mode, c.name, c.argument);
    EXPECT_EQ(r.type, 0) << c.name;
    EXPECT_EQ(r.value, c.answer) << c.name;
    EXPECT_EQ(r.value2, 0) << c.name;
    EXPECT_EQ(g_gameDataBase.party.GetMoney(), c.money) << c.mode << " " << c.name;
  }
}

TEST_F(TalkGame, TheVillagerTalkRunsToItsEndAndPays) {
  ASSERT_EQ(Start(), 1);
  CTalkHost& host = *Game().talk;
  ASSERT_NE(host.player, nullptr);
  ASSERT_EQ(host.player->state, TALKSTATE_LOADED) << host.player->errors[0];
  host.player->SetPlayerName("Hero");
  const int money = g_gameDataBase.party.GetMoney();

  ASSERT_NE(host.StartTalk(kTalkName), nullptr);
  std::vector<std::string> speakers;
  int menus = 0;
  for (int tick = 0; tick < 200 && host.Update(); ++tick) {
    CTalkPlayer& p = *host.player;
    if (p.state == TALKSTATE_TYPING) {
      if (p.typedCount == p.textLength) speakers.push_back(p.current->speaker);
      p.OnClick(0, 0);
    } else if (p.state == TALKSTATE_CHOOSING) {
      ++menus;
      p.OnKey(TALKKEY_DOWN);
      p.OnKey(TALKKEY_RETURN);
    }
  }
  EXPECT_EQ(host.talking, 0);
  EXPECT_EQ(host.lastState, TALKSTATE_IDLE);
  EXPECT_EQ(menus, 1);
  EXPECT_EQ(speakers, (std::vector<std::string>{kMiraName, kMiraName, "Hero"}));
  EXPECT_EQ(g_gameDataBase.party.GetMoney(), money + kTalkReward);
  EXPECT_EQ(talktest::ValueOf(*host.player, kTalkVariable), 1);
  EXPECT_EQ(talktest::ValueOf(*host.player, kTalkHelpedVariable), 1);
}

// Where the hero speaks, the talk names him as his form's talk name says:
// the first hero's, the second's, and the first hero's in his changed shapes.
TEST_F(TalkGame, TheHerosFormGivesTheTalkHisName) {
  ASSERT_EQ(Start(), 1);
  CTalkPlayer& player = *Game().talk->player;
  EXPECT_EQ(player.playerName, kBig5PlayerName) << "no hero before a game";
  Game().OnScreenResult(SR_NEW_GAME);
  EXPECT_EQ(player.playerName, kFirstHeroName) << "a new game's hero";
  const struct {
    int form;
    const char* name;
  } cases[] = {{3, kSecondHeroName}, {4, kSecondHeroName}, {7, kFirstHeroName}, {1, kFirstHeroName}};
  for (const auto& c : cases) {
    player.SetPlayerName("");
    Game().ApplyHeroForm(c.form);
    EXPECT_EQ(player.playerName, c.name) << c.form;
  }
}

TEST_F(TalkGame, TheVillagersLastAnswerOpensTheShopAfterTheGreetingSetTheFlag) {
  ASSERT_EQ(Start(), 1);
  CTalkHost& host = *Game().talk;
  ASSERT_NE(host.player, nullptr);
  EXPECT_EQ(Game().events->TestFlag(101), 0);
  ASSERT_NE(host.StartTalk(kTalkName), nullptr);
  for (int tick = 0; tick < 200 && host.Update(); ++tick) {
    CTalkPlayer& p = *host.player;
    if (p.state == TALKSTATE_TYPING) {
      p.OnClick(0, 0);
    } else if (p.state == TALKSTATE_CHOOSING) {
      for (int i = 0; i < 3; ++i) p.OnKey(TALKKEY_DOWN);
      p.OnKey(TALKKEY_RETURN);
    }
  }
  EXPECT_EQ(Game().events->TestFlag(101), 1);
  EXPECT_EQ(Game().state, GS_MENU);
  UpdateScreens(1);
  auto* shop = dynamic_cast<CTradeWnd*>(GetTopWnd());
  ASSERT_NE(shop, nullptr);
  EXPECT_EQ(shop->shopId, kShopId);
  EXPECT_EQ(talktest::ValueOf(*host.player, kTalkHelpedVariable), 0) << "the shop answer pays nothing";
}

}  // namespace
}  // namespace gametest
