// The battle's heads-up display over the sample world's pictures.
#include "battle/ui_manager.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "battle/battle_interface.h"
#include "battle/battle_sys.h"
#include "battle/f_master.h"
#include "battle/kbs_state.h"
#include "battle/reward_desc.h"
#include "database/main_man_soul.h"
#include "engine/media/data_directories.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_battle_hud.h"
#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_text.h"

namespace {

using qmz::CSpriteWnd;

// A state that writes down the input it is handed.
class RecordingState : public CKBSState {
 public:
  int Update(CBattleSys*, int) override { return 1; }
  int Input(CBattleSys*, int type, int a, int b) override {
    events.push_back({type, a, b});
    return 1;
  }
  std::vector<std::array<int, 3>> events;
};

int g_itemId = -1;
int g_itemCount = 0;

class UiManagerTest : public battletest::BattleTest {
 protected:
  using Events = std::vector<std::array<int, 3>>;

  void SetUp() override {
    BattleTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    SetImageDirectory("image");
    SetSoundDirectory("waves");
    g_itemId = -1;
    g_itemCount = 0;
    sys_ = std::make_unique<CBattleSys>(nullptr);
    g_battleInterface.SetItemIdProc([] { return g_itemId; });
    g_battleInterface.SetItemCountProc([] { return g_itemCount; });
    for (const auto& [key, value] : {std::pair{6, 200}, {7, 100}, {8, 200}, {17, 100}, {18, 100}})
      soul_.attributes.push_back({key, value, 0});
    hero_.soul = &soul_;
    hero_.owner = sys_.get();
    hero_.kind = CFightingMan::kFirstHero;
    sys_->hero = &hero_;
    sys_->state = &state_;
  }

  void TearDown() override {
    sys_->hero = nullptr;
    sys_->state = nullptr;
    sys_.reset();
    qmz::ReleaseSpSounds();
  }

  CUIManager& Hud() { return sys_->hud; }

  static bool Shown(const CSpriteWnd& window) { return (window.State() & CSpriteWnd::kVisible) != 0; }
  static std::array<int, 2> Cell(const CSpriteWnd& window) {
    SPRITEDESC* sprite = LookupSprite(window.MainSurface());
    if (!sprite || !sprite->image) return {-1, -1};
    return {sprite->image->currentColumn, sprite->image->currentRow};
  }
  static std::string Text(const CSpriteWnd& window, int id) {
    for (const qmz::CSpriteText* surface : window.TextSurfaces())
      if (const auto* item = surface->FindItem(id)) return item->text;
    return "<none>";
  }
  static void Click(int x, int y) {
    qmz::SendSpMouseMove(x, y);
    qmz::SendSpLButtonDown(x, y);
    qmz::SendSpLButtonUp(x, y);
    qmz::SendSpMouseMove(639, 0);
  }
  void SetMp(int mp) {
    for (auto& a : soul_.attributes)
      if (a.key == 8) a.base = mp;
  }

