#include "engine/core/pools.h"

#include "engine/core/nodes.h"
#include "engine/core/world.h"

ObjectPool<IMAGEDESC, 2048> g_imagePool;
ObjectPool<NODEDESC, 5120> g_nodePool;
ObjectPool<MATERIALDESC, 5120> g_materialPool;
ObjectPool<VIEWPORTDESC, 16> g_viewportPool;
ObjectPool<COMPOSITEDESC, 256> g_compositePool;
ObjectPool<TERRAINDESC, 24> g_terrainPool;
ObjectPool<WIDGETDESC, 512> g_widgetPool;
ObjectPool<WIDGETWINDOW, 8> g_widgetWindowPool;
ObjectPool<WIDGETPANEL, 16> g_widgetPanelPool;
ObjectPool<COMPOSITE2DESC, 256> g_composite2Pool;

NODEDESC* LookupNode(HOBJECT handle) {
  if (handle == 0) return g_nodeUnderConstruction;
  return g_nodePool.Resolve(handle, OBJTYPE_NODE);
}

VIEWPORTDESC* LookupViewport(HOBJECT handle) {
  if (handle == 0) return g_gameWorld ? g_gameWorld->defaultViewport : nullptr;
  return g_viewportPool.Resolve(handle, OBJTYPE_VIEWPORT);
}

MATERIALDESC* LookupMaterial(HOBJECT handle) { return g_materialPool.Resolve(handle, OBJTYPE_MATERIAL); }
IMAGEDESC* LookupImage(HOBJECT handle) { return g_imagePool.Resolve(handle, OBJTYPE_IMAGE); }
TERRAINDESC* LookupTerrain(HOBJECT handle) { return g_terrainPool.Resolve(handle, OBJTYPE_TERRAIN); }
COMPOSITEDESC* LookupComposite(HOBJECT handle) { return g_compositePool.Resolve(handle, OBJTYPE_COMPOSITE); }
COMPOSITE2DESC* LookupComposite2(HOBJECT handle) { return g_composite2Pool.Resolve(handle, OBJTYPE_COMPOSITE2); }

void ResetPools() {
  g_nodePool.Reset();
  g_nodeUnderConstruction = nullptr;
  g_imagePool.Reset();
  g_materialPool.Reset();
  g_viewportPool.Reset();
  g_widgetPool.Reset();
  g_widgetWindowPool.Reset();
  g_widgetPanelPool.Reset();
  g_compositePool.Reset();
  g_composite2Pool.Reset();
  g_terrainPool.Reset();
}
