#include "engine/core/images.h"

#include "engine/core/engine_state.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/media/widgets.h"

void DestroyImage(HOBJECT handle) {
  if (!g_engineOpen) return;
  IMAGEDESC* image = LookupImage(handle);
  if (!image) return;
  for (uint32_t i = 0; i < g_viewportPool.mark; ++i) {
    VIEWPORTDESC* v = g_viewportPool.slots[i];
    if (!v) continue;
    for (VIEWPORTBACKGROUND& b : v->backgrounds)
      if (b.image == image) b.image = nullptr;
  }
  for (uint32_t i = 0; i < g_widgetPool.mark; ++i) {
    WIDGETDESC* w = g_widgetPool.slots[i];
    if (!w) continue;
    if (w->image == image) w->image = nullptr;
    if (w->disabledImage == image) w->disabledImage = nullptr;
  }
  g_imagePool.Free(static_cast<uint32_t>(image->index));
  while (image) {
    IMAGEDESC* next = image->next;
    delete image;
    image = next;
  }
}
