#pragma once
#include <vector>

#include "platform/raster/raster_types.h"

// Device lighting of untransformed vertices, done in eye space: emissive +
// ambient x material ambient + for each light its colour x material diffuse x
// max(0, N.L) x attenuation x spot factor, and the specular highlight when
// asked. Attenuation falls linearly from 1 at the light to 0 at its range.
namespace plat::raster {

struct EyeLight {
  LightType type;
  float color[3];
  float position[3];
  float toLight[3];        // directional and parallel point: unit vector towards the light
  float spotDirection[3];  // unit vector the spot shines along
  float range;
  float attenuation;  // parallel point: one value for the whole object
  float cosInner;
  float cosOuter;
  float falloff;
};

struct LightingSetup {
  std::vector<EyeLight> lights;
  float base[3];  // emissive + ambient x material ambient
  float diffuse[3];
  float alpha;
  float specular[3];
  float power;
  bool specularOn;
};

// Brings the lights into the eye space of one draw. worldView places the
// object, whose origin aims the parallel point lights.
void PrepareLighting(const Lighting& lighting, const Matrix& view, const Matrix& worldView, bool specular,
                     LightingSetup& out);

// Eye-space position and unit normal in; out: diffuse r, g, b, a and specular
// r, g, b, all 0..255.
void LightVertex(const LightingSetup& setup, const float position[3], const float normal[3], float* color);

}  // namespace plat::raster
