#include "platform/time.h"

#include <chrono>
#include <thread>

namespace plat {
namespace {

class SteadyClock : public Clock {
 public:
  uint64_t Counter() override {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
  }
  uint64_t Frequency() override { return 1000000000ull; }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

SteadyClock g_steady;
Clock* g_clock = &g_steady;

}  // namespace

void SetClock(Clock* clock) { g_clock = clock ? clock : &g_steady; }
Clock& GetClock() { return *g_clock; }

uint32_t TickCountMs() {
  Clock& c = GetClock();
  return static_cast<uint32_t>(c.Counter() / (c.Frequency() / 1000));
}

}  // namespace plat
