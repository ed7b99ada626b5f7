#pragma once
#include <map>
#include <memory>

#include "cutscene/key.h"
#include "cutscene/key_manager.h"

class CCutScene;
class SActor;

// The key tracks of one actor of a play, one per key type, run in ascending
// type code.
class SActorTrackSet {
 public:
  SActorTrackSet(CCutScene* owner, SActor* actor) : owner(owner), actor(actor) {}

  // Every track applies, then every track advances.
  void Frame();
  void Reset();
  // The track of the key's type takes it; a missing track is made with the
  // key as its first. -1 (the key is dropped) when no track serves its type.
  int AddKey(std::unique_ptr<SKey> key);
  void BindActor(SActor* newActor);

  CCutScene* owner;
  SActor* actor;
  std::map<int, std::unique_ptr<SKeyManager>> tracks;
};
