#include "cutscene/key_manager.h"

SKeyManager::SKeyManager(std::unique_ptr<SKey> firstKey)
    : firstKeyFrame(firstKey->frame), lastKeyFrame(firstKey->frame) {
  int frame = firstKey->frame;
  keys.emplace(frame, std::move(firstKey));
}

int SKeyManager::AddKey(std::unique_ptr<SKey> key) {
  if (!key || key->Code() != LowestKey()->Code()) return -1;
  int frame = key->frame;
  keys[frame] = std::move(key);
  firstKeyFrame = keys.begin()->first;
  lastKeyFrame = keys.rbegin()->first;
  return 0;
}

SKey* SKeyManager::FindAt(int frame) const {
  auto it = keys.find(frame);
  return it == keys.end() ? nullptr : it->second.get();
}

SKey* SKeyManager::FindAfter(int frame) const {
  auto it = keys.upper_bound(frame);
  return it == keys.end() ? nullptr : it->second.get();
}
