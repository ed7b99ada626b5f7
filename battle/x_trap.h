#pragma once
#include <memory>
#include <vector>

#include "battle/x_countdown.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CBattleSys;

// A cell of a prop set: fired by its manager, ticked every frame.
class CXPCell {
 public:
  virtual ~CXPCell() = default;
  virtual void Fire() = 0;
  virtual void Tick(int frames) = 0;
};

// The cells of a set, in the order added; owns them.
class CXPCellManager {
 public:
  // Appends the cell unless present.
  void Add(CXPCell* cell);
  int Count() const { return static_cast<int>(cells.size()); }
  // The i-th cell counting from 1; null for 0 or beyond the count.
  CXPCell* GetAt(int i) const;
  void TickAll(int frames);

  std::vector<std::unique_ptr<CXPCell>> cells;
};

// The marker model ".\model\HOUN" of a trap.
class CXPDummyBox {
 public:
  CXPDummyBox();
  virtual ~CXPDummyBox();
  CXPDummyBox(const CXPDummyBox&) = delete;
  CXPDummyBox& operator=(const CXPDummyBox&) = delete;

  void Show(int flag);
  void Place(const VECTOR3* where, const VECTOR3* forward);

  HOBJECT node = 0;
  int shown = 0;
};

// A trap that shoots at the hero's limbs with 60, 80 or 100 power.
class CXPTrap : public CXPCell {
 public:
  CXPTrap();

  void Place(const VECTOR3* where, const VECTOR3* forward, const VECTOR3* upward);
  void SetOwner(CBattleSys* battle) { owner = battle; }
  void ShowBox(int flag);
  void Fire() override;
  void Tick(int frames) override { cooldown.CountDown(frames); }

  std::unique_ptr<CXPDummyBox> box;
  int power;
  VECTOR3 position{0, 0, 0};
  CBattleSys* owner = nullptr;
  CXPCountDownTimer cooldown;
};

// The traps of a battle: one fires every interval; the interval shrinks by
// a step every period, down to 30 frames.
class CXPTrapManager : public CXPCellManager {
 public:
  static constexpr int kShortestInterval = 30;

  void Setup(int newPeriod, int newInterval, int newStep);
  void Tick(int frames);

  int interval = 0;
  CXPCountDownTimer fireTimer;
  int step = 0;
  CXPCountDownTimer escalationTimer;
  int period = 0;
  int escalations = 0;
  int shotsFired = 0;
};
