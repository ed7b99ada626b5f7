// The overlay root: its element array, input routing, ticking, message queue
// and interface sounds.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "engine/media/sound_table.h"
#include "tests/ui/overlay_fixture.h"

namespace uitest {
namespace {

using Overlay = OverlayTest;

struct CallbackRecord {
  int message, a, b;
  bool operator==(const CallbackRecord&) const = default;
};
std::vector<CallbackRecord> g_calls;
int Record(int message, int a, int b, intptr_t) {
  g_calls.push_back({message, a, b});
  return 40 + message;
}

TEST_F(Overlay, TheArrayHoldsTwoHundredAndRemovalFillsTheGapWithTheLast) {
  std::vector<std::unique_ptr<ProbeElement>> elements;
  for (int i = 0; i < CMenuAgency::kMaxChildren; ++i) {
    elements.push_back(std::make_unique<ProbeElement>());
    ASSERT_EQ(elements.back()->AttachTo(&agency_), 1);
  }
  ProbeElement extra;
  EXPECT_EQ(extra.AttachTo(&agency_), 0) << "the 201st";
  EXPECT_FALSE(extra.IsAttached());
  EXPECT_EQ(agency_.AddChild(elements[3].get()), 0) << "already attached";
  EXPECT_EQ(agency_.AddChild(nullptr), 0);

  ASSERT_EQ(elements[5]->Detach(), 1);
  EXPECT_EQ(agency_.childCount, 199);
  EXPECT_EQ(agency_.children[5], elements[199].get());
  EXPECT_EQ(elements[199]->index, 5);
  EXPECT_EQ(agency_.children[199], nullptr);
  EXPECT_EQ(elements[5]->Detach(), 0) << "no longer attached";
  EXPECT_EQ(agency_.RemoveChild(&extra), 0) << "never held";

  elements[7].reset();  // the destructor leaves
  EXPECT_EQ(agency_.childCount, 198);
  EXPECT_EQ(agency_.children[7], elements[198].get());

  agency_.RemoveAll();
  EXPECT_EQ(agency_.childCount, 0);
  EXPECT_FALSE(elements[0]->IsAttached());
  EXPECT_EQ(elements[0]->Detach(), 0) << "a later Detach changes nothing";
}

TEST_F(Overlay, ACaptureElementTakesOnlyTheClickThatHitsItAndIsDeletedByIt) {
  ProbeElement under(0, 0, 640, 480);
  under.AttachTo(&agency_);
  bool deleted = false;
  auto* popup = new ProbeElement(100, 100, 50, 50, &deleted);
  agency_.SetCapture(popup);

  agency_.OnLButtonDown(10, 10);
  EXPECT_TRUE(under.seen.empty()) << "swallowed outside the pop-up";
  EXPECT_TRUE(popup->seen.empty());
  EXPECT_FALSE(deleted);
  agency_.OnMouseMove(10, 10);
  EXPECT_EQ(popup->seen, std::vector<std::string>{"move"}) << "moves go to the pop-up untested";
  EXPECT_TRUE(under.seen.empty());

  agency_.OnLButtonDown(120, 120);
  EXPECT_TRUE(deleted);
  EXPECT_EQ(agency_.capture, nullptr);
  agency_.OnLButtonDown(120, 120);
  EXPECT_EQ(under.seen, std::vector<std::string>{"down"}) << "the array has the mouse again";
}

TEST_F(Overlay, DisabledAndSuspendedElementsMissWhatTheyShould) {
  ProbeElement disabled(0, 0, 640, 480), suspended(0, 0, 640, 480), cursor(0, 0, 640, 480);
  disabled.inputEnabled = 0;
  suspended.SetSuspended(1);
  disabled.AttachTo(&agency_);
  suspended.AttachTo(&agency_);
  agency_.SetExtraElement(&cursor);
  agency_.OnLButtonDown(5, 5);
  agency_.OnLButtonUp(5, 5);
  agency_.OnRButtonDown(5, 5);
  agency_.OnMouseMove(5, 5);
  agency_.OnDrag(5, 5);
  agency_.OnKey(37, 1);
  EXPECT_EQ(disabled.seen, (std::vector<std::string>{"move", "drag", "key"}));
  EXPECT_TRUE(suspended.seen.empty());
  EXPECT_EQ(cursor.seen, (std::vector<std::string>{"down", "up", "right", "move", "drag"})) << "keys skip it";

  agency_.Update(1);
  EXPECT_EQ(disabled.updates, std::vector<int>{1});
  EXPECT_TRUE(suspended.updates.empty());
  EXPECT_EQ(cursor.updates, std::vector<int>{1});
  agency_.ClearExtraElement();
}

TEST_F(Overlay, PausedTicksLeaveElementsAndQueueForTheNextUpdate) {
  ProbeElement element;
  element.AttachTo(&agency_);
  g_calls.clear();
  agency_.SetCallback(Record);
  agency_.timer.SetRate(30.0);
  ASSERT_EQ(agency_.PostMessage(1, 2, 3, 4), 1);
  ASSERT_EQ(agency_.PostMessage(5, 6, 7, 8), 1);
  EXPECT_EQ(agency_.SetPaused(1), 1);
  EXPECT_EQ(agency_.SetPaused(1), 0) << "unchanged";
  clock_->AdvanceSeconds(2.0 / 30 + 0.001);
  EXPECT_EQ(agency_.Tick(), 2);
  EXPECT_TRUE(element.updates.empty());
  EXPECT_EQ(agency_.queueCount, 2);
  EXPECT_TRUE(g_calls.empty());

  agency_.SetPaused(0);
  clock_->AdvanceSeconds(5.0 / 30 + 0.001);
  EXPECT_EQ(agency_.Tick(), 3) << "at most three steps";
  EXPECT_EQ(element.updates, std::vector<int>{3});
  EXPECT_EQ(g_calls, (std::vector<CallbackRecord>{{1, 2, 3}, {5, 6, 7}}));
  EXPECT_EQ(agency_.queueCount, 0);

  agency_.SetCallback(nullptr);
  agency_.PostMessage(9, 9, 9, 9);
  agency_.Update(1);
  EXPECT_EQ(agency_.queueCount, 0) << "emptied without a callback too";
}

TEST_F(Overlay, TheQueueRefusesThe201stMessage) {
  for (int i = 0; i < CMenuAgency::kMaxQueued; ++i) ASSERT_EQ(agency_.PostMessage(i, 0, 0, 0), 1);
  EXPECT_EQ(agency_.PostMessage(999, 0, 0, 0), 0);
  EXPECT_EQ(agency_.queueCount, CMenuAgency::kMaxQueued);
  ProbeElement element;
  element.AttachTo(&agency_);
  EXPECT_EQ(element.NotifyOwner(1, 2, 3, 4), 0) << "through an element as well";
}

TEST_F(Overlay, WindowInputReachesTheCallbackWithPackedPoints) {
  g_calls.clear();
  agency_.SetCallback(Record);
  ProbeElement element(0, 0, 640, 480);
  element.AttachTo(&agency_);
  ASSERT_EQ(InstallOverlayInput(&agency_), 1);
  ASSERT_EQ(InstallOverlayEscapeKey(&agency_), 1);
  const int packed = 30 | 200 << 16;
  Move(30, 200);
  Press(30, 200);
  Move(31, 200);
  Release(31, 200);
  Mouse(plat::WM_RBUTTONDOWN, 30, 200);
  Mouse(plat::WM_RBUTTONUP, 30, 200);
  KeyDown(37);
  KeyUp(37);
  KeyDown(27);
  KeyDown(65);  // not an overlay key
  const std::vector<CallbackRecord> expected = {{kOverlayMouseMove, packed, 0},
                                                {kOverlayLButtonDown, packed, 0},
                                                {kOverlayDrag, 31 | 200 << 16, 0},
                                                {kOverlayLButtonUp, 31 | 200 << 16, 0},
                                                {kOverlayRButtonDown, packed, 0},
                                                {kOverlayKey, 37, 1},
                                                {kOverlayKey, 37, 0},
                                                {kOverlayKey, 27, 1}};
  EXPECT_EQ(g_calls, expected);
  EXPECT_EQ(element.seen, (std::vector<std::string>{"move", "down", "drag", "up", "right", "key", "key", "key"}));
  EXPECT_EQ(agency_.OnLButtonUp(1, 1), 40 + kOverlayLButtonUp) << "the callback's answer";

  g_calls.clear();
  InstallOverlayInput(nullptr);
  InstallOverlayEscapeKey(nullptr);
  Press(5, 5);
  Release(5, 5);
  Mouse(plat::WM_RBUTTONDOWN, 5, 5);
  KeyDown(38);
  KeyDown(27);
  EXPECT_TRUE(g_calls.empty());
}

TEST_F(Overlay, OneShotSoundsOverlapAndAreFreedOnceStopped) {
  ASSERT_EQ(agency_.PlaySound(1, 0), 1);
  ASSERT_EQ(agency_.PlaySound(1, 0), 1);
  ASSERT_EQ(agency_.oneShotSounds.size(), 2u);
  const HOBJECT first = agency_.oneShotSounds[0], second = agency_.oneShotSounds[1];
  EXPECT_NE(first, second);
  EXPECT_TRUE(IsSoundPlaying(first));
  EXPECT_TRUE(IsSoundPlaying(second)) << "two copies at once";
  EXPECT_EQ(agency_.sounds.count(1), 1u) << "MM_hover registered under its key";

  plat::PullMixedFrames(44100);  // the 50 ms sounds end
  agency_.PurgeFinishedSounds();
  EXPECT_TRUE(agency_.oneShotSounds.empty());
  EXPECT_EQ(LookupSound(first), nullptr) << "freed";

  EXPECT_EQ(agency_.PlaySound(7, 0), 0) << "not one of the interface's own";
  EXPECT_EQ(agency_.PlaySound(0, 1), 1) << "with flags the sound itself plays";
  EXPECT_TRUE(agency_.oneShotSounds.empty());
  EXPECT_EQ(agency_.StopSound(0), 1);
  EXPECT_EQ(agency_.StopSound(3), 0) << "not registered yet";

  ProbeElement element;
  element.AttachTo(&agency_);
  EXPECT_EQ(element.RegisterSound("MM_Useobj", 8), 1);
  EXPECT_EQ(element.PlaySound(8, 0), 1) << "its own";
  EXPECT_EQ(element.PlaySound(2, 0), 1) << "the owner's";
  EXPECT_EQ(agency_.sounds.count(2), 1u);
  EXPECT_EQ(element.RegisterSound("missing", 9), 0);
  EXPECT_EQ(element.StopSound(9), 0);
}

}  // namespace
}  // namespace uitest
