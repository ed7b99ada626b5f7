#include "engine/core/lod_groups.h"

#include "engine/core/world.h"

// MINIMAL: level-of-detail groups are not built yet; nothing creates one, so the lists are only cleared.
void FreeLodGroupLists() {
  if (!g_gameWorld) return;
  g_gameWorld->lodFirst = g_gameWorld->lodLast = nullptr;
  g_gameWorld->compositeLodFirst = g_gameWorld->compositeLodLast = nullptr;
}
