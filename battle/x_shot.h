#pragma once
#include <memory>
#include <string>

#include "battle/x_countdown.h"
#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CBattleSys;
class CTarnwick;
struct BATTLEMSG;

// A projectile flying from an enemy or a trap toward the hero. It ends when
// its life runs out or it touches the ground; touching the hero's body
// sets its hit flag, which the battle system turns into a blow.
class CXShot : public CGCBase {
 public:
  static constexpr int kLife = 300;
  static constexpr int kFadeFrames = 30;
  static constexpr float kTopSpeed = 60.0f;
  static constexpr float kStep = 3.0f;

  explicit CXShot(const char* modelName);
  ~CXShot() override;

  // Makes the body from "creature/battle/weapon", joins the battle's
  // society and takes the arena's terrain as the ground.
  int Attach(CBattleSys* battle);
  void SetPower(int n) { power = n; }
  void SetMotion(float newSpeed, float newAcceleration) {
    speed = newSpeed;
    acceleration = newAcceleration;
  }
  void SetSlowMotion(int n);
  void SetTarget(HOBJECT node) { target = node; }
  // Any of the three may be null.
  void Place(const VECTOR3* where, const VECTOR3* forward, const VECTOR3* upward);
  int Update(int frames) override;
  void Finish();
  void BuildMessage(BATTLEMSG* message) const;
  int IsHit() const { return hit; }
  int IsFinished() const { return finished; }

  std::unique_ptr<CTarnwick> body;
  int power = 0;
  VECTOR3 position{0, 0, 0};
  VECTOR3 previousPosition{0, 0, 0};
  VECTOR3 direction{0, 0, 0};
  VECTOR3 up{0, 0, 0};
  float speed = 0;
  float acceleration = 0;
  VECTOR3 boxCorners[8] = {};
  float stepLength = 0;
  int life = kLife;
  CXPCountDownTimer fadeTimer;
  CXPCountDownTimer lifeTimer;
  std::string modelName;
  int finished = 0;
  int boxShown = 0;
  int hit = 0;
  HOBJECT hitBox = 0;
  HOBJECT ground = 0;
  HOBJECT target = 0;

 private:
  // The body's world box corners relative to the position.
  void ReadBox();
  void BuildHitBox();
  void UpdateHitBox();
  int Divider() const;
};
