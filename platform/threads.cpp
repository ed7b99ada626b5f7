#include "platform/threads.h"

#include <algorithm>
#include <chrono>

namespace plat {

std::recursive_mutex& DisplayMutex() {
  static std::recursive_mutex mutex;
  return mutex;
}

bool WaitForStop(const std::atomic<bool>& stop, uint32_t ms) {
  // Short slices keep a stop from waiting out the whole period.
  constexpr auto kSlice = std::chrono::milliseconds(5);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!stop) {
    const auto now = std::chrono::steady_clock::now();
    if (now >= end) return false;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kSlice, end - now));
  }
  return true;
}

bool WorkerThread::Start(Body body) {
  if (thread_.joinable() || !body) return false;
  stop_ = false;
  thread_ = std::thread([this, body = std::move(body)] { body(stop_); });
  return true;
}

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
