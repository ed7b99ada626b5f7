#include "platform/raster/lighting.h"

#include <cmath>

namespace plat::raster {
namespace {

float Dot(const float* a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

// Unit length, or zero for a vector too short to have a direction.
void Normalize(float* v) {
  const float length = std::sqrt(Dot(v, v));
  const float scale = length > 1e-12f ? 1.0f / length : 0.0f;
  for (int i = 0; i < 3; ++i) v[i] *= scale;
}

void TransformPoint(const Vector3& p, const Matrix& m, float* out) {
  for (int i = 0; i < 3; ++i) out[i] = p.x * m.m[i] + p.y * m.m[4 + i] + p.z * m.m[8 + i] + m.m[12 + i];
}

void TransformDirection(const Vector3& d, const Matrix& m, float* out) {
  for (int i = 0; i < 3; ++i) out[i] = d.x * m.m[i] + d.y * m.m[4 + i] + d.z * m.m[8 + i];
  Normalize(out);
}

// Not-a-number comes out as 0.
float Clamp01(float x) { return x > 0.0f ? (x < 1.0f ? x : 1.0f) : 0.0f; }

// Linear to nothing at the range; a distance beyond it (or a range that is
// not a positive number) gets no light.
float Attenuate(float distance, float range) { return distance < range ? 1.0f - distance / range : 0.0f; }

float SpotFactor(const EyeLight& light, const float* toLight) {
  const float rho = -Dot(toLight, light.spotDirection);
  if (rho > light.cosInner) return 1.0f;
  if (rho <= light.cosOuter) return 0.0f;
  const float t = (rho - light.cosOuter) / (light.cosInner - light.cosOuter);
  return light.falloff == 1.0f ? t : std::pow(t, light.falloff);
}

}  // namespace

void PrepareLighting(const Lighting& lighting, const Matrix& view, const Matrix& worldView, bool specular,
                     LightingSetup& out) {
  const Material& m = lighting.material;
  out.base[0] = m.emissive.r + lighting.ambient.r * m.ambient.r;
  out.base[1] = m.emissive.g + lighting.ambient.g * m.ambient.g;
  out.base[2] = m.emissive.b + lighting.ambient.b * m.ambient.b;
  out.diffuse[0] = m.diffuse.r;
  out.diffuse[1] = m.diffuse.g;
  out.diffuse[2] = m.diffuse.b;
  out.alpha = m.diffuse.a;
  out.specular[0] = m.specular.r;
  out.specular[1] = m.specular.g;
  out.specular[2] = m.specular.b;
  out.power = m.power;
  out.specularOn = specular;

  const float origin[3] = {worldView.m[12], worldView.m[13], worldView.m[14]};
  out.lights.clear();
  for (int i = 0; i < lighting.lightCount && lighting.lights; ++i) {
    const Light& src = lighting.lights[i];
    EyeLight l{};
    l.type = src.type;
    l.color[0] = src.color.r;
    l.color[1] = src.color.g;
    l.color[2] = src.color.b;
    TransformPoint(src.position, view, l.position);
    TransformDirection(src.direction, view, l.spotDirection);
    l.range = src.range;
    l.attenuation = 1.0f;
    l.cosInner = std::cos(src.theta * 0.5f);
    l.cosOuter = std::cos(src.phi * 0.5f);
    l.falloff = src.falloff;
    if (src.type == LightType::Directional) {
      for (int k = 0; k < 3; ++k) l.toLight[k] = -l.spotDirection[k];
    } else if (src.type == LightType::ParallelPoint) {
      for (int k = 0; k < 3; ++k) l.toLight[k] = l.position[k] - origin[k];
      l.attenuation = Attenuate(std::sqrt(Dot(l.toLight, l.toLight)), l.range);
      Normalize(l.toLight);
    }
    out.lights.push_back(l);
  }
}

void LightVertex(const LightingSetup& setup, const float position[3], const float normal[3], float* color) {
  float diffuse[3] = {0, 0, 0};
  float specular[3] = {0, 0, 0};
  float toEye[3] = {-position[0], -position[1], -position[2]};
  if (setup.specularOn) Normalize(toEye);
  for (const EyeLight& light : setup.lights) {
    float toLight[3];
    float strength = light.attenuation;
    if (light.type == LightType::Point || light.type == LightType::Spot) {
      for (int k = 0; k < 3; ++k) toLight[k] = light.position[k] - position[k];
      const float distance = std::sqrt(Dot(toLight, toLight));
      strength = Attenuate(distance, light.range);
      if (!(strength > 0.0f)) continue;
      Normalize(toLight);
      if (light.type == LightType::Spot) strength *= SpotFactor(light, toLight);
    } else {
      for (int k = 0; k < 3; ++k) toLight[k] = light.toLight[k];
    }
    const float nDotL = Dot(normal, toLight);
    if (!(nDotL > 0.0f) || !(strength > 0.0f)) continue;
    for (int k = 0; k < 3; ++k) diffuse[k] += light.color[k] * nDotL * strength;
    if (setup.specularOn) {
      float half[3] = {toLight[0] + toEye[0], toLight[1] + toEye[1], toLight[2] + toEye[2]};
      Normalize(half);
      const float nDotH = Dot(normal, half);
      if (nDotH > 0.0f) {
        const float s = std::pow(nDotH, setup.power) * strength;
        for (int k = 0; k < 3; ++k) specular[k] += light.color[k] * s;
      }
    }
  }
  for (int k = 0; k < 3; ++k) {
    color[k] = Clamp01(setup.base[k] + diffuse[k] * setup.diffuse[k]) * 255.0f;
    color[4 + k] = Clamp01(specular[k] * setup.specular[k]) * 255.0f;
  }
  color[3] = Clamp01(setup.alpha) * 255.0f;
}

}  // namespace plat::raster
