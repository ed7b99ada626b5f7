#pragma once
#include <atomic>
#include <cstdint>

#include "base/tick_timer.h"
#include "engine/core/handles.h"
#include "platform/threads.h"

// The hidden sprite the loading screen shows; 0 when none.
extern HOBJECT g_loadingSprite;
// The loading picture ("loading", 420 x 128 at (201, 347), layer 2), hidden.
void CreateLoadingSprite();

// The loading screen: while the main thread loads, a worker draws the sprite
// layer and presents whenever its 15-per-second timer is due, looking every
// 200 ms of the process clock from the start. Everything it draws or presents
// holds the display lock; once StopWorker returns nothing of it runs.
class CLoadingAnimation {
 public:
  static constexpr double kRate = 15.0;
  static constexpr unsigned kLookMs = 200;

  // Shows the loading sprite; the worker is not started yet.
  CLoadingAnimation();
  // Stops the worker and hides the sprite.
  ~CLoadingAnimation();
  CLoadingAnimation(const CLoadingAnimation&) = delete;
  CLoadingAnimation& operator=(const CLoadingAnimation&) = delete;

  // Shows the sprite, restarts the timer at frame 0 and starts a fresh worker.
  void StartWorker();
  // Hides the sprite and joins the worker.
  void StopWorker();
  bool WorkerRunning() const { return worker_.Running(); }

  // The worker's body; -1 at once for a null animation, else 0 once stopped.
  static int Loop(CLoadingAnimation* animation, const std::atomic<bool>& stop);

  int frame = 0;
  CTickTimer timer;
  // Further ShowLoading(1) calls while this one shows.
  int nested = 0;
  // Frames the worker has presented.
  std::atomic<int> presents{0};

 private:
  // The clock's reading when the worker started; its looks fall on whole
  // periods from here, whenever the worker thread itself gets to run.
  uint64_t lookStart_ = 0;
  plat::WorkerThread worker_;
};
