#pragma once
#include <cstdint>

#include "base/tick_timer.h"

class CSociety;

// Base of every component: a piece of game logic that a society schedules
// through Update, PostUpdate and EndFrame, once per due tick batch.
class CGCBase {
 public:
  CGCBase();
  // Leaves the owner society first; the shared counter is freed only by its
  // last holder.
  virtual ~CGCBase();
  CGCBase(const CGCBase&) = delete;
  CGCBase& operator=(const CGCBase&) = delete;

  // Advances by n ticks. Every component class supplies its own; the base
  // has nothing to advance.
  virtual int Update(int n);
  virtual int PostUpdate(int n);
  virtual int EndFrame(int n);
  // Asks the society to take the component and keeps it as owner when it
  // does; 0 for a null society or a refusal, else 1.
  virtual int Attach(CSociety* society);
  // Asks the owner to let the component go and forgets it when it does; 0
  // without an owner.
  virtual int Detach();
  virtual int IsAttached() const;
  virtual void SetVisible(int visible);
  virtual void SetSuspended(int suspended);
  // Restarts the component's timer, and the owner's too when alsoOwner is
  // set (0 then without an owner).
  virtual int ResetTimer(int alsoOwner);
  // Returns the previous tag.
  virtual int SetTag(int value);

  // Makes this component a holder of another's shared counter (a creature's
  // clones share their resources); the count is the number of other holders.
  void ShareCounterWith(CGCBase& other);
  int32_t SharedCount() const { return *sharedCounter; }

  CSociety* owner = nullptr;
  int32_t* sharedCounter;
  int tag = 0;
  int index = 0;  // position in the owner's member array while attached
  int suspended = 0;
  int frozen = 0;         // gets only EndFrame
  int removeRequest = 0;  // the society deletes it at its next pass
  CTickTimer tickTimer;
  int defer = 0;  // PostUpdate runs after the whole member pass
};