  CGDMainManSoul soul_;
  CFMaster hero_;
  RecordingState state_;
  std::unique_ptr<CBattleSys> sys_;
};

TEST_F(UiManagerTest, EveryWindowHasItsPictureAndStartsHidden) {
  CUIManager& hud = Hud();
  EXPECT_EQ(hud.owner, sys_.get());
  std::vector<const CSpriteWnd*> windows = {&hud.GaugeFrame(),    &hud.CommandPanel(), &hud.RewardsWindow(),
                                            &hud.LevelUpWindow(), &hud.ModeIcon(),     &hud.QuickItemWindow()};
  for (int i = 0; i < 3; ++i) windows.push_back(&hud.Gauge(i));
  for (int i = 0; i < CUIManager::kCommandButtons; ++i) windows.push_back(&hud.CommandButton(i));
  for (int i = 0; i < CUIManager::kCircles; ++i) windows.push_back(&hud.Circle(i));
  for (const CSpriteWnd* w : windows) {
    EXPECT_NE(w->MainSurface(), 0u) << "window " << w->Id();
    EXPECT_FALSE(Shown(*w)) << "window " << w->Id();
    EXPECT_EQ(w->ColorKey(), CUIManager::kColourKey);
  }
  EXPECT_EQ(hud.Width(), 640);
  EXPECT_EQ(hud.Height(), 480);
  for (int i = 0; i < CUIManager::kCommandButtons; ++i) {
    EXPECT_NE(hud.CommandButton(i).HoverSurface(), 0u);
    EXPECT_NE(hud.CommandButton(i).PressedSurface(), 0u);
  }
  EXPECT_NE(hud.Circle(0).HoverSurface(), 0u);
  EXPECT_EQ(hud.Circle(0).PressedSurface(), 0u) << "circles take the main and hover pictures";
  EXPECT_EQ(hud.Circle(6).Width(), 48);
}

TEST_F(UiManagerTest, GaugesStandAtTheRightAndFollowTheirAttributes) {
  CUIManager& hud = Hud();
  hud.EnableGauges(1);
  EXPECT_TRUE(Shown(hud.GaugeFrame()));
  const int rows[3] = {11, 26, 41};
  for (int i = 0; i < 3; ++i) {
    int x = 0, y = 0;
    hud.Gauge(i).GetAbsolutePosition(&x, &y);
    EXPECT_EQ(x, 544);
    EXPECT_EQ(y, rows[i]);
    EXPECT_EQ(hud.Gauge(i).Width(), 80);
    EXPECT_EQ(hud.Gauge(i).Height(), 5);
    EXPECT_EQ(hud.Gauge(i).StyleValue(), 30);
    EXPECT_TRUE(Shown(hud.Gauge(i)));
  }
  struct Case {
    int attribute, percent, gauge;
  };
  for (const Case& c : {Case{6, 40, 0}, Case{8, 55, 1}, Case{17, 100, 2}}) {
    hud.SetGauge(c.attribute, c.percent);
    EXPECT_EQ(hud.Gauge(c.gauge).Percent(), c.percent) << c.attribute;
  }
  hud.SetGauge(7, 10);  // not a gauge of the display
  EXPECT_EQ(hud.Gauge(0).Percent(), 40);
  EXPECT_EQ(hud.Gauge(1).Percent(), 55);

  hud.Pause();
  EXPECT_FALSE(Shown(hud.GaugeFrame()));
  EXPECT_FALSE(Shown(hud.Gauge(1)));
  hud.Resume();
  EXPECT_TRUE(Shown(hud.Gauge(1)));
}

TEST_F(UiManagerTest, CommandPanelShowsSixButtonsForTheFirstHeroAndThreeForTheSecond) {
  CUIManager& hud = Hud();
  g_itemId = 4;
  g_itemCount = 2;
  hud.ShowCommandPanel(CFightingMan::kFirstHero, 1);
  EXPECT_TRUE(Shown(hud.CommandPanel()));
  const int positions[6][2] = {{8, 368}, {10, 413}, {49, 432}, {90, 412}, {89, 369}, {52, 349}};
  const int ids[6] = {131277, 131272, 131275, 131274, 131273, 131276};
  for (int i = 0; i < 6; ++i) {
    EXPECT_TRUE(Shown(hud.CommandButton(i))) << i;
    EXPECT_EQ(hud.CommandButton(i).X(), positions[i][0]);
    EXPECT_EQ(hud.CommandButton(i).Y(), positions[i][1]);
    EXPECT_EQ(hud.CommandButton(i).Id(), ids[i]);
    EXPECT_TRUE(hud.CommandButton(i).State() & CSpriteWnd::kEnabled) << "every check holds: " << i;
  }

  // MP 55: threaten (above 50) stays, paralyse (70), snatch and speed (60) and the special (150) go.
  SetMp(55);
  hud.ShowCommandPanel(CFightingMan::kFirstHero, 1);
  const bool enabled[6] = {false, true, true, false, false, false};
  for (int i = 0; i < 6; ++i) EXPECT_EQ((hud.CommandButton(i).State() & CSpriteWnd::kEnabled) != 0, enabled[i]) << i;

  hud.ShowCommandPanel(-1, 0);
  for (int i = 0; i < 6; ++i) EXPECT_FALSE(Shown(hud.CommandButton(i)));
  EXPECT_FALSE(Shown(hud.CommandPanel()));

  hero_.kind = CFightingMan::kSecondHero;
  hud.ShowCommandPanel(CFightingMan::kSecondHero, 1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(Shown(hud.CommandButton(i)), i < 3) << i;
}

TEST_F(UiManagerTest, QuickItemCounterNeedsASelectedItemAndStopsAt99) {
  CUIManager& hud = Hud();
  hud.ShowQuickItem(1);
  EXPECT_FALSE(Shown(hud.QuickItemWindow())) << "no quick item selected";

  struct Case {
    int count;
    const char* text;
  };
  g_itemId = 4;
  for (const Case& c : {Case{120, "99"}, Case{7, "07"}, Case{12, "12"}}) {
    g_itemCount = c.count;
    hud.ShowQuickItem(1);
    EXPECT_TRUE(Shown(hud.QuickItemWindow()));
    EXPECT_EQ(Text(hud.QuickItemWindow(), CUIManager::kItemCountText), c.text);
    EXPECT_EQ(Cell(hud.QuickItemWindow())[0], 4) << "the item's column";
  }
  hud.ShowQuickItem(0);
  EXPECT_FALSE(Shown(hud.QuickItemWindow()));
  hud.ShowQuickItem(2);
  EXPECT_FALSE(Shown(hud.QuickItemWindow())) << "only 1 shows it";
}

TEST_F(UiManagerTest, ModeIconTakesTheModesFrameAndTradesPlacesWithTheQuickItem) {
  CUIManager& hud = Hud();
  g_itemId = 4;
  g_itemCount = 3;
  struct Case {
    int mode, flag, column, row;
  };
  for (const Case& c : {Case{2, 1, 2, 0}, Case{3, 0, 3, 1}, Case{4, 1, 1, 0}, Case{6, 1, 0, 0}, Case{7, 0, 4, 1}}) {
    hud.ShowQuickItem(1);
    hud.ShowModeIcon(c.mode, c.flag);
    EXPECT_TRUE(Shown(hud.ModeIcon()));
    EXPECT_EQ(Cell(hud.ModeIcon()), (std::array<int, 2>{c.column, c.row})) << "mode " << c.mode;
    EXPECT_FALSE(Shown(hud.QuickItemWindow())) << "the first hero's counter makes way";
  }
  hud.HideModeIcon(0);
  EXPECT_FALSE(Shown(hud.ModeIcon()));
  EXPECT_TRUE(Shown(hud.QuickItemWindow()));
  hud.HideModeIcon(1);
  EXPECT_TRUE(Shown(hud.ModeIcon()));
  EXPECT_FALSE(Shown(hud.QuickItemWindow()));

  // The second hero has no quick item: the counter stays hidden.
  hero_.kind = CFightingMan::kSecondHero;
  hud.HideModeIcon(0);
  EXPECT_FALSE(Shown(hud.QuickItemWindow()));
  hud.Resume();
  EXPECT_FALSE(Shown(hud.QuickItemWindow()));
}

TEST_F(UiManagerTest, CirclesAndCommandButtonsSendLeftButtonEventsToTheState) {
  CUIManager& hud = Hud();
  VECTOR3 points[6];
  for (int i = 0; i < 6; ++i) points[i] = {100.0f + 40 * i, 200.0f + 10 * i, 0.5f};
  hud.PlaceCircles(points, 0x3F);
  hud.ShowCircles(1, 0x3F);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(hud.Circle(i).X(), 88 + 40 * i);
    EXPECT_EQ(hud.Circle(i).Y(), 188 + 10 * i);
    EXPECT_TRUE(Shown(hud.Circle(i)));
  }
  EXPECT_FALSE(Shown(hud.Circle(6)));
  for (int i = 0; i < 6; ++i) Click(100 + 40 * i, 200 + 10 * i);
  EXPECT_EQ(
      state_.events,
      (Events{{16, 0, 0xFFFF}, {16, 1, 0xFFFF}, {16, 2, 0xFFFF}, {16, 3, 0xFFFF}, {16, 4, 0xFFFF}, {16, 5, 0xFFFF}}));

  // Without circle bits: only the large circle, centred on the first point.
  hud.ShowCircles(0, 0x3F);
  hud.PlaceCircles(points, 0x30000);
  hud.ShowCircles(1, 0x30000);
  EXPECT_EQ(hud.Circle(6).X(), 76);
  EXPECT_EQ(hud.Circle(6).Y(), 176);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Shown(hud.Circle(i)), i == 6) << i;
  state_.events.clear();
  Click(100, 200);
  EXPECT_EQ(state_.events, (Events{{16, 6, 0xFFFF}}));

