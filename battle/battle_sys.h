#pragma once
#include <utility>

#include "battle/battle_desc.h"
#include "components/gc_base.h"
#include "engine/core/handles.h"

class CMenuAgency;
class CSceneContent;

// The battle system, a member of the scene society.
// MINIMAL: no battle runs: it keeps the hero body's node only; its fighters,
// states, arena scene, input, shots and heads-up display are not built yet.
// A battle is never running and counts as won.
class CBattleSys : public CGCBase {
 public:
  explicit CBattleSys(CMenuAgency* overlay = nullptr) : overlay(overlay) {}

  int Update(int) override { return 1; }
  // MINIMAL: the battle is not played: it is kept and counts as won at once.
  void Start(BATTLEDESC desc, int) { started = std::move(desc); }
  // 0 after the end, with result 1 won, -1 lost.
  int IsRunning(int* result) {
    if (result) *result = 1;
    return 0;
  }
  void End() {}
  void ForceWin() {}

  CMenuAgency* overlay;
  CSceneContent* arenaContent = nullptr;  // the arena's scene content while a battle runs
  HOBJECT heroBodyNode = 0;
  BATTLEDESC started;  // the record of the last Start
};
