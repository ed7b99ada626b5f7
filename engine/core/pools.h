#pragma once
#include "engine/core/handles.h"

// The engine's handle pools and their lookups. None of the lookups checks
// whether the engine is open.

struct IMAGEDESC;
struct NODEDESC;
struct MATERIALDESC;
struct VIEWPORTDESC;
struct COMPOSITEDESC;
struct COMPOSITE2DESC;
struct TERRAINDESC;
struct WIDGETDESC;
struct WIDGETWINDOW;
struct WIDGETPANEL;

extern ObjectPool<IMAGEDESC, 2048> g_imagePool;
extern ObjectPool<NODEDESC, 5120> g_nodePool;
extern ObjectPool<MATERIALDESC, 5120> g_materialPool;
extern ObjectPool<VIEWPORTDESC, 16> g_viewportPool;
extern ObjectPool<COMPOSITEDESC, 256> g_compositePool;
extern ObjectPool<TERRAINDESC, 24> g_terrainPool;
extern ObjectPool<WIDGETDESC, 512> g_widgetPool;
extern ObjectPool<WIDGETWINDOW, 8> g_widgetWindowPool;
extern ObjectPool<WIDGETPANEL, 16> g_widgetPanelPool;
extern ObjectPool<COMPOSITE2DESC, 256> g_composite2Pool;

// 0 gives the node under construction.
NODEDESC* LookupNode(HOBJECT handle);
// 0 gives the world's default viewport (null without a world).
VIEWPORTDESC* LookupViewport(HOBJECT handle);
// For these 0 gives null.
MATERIALDESC* LookupMaterial(HOBJECT handle);
IMAGEDESC* LookupImage(HOBJECT handle);
TERRAINDESC* LookupTerrain(HOBJECT handle);
COMPOSITEDESC* LookupComposite(HOBJECT handle);
COMPOSITE2DESC* LookupComposite2(HOBJECT handle);

// Empties every pool the engine opens with and resets the marks (the node
// under construction too); the records must already be gone.
void ResetPools();
