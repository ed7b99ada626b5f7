#include <algorithm>
#include <cmath>

#include "components/effect_math.h"
#include "components/efficacy.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/sound_table.h"
#include "platform/crt.h"

using efc::EFCELEMENTDESC;

namespace {

VECTOR3 Add(const VECTOR3& a, const VECTOR3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
bool NonZero(const VECTOR3& v) { return v.x != 0 || v.y != 0 || v.z != 0; }

struct BLENDMODE {
  int source, destination;
  float opacity;
};
constexpr BLENDMODE kBlendModes[5] = {{5, 6, 1.0f}, {5, 6, 0.5f}, {2, 2, 0.999f}, {3, 2, 0.999f}, {1, 4, 0.999f}};

}  // namespace

template <class Key>
int CEfficacy::FindKey(ModelVirtualClass* e, const std::vector<Key>& keys, const EFCELEMENTDESC& h) {
  if (keys.empty()) return -1;
  int current = static_cast<int>(keys.size()) - 1;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].frame > currentFrame) {
      if (i == 0) return -1;
      current = static_cast<int>(i) - 1;
      break;
    }
    if (keys[i].frame == currentFrame) {
      current = static_cast<int>(i);
      if (keys[i].hidden) e->SetVisible(0);
      else if (!e->IsVisible()) e->SetVisible(1);
      break;
    }
  }
  if (!e->IsVisible()) return -1;
  ModelVirtualClass* target = FindTarget(h.target);
  if (keys[current].attached && target) {
    if (h.placement == efc::kAim) {
      AimElement(e, target, h, true);
    } else {
      HOBJECT parent = target->GetNode(h.part.c_str());
      if (parent != e->GetParentNode()) e->SetParentNode(parent);
    }
  } else if (e->GetParentNode()) {
    MATRIX44 world;
    VECTOR3 p;
    e->GetMatrix(&world, 2);
    e->GetPosition(&p);
    e->SetParentNode(0);
    e->SetAxes(world, TRANSFORM_SET);
    e->MoveTo(p.x, p.y, p.z);
  }
  return current;
}

int CEfficacy::Update(int) {
  if (!playing || frameCount == 0) return 0;
  int result = 1;
  if (currentFrame >= frameCount - 1) {
    if (!loop) {
      Unload();
      return 0;
    }
    Place();
    currentFrame = 0;
    result = 0;
  }
  for (auto& r : sectionals) {
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyRibbonKey(r.element.get(), &r.data.header.scale, r.data.keys[k]);
    r.element->Update(0);
  }
  for (auto& r : tractions) {
    RefreshAnchors(r);
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyRibbonKey(r.element.get(), &r.data.header.scale, r.data.keys[k]);
    r.element->Update(0);
  }
  for (auto& r : particles) {
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyParticleKey(r.element.get(), r.data.keys[k]);
    r.element->Update(0);
  }
  for (auto& r : lights) {
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyLightKey(r.element.get(), r.data.keys[k]);
    r.element->Update(0);
  }
  for (auto& r : cameras) {
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyCameraKey(r.element.get(), r.data.keys[k], r.followed[k]);
    r.element->Update(0);
  }
  for (auto& r : creatures) {
    int k = FindKey(r.element.get(), r.data.keys, r.data.header);
    if (k >= 0) ApplyCreatureKey(r.element.get(), &r.data.header.scale, r.data.keys[k]);
    r.element->Update(0);
  }
  for (const SOUNDRECORD& r : sounds) PlaySoundCues(r);
  ++currentFrame;
  return result;
}

void CEfficacy::ApplyBlend(ModelVirtualClass* e, int mode) {
  if (mode < 1 || mode > 5) return;
  const BLENDMODE& b = kBlendModes[mode - 1];
  e->SetBlendStates(NRS_SOURCE_BLEND, b.source, NRS_DEST_BLEND, b.destination, b.opacity);
}

