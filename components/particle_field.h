#pragma once
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// A box of glowing motes around the camera: they fly on short straight legs,
// re-enter the box from the top or the opposite side, and those inside the
// view cone are drawn as additive quads.
class CParticleField {
 public:
  struct Particle {
    VECTOR3 position{0, 0, 0};
    VECTOR3 direction{0, 0, 1};  // normalised
    float age = 0;               // seconds on this leg
    float turnInterval = 0;      // seconds per leg
    float speed = 0;
    int inView = 0;
  };

  CParticleField();
  virtual ~CParticleField();
  CParticleField(const CParticleField&) = delete;
  CParticleField& operator=(const CParticleField&) = delete;

  void SetVisible(int on);
  int IsVisible() const { return visible_; }
  // A budget of n quads, 5 x n particles, all made anew.
  void SetCount(int n);
  // The quad budget.
  int GetCount() const { return quadBudget_; }
  void SetDrift(const VECTOR3& direction, float speed);
  const VECTOR3& GetDriftDirection() const { return driftDirection_; }
  float GetDriftSpeed() const { return driftSpeed_; }
  // The box's bottom.
  void SetGroundLevel(float z);
  void Update();
  // Frees the particles, the mesh and the material.
  void Release();

  std::vector<Particle>& Particles() { return particles_; }
  const VECTOR3& BoxMin() const { return boxMin_; }
  const VECTOR3& BoxMax() const { return boxMax_; }
  HOBJECT MeshNode() const { return mesh_; }
  int QuadsDrawn() const { return quadsDrawn_; }

 private:
  void BuildMesh();
  void SetBoxFromSizeAndCentre();
  VECTOR3 RandomPointInBox() const;

  std::vector<Particle> particles_;
  VECTOR3 boxCentre_{0, 0, 0};
  VECTOR3 boxMin_{0, 0, 0};
  VECTOR3 boxMax_{0, 0, 0};
  VECTOR3 boxSize_{0, 0, 0};
  VECTOR3 boxHalf_{0, 0, 0};
  VECTOR3 driftDirection_{1, 0, 0};
  float driftSpeed_ = 0;
  float boxTop_ = 0;
  float groundLevel_ = 0;
  int quadBudget_ = 0;
  int quadsDrawn_ = 0;
  float fieldOfView_ = 60;
  float coneCosine_ = 0;
  VECTOR3 across_{0, 0, 0};
  VECTOR3 up_{0, 0, 0};
  int followCameraHeight_ = 1;
  int visible_ = 0;
  bool timed_ = false;
  uint32_t lastUpdateMs_ = 0;
  HOBJECT material_ = 0;
  HOBJECT mesh_ = 0;
};
