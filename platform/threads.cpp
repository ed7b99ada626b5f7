#include "platform/threads.h"

#include <algorithm>
#include <chrono>

#include "platform/time.h"

namespace plat {
namespace {

std::atomic<int> g_bodiesRunning{0};

}  // namespace

std::recursive_mutex& DisplayMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

bool WaitForStopUntil(const std::atomic<bool>& stop, uint64_t deadline) {
  // Short slices keep a stop, or a test moving its clock, from waiting out
  // the whole period.
  constexpr uint64_t kSliceUs = 2000;
  while (!stop) {
    Clock& clock = GetClock();
    const uint64_t now = clock.Counter();
    if (now >= deadline) return false;
    const uint64_t frequency = std::max<uint64_t>(clock.Frequency(), 1);
    const uint64_t left = std::min(deadline - now, frequency);  // bounded so the product cannot overflow
    std::this_thread::sleep_for(std::chrono::microseconds(std::min(kSliceUs, left * 1000000 / frequency)));
  }
  return true;
}

bool WorkerThread::Start(Body body) {
  if (thread_.joinable() || !body) return false;
  stop_ = false;
  ++g_bodiesRunning;
  thread_ = std::thread([this, body = std::move(body)] {
    body(stop_);
    --g_bodiesRunning;
  });
  return true;
}

int WorkerThread::BodiesRunning() { return g_bodiesRunning; }

void WorkerThread::Stop() {
  if (!thread_.joinable()) return;
  stop_ = true;
  if (thread_.get_id() == std::this_thread::get_id()) {
    thread_.detach();  // a body that stops itself cannot wait for itself
    return;
  }
  thread_.join();
}

}  // namespace plat
