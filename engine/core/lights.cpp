#include "engine/core/lights.h"

#include <cmath>

#include "engine/core/device_setup.h"
#include "engine/core/nodes.h"

namespace {

LIGHTDESC* LightData(HOBJECT handle) {
  NODEDESC* node = LookupNodeOfKind(handle, NODE_LIGHT);
  return node ? static_cast<LIGHTDESC*>(node->kindData) : nullptr;
}

}  // namespace

HOBJECT CreateLightNode(HOBJECT parent, int type, float intensity, const float* color) {
  if (g_nodeUnderConstruction) return 0;
  BeginNode(NODE_LIGHT);
  if (!g_nodeUnderConstruction) return 0;
  SetLightType(0, type);
  SetLightIntensity(0, intensity);
  if (color) SetLightColor(0, color[0], color[1], color[2]);
  SetLightRange(0, 3000);
  return EndNode(parent);
}

void SetLightType(HOBJECT handle, int type) {
  if (LIGHTDESC* light = LightData(handle)) light->type = type;
}

void SetLightIntensity(HOBJECT handle, float intensity) {
  if (LIGHTDESC* light = LightData(handle)) light->intensity = intensity;
}

void SetLightColor(HOBJECT handle, float red, float green, float blue) {
  if (LIGHTDESC* light = LightData(handle)) {
    light->color[0] = red;
    light->color[1] = green;
    light->color[2] = blue;
  }
}

void SetLightRange(HOBJECT handle, float range) {
  if (LIGHTDESC* light = LightData(handle)) light->range = range;
}

void GetLightProperties(HOBJECT handle, float* intensity, float* color, float* range) {
  LIGHTDESC* light = LightData(handle);
  if (!light) return;
  if (intensity) *intensity = light->intensity;
  if (color) {
    color[0] = light->color[0];
    color[1] = light->color[1];
    color[2] = light->color[2];
  }
  if (range) *range = light->range;
}

void SetSpotlightCone(HOBJECT handle, float innerDegrees, float outerDegrees, float falloff) {
  LIGHTDESC* light = LightData(handle);
  if (!light) return;
  if (g_useDirect3D) {
    light->innerCone = innerDegrees;
    light->outerCone = outerDegrees;
  } else {
    light->innerCone = std::cos(innerDegrees * kDegreesToHalfRadians);
    light->outerCone = std::cos(outerDegrees * kDegreesToHalfRadians);
  }
  light->falloff = falloff;
}
