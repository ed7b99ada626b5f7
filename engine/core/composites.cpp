#include "engine/core/composites.h"

#include "engine/core/engine_state.h"
#include "engine/core/pools.h"

// MINIMAL: composite level-of-detail groups are not built yet; this frees the record only.
void DestroyComposite(HOBJECT handle) {
  if (!g_engineOpen) return;
  COMPOSITEDESC* composite = LookupComposite(handle);
  if (!composite) return;
  g_compositePool.Free(static_cast<uint32_t>(composite->index));
  delete composite;
}

// MINIMAL: the second composite kind is not built yet; nothing creates one.
void DestroyComposite2(HOBJECT) {}
