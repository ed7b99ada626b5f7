#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

// Shows entries of a dialogue file in a dialogue box and holds the play while
// the player reads.
class SDialog : public SActor {
 public:
  int TypeId() const final { return ACTOR_DIALOG; }

  // Shows an entry as talk or as a choice; substitute may be null.
  virtual int Talk(const char* id, const char* substitute) = 0;
  virtual int Ask(const char* id, const char* substitute) = 0;
  // n frames more with the box's clicks blocked; -1 none.
  virtual void SetStopCount(int n) = 0;
  virtual void SetShowFrame(int flag) = 0;
  // Components 0..255.
  virtual void SetTextColor(int r, int g, int b) = 0;
  virtual void SetTextBackColor(int r, int g, int b) = 0;
  // Each value optional; 0 when the box accepted them, else -1.
  virtual int SetLayoutParams(const int* layout, const int* pageMode, const int* fast) = 0;
  virtual int SetPosition(int x, int y) = 0;
  // 1 while the box is open and no stop count runs.
  virtual int IsWaiting() = 0;
  // The chosen answer, -1 when none.
  virtual int GetAnswer() = 0;
};
