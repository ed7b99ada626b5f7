#include "engine/media/sprite_dc.h"

#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "platform/display.h"
#include "platform/threads.h"

namespace {

int FindFrame(HOBJECT handle, int frame, SPRITEFRAMEDESC** out) {
  SPRITEDESC* sprite = LookupSprite(handle);
  if (!sprite) return -1;
  if (!sprite->image) return -2;
  if (frame < 0 || frame >= sprite->image->frameCount || frame >= static_cast<int>(sprite->image->frames.size()))
    return -3;
  *out = sprite->image->frames[frame].get();
  return (*out)->surface ? 0 : -2;
}

bool LayoutOf(const plat::PixelFormat& format, plat::PixelLayout* layout) {
  if (format.bitsPerPixel == 16 && format.greenMask == 0x07E0) *layout = plat::PixelLayout::Rgb565;
  else if (format.bitsPerPixel == 16 && format.greenMask == 0x03E0) *layout = plat::PixelLayout::Rgb555;
  else if (format.bitsPerPixel == 32) *layout = plat::PixelLayout::Xrgb8888;
  else if (format.bitsPerPixel == 24) *layout = plat::PixelLayout::Bgr24;
  else return false;
  return true;
}

}  // namespace

int GetSpriteDC(HOBJECT sprite, int frame, plat::PixelTarget* dc) {
  plat::DisplayLock lock;
  SPRITEFRAMEDESC* f = nullptr;
  if (int result = FindFrame(sprite, frame, &f)) return result;
  plat::SurfaceDesc desc = f->surface->Describe();
  plat::PixelTarget target;
  if (!LayoutOf(desc.format, &target.layout)) return -2;
  target.pixels = static_cast<uint8_t*>(LockSpriteFrame(*f));
  if (!target.pixels) return -2;
  target.width = desc.width;
  target.height = desc.height;
  target.pitch = g_spriteLockPitch;
  if (dc) *dc = target;
  return 0;
}

int ReleaseSpriteDC(HOBJECT sprite, int frame, plat::PixelTarget* dc) {
  plat::DisplayLock lock;
  SPRITEFRAMEDESC* f = nullptr;
  if (int result = FindFrame(sprite, frame, &f)) return result;
  UnlockSpriteFrame(*f);
  if (dc) *dc = plat::PixelTarget{};
  return 0;
}
