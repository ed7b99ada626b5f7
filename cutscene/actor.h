#pragma once
#include <string_view>

// Anything a cut-scene moves. The play creates, resets, updates and deletes
// its actors; key tracks drive them through the operations of their kind.
class SActor {
 public:
  static constexpr int kNameSize = 128;

  SActor() = default;
  virtual ~SActor() = default;
  SActor(const SActor&) = delete;
  SActor& operator=(const SActor&) = delete;

  // The ACTORTYPE code.
  virtual int TypeId() const = 0;
  // Back to the state before frame 0.
  virtual void Reset() {}
  // Per-tick update; the play always passes 1.
  virtual int Update(int /*frames*/) { return 0; }

  const char* GetName() const { return name_; }
  // Keeps at most kNameSize - 1 characters.
  void SetName(std::string_view name);

 private:
  char name_[kNameSize] = {};
};
