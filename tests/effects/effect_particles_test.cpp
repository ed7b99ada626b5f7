#include <gtest/gtest.h>

#include <cmath>

#include "components/effect_particle.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"
#include "tests/effects/effects_fixture.h"

namespace effectstest {
namespace {

class Particles : public EffectTest {
 protected:
  // An emitter moving +1 along effect x per frame, without spin.
  static std::unique_ptr<A_Particle> Make(int pool, int lifetime, int emissions = -1, int spread = 0) {
    auto p = std::make_unique<A_Particle>();
    p->CreateBillboards("spark", 1, 1, 1);
    p->CopyTemplateSprite();
    PARTICLEEMITTERDESC d;
    d.emitter.velocity = {1, 0, 0};
    d.poolSize = pool;
    d.lifetime = lifetime;
    d.emissions = emissions;
    d.spread = spread;
    p->SetEmitter(d);
    return p;
  }

  static VECTOR3 WorldOf(HOBJECT node) {
    VECTOR3 p;
    GetNodeWorldVectors(node, &p, nullptr, nullptr);
    return {p.x, p.z, p.y};
  }

  static int IsShown(HOBJECT node) { return LookupOpenNode(node)->visible; }
};

TEST_F(Particles, AFullEndlessPoolKeepsTheEmitterMovingAndDropsNothingUntilOneDies) {
  auto p = Make(2, 4);
  std::vector<int> live;
  std::vector<float> emitterX, firstX, secondX;
  for (int frame = 0; frame < 6; ++frame) {
    EXPECT_EQ(p->Update(0), 1);
    live.push_back(p->LiveParticles());
    VECTOR3 at;
    p->GetPosition(&at);
    emitterX.push_back(at.x);
    firstX.push_back(WorldOf(p->pool[1]).x);
    secondX.push_back(WorldOf(p->pool[0]).x);
  }
  EXPECT_EQ(live, (std::vector<int>{1, 2, 2, 2, 2, 2}));
  for (int frame = 0; frame < 6; ++frame) EXPECT_FLOAT_EQ(emitterX[frame], frame + 1.0f);
  // The highest slot takes the first drop; both stay put while the pool is
  // full and the first is dropped again once its four frames are over.
  EXPECT_EQ(firstX, (std::vector<float>{1, 1, 1, 1, 5, 5}));
  EXPECT_EQ(secondX, (std::vector<float>{0, 2, 2, 2, 2, 6}));
}

TEST_F(Particles, WithoutAPoolNothingIsEmittedAndTheCountdownHidesTheElement) {
  auto p = Make(0, 5, 3);
  for (int frame = 0; frame < 2; ++frame) {
    EXPECT_EQ(p->Update(0), 1);
    EXPECT_EQ(p->LiveParticles(), 0);
  }
  EXPECT_EQ(p->Update(0), 0);  // the third emission ends the count
  EXPECT_EQ(p->IsVisible(), 0);
  EXPECT_EQ(IsShown(p->templateBillboard), 0);
}

TEST_F(Particles, ALifetimeOfOneHidesAParticleOnTheNextFrame) {
  auto p = Make(4, 1, 1);
  p->Update(0);
  ASSERT_EQ(p->LiveParticles(), 1);
  const HOBJECT first = p->particles[3].node;
  ASSERT_EQ(first, p->pool[3]) << "the highest free slot is taken";
  EXPECT_EQ(IsShown(first), 1);
  EXPECT_EQ(p->Update(0), 0);
  EXPECT_EQ(IsShown(first), 0);
  EXPECT_EQ(p->LiveParticles(), 0);
  EXPECT_EQ(p->IsVisible(), 0) << "nothing left to emit and nothing alive";
}

TEST_F(Particles, SpreadJittersSidewaysByScriptedRandomNumbers) {
  struct Case {
    int spread;
    unsigned seed;
  } cases[] = {{0, 5}, {1, 5}, {3, 5}, {3, 99}};
  for (const Case& c : cases) {
    plat::Srand(c.seed);
    float r[2] = {0, 0};
    if (c.spread > 1)
      for (float& value : r) {
        const int first = plat::Rand() % c.spread;
        value = static_cast<float>(first - plat::Rand() % c.spread);
      }
    auto p = Make(2, 10, -1, c.spread);
    plat::Srand(c.seed);
    p->Update(0);
    VECTOR3 emitter;
    p->GetPosition(&emitter);
    // The emitter moved along +x: n = (-1, 0, 0), e1 = (0, 0, 1), e2 = n x e1 = (0, 1, 0).
    const VECTOR3 dropped = WorldOf(p->particles[1].node);
    EXPECT_NEAR(dropped.x, emitter.x, 1e-4f) << c.spread;
    EXPECT_NEAR(dropped.z, emitter.z + r[0], 1e-4f) << c.spread;
    EXPECT_NEAR(dropped.y, emitter.y + r[1], 1e-4f) << c.spread;
  }
}

TEST_F(Particles, KeySpinsActAboutOtherAxesThanTheFileSpin) {
  efc::EFCPARTICLEDESC block = Emitter("e", 1, 1).emitter;
  block.speed = 0;
  block.spin = {0, 0.5f, 0};
  auto fromFile = BuildParticle(block);
  EXPECT_FLOAT_EQ(fromFile->descriptor->emitter.spin.z, 0.5f);
  EXPECT_FLOAT_EQ(fromFile->descriptor->emitter.spin.y, 0);
  auto fromKey = BuildParticle(block);
  fromKey->SetSpin(0, 0.5f, 0);
  EXPECT_FLOAT_EQ(fromKey->descriptor->emitter.spin.y, 0.5f);
  fromFile->Update(0);
  fromKey->Update(0);
  MATRIX34 a, b;
  GetNodeMatrix(fromFile->node, &a, 1);
  GetNodeMatrix(fromKey->node, &b, 1);
  EXPECT_GT(std::fabs(a.row[0].y - b.row[0].y) + std::fabs(a.row[0].z - b.row[0].z), 0.1f);
}

TEST_F(Particles, HidingFreesEveryParticleAndShowingStartsEmpty) {
  auto p = Make(3, 10);
  for (int frame = 0; frame < 3; ++frame) p->Update(0);
  ASSERT_EQ(p->LiveParticles(), 3);
  p->SetVisible(0);
  EXPECT_EQ(p->LiveParticles(), 0);
  for (HOBJECT n : p->pool) EXPECT_EQ(IsShown(n), 0);
  EXPECT_EQ(p->Update(0), 0);
  p->SetVisible(1);
  EXPECT_EQ(p->Update(0), 1);
  EXPECT_EQ(p->LiveParticles(), 1);
  p->SetStopped(1);
  EXPECT_EQ(p->Update(0), 0);
}

TEST_F(Particles, AnOversizedPoolIsRefused) {
  auto p = Make(A_Particle::kMaxPool + 1, 10);
  EXPECT_TRUE(p->pool.empty());
  EXPECT_EQ(p->Update(0), 1);
  EXPECT_EQ(p->LiveParticles(), 0);
}

}  // namespace
}  // namespace effectstest
