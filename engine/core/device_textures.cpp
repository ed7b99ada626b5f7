#include "engine/core/device_textures.h"

#include "engine/core/device_setup.h"
#include "engine/core/world.h"
#include "engine/media/texture_create.h"
#include "engine/media/texture_table.h"
#include "platform/device3d.h"

namespace {

constexpr int kStaleAge = 255;
constexpr int kIdleAge = 128;

long Area(const TEXTUREDESC* t) { return static_cast<long>(t->width) * t->height; }
long MipSize(const TEXTUREDESC* t) { return t->mipLevels > 0 ? 4 * Area(t) / 3 : Area(t); }

std::shared_ptr<plat::Texture3D> CreateCardSurface(const TEXTUREDESC* t) {
  const bool keyed = t->keyIndex != -1;
  const uint32_t key = keyed ? TextureKeyValue(t) : 0;
  if (t->mipLevels > 0) return CreateMipmapSurface(t->width, t->height, 1, keyed, key, t->mipLevels);
  if (t->renderTarget) return CreateTargetSurface(t->width, t->height, 1, keyed, key);
  return CreateTextureSurface(t->width, t->height, 1, keyed, key);
}

void DropCardCopy(TEXTUREDESC* t) {
  if (!t->cardSurface) return;
  // A texture the device still draws with would keep its memory.
  if (g_gameWorld && g_gameWorld->device && g_gameWorld->device->GetTexture(0) == t->cardSurface.get())
    g_gameWorld->device->SetTexture(0, nullptr);
  t->cardSurface.reset();
}

bool Evictable(const TEXTUREDESC* t, const TEXTUREDESC* except) { return t && t != except && t->cardSurface; }

}  // namespace

int UploadTexture(TEXTUREDESC* texture) {
  if (!texture) return 0;
  auto card = CreateCardSurface(texture);
  if (!card) {
    FreeTextureMemory(texture->width, texture->height, texture);
    card = CreateCardSurface(texture);
    if (!card) return 0;
  }
  if (texture->surface && !card->Load(*texture->surface)) return 0;
  if (texture->renderTarget) card->Top()->Fill(nullptr, 0);
  texture->cardSurface = std::move(card);
  return 1;
}

void FreeTextureMemory(int width, int height, const TEXTUREDESC* except) {
  const bool mipmapped = except && except->mipLevels > 0;
  long remaining = mipmapped ? 4L * width * height / 3 : static_cast<long>(width) * height;
  for (int slot = 0; slot < g_textureCount; ++slot) {
    TEXTUREDESC* t = g_textureTable[slot];
    if (!Evictable(t, except) || t->age < kStaleAge) continue;
    if (mipmapped ? MipSize(t) > remaining : (t->width >= width && t->height >= height)) {
      DropCardCopy(t);
      return;
    }
  }
  for (int slot = 0; slot < g_textureCount && remaining >= 0; ++slot) {
    TEXTUREDESC* t = g_textureTable[slot];
    if (!Evictable(t, except) || t->age < kIdleAge) continue;
    remaining -= mipmapped ? MipSize(t) : Area(t);
    DropCardCopy(t);
  }
}

void ReleaseTextureDevice(TEXTUREDESC* texture, int deviceCopy, int systemCopy) {
  if (!texture) return;
  if (!g_useDirect3D) {
    FreeSoftTexture(texture);
    return;
  }
  if (deviceCopy) DropCardCopy(texture);
  if (systemCopy) texture->surface.reset();
}

void FreeSoftTexture(TEXTUREDESC* texture) {
  if (!texture) return;
  texture->shadeTable = {};
  texture->pixels = {};
}
