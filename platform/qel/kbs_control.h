#pragma once
#include <functional>

namespace qmz {

// Key-combination reader of the battle: four direction keys (slots 0 left,
// 1 right, 2 back, 3 forward) sampled once per Flip through a key procedure.
//
// The action type is the bitmask of the held direction keys, opposing keys
// cancelling: 1 left, 2 right, 4 back, 5 back-left, 6 back-right, 8 forward,
// 9 forward-left, 10 forward-right. A mask is taken once it has held for
// kMergeFrames frames, so two keys pressed a frame or two apart give one
// diagonal. A combination is reported when the taken mask changes to a new
// non-zero value, and as type 0 when every key is released after a report.
// Two sequences are reported instead of a plain press: a forward tap (pressed
// and released within kTapFrames frames) followed within kTapFrames frames by
// another forward press gives KBS_DASH_FORWARD; the same with back gives
// KBS_DASH_BACK.
class CKBSControl {
 public:
  using KeyProc = std::function<int(int key)>;

  enum : int {
    KBS_LEFT = 1,
    KBS_RIGHT = 2,
    KBS_BACK = 4,
    KBS_FORWARD = 8,
    KBS_DASH_FORWARD = 0x10000,
    KBS_DASH_BACK = 0x20000,
  };
  static constexpr int kMergeFrames = 2;
  static constexpr int kTapFrames = 8;

  static CKBSControl* Instance();
  // Destroys the reader; the next Instance starts afresh with the default keys.
  static void CleanClear();

  // Slot 0..3 takes a virtual-key code (defaults 'A', 'D', 'S', 'W').
  void DefineKeyBoard(int slot, int key);
  // The key of slot 0..3; 0 for another slot.
  int GetKey(int slot) const { return slot >= 0 && slot < 4 ? keys_[slot] : 0; }
  // The procedure answers 1 while a key is down; without one no key is down.
  void BindKeyProc(KeyProc proc);
  // Samples the keys after `frames` frames; non-zero when a combination was completed.
  int Flip(int frames);
  int GetActionType() const { return actionType_; }
  // No combination is reported for the next `frames` frames; then the keys
  // held are reported afresh (type 0 when none).
  void SetDelayTime(int frames);

 private:
  CKBSControl();

  int SampleMask() const;
  int Report(int mask);

  // Not reported yet, or reported before a delay: whatever is held next is new.
  static constexpr int kNoReport = -1;

  int keys_[4];
  KeyProc keyProc_;
  int clock_ = 0;
  int candidate_ = 0;       // mask seen at the last sample
  int candidateSince_ = 0;  // clock when it was first seen
  int reported_ = 0;
  int reportedSince_ = 0;  // clock when the reported mask was first seen
  int actionType_ = 0;
  int delay_ = 0;
  // The last tap: a single forward or back press released quickly.
  int tapMask_ = 0;
  int tapReleasedAt_ = 0;
};

}  // namespace qmz
