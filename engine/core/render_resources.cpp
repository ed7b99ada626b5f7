#include "engine/core/render_resources.h"

#include <cstring>
#include <memory>

#include "engine/core/material_device.h"
#include "engine/core/materials.h"

namespace {

std::unique_ptr<MATERIALDESC> g_defaultMaterial;

// Ambient 0.5, diffuse and specular 0.8, power 40, black emissive, untextured.
std::unique_ptr<MATERIALDESC> NewDefaultMaterial() {
  auto m = std::make_unique<MATERIALDESC>();
  for (int k = 0; k < 3; ++k) {
    m->ambient[k] = 0.5f;
    m->diffuse[k] = 0.8f;
    m->specular[k] = 0.8f;
  }
  m->power = 40;
  m->index = -1;
  std::strcpy(m->textureName, "NULL");
  return m;
}

}  // namespace

void CreateBackgroundMaterial() {
  auto m = NewDefaultMaterial();
  if (CreateDeviceMaterial(m.get())) g_defaultMaterial = std::move(m);
}

void ReleaseBackgroundMaterial() { g_defaultMaterial.reset(); }

void CreateSoftDefaultMaterial() {
  g_defaultMaterial = NewDefaultMaterial();
  CreateSoftwareMaterial(g_defaultMaterial.get());
}

void FreeSoftDefaultMaterial() { g_defaultMaterial.reset(); }

MATERIALDESC* DefaultMaterial() { return g_defaultMaterial.get(); }