  // A point off any screen still places the circle somewhere it can stand.
  points[0] = {std::numeric_limits<float>::quiet_NaN(), 1e30f, 0};
  hud.PlaceCircles(points, 0x1);
  EXPECT_EQ(hud.Circle(0).X(), -12);
  EXPECT_EQ(hud.Circle(0).Y(), 4096 - 12);

  // The command buttons send their ids and are remembered; without a quick
  // item the special is disabled and sends nothing.
  hud.ShowCircles(0, 0x7F);
  hud.ShowCommandPanel(CFightingMan::kFirstHero, 1);
  state_.events.clear();
  Click(8 + 20, 368 + 20);
  EXPECT_TRUE(state_.events.empty());
  g_itemId = 4;
  g_itemCount = 1;
  hud.ShowCommandPanel(CFightingMan::kFirstHero, 1);
  Click(8 + 20, 368 + 20);
  Click(52 + 20, 349 + 5);
  EXPECT_EQ(state_.events, (Events{{16, CUIManager::kSpecialId, 0xFFFF}, {16, CUIManager::kSpeedId, 0xFFFF}}));
  EXPECT_EQ(hud.LastCommand(), &hud.CommandButton(5));

  // While the battle is paused the buttons still press, but no state hears them.
  sys_->paused = 1;
  state_.events.clear();
  Click(8 + 20, 368 + 20);
  EXPECT_TRUE(state_.events.empty());
  sys_->paused = 0;
  sys_->state = nullptr;
  Click(8 + 20, 368 + 20);
  EXPECT_TRUE(state_.events.empty()) << "no state, nobody to tell";
}

