#include "components/gc_base.h"

#include "components/society.h"

CGCBase::CGCBase() : sharedCounter(new int32_t(0)) {}

CGCBase::~CGCBase() {
  if (owner) CGCBase::Detach();
  if (*sharedCounter == 0) delete sharedCounter;
  else --*sharedCounter;
}

void CGCBase::ShareCounterWith(CGCBase& other) {
  if (sharedCounter == other.sharedCounter) return;
  if (*sharedCounter == 0) delete sharedCounter;
  else --*sharedCounter;
  sharedCounter = other.sharedCounter;
  ++*sharedCounter;
}

int CGCBase::Update(int) { return 1; }
int CGCBase::PostUpdate(int) { return 1; }
int CGCBase::EndFrame(int) { return 1; }

int CGCBase::Attach(CSociety* society) {
  if (!society) return 0;
  int accepted = society->Add(this);
  if (accepted) owner = society;
  return accepted;
}

int CGCBase::Detach() {
  if (!owner) return 0;
  int removed = owner->Remove(this);
  if (removed) owner = nullptr;
  return removed;
}

int CGCBase::IsAttached() const { return owner ? 1 : 0; }

void CGCBase::SetVisible(int) {}

void CGCBase::SetSuspended(int value) { suspended = value; }

int CGCBase::ResetTimer(int alsoOwner) {
  tickTimer.Reset();
  if (!alsoOwner) return 1;
  if (!owner) return 0;
  owner->tickTimer.Reset();
  return 1;
}

int CGCBase::SetTag(int value) {
  int previous = tag;
  tag = value;
  return previous;
}
