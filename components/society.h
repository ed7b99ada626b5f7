#pragma once
#include <array>

#include "base/tick_timer.h"

class CGCBase;

// A set of at most 100 components in scheduling order, run 30 times a second.
// It holds its members without owning them: destroying it detaches every
// member, and the only member it deletes is one that asked to be removed.
class CSociety {
 public:
  static constexpr int kMaxMembers = 100;
  static constexpr int kMaxTicksPerCall = 4;

  CSociety();
  virtual ~CSociety();
  CSociety(const CSociety&) = delete;
  CSociety& operator=(const CSociety&) = delete;

  // Appends the component and stores its position in it; 0 when the society
  // is full, the pointer is null or the component already has an owner.
  // The owner is set by CGCBase::Attach, not here.
  virtual int Add(CGCBase* component);
  // The last member takes the removed member's position; 0 when the
  // component has no owner, is not a member, or the society is empty.
  virtual int Remove(CGCBase* component);
  virtual void RemoveAll();
  // Runs the passes for the ticks that fell due (at most 4; the rest are
  // dropped) and returns how many ran. Ticks due while paused are lost.
  virtual int Tick();
  // One pass over the members for n ticks: Update, PostUpdate (deferred
  // ones after the pass) and EndFrame.
  virtual void Update(int n);
  // 0 when the flag already has that value.
  virtual int SetPaused(int flag);

  int Count() const { return count; }
  CGCBase* Member(int position) const;

  int count = 0;
  std::array<CGCBase*, kMaxMembers> members{};
  int paused = 0;
  int listener = 0;
  CTickTimer tickTimer;

 private:
  // The last member moves into the position.
  void DropPosition(int position);
};
