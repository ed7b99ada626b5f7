#include "platform/qel/kbs_control.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

namespace {

using Report = std::pair<int, int>;  // frame, action type

struct KeyEvent {
  int frame;
  int key;
  bool down;
};

// Plays key events frame by frame through the reader and lists its reports.
// `onReport` may act on the reader right after a report (frame, type).
template <typename OnReport>
std::vector<Report> Play(const std::vector<KeyEvent>& events, int lastFrame, OnReport onReport) {
  qmz::CKBSControl::CleanClear();
  qmz::CKBSControl* control = qmz::CKBSControl::Instance();
  std::set<int> held;
  control->BindKeyProc([&held](int key) { return held.count(key) ? 1 : 0; });
  std::vector<Report> reports;
  for (int frame = 1; frame <= lastFrame; ++frame) {
    for (const KeyEvent& e : events) {
      if (e.frame != frame) continue;
      if (e.down) held.insert(e.key);
      else held.erase(e.key);
    }
    if (control->Flip(1)) {
      reports.emplace_back(frame, control->GetActionType());
      onReport(frame, control->GetActionType());
    }
  }
  qmz::CKBSControl::CleanClear();
  return reports;
}

std::vector<Report> Play(const std::vector<KeyEvent>& events, int lastFrame) {
  return Play(events, lastFrame, [](int, int) {});
}

TEST(KBSControl, ReportsDirectionsDiagonalsAndRelease) {
  auto reports = Play(
      {
          {1, 'W', true},   // forward
          {10, 'A', true},  // forward-left
          {20, 'W', false},
          {20, 'A', false},  // all released
          {30, 'W', true},
          {31, 'A', true},  // a frame apart: one diagonal
          {40, 'W', false},
          {40, 'A', false},
          {45, 'A', true},
          {45, 'D', true},  // opposing keys cancel
          {47, 'A', false},
          {47, 'D', false},
          {50, 'S', true},
          {50, 'D', true},  // back-right
          {60, 'S', false},
          {60, 'D', false},
      },
      70);
  EXPECT_EQ(reports, (std::vector<Report>{{3, 8}, {12, 9}, {22, 0}, {33, 9}, {42, 0}, {52, 6}, {62, 0}}));
}

TEST(KBSControl, DoubleTapsGiveTheTwoSequences) {
  auto reports = Play(
      {
          {1, 'W', true},
          {5, 'W', false},
          {9, 'W', true},
          {15, 'W', false},  // double tap forward
          {19, 'W', true},
          {23, 'W', false},  // a third tap starts afresh
          {40, 'W', true},
          {44, 'W', false},  // too late for a double tap
          {50, 'S', true},
          {53, 'S', false},
          {57, 'S', true},
          {60, 'S', false},  // double tap back
          {70, 'W', true},
          {90, 'W', false},
          {93, 'W', true},  // a long hold is no tap
      },
      100);
  EXPECT_EQ(reports, (std::vector<Report>{{3, 8},
                                          {7, 0},
                                          {11, qmz::CKBSControl::KBS_DASH_FORWARD},
                                          {17, 0},
                                          {21, 8},
                                          {25, 0},
                                          {42, 8},
                                          {46, 0},
                                          {52, 4},
                                          {55, 0},
                                          {59, qmz::CKBSControl::KBS_DASH_BACK},
                                          {62, 0},
                                          {72, 8},
                                          {92, 0},
                                          {95, 8}}));
}

TEST(KBSControl, DelayHoldsReportsThenReportsTheKeysHeld) {
  auto reports = Play({{1, 'W', true}, {4, 'W', false}, {5, 'D', true}, {15, 'D', false}}, 30, [](int frame, int) {
    if (frame == 3) qmz::CKBSControl::Instance()->SetDelayTime(10);
    if (frame == 14) qmz::CKBSControl::Instance()->SetDelayTime(5);
  });
  // Frames 4 to 13 are held back; D is then reported; after the second delay
  // the release is reported as type 0.
  EXPECT_EQ(reports, (std::vector<Report>{{3, 8}, {14, 2}, {20, 0}}));
}

TEST(KBSControl, RedefinedKeysAndLongerSteps) {
  qmz::CKBSControl::CleanClear();
  qmz::CKBSControl* control = qmz::CKBSControl::Instance();
  control->DefineKeyBoard(3, 0x26);  // forward on the up arrow
  control->DefineKeyBoard(4, 'Q');   // no such slot: ignored
  std::set<int> held{'W'};
  control->BindKeyProc([&held](int key) { return held.count(key) ? 1 : 0; });
  EXPECT_EQ(control->Flip(3), 0);
  EXPECT_EQ(control->Flip(3), 0);  // 'W' is no slot key any more
  held = {0x26};
  EXPECT_EQ(control->Flip(3), 0);  // seen, not yet settled
  EXPECT_EQ(control->Flip(3), 1);
  EXPECT_EQ(control->GetActionType(), 8);

  qmz::CKBSControl::CleanClear();  // a fresh reader has the default keys and no procedure
  control = qmz::CKBSControl::Instance();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(control->Flip(1), 0);
  held = {'W'};
  control->BindKeyProc([&held](int key) { return held.count(key) ? 1 : 0; });
  control->Flip(1);
  control->Flip(1);
  EXPECT_EQ(control->Flip(1), 1);
  EXPECT_EQ(control->GetActionType(), 8);
  qmz::CKBSControl::CleanClear();
}

}  // namespace
