#include "platform/threads.h"

namespace plat {

std::recursive_mutex& DisplayMutex() {
  static std::recursive_mutex mutex;
  return mutex;
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
