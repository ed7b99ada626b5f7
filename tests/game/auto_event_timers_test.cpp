// Named one-shot countdowns on the test clock.
#include <gtest/gtest.h>

#include <string>

#include "game/auto_event_timers.h"
#include "tests/support/captures.h"

namespace {

int ArmedCount(const CAutoEventTimers& t) {
  int n = 0;
  for (const auto& slot : t.slots) n += slot.active;
  return n;
}

TEST(AutoEventTimers, FiresAfterItsFramesOfUnpausedTime) {
  testsupport::ScopedTestClock clock;
  CAutoEventTimers timers;
  EXPECT_EQ(ArmedCount(timers), 0);
  timers.Add("350", 900);
  EXPECT_STREQ(timers.slots[0].slotName, "AUTO350");
  timers.Tick();  // the countdown starts at its first check
  timers.Add("abc", 450);
  EXPECT_STREQ(timers.slots[1].slotName, "AUTOabc");
  timers.Tick();

  clock->AdvanceSeconds(15.5);
  timers.Pause(0);
  timers.Tick();
  EXPECT_EQ(timers.slots[1].active, 0) << "abc fired after 15 s";
  EXPECT_EQ(timers.slots[1].slotName[0], '\0');
  clock->AdvanceSeconds(100);
  timers.Tick();
  EXPECT_EQ(timers.slots[0].active, 1) << "paused time does not count";
  timers.Resume(0);
  clock->AdvanceSeconds(14.4);
  timers.Tick();
  EXPECT_EQ(timers.slots[0].active, 1);
  clock->AdvanceSeconds(0.2);
  timers.Tick();
  EXPECT_EQ(timers.slots[0].active, 0);
  EXPECT_EQ(ArmedCount(timers), 0);
  clock->AdvanceSeconds(100);
  timers.Tick();
  EXPECT_EQ(ArmedCount(timers), 0);
}

TEST(AutoEventTimers, FullSetsAndBadSlotsChangeNothing) {
  testsupport::ScopedTestClock clock;
  CAutoEventTimers timers;
  for (int i = 0; i < CAutoEventTimers::kSlots; ++i) timers.Add(std::to_string(i).c_str(), 30);
  timers.Add("tenth", 30);
  timers.Add(nullptr, 30);
  for (int i = 0; i < CAutoEventTimers::kSlots; ++i) EXPECT_EQ(timers.slots[i].slotName, "AUTO" + std::to_string(i));
  timers.Tick();
  timers.Pause(9);
  timers.Resume(-1);
  for (const auto& slot : timers.slots) EXPECT_FALSE(slot.timer.IsPaused());
  clock->AdvanceSeconds(1.01);
  timers.Tick();
  EXPECT_EQ(ArmedCount(timers), 0);

  timers.Add(std::string(100, '7').c_str(), 30);
  EXPECT_EQ(std::string(timers.slots[0].slotName), "AUTO" + std::string(59, '7')) << "cut to the name's room";
}

}  // namespace
