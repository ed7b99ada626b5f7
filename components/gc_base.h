#pragma once

class CSociety;

// Base of every component: a piece of game logic that a society schedules.
// MINIMAL: only joining and leaving a society exist; the shared counter, the
// tick timer, the scheduling flags and the update passes are still missing.
class CGCBase {
 public:
  CGCBase() = default;
  // Leaves the owner society first.
  virtual ~CGCBase();
  CGCBase(const CGCBase&) = delete;
  CGCBase& operator=(const CGCBase&) = delete;

  // Asks the society to take the component and keeps it as owner when it
  // does; 0 for a null society or a refusal, else 1.
  virtual int Attach(CSociety* society);
  // Asks the owner to let the component go and forgets it when it does; 0
  // without an owner.
  virtual int Detach();
  virtual int IsAttached() const;

  CSociety* owner = nullptr;
  int index = 0;  // position in the owner's member array while attached
};
