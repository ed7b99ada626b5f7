// Drawing the current cell of a sprite image.
#include "engine/core/surface_retry.h"
#include "engine/core/world.h"
#include "engine/media/sprite_blend.h"
#include "engine/media/sprite_images.h"

namespace {

// Cuts an unscaled copy to the target: overhangs move the source edges inward.
bool ClipUnscaled(plat::Rect& dest, plat::Rect& source, int targetWidth, int targetHeight) {
  if (dest.left < 0) {
    source.left -= dest.left;
    dest.left = 0;
  }
  if (dest.top < 0) {
    source.top -= dest.top;
    dest.top = 0;
  }
  if (dest.right > targetWidth) source.right -= dest.right - targetWidth;
  if (dest.bottom > targetHeight) source.bottom -= dest.bottom - targetHeight;
  return source.left < source.right && source.top < source.bottom;
}

}  // namespace

void DrawSpriteImage(SPRITEIMAGEDESC& image, int x, int y, float scaleX, float scaleY, float alpha, int mirrored,
                     int keyed) {
  if (image.frames.empty()) return;
  SPRITEFRAMEDESC& frame = *image.frames[image.currentFrame];
  if (!frame.surface) return;
  frame.dest = plat::Rect{x + image.sourceLeft, y + image.sourceTop, x + static_cast<int>(image.sourceRight * scaleX),
                          y + static_cast<int>(image.sourceBottom * scaleY)};
  plat::Rect source = frame.source;
  plat::Rect dest = frame.dest;
  frame.stretch =
      (dest.right - dest.left != source.right - source.left || dest.bottom - dest.top != source.bottom - source.top)
          ? 1
          : 0;

  plat::Surface* target = nullptr;
  int targetWidth = 0, targetHeight = 0;
  std::shared_ptr<SPRITEFRAMEDESC> targetFrame = frame.target.lock();
  std::shared_ptr<plat::Surface> keepTarget;
  if (frame.hasTarget) {
    if (!targetFrame || !targetFrame->surface) return;
    keepTarget = targetFrame->surface;
    target = keepTarget.get();
    targetWidth = targetFrame->width;
    targetHeight = targetFrame->height;
  } else {
    if (!g_gameWorld || !g_gameWorld->backBuffer) return;
    target = g_gameWorld->backBuffer.get();
    plat::SurfaceDesc desc = target->Describe();
    targetWidth = desc.width;
    targetHeight = desc.height;
  }

  bool opaque = !(1.0f - alpha > 0.000001f);
  plat::Surface& picture = *frame.surface;
  if (!frame.stretch && !mirrored) {
    if (!ClipUnscaled(dest, source, targetWidth, targetHeight)) return;
    if (opaque) {
      RetryWhileStillDrawing([&] {
        return keyed ? target->BltFastKeyed(dest.left, dest.top, picture, source)
                     : target->BltFast(dest.left, dest.top, picture, source);
      });
    } else {
      BlendSpriteFrame(alpha, keyed, target, dest.left, dest.top, &picture, source.left, source.top,
                       source.right - source.left, source.bottom - source.top);
    }
    return;
  }
  if (opaque || frame.stretch) {
    plat::Surface::BltEffects effects{keyed != 0, mirrored != 0};
    RetryWhileStillDrawing([&] { return target->BltWithEffects(dest, picture, source, effects); });
    return;
  }
  // Mirrored, unscaled and translucent: blended without the mirror.
  if (!ClipUnscaled(dest, source, targetWidth, targetHeight)) return;
  BlendSpriteFrame(alpha, keyed, target, dest.left, dest.top, &picture, source.left, source.top,
                   source.right - source.left, source.bottom - source.top);
}
