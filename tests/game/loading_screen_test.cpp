// The loading screen: its worker presents while the main thread is busy and
// nothing of it runs once the screen hides or the game ends.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "engine/media/sprites.h"
#include "game/loading_animation.h"
#include "platform/display.h"
#include "platform/threads.h"
#include "tests/game/game_fixture.h"

namespace gametest {
namespace {

class LoadingScreen : public GameTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Start(), 1);
    plat::CapturePresentedFrames(true);
  }
  void TearDown() override { plat::CapturePresentedFrames(false); }

  static int Presented() { return plat::LastPresentedFrame().count; }

  // The main thread busy while its clock moves one look of the worker at a
  // time; each look's present is waited for before the clock moves on.
  void BusyForLooks(int looks) {
    for (int i = 0; i < looks; ++i) {
      const int seen = Game().loading->presents;
      clock_->Advance(clock_->Frequency() * CLoadingAnimation::kLookMs / 1000);
      // Real time bounds only a worker that never looks.
      const auto guard = std::chrono::steady_clock::now() + std::chrono::seconds(10);
      while (Game().loading->presents == seen && std::chrono::steady_clock::now() < guard) std::this_thread::yield();
      ASSERT_GT(Game().loading->presents, seen) << "look " << i;
    }
  }

  // The clock moves on with the loading screen gone: no worker is left to
  // present, and none runs at all.
  void BusyAfterHiding() {
    clock_->AdvanceSeconds(0.5);
    EXPECT_EQ(plat::WorkerThread::BodiesRunning(), 0);
  }
};

TEST_F(LoadingScreen, TheWorkerPresentsDuringALoadAndNothingAfterHiding) {
  ASSERT_NE(g_loadingSprite, 0u);
  EXPECT_FALSE(LookupSprite(g_loadingSprite)->visible) << "hidden when built";
  int width = 0, height = 0, x = 0, y = 0, layer = 0;
  GetSpriteSize(g_loadingSprite, &width, &height);
  GetSpritePosition(g_loadingSprite, &x, &y);
  GetSpriteDepth(g_loadingSprite, nullptr, nullptr, &layer);
  EXPECT_EQ(width, 420);
  EXPECT_EQ(height, 128);
  EXPECT_EQ(x, 201);
  EXPECT_EQ(y, 347);
  EXPECT_EQ(layer, 2);

  const int before = Presented();
  Game().ShowLoading(1, 0);
  ASSERT_NE(Game().loading, nullptr);
  EXPECT_EQ(Presented(), before + 1) << "one frame at once";
  EXPECT_TRUE(LookupSprite(g_loadingSprite)->visible);
  EXPECT_TRUE(Game().loading->WorkerRunning());
  BusyForLooks(5);
  EXPECT_GE(Game().loading->presents.load(), 2);
  EXPECT_GE(Presented(), before + 3);

  Game().ShowLoading(0, 0);
  EXPECT_EQ(Game().loading, nullptr);
  EXPECT_FALSE(LookupSprite(g_loadingSprite)->visible);
  const int after = Presented();
  BusyAfterHiding();
  EXPECT_EQ(Presented(), after) << "the worker has been joined";
}

TEST_F(LoadingScreen, NestedShowsAreCountedAndTheOutermostHideStops) {
  Game().ShowLoading(1, 0);
  CLoadingAnimation* first = Game().loading;
  Game().ShowLoading(1, 0);
  EXPECT_EQ(Game().loading, first) << "one animation";
  Game().ShowLoading(0, 0);
  ASSERT_EQ(Game().loading, first);
  EXPECT_TRUE(first->WorkerRunning());
  Game().ShowLoading(0, 0);
  EXPECT_EQ(Game().loading, nullptr);
  Game().ShowLoading(0, 0);  // nothing to hide
  EXPECT_EQ(Game().loading, nullptr);
}

TEST_F(LoadingScreen, TheGameEndingStopsARunningWorker) {
  Game().ShowLoading(1, 0);
  ASSERT_TRUE(Game().loading->WorkerRunning());
  EndGame();
  const int after = Presented();
  BusyAfterHiding();
  EXPECT_EQ(Presented(), after);
}

TEST(LoadingLoop, ANullAnimationEndsAtOnce) {
  std::atomic<bool> stop{false};
  EXPECT_EQ(CLoadingAnimation::Loop(nullptr, stop), -1);
}

}  // namespace
}  // namespace gametest