void CEfficacy::MoveFree(ModelVirtualClass* e, HOBJECT node, float speed, const VECTOR3& spin) {
  if (speed != 0) {
    VECTOR3 forward{0, 0, 0};
    e->GetTransform(node, nullptr, &forward, nullptr);
    e->Translate(speed * forward.x, speed * forward.y, speed * forward.z, TRANSFORM_PARENT);
  }
  if (spin.y != 0) e->Rotate(1, spin.y, TRANSFORM_LOCAL);
  if (spin.x != 0) e->Rotate(0, spin.x, TRANSFORM_LOCAL);
  if (spin.z != 0) e->Rotate(2, spin.z, TRANSFORM_LOCAL);
}

void CEfficacy::ApplyRibbonKey(ModelVirtualClass* e, VECTOR3* scale, const efc::EFCRIBBONKEYDESC& k) {
  const bool onKeyFrame = currentFrame == k.frame;
  if (!k.attached) MoveFree(e, 0, k.speed, k.spin);
  if (NonZero(k.scale)) {
    *scale = Add(*scale, k.scale);
    e->Scale(scale->x, scale->y, scale->z, TRANSFORM_SET);
  }
  if (k.scrollU != 0 || k.scrollV != 0) e->ScrollTexture(k.scrollU, k.scrollV);
  if (onKeyFrame && k.setColours)
    for (int kind = 1; kind <= 4; ++kind)
      e->SetMaterialColour(kind, k.colours[kind - 1].x, k.colours[kind - 1].y, k.colours[kind - 1].z);
  if (k.changeColours) {
    VECTOR3 c[4];  // diffuse, specular, ambient, emissive: the order of the kinds
    e->GetMaterialColours(&c[2].x, &c[0].x, &c[1].x, &c[3].x);
    for (int kind = 1; kind <= 4; ++kind) {
      VECTOR3 v = Add(c[kind - 1], k.changes[kind - 1]);
      e->SetMaterialColour(kind, v.x, v.y, v.z);
    }
  }
  if (onKeyFrame) ApplyBlend(e, k.blend);
}

void CEfficacy::ApplyParticleKey(A_Particle* e, const efc::EFCPARTICLEKEYDESC& k) {
  const bool onKeyFrame = currentFrame == k.frame;
  if (onKeyFrame) {
    ApplyBlend(e, k.blend);
    e->SetVelocity(k.velocity.x, k.velocity.y, k.velocity.z);
    e->SetSpread(k.spread);
    e->SetEmissions(k.emissions);
    e->SetSpin(k.spin.x, k.spin.y, k.spin.z);
    if (k.setColour)
      for (int kind = 1; kind <= 4; ++kind) e->SetMaterialColour(kind, k.colour.x, k.colour.y, k.colour.z);
  }
  if (k.changeColours) {
    VECTOR3 c[4];
    e->GetMaterialColours(&c[2].x, &c[0].x, &c[1].x, &c[3].x);
    for (int kind = 1; kind <= 4; ++kind) {
      VECTOR3 v = Add(c[kind - 1], k.change);
      e->SetMaterialColour(kind, v.x, v.y, v.z);
    }
  }
}

void CEfficacy::ApplyLightKey(A_LightingModel* e, const efc::EFCLIGHTKEYDESC& k) {
  if (currentFrame == k.frame && k.setColour) e->SetColor(k.colour.x, k.colour.y, k.colour.z);
  if (k.flicker) {
    float width = k.flickerMax - k.flickerMin;
    int span = width > 0 && width < 1e6f ? static_cast<int>(width) : 0;
    float percent = k.flickerMin;
    if (span > 0) percent += static_cast<float>((plat::Rand() & 0xFFF) % span);
    e->SetIntensity(percent * 0.01f);
  }
  if (k.changeColour) {
    float r, g, b;
    e->GetColor(&r, &g, &b);
    e->SetColor(r + k.change.x, g + k.change.y, b + k.change.z);
  }
  if (k.changeIntensity) e->SetIntensity(std::clamp(e->GetIntensity() + k.intensityChange, 0.0f, 1.0f));
}

