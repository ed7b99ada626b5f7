#pragma once

// Runs the actions of story events.
// MINIMAL: nothing is ever pending; only the last result is kept.
class CEventRunner {
 public:
  int HasPending() const { return 0; }
  void RunPending() {}
  // The type of the next pending action; -1 when none.
  int NextPendingType() const { return -1; }
  // The run count of a relative event; 0 past the table.
  int GetEventCount(int) const { return 0; }

  int lastResult = 0;
  int approachFlag = 0;
};
