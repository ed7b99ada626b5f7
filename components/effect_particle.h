#pragma once
#include <array>
#include <memory>
#include <vector>

#include "components/effect_element.h"
#include "components/efficacy_records.h"

// Velocity, spin (radians per frame), their decays, and one more float.
struct PARTICLESTATE {
  VECTOR3 velocity{0, 0, 0};
  VECTOR3 spin{0, 0, 0};
  VECTOR3 velocityDecay{0, 0, 0};
  VECTOR3 spinDecay{0, 0, 0};
  float extra = 0;
};

struct PARTICLEEMITTERDESC {
  PARTICLESTATE emitter;
  int emissions = -1;  // -1 without end, else frames that still emit
  int poolSize = 0;
  int spread = 0;  // largest sideways jitter; 0 none
  PARTICLESTATE particle;
  int lifetime = 0;  // frames
};

// An emitter that moves and spins by its own state every frame and drops
// one billboard from a fixed pool at its new position per emitting frame;
// each particle animates its texture in place until its lifetime is over.
class A_Particle : public A_Model {
 public:
  // Larger pools are refused by SetEmitter (no particles).
  static constexpr int kMaxPool = 2048;

  A_Particle() = default;
  ~A_Particle() override;

  // The emitter (a dummy node) and its template billboard.
  int CreateBillboards(const char* textureName, int frameCount, float width, float height);
  void CreateParticleSprite(const char* textureName, int frameCount, float width, float height);
  void CopyTemplateSprite();
  void SetEmitter(const PARTICLEEMITTERDESC& descriptor);
  void SetVelocity(float x, float y, float z);
  void SetSpin(float x, float y, float z);
  void SetEmissions(int count);
  void SetSpread(int value);

  void SetMaterialColour(int kind, float r, float g, float b) override;
  void GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) override;
  void SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) override;
  void SetVisible(int flag) override;
  void SetStopped(int flag) override { paused = flag; }
  int Update(int n) override;

  int LiveParticles() const;

  struct PARTICLE {
    HOBJECT node = 0;  // 0 while the slot is free
    int age = 0;
    PARTICLESTATE state;
  };

  HOBJECT templateBillboard = 0;
  HOBJECT particleSprite = 0;
  std::unique_ptr<PARTICLEEMITTERDESC> descriptor;
  std::vector<PARTICLE> particles;
  std::vector<HOBJECT> pool;
  int paused = 0;
  VECTOR3 lastPosition{0, 0, 0};

 private:
  void FreePool();
  static void StepState(HOBJECT node, HOBJECT billboard, PARTICLESTATE* state);
};

// An emitter built from an effect's particle block.
std::unique_ptr<A_Particle> BuildParticle(const efc::EFCPARTICLEDESC& block);
