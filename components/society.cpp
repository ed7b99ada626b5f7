#include "components/society.h"

#include "components/gc_base.h"

CSociety::CSociety() { tickTimer.SetRate(30.0); }

CSociety::~CSociety() { CSociety::RemoveAll(); }

int CSociety::Add(CGCBase* component) {
  if (!component || count >= kMaxMembers || component->IsAttached()) return 0;
  component->index = count;
  members[count++] = component;
  return 1;
}

int CSociety::Remove(CGCBase* component) {
  if (!component || !component->IsAttached() || count == 0) return 0;
  int position = component->index;
  if (position < 0 || position >= count || members[position] != component) return 0;
  DropPosition(position);
  return 1;
}

void CSociety::DropPosition(int position) {
  CGCBase* last = members[count - 1];
  members[position] = last;
  last->index = position;
  members[--count] = nullptr;
}

void CSociety::RemoveAll() {
  for (int n = count; n > 0 && count > 0; --n) {
    // A member that will not leave would otherwise be asked forever.
    if (!members[0]->Detach()) break;
  }
}

int CSociety::Tick() {
  int due = tickTimer.Tick();
  if (paused || due == 0) return 0;
  if (due > kMaxTicksPerCall) due = kMaxTicksPerCall;
  Update(due);
  return due;
}

void CSociety::Update(int n) {
  std::array<CGCBase*, kMaxMembers> deferred{};
  int deferredCount = 0;
  for (int position = 0; position < count;) {
    CGCBase* member = members[position];
    if (!member) {
      ++position;
      continue;
    }
    if (member->removeRequest) {
      delete member;
      // Its destructor detached it, moving the last member here; one added
      // without an owner has to be taken out by hand.
      if (position < count && members[position] == member) DropPosition(position);
      continue;
    }
    if (member->suspended) {
      ++position;
      continue;
    }
    if (!member->frozen) {
      member->Update(n);
      member = members[position];
      if (member) {
        if (member->defer) {
          if (deferredCount < kMaxMembers) deferred[deferredCount++] = member;
        } else {
          member->PostUpdate(n);
        }
      }
    }
    member = position < count ? members[position] : nullptr;
    if (member && !member->suspended) member->EndFrame(n);
    ++position;
  }
  for (int i = 0; i < deferredCount; ++i) {
    // A deferred member deleted by another's Update has left the society.
    CGCBase* member = deferred[i];
    bool stillHere = false;
    for (int p = 0; p < count; ++p) stillHere = stillHere || members[p] == member;
    if (stillHere) member->PostUpdate(n);
  }
}

int CSociety::SetPaused(int flag) {
  if (paused == flag) return 0;
  paused = flag;
  return 1;
}

CGCBase* CSociety::Member(int position) const {
  return position >= 0 && position < count ? members[position] : nullptr;
}
