#include "components/h_fall_leaves.h"

// MINIMAL: no leaf model is copied and no leaves are made or flown; Setup
// only counts them and starts the effect.
CHFallLeaves::CHFallLeaves(const SCENEANIMDESC* trackRecord, HOBJECT) : track(trackRecord), leafModel(0) {}

CHFallLeaves::~CHFallLeaves() { Clear(); }

int CHFallLeaves::Setup(const SCENEZONE&, int count) {
  leafCount = count;
  started = 1;
  paused = 0;
  return 1;
}

int CHFallLeaves::Update(int) {
  if (!started) return -1;
  return paused ? 0 : 1;
}

void CHFallLeaves::Clear() {
  leafCount = 0;
  started = 0;
  paused = 1;
}