TEST_F(UiManagerTest, RewardsAndALevelUpTakeTwoClicks) {
  CUIManager& hud = Hud();
  REWARDDESC reward;
  reward.level = 3;
  reward.experience = 150;
  reward.toNextLevel = 40;
  reward.money = 27;
  reward.items = {{"Herb", 12}, {"Potion", 1}};
  hud.ShowRewards(reward);
  const CSpriteWnd& panel = hud.RewardsWindow();
  EXPECT_TRUE(Shown(panel));
  EXPECT_FLOAT_EQ(LookupSprite(panel.MainSurface())->alpha, 0.75f);
  EXPECT_EQ(Cell(panel)[0], 0) << "the first hero's column";
  const std::pair<int, const char*> texts[] = {{0x80001, "3"},    {0x80002, "150"},    {0x80003, "40"}, {0x80004, "27"},
                                               {0x80005, "Herb"}, {0x80006, "Potion"}, {0x80007, ""},   {0x80008, "12"},
                                               {0x80009, "1"},    {0x8000A, ""}};
  for (const auto& [id, text] : texts) EXPECT_EQ(Text(panel, id), text) << std::hex << id;
  EXPECT_FALSE(Shown(hud.LevelUpWindow()));
  EXPECT_EQ(hud.RewardsDone(), 1) << "no level-up: one click";
  EXPECT_FALSE(Shown(panel));

  hero_.kind = CFightingMan::kSecondHero;
  reward.newLevel = 4;
  reward.hp = 250;
  reward.mp = 105;
  reward.percent = 100;
  reward.attackPower = 9;
  for (int i = 0; i < 6; ++i) reward.defence[i] = 11 + i;
  reward.items.clear();
  hud.ShowRewards(reward);
  EXPECT_EQ(Cell(panel)[0], 1) << "the second hero's column";
  EXPECT_EQ(Text(panel, 0x80005), "");
  EXPECT_EQ(hud.pendingLevelUp, 4);
  EXPECT_FALSE(Shown(hud.LevelUpWindow())) << "kept for the first click";
  const std::pair<int, const char*> levelUp[] = {{0x8000B, "4"}, {0x8000C, "250"}, {0x8000D, "105"}, {0x8000E, "100"},
                                                 {0x8000F, "9"}, {0x80010, "11"},  {0x80015, "16"}};
  for (const auto& [id, text] : levelUp) EXPECT_EQ(Text(hud.LevelUpWindow(), id), text) << std::hex << id;
  EXPECT_EQ(hud.RewardsDone(), 0);
  EXPECT_FALSE(Shown(panel));
  EXPECT_TRUE(Shown(hud.LevelUpWindow()));
  EXPECT_EQ(hud.RewardsDone(), 1);
  EXPECT_FALSE(Shown(hud.LevelUpWindow()));
}

