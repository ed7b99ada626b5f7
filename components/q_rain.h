#pragma once
#include <array>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// Rain of up to 450 one-triangle drops falling with the wind in front of the
// camera. Drop 0 is a hidden template whose mesh every other drop shares, so
// turning the template turns them all.
class CQRain {
 public:
  static constexpr int kMaxDrops = 450;

  CQRain();
  virtual ~CQRain();
  CQRain(const CQRain&) = delete;
  CQRain& operator=(const CQRain&) = delete;

  // On makes the template once and runs; off lets the rain thin out. A stop
  // once asked for stays until the object is made again.
  void SetEnabled(int on);
  int IsRunning() const { return running_; }
  int IsStopping() const { return stopping_; }
  // A null eye only makes the template.
  void CreateDrops(const VECTOR3* eye, const VECTOR3* viewDirection);
  // Stored normalised, times 6.
  void SetWind(float x, float y, float z);
  const VECTOR3& Wind() const { return wind_; }
  // Keeps the rain centre before the camera and the drops facing it.
  void Update(const VECTOR3& eye, const VECTOR3& viewDirection);
  // One tick of falling, respawning and growing or thinning.
  void Step(float groundZ);

  int DropCount() const { return dropCount_; }
  HOBJECT Drop(int i) const { return drops_[i]; }
  const VECTOR3& Centre() const { return centre_; }

 private:
  void PlaceAtTop(HOBJECT drop);

  std::array<HOBJECT, kMaxDrops> drops_{};
  VECTOR3 centre_{0, 0, 0};
  VECTOR3 wind_{1, 0, 2};
  int dropCount_ = 0;
  int stopping_ = 0;
  int running_ = 0;
};
