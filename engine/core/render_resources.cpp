#include "engine/core/render_resources.h"

// MINIMAL: viewport rendering is not built yet; it owns the background material.
void CreateBackgroundMaterial() {}
// MINIMAL: viewport rendering is not built yet; there is no background material to release.
void ReleaseBackgroundMaterial() {}
// MINIMAL: the primitive emitters are not built yet; they own their work buffers.
void AllocateEmitterBuffers() {}
// MINIMAL: the primitive emitters are not built yet; there are no work buffers to free.
void FreeEmitterBuffers() {}
// MINIMAL: the software rasteriser is not built yet; it owns its work pools.
void AllocateSoftWorkPools() {}
// MINIMAL: the software rasteriser is not built yet; there are no work pools to free.
void FreeSoftWorkPools() {}
// MINIMAL: materials are not built yet; the software path's default material comes with them.
void CreateSoftDefaultMaterial() {}
// MINIMAL: materials are not built yet; there is no default material to free.
void FreeSoftDefaultMaterial() {}
