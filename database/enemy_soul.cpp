#include "database/enemy_soul.h"

void CGDEnemySoul::Reset() {
  CGDManSoul::Reset();
  values.fill(0);
  drops.clear();
  pairs.clear();
}

int32_t CGDEnemySoul::GetPairFirst(int32_t second) const {
  for (const auto& p : pairs)
    if (p.second == second) return p.first;
  return -1;
}

int32_t CGDEnemySoul::GetPairSecond(int32_t first) const {
  for (const auto& p : pairs)
    if (p.first == first) return p.second;
  return -1;
}

void CGDEnemySoul::ClearPairs() { pairs.clear(); }
