#include <cmath>

#include "components/effect_math.h"
#include "components/efficacy.h"
#include "components/efficacy_texture_directory.h"
#include "engine/core/node_transforms.h"

using efc::EFCELEMENTDESC;

void CEfficacy::Place() {
  if (!owner) return;
  PlacePass(false);
  PlacePass(true);
  PlaceCameras();
}

void CEfficacy::RefreshAnchors(RECORD<efc::EFCTRACTIONRECORD, A_TractionEfficacy>& record) {
  const EFCELEMENTDESC& h = record.data.header;
  ModelVirtualClass* target = FindTarget(h.target);
  if (!target) return;
  VECTOR3 a{0, 0, 0}, b{0, 0, 0};
  target->GetTransform(target->GetNode(h.part.c_str()), &a, nullptr, nullptr);
  target->GetTransform(target->GetNode(h.secondPart.c_str()), &b, nullptr, nullptr);
  record.data.trail.anchorA = a;
  record.data.trail.anchorB = b;
  record.element->SetAnchors(a, b);
}

void CEfficacy::PlacePass(bool targetsElements) {
  auto inPass = [&](const EFCELEMENTDESC& h) { return (!h.target.empty() && h.target[0] == '#') == targetsElements; };
  MATRIX44 identity;
  effectmath::IdentityMatrix(&identity);
  for (auto& r : sectionals) {
    if (!inPass(r.data.header)) continue;
    ModelVirtualClass* e = r.element.get();
    e->Scale(1, 1, 1, TRANSFORM_SET);
    e->SetAxes(identity, TRANSFORM_SET);
    e->SetMaterialColour(4, 1, 1, 1);
    e->SetMaterialColour(3, 1, 1, 1);
    r.data.header.scale = {1, 1, 1};
    PlaceElement(e, r.data.header);
  }
  {
    EfficacyTextureDirectory effectTextures;
    for (auto& r : tractions) {
      if (!inPass(r.data.header)) continue;
      r.element->SetMaterialColour(4, 1, 1, 1);
      r.data.header.scale = {1, 1, 1};
      RefreshAnchors(r);
      r.element->Setup(r.data.trail);
      r.element->Start(-1, 0);
    }
  }
  for (auto& r : particles)
    if (inPass(r.data.header)) PlaceElement(r.element.get(), r.data.header);
  for (auto& r : lights)
    if (inPass(r.data.header)) PlaceElement(r.element.get(), r.data.header);
  for (auto& r : creatures) {
    if (!inPass(r.data.header)) continue;
    r.element->SetMaterialColour(4, 1, 1, 1);
    r.data.header.scale = {1, 1, 1};
    r.element->PlayPose(0, -1, -1, 0);
    PlaceElement(r.element.get(), r.data.header);
  }
  for (auto& r : lights) {
    r.element->SetIntensity(1.0f);
    r.element->SetColor(1, 1, 1);
  }
}

void CEfficacy::PlaceCameras() {
  VECTOR3 p, f{0, 0, -1};
  owner->GetPosition(&p);
  owner->GetTransform(owner->GetNode(nullptr), nullptr, &f, nullptr);
  float length = std::sqrt(f.x * f.x + f.z * f.z);
  float theta = 0;
  if (length > 1e-6f) {
    float hx = f.x / length, hz = f.z / length;
    theta = std::acos(std::fmax(-1.0f, std::fmin(1.0f, -hz)));
    if (!(hx > 0)) theta = -theta;
  }
  MATRIX44 r;
  effectmath::RotationY(&r, theta);
  auto turned = [&](const VECTOR3& v) { return effectmath::TransformPoint(v, r); };
  for (CAMERARECORD& record : cameras) {
    PlaceElement(record.element.get(), record.data.header);
    for (size_t i = 0; i < record.data.keys.size(); ++i) {
      efc::EFCCAMERAKEYDESC& k = record.data.keys[i];
      const CAMERAORIGINAL& o = record.originals[i];
      k.target = turned(o.target);
      k.eye = turned(o.eye);
      k.movement = turned(o.movement);
      k.orbitAxis = turned(o.orbitAxis);
      k.target = {k.target.x + p.x, k.target.y + p.y, k.target.z + p.z};
      k.eye = {k.eye.x + p.x, k.eye.y + p.y, k.eye.z + p.z};
      record.followed[i] = k.followedPart.empty() ? 0 : owner->GetNode(k.followedPart.c_str());
    }
  }
}

void CEfficacy::PlaceElement(ModelVirtualClass* e, const EFCELEMENTDESC& h) {
  e->SetParentNode(0);
  e->Rotate(1, h.angles.y, TRANSFORM_SET);
  e->Rotate(0, h.angles.x, TRANSFORM_LOCAL);
  e->Rotate(2, h.angles.z, TRANSFORM_LOCAL);
  e->MoveTo(h.position.x, h.position.y, h.position.z);
  e->SetViewCamera(cameraNode);
  ModelVirtualClass* target = FindTarget(h.target);
  if (!target) return;
  if (h.placement == efc::kAttach) e->SetParentNode(target->GetNode(h.part.c_str()));
  else if (h.placement == efc::kAim) AimElement(e, target, h, false);
}

void CEfficacy::AimElement(ModelVirtualClass* e, ModelVirtualClass* target, const EFCELEMENTDESC& h, bool reset) {
  if (reset) {
    MATRIX44 identity;
    effectmath::IdentityMatrix(&identity);
    e->SetAxes(identity, TRANSFORM_SET);
    e->Rotate(1, h.angles.y, TRANSFORM_SET);
    e->Rotate(0, h.angles.x, TRANSFORM_LOCAL);
    e->Rotate(2, h.angles.z, TRANSFORM_LOCAL);
    e->MoveTo(h.position.x, h.position.y, h.position.z);
  }
  const efc::EFCAIMDESC& aim = h.aim;
  VECTOR3 f{0, 0, 0}, u{0, 0, 0};
  target->GetTransform(target->GetNode(aim.directionPart.c_str()), nullptr, &f, &u);
  VECTOR3 d = f;
  // Two or three flags take the forward axis as read.
  if ((aim.flattenX != 0) + (aim.flattenY != 0) + (aim.useUp != 0) <= 1) {
    if (aim.flattenX) d = {0, f.y, f.z};
    else if (aim.flattenY) d = {f.x, 0, f.z};
    else if (aim.useUp) d = {u.x, u.y, 0};
    else d = {0, 0, -1};
    NormalizeVector3(&d);
  }
  const VECTOR3 a = aim.useUp ? VECTOR3{0, 1, 0} : VECTOR3{0, 0, -1};
  const VECTOR3 b = aim.useUp ? VECTOR3{0, 0, -1} : VECTOR3{0, 1, 0};
  MATRIX44 m;
  effectmath::RotationBetween(a, d, b, &m);
  VECTOR3 p{0, 0, 0};
  target->GetTransform(target->GetNode(aim.positionPart.c_str()), &p, nullptr, nullptr);
  if (!aim.keepX) p.x = 0;
  if (!aim.keepY) p.y = 0;
  if (!aim.keepZ) p.z = 0;
  e->SetAxes(m, TRANSFORM_PARENT);
  e->Translate(p.x, p.y, p.z, TRANSFORM_PARENT);
}
