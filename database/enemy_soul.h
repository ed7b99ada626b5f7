#pragma once
// An enemy: a character record with its rewards, drops and a pair table. The
// battle copies it; play never changes the database's enemies.
#include <array>
#include <cstdint>
#include <vector>

#include "database/man_soul.h"

class CGDEnemySoul : public CGDManSoul {
 public:
  // Indices into values.
  enum : int { kMoneyValue = 0, kExperienceValue = 1 };

  void Reset() override;

  // The first of the first pair whose second matches, else -1.
  virtual int32_t GetPairFirst(int32_t second) const;
  virtual int32_t GetPairSecond(int32_t first) const;
  void ClearPairs();

  int32_t GetMoneyValue() const { return values[kMoneyValue]; }
  int32_t GetExperienceValue() const { return values[kExperienceValue]; }

  std::array<int32_t, 4> values{};
  std::vector<DROPDESC> drops;
  std::vector<ENEMYPAIRDESC> pairs;
};
