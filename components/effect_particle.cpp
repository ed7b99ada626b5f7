#include "components/effect_particle.h"

#include <cmath>

#include "components/effect_math.h"
#include "engine/core/billboards.h"
#include "engine/core/engine_queries.h"
#include "engine/core/materials.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"

namespace {

void MakeTranslucent(HOBJECT billboard) {
  SetNodeRenderState(billboard, NRS_ADDITIVE, 1);
  SetNodeRenderState(billboard, NRS_DEPTH_WRITE, 0);
  SetNodeAlpha(billboard, 0.9f);
}

}  // namespace

A_Particle::~A_Particle() {
  FreePool();
  if (particleSprite) DestroyNode(particleSprite);
  if (templateBillboard) DestroyNode(templateBillboard);
}

void A_Particle::FreePool() {
  for (HOBJECT n : pool) DestroyNode(n);
  pool.clear();
  particles.clear();
}

int A_Particle::CreateBillboards(const char* textureName, int frameCount, float width, float height) {
  BeginNode(NODE_DUMMY);
  node = EndNode(0);
  templateBillboard = CreateBillboardNode(node, textureName, frameCount, width, height, 0, 0, 0, 0);
  MakeTranslucent(templateBillboard);
  return 1;
}

void A_Particle::CreateParticleSprite(const char* textureName, int frameCount, float width, float height) {
  particleSprite = CreateBillboardNode(0, textureName, frameCount, width, height, 0, 0, 0, 0);
  ShowNode(particleSprite, 0);
  MakeTranslucent(particleSprite);
}

void A_Particle::CopyTemplateSprite() {
  particleSprite = CloneNode(templateBillboard);
  if (particleSprite) {
    SetNodeParent(particleSprite, 0);
    ShowNode(particleSprite, 0);
  }
}

void A_Particle::SetEmitter(const PARTICLEEMITTERDESC& d) {
  FreePool();
  descriptor = std::make_unique<PARTICLEEMITTERDESC>(d);
  effectmath::SwapYZ(&descriptor->emitter.spin);
  effectmath::SwapYZ(&descriptor->emitter.spinDecay);
  if (descriptor->poolSize < 0 || descriptor->poolSize > kMaxPool) descriptor->poolSize = 0;
  if (descriptor->poolSize > 0) {
    particles.assign(descriptor->poolSize, PARTICLE{});
    for (int i = 0; i < descriptor->poolSize; ++i) {
      HOBJECT clone = particleSprite ? CloneNode(particleSprite) : 0;
      if (clone) ShowNode(clone, 0);
      pool.push_back(clone);
    }
  }
  GetPosition(&lastPosition);
}

void A_Particle::SetVelocity(float x, float y, float z) {
  if (descriptor) descriptor->emitter.velocity = {x, y, z};
}

void A_Particle::SetSpin(float x, float y, float z) {
  if (descriptor) descriptor->emitter.spin = {x, y, z};
}

void A_Particle::SetEmissions(int count) {
  if (descriptor) descriptor->emissions = count;
}

void A_Particle::SetSpread(int value) {
  if (descriptor) descriptor->spread = value;
}

void A_Particle::SetMaterialColour(int kind, float r, float g, float b) {
  SetColourOf(GetBillboardMaterial(templateBillboard), kind, r, g, b);
  for (HOBJECT n : pool) SetColourOf(GetBillboardMaterial(n), kind, r, g, b);
}

void A_Particle::GetMaterialColours(float* ambient, float* diffuse, float* specular, float* emissive) {
  if (HOBJECT m = GetBillboardMaterial(templateBillboard))
    GetMaterialColors(m, ambient, diffuse, specular, emissive, nullptr);
}

void A_Particle::SetBlendStates(int srcState, int srcBlend, int dstState, int dstBlend, float alpha) {
  if (templateBillboard) BlendStatesOf(templateBillboard, srcState, srcBlend, dstState, dstBlend, alpha);
  for (HOBJECT n : pool) BlendStatesOf(n, srcState, srcBlend, dstState, dstBlend, alpha);
}

void A_Particle::SetVisible(int flag) {
  if (!flag) {
    for (PARTICLE& p : particles) {
      if (p.node) ShowNode(p.node, 0);
      p.node = 0;
    }
  }
  if (templateBillboard) ShowNode(templateBillboard, flag);
  A_Model::SetVisible(flag);
}

int A_Particle::LiveParticles() const {
  int live = 0;
  for (const PARTICLE& p : particles) live += p.node != 0;
  return live;
}

