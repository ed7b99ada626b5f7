// The force-feedback mouse and the game's cursor.
#include <gtest/gtest.h>

#include <utility>

#include "engine/media/sprites.h"
#include "game/force_feedback_mouse.h"
#include "game/game_mouse.h"
#include "tests/game/game_fixture.h"
#include "tools/datagen/sample_world_parts.h"
#include "ui/gm_mouse.h"
#include "ui/menu_agency.h"

namespace gametest {
namespace {

// Switches the fake device on for one test.
class FakeDevice {
 public:
  FakeDevice() { plat::SetFakeForceFeedbackDevice(true); }
  ~FakeDevice() { plat::SetFakeForceFeedbackDevice(false); }
};

TEST(ForceFeedback, WithoutADeviceEveryPulseIsRefused) {
  CForceFeedbackMouse mouse;
  EXPECT_EQ(mouse.PlayPeriodic(50000, 100, 1000), -3) << "before Init";
  EXPECT_EQ(mouse.Init(0), -1);
  EXPECT_EQ(mouse.Status(), -1);
  EXPECT_EQ(mouse.PlayPeriodic(50000, 100, 1000), -2);
  EXPECT_EQ(mouse.PlayPeriodic(50000, 5, 100), -2);
  EXPECT_EQ(mouse.EffectCount(), 0);
}

TEST(ForceFeedback, AFakeDevicePlaysPulsesAndReusesFinishedEffects) {
  testsupport::ScopedTestClock clock;
  FakeDevice fake;
  CForceFeedbackMouse mouse;
  EXPECT_EQ(mouse.Init(0), 0);
  EXPECT_EQ(mouse.Init(0), -3) << "a device is open already";
  EXPECT_EQ(mouse.PlayPeriodic(50000, 100, 300), 0);
  clock->AdvanceSeconds(0.05);
  EXPECT_EQ(mouse.PlayPeriodic(50000, 50, 100), 0);
  EXPECT_EQ(mouse.EffectCount(), 2) << "the first still plays";
  clock->AdvanceSeconds(1.0);
  EXPECT_EQ(mouse.PlayPeriodic(50000, 5, 100), 0);
  EXPECT_EQ(mouse.EffectCount(), 2) << "a finished one is reused";
}

TEST(GameMouse, ShapesFollowTheCursorType) {
  const int shapes[] = {0, 4, 1, 3, 2, 5, 1, 1, 2};
  CGameMouse mouse;
  EXPECT_EQ(mouse.locked, 1);
  for (int type = 0; type < 9; ++type) {
    mouse.SetShape(type);
    EXPECT_EQ(mouse.type, type);
    EXPECT_EQ(mouse.cursor->shape, shapes[type]) << type;
  }
  mouse.SetShape(42);
  EXPECT_EQ(mouse.cursor->shape, 0);
}

TEST(GameMouse, ALockedCursorStaysAtTheCentre) {
  CGameMouse mouse;
  EXPECT_EQ(mouse.x, 320);
  EXPECT_EQ(mouse.y, 240);
  mouse.SetPosition(10, 20);
  EXPECT_EQ(mouse.x, 320);
  mouse.Lock(0);
  mouse.SetPosition(10, 20);
  EXPECT_EQ(mouse.x, 10);
  EXPECT_EQ(mouse.y, 20);
  mouse.Lock(0);
  EXPECT_EQ(mouse.x, 10) << "unchanged lock does nothing";
  mouse.Lock(1);
  EXPECT_EQ(mouse.x, 320) << "locking centres";
}

using GameCursor = GameTest;

bool Shown(const CGMMouse* cursor) {
  const SPRITEDESC* record = LookupSprite(cursor->sprite);
  return record && record->visible;
}

// Where the cursor's hot spot stands.
std::pair<int, int> HotSpot(const CGMMouse* cursor) {
  int x = 0, y = 0;
  GetSpritePosition(cursor->sprite, &x, &y);
  return {x + CGMMouse::kHotSpots[cursor->shape][0], y + CGMMouse::kHotSpots[cursor->shape][1]};
}

TEST_F(GameCursor, ModesLockUnlockAndCentre) {
  ASSERT_EQ(Start(), 1);
  CGame& game = Game();
  EXPECT_EQ(game.mouse.cursor->owner, &g_menuAgency);
  EXPECT_EQ(g_menuAgency.extraElement, game.mouse.cursor);
  ASSERT_NE(game.mouse.cursor->sprite, 0u);
  EXPECT_DOUBLE_EQ(game.mouse.cursor->timer.Rate(), 7.5);

  game.SetCursorMode(1);
  EXPECT_EQ(game.mouse.locked, 1);
  EXPECT_FALSE(Shown(game.mouse.cursor));
  game.SetCursorMode(2);
  EXPECT_EQ(game.mouse.locked, 0);
  EXPECT_TRUE(Shown(game.mouse.cursor));
  EXPECT_EQ(game.cursorMode, 2);
  game.mouse.SetPosition(100, 50);
  EXPECT_EQ(HotSpot(game.mouse.cursor), std::make_pair(100, 50));
  game.SetCursorMode(2);
  EXPECT_EQ(game.mouse.x, 100) << "no centring when the mode already was 2";
  game.SetCursorMode(1);
  EXPECT_EQ(game.mouse.x, 320);
  game.mouse.Lock(0);
  game.mouse.SetPosition(100, 50);
  game.cursorMode = 1;
  game.SetCursorMode(2);
  EXPECT_EQ(game.mouse.x, 320) << "centred when coming from another mode";
  EXPECT_EQ(HotSpot(game.mouse.cursor), std::make_pair(320, 240));

  game.SetCursorShape(1, 3);
  EXPECT_EQ(game.mouse.cursor->shape, 3);
  EXPECT_TRUE(Shown(game.mouse.cursor));
  game.SetCursorShape(2, 0);
  EXPECT_FALSE(Shown(game.mouse.cursor));
  EXPECT_EQ(game.mouse.cursor->shape, 3) << "mode 2 only hides";
  game.SetCursorShape(0, 5);
  EXPECT_EQ(game.mouse.cursor->shape, 0);
}

TEST_F(GameCursor, TheCursorPictureLoadsWithTheGameAndTheOverlaySoundsGoWithIt) {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleDialogue("./", error)) << error;
  ASSERT_EQ(Start(), 1);
  int frames = 0, columns = 0, rows = 0;
  GetSpriteGrid(Game().mouse.cursor->sprite, &frames, &columns, &rows);
  EXPECT_EQ(rows, 6) << "one row per shape of image/TwCursor01";
  EXPECT_EQ(columns, 2);

  ASSERT_EQ(g_menuAgency.PlaySound(1, 0), 1);
  ASSERT_EQ(g_menuAgency.oneShotSounds.size(), 1u);
  EndGame();
  EXPECT_TRUE(g_menuAgency.sounds.empty());
  EXPECT_TRUE(g_menuAgency.oneShotSounds.empty());
  EXPECT_EQ(g_menuAgency.extraElement, nullptr) << "the cursor left the overlay";
}

}  // namespace
}  // namespace gametest
