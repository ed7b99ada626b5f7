#pragma once
#include <map>
#include <memory>

#include "cutscene/key.h"

class SActor;
class SActorTrackSet;

// What SKeyManager::Advance found.
enum : int {
  ADVANCE_NEW_TARGET = 0,  // a new key became the target
  ADVANCE_NO_KEY = 1,      // no key after the cursor
  ADVANCE_IN_SEGMENT = 2,  // inside a segment: nothing to prepare
  ADVANCE_PAST_LAST = 3,   // the cursor reached or passed the last key
};

// The keys of one type for one actor, ordered by frame. Each play frame first
// applies what that frame asks of the actor, then advances the cursor; while
// Apply runs the cursor still holds the previous frame, so the frame being
// played is cursor + 1.
class SKeyManager {
 public:
  explicit SKeyManager(std::unique_ptr<SKey> firstKey);
  virtual ~SKeyManager() = default;
  SKeyManager(const SKeyManager&) = delete;
  SKeyManager& operator=(const SKeyManager&) = delete;

  // The KEYTYPE code of the track.
  virtual int Code() const = 0;
  virtual int Apply() = 0;
  virtual int Advance() = 0;
  // Back to the state before frame 0.
  virtual void Reset() { cursor = -1; }

  // Takes the key, replacing one at the same frame; -1 (the key is dropped)
  // when its type is not the track's.
  int AddKey(std::unique_ptr<SKey> key);
  SKey* FindAt(int frame) const;
  // The key with the lowest frame greater than frame.
  SKey* FindAfter(int frame) const;
  SKey* LowestKey() const { return keys.begin()->second.get(); }

  SActor* actor = nullptr;
  SActorTrackSet* owner = nullptr;
  std::map<int, std::unique_ptr<SKey>> keys;  // never empty
  int cursor = -1;
  int firstKeyFrame;
  int lastKeyFrame;
  int nextKeyFrame = -1;
};
