#include "platform/qel/kbs_control.h"

#include <algorithm>
#include <memory>

namespace qmz {
namespace {

std::unique_ptr<CKBSControl>& TheInstance() {
  static std::unique_ptr<CKBSControl> instance;
  return instance;
}

constexpr int kSlotBits[4] = {CKBSControl::KBS_LEFT, CKBSControl::KBS_RIGHT, CKBSControl::KBS_BACK,
                              CKBSControl::KBS_FORWARD};

}  // namespace

CKBSControl::CKBSControl() : keys_{'A', 'D', 'S', 'W'} {}

CKBSControl* CKBSControl::Instance() {
  auto& instance = TheInstance();
  if (!instance) instance.reset(new CKBSControl());
  return instance.get();
}

void CKBSControl::CleanClear() { TheInstance().reset(); }

void CKBSControl::DefineKeyBoard(int slot, int key) {
  if (slot >= 0 && slot < 4) keys_[slot] = key;
}

void CKBSControl::BindKeyProc(KeyProc proc) { keyProc_ = std::move(proc); }

void CKBSControl::SetDelayTime(int frames) { delay_ = std::max(frames, 0); }

int CKBSControl::SampleMask() const {
  if (!keyProc_) return 0;
  int mask = 0;
  for (int slot = 0; slot < 4; ++slot)
    if (keyProc_(keys_[slot])) mask |= kSlotBits[slot];
  if ((mask & (KBS_LEFT | KBS_RIGHT)) == (KBS_LEFT | KBS_RIGHT)) mask &= ~(KBS_LEFT | KBS_RIGHT);
  if ((mask & (KBS_BACK | KBS_FORWARD)) == (KBS_BACK | KBS_FORWARD)) mask &= ~(KBS_BACK | KBS_FORWARD);
  return mask;
}

int CKBSControl::Flip(int frames) {
  int n = std::max(frames, 1);
  clock_ += n;
  int mask = SampleMask();
  if (mask != candidate_) {
    candidate_ = mask;
    candidateSince_ = clock_;
  }
  if (delay_ > 0) {
    delay_ -= n;
    if (delay_ <= 0) {
      delay_ = 0;
      reported_ = kNoReport;
    }
    return 0;
  }
  if (clock_ - candidateSince_ < kMergeFrames || candidate_ == reported_) return 0;
  return Report(candidate_);
}

int CKBSControl::Report(int mask) {
  bool wasDash = actionType_ == KBS_DASH_FORWARD || actionType_ == KBS_DASH_BACK;
  if (mask == 0) {
    bool tap = (reported_ == KBS_FORWARD || reported_ == KBS_BACK) && !wasDash &&
               candidateSince_ - reportedSince_ <= kTapFrames;
    tapMask_ = tap ? reported_ : 0;
    tapReleasedAt_ = candidateSince_;
    actionType_ = 0;
  } else {
    actionType_ = mask;
    if (mask == tapMask_ && candidateSince_ - tapReleasedAt_ <= kTapFrames)
      actionType_ = mask == KBS_FORWARD ? KBS_DASH_FORWARD : KBS_DASH_BACK;
    tapMask_ = 0;
  }
  reported_ = mask;
  reportedSince_ = candidateSince_;
  return 1;
}

}  // namespace qmz
