#pragma once
#include <array>

class CGCBase;

// A set of at most 100 components in scheduling order. It holds its members
// without owning them; destroying it detaches every member.
// MINIMAL: membership only; the tick timer and the Tick/Update passes that
// run the members are still missing.
class CSociety {
 public:
  static constexpr int kMaxMembers = 100;

  CSociety() = default;
  virtual ~CSociety();
  CSociety(const CSociety&) = delete;
  CSociety& operator=(const CSociety&) = delete;

  // Appends the component and stores its position in it; 0 when the society
  // is full, the pointer is null or the component already has an owner.
  // The owner is set by CGCBase::Attach, not here.
  virtual int Add(CGCBase* component);
  // The last member takes the removed member's position; 0 when the
  // component has no owner or the society is empty.
  virtual int Remove(CGCBase* component);
  virtual void RemoveAll();

  int Count() const { return count_; }
  CGCBase* Member(int position) const;

 private:
  int count_ = 0;
  std::array<CGCBase*, kMaxMembers> members_{};
};
