#include "engine/core/picking_view.h"

#include "engine/core/device_setup.h"
#include "engine/core/engine_queries.h"
#include "engine/core/engine_state.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"

bool BeginViewQuery(HOBJECT viewport, VIEWQUERY* query) {
  if (!g_engineOpen || !g_gameWorld) return false;
  VIEWPORTDESC* v = LookupViewport(viewport);
  if (!v || v->width <= 0 || v->height <= 0) return false;
  NODEDESC* camera = v->camera;
  if (!camera || camera->kind != NODE_CAMERA || !camera->kindData) return false;
  query->viewport = v;
  query->camera = camera;
  query->lens = static_cast<const CAMERADESC*>(camera->kindData);
  ComposeNodeWorldMatrix(camera, &query->cameraWorld);
  MATRIX44 world;
  ConvertMatrix34To44(&query->cameraWorld, &world);
  InvertMatrix44(&world, &query->view);
  return true;
}

bool LinesDoubled() { return !g_useDirect3D && g_lineDoubling; }

void TransformPoint4(const VECTOR3* p, const MATRIX44* m, float out[4]) {
  const float* e = m->m;
  for (int c = 0; c < 4; ++c) out[c] = p->x * e[c] + p->y * e[4 + c] + p->z * e[8 + c] + e[12 + c];
}
