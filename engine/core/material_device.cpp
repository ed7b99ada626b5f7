#include "engine/core/material_device.h"

#include <algorithm>

#include "engine/core/device_setup.h"
#include "engine/core/materials.h"
#include "engine/core/pixel_format.h"
#include "engine/core/vertex_colors.h"
#include "engine/core/world.h"

namespace {

void SetColor(float* to, const float* from, float alpha) {
  std::copy(from, from + 3, to);
  to[3] = alpha;
}

// The description and packed colour from the material's colours, at full alpha.
void Fill(DEVICEMATERIALDESC* d, const MATERIALDESC* m) {
  SetColor(d->description.diffuse, m->diffuse, 1.0f);
  SetColor(d->description.ambient, m->ambient, 1.0f);
  SetColor(d->description.specular, m->specular, 1.0f);
  SetColor(d->description.emissive, m->emissive, 1.0f);
  d->description.power = m->power;
  d->alpha = 255;
  d->packedDiffuse = PackColor(m->diffuse[0], m->diffuse[1], m->diffuse[2], 1.0f);
  d->material->Set(d->description);
}

float Largest(const float* c) { return std::max({c[0], c[1], c[2]}); }

}  // namespace

bool CreateDeviceMaterial(MATERIALDESC* m) {
  if (!g_gameWorld || !g_gameWorld->direct3D) return false;
  auto d = std::make_unique<DEVICEMATERIALDESC>();
  d->material = g_gameWorld->direct3D->CreateMaterial();
  if (!d->material) return false;
  Fill(d.get(), m);
  m->deviceMaterial = std::move(d);
  return true;
}

void CreateSoftwareMaterial(MATERIALDESC* m) {
  auto s = std::make_unique<SOFTMATERIALDESC>();
  s->ambientMax = Largest(m->ambient);
  s->diffuseMax = Largest(m->diffuse);
  s->specularMax = Largest(m->specular);
  for (int i = 0; i < 256; ++i) {
    int channel[3];
    for (int k = 0; k < 3; ++k)
      channel[k] = static_cast<int>(ColorByte(m->diffuse[k] * static_cast<float>(i) / 255.0f));
    s->ramp[i] = static_cast<uint16_t>(PackScreenPixel(channel[0], channel[1], channel[2]));
  }
  s->packedDiffuse =
      PackScreenPixel(static_cast<int>(ColorByte(m->diffuse[0])), static_cast<int>(ColorByte(m->diffuse[1])),
                      static_cast<int>(ColorByte(m->diffuse[2])));
  m->softMaterial = std::move(s);
}

void ReleaseDeviceMaterial(MATERIALDESC* m) { m->deviceMaterial.reset(); }

void FreeSoftMaterial(MATERIALDESC* m) { m->softMaterial.reset(); }

void UpdateDeviceMaterial(MATERIALDESC* m) {
  if (!m) return;
  if (g_useDirect3D) {
    if (m->deviceMaterial) Fill(m->deviceMaterial.get(), m);
    else CreateDeviceMaterial(m);
  } else {
    CreateSoftwareMaterial(m);
  }
}
