#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

// Worker threads and the display lock.
//
// The game's loading animation draws the sprite layer and presents from a
// worker thread while the main thread loads (and may create or change
// sprites). Everything that touches the sprite table, draws into the back
// buffer or presents holds the one display lock; it is recursive, so an
// engine call that takes it may call another that takes it again.
namespace plat {

std::recursive_mutex& DisplayMutex();

// Holds the display lock for its lifetime.
class DisplayLock {
 public:
  DisplayLock() : lock_(DisplayMutex()) {}

 private:
  std::lock_guard<std::recursive_mutex> lock_;
};

// Waits until the process clock reads deadline (in its ticks) or later,
// returning early once stop is set; true when stopped. On a test clock the
// wait ends when the test moves the clock there.
bool WaitForStopUntil(const std::atomic<bool>& stop, uint64_t deadline);

// A thread that is asked to stop and then joined; never killed. The body
// polls the stop flag and returns when it is set.
class WorkerThread {
 public:
  using Body = std::function<void(const std::atomic<bool>& stop)>;

  WorkerThread() = default;
  ~WorkerThread() { Stop(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts the body; false while a body is still running.
  bool Start(Body body);
  // Sets the stop flag and waits for the body to return.
  void Stop();
  bool Running() const { return thread_.joinable(); }
  // Bodies of any worker that have started and not yet returned.
  static int BodiesRunning();

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace plat
