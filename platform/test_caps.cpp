#include "platform/test_caps.h"

#include <array>

namespace plat {
namespace {

struct Setting {
  bool armed = false;
  int succeedFirst = 0;
  int failTimes = -1;
};

std::array<Setting, static_cast<int>(FailPoint::Count)> g_settings{};

}  // namespace

void SetFailPoint(FailPoint point, int succeedFirst, int failTimes) {
  g_settings[static_cast<int>(point)] = {true, succeedFirst, failTimes};
}

void ClearFailPoint(FailPoint point) { g_settings[static_cast<int>(point)] = {}; }

void ClearFailPoints() { g_settings.fill({}); }

bool ShouldFail(FailPoint point) {
  Setting& s = g_settings[static_cast<int>(point)];
  if (!s.armed) return false;
  if (s.succeedFirst > 0) {
    --s.succeedFirst;
    return false;
  }
  if (s.failTimes == 0) return false;
  if (s.failTimes > 0) --s.failTimes;
  return true;
}

}  // namespace plat
