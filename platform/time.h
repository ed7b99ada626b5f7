#pragma once
#include <atomic>
#include <cstdint>

// The high-resolution counter behind every timer, and the sleeps. Tests replace
// the clock with a TestClock so timing is deterministic.
namespace plat {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t Counter() = 0;    // ticks since an arbitrary origin
  virtual uint64_t Frequency() = 0;  // ticks per second
  virtual void Sleep(uint32_t milliseconds) = 0;
};

// Replaces the process clock; null restores the real one. The caller keeps ownership.
void SetClock(Clock* clock);
Clock& GetClock();

inline uint64_t QueryCounter() { return GetClock().Counter(); }
inline uint64_t QueryFrequency() { return GetClock().Frequency(); }
inline void SleepMs(uint32_t ms) { GetClock().Sleep(ms); }
// Milliseconds since the clock's origin, wrapping at 32 bits like the system tick count.
uint32_t TickCountMs();

// A clock that only moves when told. Sleep advances it instead of blocking.
// It may be read from a worker thread while the test thread moves it.
class TestClock : public Clock {
 public:
  explicit TestClock(uint64_t frequency = 1000000000ull) : frequency_(frequency) {}
  uint64_t Counter() override { return now_; }
  uint64_t Frequency() override { return frequency_; }
  void Sleep(uint32_t ms) override { AdvanceSeconds(ms / 1000.0); }
  void Set(uint64_t ticks) { now_ = ticks; }
  void Advance(uint64_t ticks) { now_ += ticks; }
  void AdvanceSeconds(double seconds) { now_ += static_cast<uint64_t>(seconds * frequency_); }

 private:
  std::atomic<uint64_t> now_{1000000000ull};
  uint64_t frequency_;
};

}  // namespace plat
