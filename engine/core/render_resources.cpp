#include "engine/core/render_resources.h"

#include <cstring>
#include <memory>

#include "engine/core/material_device.h"
#include "engine/core/materials.h"

namespace {

// Made at open and freed at close; held by a plain pointer so that leaving
// the program with the engine open destroys nothing at exit.
MATERIALDESC* g_defaultMaterial = nullptr;

void SetDefaultMaterial(std::unique_ptr<MATERIALDESC> m) {
  delete g_defaultMaterial;
  g_defaultMaterial = m.release();
}

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
  if (CreateDeviceMaterial(m.get())) SetDefaultMaterial(std::move(m));
}

void ReleaseBackgroundMaterial() { SetDefaultMaterial(nullptr); }

void CreateSoftDefaultMaterial() {
  auto m = NewDefaultMaterial();
  CreateSoftwareMaterial(m.get());
  SetDefaultMaterial(std::move(m));
}

void FreeSoftDefaultMaterial() { SetDefaultMaterial(nullptr); }

MATERIALDESC* DefaultMaterial() { return g_defaultMaterial; }