TEST_F(UiManagerTest, SpeedTimelineBlinksTheIconThenEndsTheSpeedMode) {
  CUIManager& hud = Hud();
  hud.ShowModeIcon(7, 1);
  hud.StartSpeedTimeline();
  std::vector<int> shown;
  for (int frame = 1; frame <= 260; ++frame) {
    qmz::UpdateSpWindows(1);
    shown.push_back(Shown(hud.ModeIcon()));
  }
  // Frames 1 to 150 leave it; then four frames shown, five hidden, again.
  for (int f = 1; f <= 150; ++f) ASSERT_EQ(shown[f - 1], 1) << f;
  for (int f = 151; f < 220; ++f) EXPECT_EQ(shown[f - 1], (f - 151) % 9 < 4) << f;
  // From 220 each frame hands the state a right button; 240 is the last.
  EXPECT_EQ(state_.events.size(), 21u);
  for (const auto& e : state_.events) EXPECT_EQ(e[0], 18);
  EXPECT_EQ(hud.ModeIcon().TimelineState(), CSpriteWnd::kTimelineFinished);
}

TEST_F(UiManagerTest, HideAllClearsTheScreenAtTheBattlesEnd) {
  CUIManager& hud = Hud();
  g_itemId = 1;
  VECTOR3 points[6] = {};
  hud.EnableGauges(1);
  hud.ShowCommandPanel(-1, 1);
  hud.ShowCircles(1, 0x7F);
  hud.PlaceCircles(points, 0x3F);
  hud.ShowModeIcon(7, 1);
  hud.StartSpeedTimeline();
  hud.ShowQuickItem(1);
  REWARDDESC reward;
  reward.newLevel = 2;
  hud.ShowRewards(reward);
  hud.RewardsDone();
  hud.HideAll();
  std::vector<const CSpriteWnd*> windows = {&hud.GaugeFrame(),    &hud.CommandPanel(), &hud.RewardsWindow(),
                                            &hud.LevelUpWindow(), &hud.ModeIcon(),     &hud.QuickItemWindow()};
  for (int i = 0; i < 6; ++i) windows.push_back(&hud.CommandButton(i));
  for (int i = 0; i < 7; ++i) windows.push_back(&hud.Circle(i));
  for (const CSpriteWnd* w : windows) EXPECT_FALSE(Shown(*w)) << w->Id();
  // The speed mode's timeline ends with the battle: nothing blinks or clicks later.
  for (int i = 0; i < 300; ++i) qmz::UpdateSpWindows(1);
  EXPECT_FALSE(Shown(hud.ModeIcon()));
  EXPECT_TRUE(state_.events.empty());
}

}  // namespace
