#include "components/q_chao.h"

// MINIMAL: no copies of the grass are made and nothing sways; only the
// paused flag is kept.
CQChao::CQChao(int count, const SCENEZONE&, const SCENEMORPHDESC* frames, HOBJECT)
    : copyCount(count), frameSet(frames) {}

int CQChao::Update() { return paused ? 0 : 1; }

void CQChao::SetEnabled(int flag) { paused = flag ? 0 : 1; }
