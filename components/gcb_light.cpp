#include "components/gcb_light.h"

#include <algorithm>

#include "components/society_ext.h"
#include "engine/core/lights.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"

CGCBLight::CGCBLight(HOBJECT node, int kind) : lightNode(node), lightKind(kind) {
  GetLightProperties(node, &intensity, colour, &range);
}

CGCBLight::~CGCBLight() {
  if (owner) CGCBLight::Detach();
}

int CGCBLight::Update(int /*n*/) { return 1; }

int CGCBLight::Attach(CSociety* society) {
  if (!CGCBase::Attach(society)) return 0;
  auto* scene = dynamic_cast<CSocietyExt*>(society);
  if (scene && scene->RegisterLight(this)) return 1;
  CGCBase::Detach();
  return 0;
}

int CGCBLight::Detach() {
  if (!owner) return 0;
  if (auto* scene = dynamic_cast<CSocietyExt*>(owner)) scene->UnregisterLight(this);
  CGCBase::Detach();
  return 1;
}

void CGCBLight::SetVisible(int visible) {
  if (!lightNode) return;
  ShowNode(lightNode, visible);
  on = visible;
}

int CGCBLight::GetVectors(VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  if (!lightNode) return 0;
  GetNodeWorldVectors(lightNode, position, forward, up);
  return 1;
}

int CGCBLight::SetDirection(const VECTOR3* position, const VECTOR3* direction, const VECTOR3* up) {
  if (!lightNode) return 0;
  SetNodeDirection(lightNode, position, direction, up);
  return 1;
}

int CGCBLight::SetColour(const float* rgb) {
  if (!lightNode || !rgb) return 0;
  SetLightColor(lightNode, rgb[0], rgb[1], rgb[2]);
  std::copy(rgb, rgb + 3, colour);
  return 1;
}

int CGCBLight::SetRange(float value) {
  if (!lightNode) return 0;
  SetLightRange(lightNode, value);
  range = value;
  return 1;
}

int CGCBLight::SetIntensity(float value) {
  if (!lightNode) return 0;
  SetLightIntensity(lightNode, value);
  intensity = value;
  return 1;
}

int CGCBLight::SetKind(int kind) {
  if (!lightNode) return 0;
  SetLightType(lightNode, kind);
  lightKind = kind;
  return 1;
}

int CGCBLight::GetProperties(int* kind, float* rgb, float* rangeOut, float* intensityOut) {
  if (!lightNode) return 0;
  if (kind) *kind = lightKind;
  if (rgb) std::copy(colour, colour + 3, rgb);
  if (rangeOut) *rangeOut = range;
  if (intensityOut) *intensityOut = intensity;
  return 1;
}

VECTOR3 CGCBLight::WorldPosition() const {
  VECTOR3 position{0, 0, 0};
  if (lightNode) GetNodeWorldVectors(lightNode, &position, nullptr, nullptr);
  return position;
}

bool CGCBLight::Reaches(const VECTOR3* point) const {
  const VECTOR3 position = WorldPosition();
  return position.z > point->z && SquaredDistance3(&position, point) <= range * range;
}

float CGCBLight::StrengthAt(const VECTOR3* point) const {
  if (lightKind == LIGHT_DIRECTIONAL) return intensity;
  if (lightKind != LIGHT_POINT && lightKind != LIGHT_SPOT) return 0;
  const VECTOR3 position = WorldPosition();
  return intensity / std::max(SquaredDistance3(&position, point), 0.001f);
}

int CGCBLight::CompareAt(const CGCBLight* other, const VECTOR3* point) const {
  if (!on) return -1;
  if (point && !Reaches(point)) return -1;
  if (!other) return 1;
  if (!point) return intensity > other->intensity ? 1 : 0;
  if (!other->Reaches(point)) return 1;
  return StrengthAt(point) > other->StrengthAt(point) ? 1 : 0;
}
