#include "engine/core/nodes.h"

#include "engine/core/engine_state.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"

NODEDESC* g_nodeUnderConstruction = nullptr;

namespace {

template <typename T>
void ReleaseKindData(void* data) {
  T* record = static_cast<T*>(data);
  if (--record->refCount <= 0) delete record;
}

}  // namespace

// MINIMAL: the scene-graph layer is not built yet; this frees a node with its
// camera or billboard kind data and detaches it from the viewports, nothing more.
void DestroyNode(HOBJECT handle) {
  if (!g_engineOpen || handle == 0) return;
  NODEDESC* node = LookupNode(handle);
  if (!node) return;
  for (uint32_t i = 0; i < g_viewportPool.mark; ++i)
    if (VIEWPORTDESC* v = g_viewportPool.slots[i]; v && v->camera == node) v->camera = nullptr;
  if (node->kindData) {
    if (node->kind == NODE_CAMERA) ReleaseKindData<CAMERADESC>(node->kindData);
    if (node->kind == NODE_BILLBOARD) ReleaseKindData<BILLBOARDDESC>(node->kindData);
  }
  g_nodePool.Free(static_cast<uint32_t>(node->index));
  delete node;
}