void A_Particle::StepState(HOBJECT target, HOBJECT billboard, PARTICLESTATE* s) {
  SetNodePosition(target, s->velocity.x, -s->velocity.z, s->velocity.y, TRANSFORM_LOCAL);
  if (s->spin.z != 0) RotateNode(target, 1, s->spin.z * kRadiansToDegrees, TRANSFORM_LOCAL);
  if (s->spin.x != 0) RotateNode(target, 0, s->spin.x * kRadiansToDegrees, TRANSFORM_LOCAL);
  if (s->spin.y != 0) RotateNode(target, 2, s->spin.y * kRadiansToDegrees, TRANSFORM_LOCAL);
  s->velocity = {s->velocity.x - s->velocityDecay.x, s->velocity.y - s->velocityDecay.y,
                 s->velocity.z - s->velocityDecay.z};
  s->spin = {s->spin.x - s->spinDecay.x, s->spin.y - s->spinDecay.y, s->spin.z - s->spinDecay.z};
  AdvanceBillboardFrame(billboard, 1, 1);
}

int A_Particle::Update(int n) {
  if (!visible || paused) return 0;
  if (descriptor) {
    PARTICLEEMITTERDESC& d = *descriptor;
    int freeSlot = -1;
    int live = 0;
    for (size_t i = 0; i < particles.size(); ++i) {
      PARTICLE& p = particles[i];
      if (p.node) {
        ++p.age;
        if (p.age < d.lifetime) {
          StepState(p.node, p.node, &p.state);
          ++live;
          continue;
        }
        ShowNode(p.node, 0);
        p.node = 0;
      }
      freeSlot = static_cast<int>(i);
    }
    if (d.emissions != 0) {
      if (freeSlot < 0 || !pool[freeSlot]) {
        StepState(node, templateBillboard, &d.emitter);
      } else {
        PARTICLE& p = particles[freeSlot];
        p.node = pool[freeSlot];
        ShowNode(p.node, 1);
        p.age = 0;
        p.state = d.particle;
        ++live;
        GetPosition(&lastPosition);
        StepState(node, templateBillboard, &d.emitter);
        VECTOR3 position;
        GetPosition(&position);
        VECTOR3 moved{lastPosition.x - position.x, lastPosition.y - position.y, lastPosition.z - position.z};
        if (d.spread != 0 && DotVector3(&moved, &moved) > 0.00001f) {
          VECTOR3 along = moved;
          NormalizeVector3(&along);
          VECTOR3 side{along.z, 0, -along.x};
          VECTOR3 other;
          CrossVector3(&other, &along, &side);
          const int s = d.spread < 0 ? -d.spread : d.spread;
          float r[2];
          for (float& value : r) {
            const int first = plat::Rand() % s;
            value = static_cast<float>(first - plat::Rand() % s);
          }
          const float r1 = r[0], r2 = r[1];
          position = {position.x + r1 * side.x + r2 * other.x, position.y + r1 * side.y + r2 * other.y,
                      position.z + r1 * side.z + r2 * other.z};
        }
        lastPosition = position;
        VECTOR3 at;
        GetNodeWorldVectors(p.node, &at, nullptr, nullptr);
        SetNodePosition(p.node, position.x - at.x, position.z - at.y, position.y - at.z, TRANSFORM_PARENT);
        SetBillboardFrame(p.node, 0);
      }
      if (d.emissions != -1) --d.emissions;
    }
    if (d.emissions == 0 && live == 0) SetVisible(0);
  }
  return A_Model::Update(n);
}

std::unique_ptr<A_Particle> BuildParticle(const efc::EFCPARTICLEDESC& b) {
  auto particle = std::make_unique<A_Particle>();
  particle->CreateBillboards(b.templateTexture.c_str(), b.templateFrames, b.templateWidth, b.templateHeight);
  if (!b.particleTexture.empty() && b.particleFrames != 0)
    particle->CreateParticleSprite(b.particleTexture.c_str(), b.particleFrames, b.particleWidth, b.particleHeight);
  else particle->CopyTemplateSprite();
  PARTICLEEMITTERDESC d;
  d.emitter.velocity = {b.speed, b.speed, b.speed};
  d.emitter.spin = b.spin;
  d.emissions = -1;
  d.poolSize = b.poolSize;
  // Only the integer part counts; out-of-range values mean no jitter.
  d.spread = std::fabs(b.spread) < 1e6f ? static_cast<int>(b.spread) : 0;
  d.lifetime = b.lifetime;
  particle->SetEmitter(d);
  return particle;
}