void CEfficacy::ApplyCameraKey(A_Camera* e, efc::EFCCAMERAKEYDESC& k, HOBJECT followed) {
  VECTOR3 q{0, 0, 0};
  if (followed) {
    GetNodeWorldVectors(followed, &q, nullptr, nullptr);
    effectmath::SwapYZ(&q);
  }
  if (currentFrame == k.frame) {
    if (k.look) e->LookAt(k.eye.x, k.eye.y, k.eye.z, k.target.x, k.target.y, k.target.z, 0);
    k.workingAxis = k.orbitAxis;
    if (followed) k.lastFollowed = q;
  }
  if (k.follow) {
    e->Translate(q.x - k.lastFollowed.x, q.y - k.lastFollowed.y, q.z - k.lastFollowed.z, TRANSFORM_PARENT);
    k.lastFollowed = q;
  }
  // A key that ends on its own frame has no steps.
  const int span = k.endFrame - k.frame;
  const float a = span ? k.angleA / static_cast<float>(span) : 0;
  const float b = span ? k.angleB / static_cast<float>(span) : 0;
  const VECTOR3 m = span ? VECTOR3{k.movement.x / span, k.movement.y / span, k.movement.z / span} : VECTOR3{0, 0, 0};
  auto orbit = [&](const MATRIX44& turn) {
    VECTOR3 p;
    e->GetPosition(&p);
    VECTOR3 moved = effectmath::TransformPoint({p.x - q.x, p.y - q.y, p.z - q.z}, turn);
    e->MoveTo(q.x + moved.x, q.y + moved.y, q.z + moved.z);
    e->LookAtFromHere(q.x, q.y, q.z);
  };
  if (a != 0) {
    if (followed) {
      const VECTOR3& w = k.workingAxis;
      QUATERNION turn{std::cos(a), std::sin(a) * w.x, std::sin(a) * w.y, std::sin(a) * w.z};
      MATRIX34 rows;
      QuaternionToMatrix34(&turn, &rows);
      orbit(effectmath::Matrix44(rows));
    } else {
      MATRIX44 turn;
      effectmath::RotationX(&turn, a);
      e->SetAxes(turn, TRANSFORM_LOCAL);
    }
  }
  if (b != 0) {
    if (followed) {
      MATRIX44 turn;
      effectmath::RotationY(&turn, b);
      orbit(turn);
      k.workingAxis = effectmath::TransformPoint(k.workingAxis, turn);
    } else {
      VECTOR3 p;
      e->GetPosition(&p);
      MATRIX44 turn;
      effectmath::RotationZ(&turn, b);
      e->MoveTo(0, 0, 0);
      e->SetAxes(turn, TRANSFORM_PARENT);
      e->MoveTo(p.x, p.y, p.z);
    }
  }
  if (NonZero(m)) e->Translate(m.x, m.y, m.z, TRANSFORM_PARENT);
  if (a == 0 && b == 0 && followed) e->LookAtFromHere(q.x, q.y, q.z);
}

void CEfficacy::ApplyCreatureKey(A_MCObject* e, VECTOR3* scale, const efc::EFCCREATUREKEYDESC& k) {
  if (!k.attached) MoveFree(e, e->GetNode(nullptr), k.speed, k.spin);
  if (NonZero(k.scale)) {
    *scale = Add(*scale, k.scale);
    e->Scale(scale->x, scale->y, scale->z, TRANSFORM_SET);
  }
  if (currentFrame == k.frame && k.setBrightness) e->SetBrightness(k.brightness);
  if (k.changeBrightness) e->AddBrightness(k.brightnessChange);
}

void CEfficacy::PlaySoundCues(const SOUNDRECORD& r) {
  for (const efc::EFCSOUNDCUEDESC& cue : r.data.cues) {
    if (cue.frame != currentFrame) continue;
    if (cue.flags & 0x11) StopSound(r.sound);
    if (cue.flags & 4) PauseSound(r.sound);
    if (cue.flags & 2) StartSound(r.sound, (cue.flags & 8) ? 1 : 0);
    return;
  }
}
