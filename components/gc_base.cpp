#include "components/gc_base.h"

#include "components/society.h"

CGCBase::~CGCBase() {
  if (owner) CGCBase::Detach();
}

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
