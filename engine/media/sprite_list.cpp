// The sorted draw list, drawing the sprites and hit-testing them.
#include "engine/media/sprite_list.h"

#include "engine/core/engine_state.h"
#include "engine/core/pools.h"
#include "engine/core/surface_retry.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/sprite_images.h"
#include "platform/threads.h"

int g_spritePositionsChanged = 0;
int g_spriteOrderChanged = 0;

namespace {

// Inserts before the sprites whose keys equal its own.
void InsertSorted(SPRITEDESC* sprite) {
  GAMEWORLD& world = *g_gameWorld;
  SPRITEDESC* first = world.spriteFirst;
  SPRITEDESC* last = world.spriteLast;
  sprite->previous = sprite->next = nullptr;
  if (!first) {
    world.spriteFirst = world.spriteLast = sprite;
    return;
  }
  if (CompareSpriteOrder(*sprite, *last) > 0) {
    AppendToDrawList(sprite);
    return;
  }
  if (CompareSpriteOrder(*sprite, *first) <= 0) {
    sprite->next = first;
    first->previous = sprite;
    world.spriteFirst = sprite;
    return;
  }
  SPRITEDESC* after = last;
  while (CompareSpriteOrder(*sprite, *after) <= 0) after = after->previous;
  sprite->previous = after;
  sprite->next = after->next;
  after->next->previous = sprite;
  after->next = sprite;
}

// Takes the sprites out and inserts them again in their previous order, so
// each re-sort reverses runs of equal keys.
void Resort() {
  GAMEWORLD& world = *g_gameWorld;
  SPRITEDESC* sprite = world.spriteFirst;
  world.spriteFirst = world.spriteLast = nullptr;
  while (sprite) {
    SPRITEDESC* next = sprite->next;
    InsertSorted(sprite);
    sprite = next;
  }
}

void UpdateAbsolutePositions() {
  for (SPRITEDESC* s = g_gameWorld->spriteFirst; s; s = s->next) s->positionDirty = 1;
  for (SPRITEDESC* s = g_gameWorld->spriteFirst; s; s = s->next) {
    if (!s->positionDirty) continue;
    int x = s->x, y = s->y;
    for (SPRITEDESC* up = s->parent; up; up = up->parent) {
      if (!up->positionDirty) {
        x += up->absoluteX;
        y += up->absoluteY;
        break;
      }
      x += up->x;
      y += up->y;
    }
    s->absoluteX = x;
    s->absoluteY = y;
    s->positionDirty = 0;
  }
}

void DrawSprite(SPRITEDESC& sprite, int x, int y) {
  DrawSpriteImage(*sprite.image, x, y, sprite.scaleX, sprite.scaleY, sprite.alpha, sprite.mirrored, sprite.colorKeyOn);
}

}  // namespace

int CompareSpriteOrder(const SPRITEDESC& a, const SPRITEDESC& b) {
  if (a.layer != b.layer) return a.layer < b.layer ? -1 : 1;
  int ay = a.absoluteY + a.depthY, by = b.absoluteY + b.depthY;
  if (ay != by) return ay < by ? -1 : 1;
  int ax = a.absoluteX + a.depthX, bx = b.absoluteX + b.depthX;
  if (ax != bx) return ax < bx ? -1 : 1;
  return 0;
}

void AppendToDrawList(SPRITEDESC* sprite) {
  GAMEWORLD& world = *g_gameWorld;
  sprite->next = nullptr;
  sprite->previous = world.spriteLast;
  if (world.spriteLast) world.spriteLast->next = sprite;
  else world.spriteFirst = sprite;
  world.spriteLast = sprite;
}

void RemoveFromDrawList(SPRITEDESC* sprite) {
  GAMEWORLD& world = *g_gameWorld;
  if (sprite->previous) sprite->previous->next = sprite->next;
  else if (world.spriteFirst == sprite) world.spriteFirst = sprite->next;
  if (sprite->next) sprite->next->previous = sprite->previous;
  else if (world.spriteLast == sprite) world.spriteLast = sprite->previous;
  sprite->previous = sprite->next = nullptr;
}

void SumSpritePosition(const SPRITEDESC& sprite, int* x, int* y) {
  int sx = 0, sy = 0;
  for (const SPRITEDESC* s = &sprite; s; s = s->parent) {
    sx += s->x;
    sy += s->y;
  }
  if (x) *x = sx;
  if (y) *y = sy;
}

void DrawSprites(HOBJECT viewportHandle, int clear) {
  if (!g_engineOpen || !g_gameWorld) return;
  plat::DisplayLock lock;
  if (g_spritePositionsChanged) {
    UpdateAbsolutePositions();
    g_spritePositionsChanged = 0;
  }
  if (g_spriteOrderChanged) {
    Resort();
    g_spriteOrderChanged = 0;
  }
  VIEWPORTDESC* viewport = LookupViewport(viewportHandle);
  if (!viewport) return;
  if (clear && g_gameWorld->backBuffer) {
    plat::Rect area{viewport->x, viewport->y, viewport->x + viewport->width, viewport->y + viewport->height};
    RetryWhileStillDrawing([&] { return g_gameWorld->backBuffer->Fill(&area, 0); });
  }
  for (SPRITEDESC* s = g_gameWorld->spriteFirst; s; s = s->next) {
    if (!s->image || !s->visible || s->image->frames.empty() || s->image->frames[0]->hasTarget) continue;
    DrawSprite(*s, s->absoluteX + viewport->x, s->absoluteY + viewport->y);
  }
}

void DrawSpriteOnto(HOBJECT handle, HOBJECT targetHandle) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite || !sprite->image) return;
  SPRITEDESC* target = targetHandle ? LookupSprite(targetHandle) : nullptr;
  std::shared_ptr<SPRITEFRAMEDESC> frame;
  if (target && target->image && !target->image->frames.empty()) frame = target->image->frames[0];
  SetImageTarget(*sprite->image, frame);
  int x = 0, y = 0;
  SumSpritePosition(*sprite, &x, &y);
  DrawSprite(*sprite, x, y);
}

int HitTestSprite(HOBJECT handle, int x, int y, int pixelTest) {
  plat::DisplayLock lock;
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite || (pixelTest && !sprite->image)) return 0;
  int ax = 0, ay = 0;
  SumSpritePosition(*sprite, &ax, &ay);
  if (x < ax || x >= ax + static_cast<int>(sprite->cellWidth * sprite->scaleX) || y < ay ||
      y >= ay + static_cast<int>(sprite->cellHeight * sprite->scaleY))
    return 0;
  if (!pixelTest) return 1;
  SPRITEIMAGEDESC& image = *sprite->image;
  if (image.frames.empty()) return 0;
  int u = static_cast<int>((x - ax) / sprite->scaleX);
  if (sprite->mirrored) u = sprite->cellWidth - 1 - u;
  int v = static_cast<int>((y - ay) / sprite->scaleY);
  int test = TestSpriteFramePixel(*image.frames[image.currentFrame], u + image.currentColumn * image.cellWidth,
                                  v + image.currentRow * image.cellHeight);
  return test == 0 ? 1 : 0;
}
