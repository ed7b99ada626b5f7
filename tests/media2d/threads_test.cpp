// A worker drawing the sprite layer and presenting while the main thread
// changes the sprites, as the loading animation does.
#include "platform/threads.h"

#include <atomic>
#include <thread>

#include "engine/media/sprite_images.h"
#include "tests/media2d/media2d_fixture.h"

namespace media2dtest {
namespace {

TEST(WorkerThreadTest, StopsAndJoins) {
  plat::WorkerThread worker;
  std::atomic<int> rounds{0};
  ASSERT_TRUE(worker.Start([&](const std::atomic<bool>& stop) {
    while (!stop) ++rounds;
  }));
  EXPECT_TRUE(worker.Running());
  EXPECT_FALSE(worker.Start([](const std::atomic<bool>&) {}));  // one body at a time
  while (rounds == 0) std::this_thread::yield();
  worker.Stop();
  EXPECT_FALSE(worker.Running());
  EXPECT_EQ(plat::WorkerThread::BodiesRunning(), 0);           // the body has returned
  EXPECT_TRUE(worker.Start([](const std::atomic<bool>&) {}));  // and again once stopped
}

TEST_F(Media2DTest, LoadingAnimationDrawsWhileSpritesChange) {
  OpenScreen();
  HOBJECT spinner = BlankSprite(32, 32, 255, 0, 0, 5);
  plat::WorkerThread loader;
  std::atomic<int> frames{0};
  loader.Start([&](const std::atomic<bool>& stop) {
    while (!stop) {
      DrawSprites(0, 1);
      FlipScreen();
      ++frames;
    }
  });
  for (int i = 0; i < 300; ++i) {
    HOBJECT s = BlankSprite(8 + i % 16, 8, 0, 0, 255, i % 7);
    SetSpritePosition(s, i % 600, i % 400);
    if (i % 3) DeleteSprite(s);
  }
  while (frames < 3) std::this_thread::yield();
  loader.Stop();
  DrawSprites(0, 1);
  EXPECT_EQ(BackPixel(0, 0), 0xF800);  // the spinner's layer is on top
  DeleteSprite(spinner);
}

}  // namespace
}  // namespace media2dtest
