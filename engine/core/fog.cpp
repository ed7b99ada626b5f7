#include "engine/core/fog.h"

#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/render_services.h"
#include "engine/core/world.h"

namespace {

// Fog changes show at once in the default viewport.
void ApplyWorldFog() {
  if (g_gameWorld) ApplyFog(g_gameWorld->defaultViewport, g_gameWorld->fogEnabled);
}

}  // namespace

void SetAmbientLight(float red, float green, float blue) {
  if (!g_engineOpen || !g_gameWorld) return;
  g_gameWorld->ambientRed = red;
  g_gameWorld->ambientGreen = green;
  g_gameWorld->ambientBlue = blue;
  if (g_useDirect3D) SetDeviceAmbient(red, green, blue);
  else SetSoftAmbient(red, green, blue);
}

void SetFogRange(float start, float end) {
  if (!g_engineOpen || !g_gameWorld) return;
  g_gameWorld->fogStart = start;
  g_gameWorld->fogEnd = end;
  ApplyWorldFog();
}

void SetFogColor(float red, float green, float blue) {
  if (!g_engineOpen || !g_gameWorld) return;
  g_gameWorld->fogColor[0] = red;
  g_gameWorld->fogColor[1] = green;
  g_gameWorld->fogColor[2] = blue;
  ApplyWorldFog();
}

void SetFogDensity(float density) {
  if (!g_engineOpen || !g_gameWorld) return;
  g_gameWorld->fogDensity = density;
  ApplyWorldFog();
}

void EnableFog(int on) {
  if (g_engineOpen && g_gameWorld) g_gameWorld->fogEnabled = on;
}
