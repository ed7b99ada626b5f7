#include "engine/core/engine_queries.h"

#include "engine/core/back_buffer.h"
#include "engine/core/composites.h"
#include "engine/core/device_setup.h"
#include "engine/core/engine_state.h"
#include "engine/core/engine_window.h"
#include "engine/core/frame_statistics.h"
#include "engine/core/frame_timers.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/window_proc.h"
#include "engine/core/world.h"
#include "engine/media/screen.h"
#include "engine/media/sprites.h"
#include "platform/display.h"

int g_lineDoubling = 0;
int g_cdAudioEnabled = 1;

void EnableInputLanguageHook(int on) { g_inputLanguageHookEnabled = on; }

plat::WindowHandle GetMainWindow() { return g_mainWindow; }

int HasSse() { return g_hasSse; }
int HasSse2() { return g_hasSse2; }

void SetLineDoubling(int on, int) {
  on = on ? 1 : 0;
  if (g_useDirect3D) {
    g_lineDoubling = on;
    return;
  }
  int previous = g_lineDoubling;
  // The cleared screen is shown at full height.
  g_lineDoubling = 0;
  if (g_gameWorld) {
    ClearScreenRect(0, 0, g_gameWorld->width, g_gameWorld->height);
    FlipScreen();
  }
  g_lineDoubling = on;
  if (on == previous) return;
  for (uint32_t i = 0; i < g_viewportPool.mark; ++i) {
    VIEWPORTDESC* v = g_viewportPool.slots[i];
    if (!v) continue;
    if (on) {
      v->y /= 2;
      v->height /= 2;
    } else {
      v->y *= 2;
      v->height *= 2;
    }
    size_t entries =
        static_cast<size_t>(v->width > 0 ? v->width : 0) * static_cast<size_t>(v->height > 0 ? v->height : 0);
    v->depthBuffer.assign(entries, 0);
  }
}

int GetPixelFormatCode() {
  if (g_screenDepth <= 8) return 0;
  if (g_screenDepth > 16) return 6;
  return g_screenPixelFormat;
}

HOBJECT GetCurrentCamera() {
  if (!g_gameWorld || !g_gameWorld->defaultViewport) return 0;
  return NodeHandle(g_gameWorld->defaultViewport->camera);
}

float GetCameraFieldOfView(HOBJECT handle) {
  if (!g_engineOpen) return -1.0f;
  NODEDESC* node = LookupNode(handle);
  if (!node || node->kind != NODE_CAMERA || !node->kindData) return -1.0f;
  return static_cast<CAMERADESC*>(node->kindData)->fieldOfView;
}

void GetFrameStatistics(int* triangles, int* primitives, int* vertices) {
  if (triangles) *triangles = g_frameStatistics.trianglesDrawn;
  if (primitives) *primitives = g_frameStatistics.primitivesSubmitted;
  if (vertices) *vertices = g_frameStatistics.verticesTransformed;
}

HOBJECT GetBillboardMaterial(HOBJECT handle) {
  if (!g_engineOpen || !g_gameWorld) return 0;
  NODEDESC* node = LookupNode(handle);
  // Only billboards carry a material of their own; other kinds answer none.
  if (!node || node->kind != NODE_BILLBOARD || !node->kindData) return 0;
  int material = static_cast<BILLBOARDDESC*>(node->kindData)->materialIndex;
  return material < 0 ? 0 : MakeHandle(OBJTYPE_MATERIAL, static_cast<uint32_t>(material));
}

void SetDoubleClickAsPress(int on) { g_doubleClickAsPress = on; }

void EnableCDAudio(int on) { g_cdAudioEnabled = on; }

int GetSpriteLockPitch() { return g_spriteLockPitch; }

uint32_t GetFreeTextureMemory() {
  if (!g_engineOpen || !g_gameWorld || !g_gameWorld->displayDevice) return 0;
  return g_gameWorld->displayDevice->FreeTextureMemory();
}

void MarkNodeTime(HOBJECT handle) {
  if (!g_engineOpen) return;
  if (NODEDESC* node = LookupNode(handle)) node->markTime = GetCounterNow();
}

double GetNodeElapsedTime(HOBJECT handle) {
  if (!g_engineOpen) return 0;
  NODEDESC* node = LookupNode(handle);
  return node ? GetElapsedSeconds(node->markTime) : 0;
}

void ShowComposite(HOBJECT handle, int visible) {
  if (!g_engineOpen) return;
  COMPOSITEDESC* composite = LookupComposite(handle);
  if (!composite) return;
  if (composite->root) composite->root->visible = visible;
  for (COMPOSITEPARTDESC& part : composite->parts)
    if (part.node) part.node->visible = visible;
  composite->visible = visible;
}

void GetCompositeWorldVectors(HOBJECT handle, VECTOR3* position, VECTOR3* direction) {
  if (!g_engineOpen) return;
  COMPOSITEDESC* composite = LookupComposite(handle);
  if (!composite) return;
  MATRIX34 world;
  SetIdentityMatrix34(&world);
  for (NODEDESC* node = composite->root; node; node = node->parent) MultiplyMatrix34(&world, &world, &node->local);
  if (position) *position = world.row[3];
  if (direction) {
    *direction = {-world.row[1].x, -world.row[1].y, -world.row[1].z};
    NormalizeVector3(direction);
  }
}
