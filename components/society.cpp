#include "components/society.h"

#include "components/gc_base.h"

CSociety::~CSociety() { CSociety::RemoveAll(); }

int CSociety::Add(CGCBase* component) {
  if (!component || count_ >= kMaxMembers || component->IsAttached()) return 0;
  component->index = count_;
  members_[count_++] = component;
  return 1;
}

int CSociety::Remove(CGCBase* component) {
  if (!component || !component->IsAttached() || count_ == 0) return 0;
  int position = component->index;
  if (position < 0 || position >= count_ || members_[position] != component) return 0;
  CGCBase* last = members_[count_ - 1];
  members_[position] = last;
  last->index = position;
  members_[--count_] = nullptr;
  return 1;
}

void CSociety::RemoveAll() {
  for (int n = count_; n > 0 && count_ > 0; --n) members_[0]->Detach();
}

CGCBase* CSociety::Member(int position) const {
  return position >= 0 && position < count_ ? members_[position] : nullptr;
}
