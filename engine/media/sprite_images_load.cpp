// Loading sprite frames from picture files, and building and freeing images.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/core/device_setup.h"
#include "engine/core/world.h"
#include "engine/media/file_search.h"
#include "engine/media/image_files.h"
#include "engine/media/image_headers.h"
#include "engine/media/packages.h"
#include "engine/media/path_text.h"
#include "engine/media/screen.h"
#include "engine/media/sprite_images.h"
#include "engine/media/texture_sets.h"
#include "platform/files.h"
#include "platform/gdi2d.h"

namespace {

std::unique_ptr<DIBSECTION> ReadSetEntryBitmap(const std::string& path, int* width, int* height) {
  std::string drive, directory, base, extension;
  SplitPath(path, &drive, &directory, &base, &extension);
  std::string setBase;
  int number = 0;
  if (!SplitSetNumber(base, &setBase, &number)) return nullptr;
  std::vector<uint8_t> set;
  size_t offset = 0;
  if (!plat::ReadWholeFile(MakePath(drive, directory, setBase, extension), set) || !FindSetEntry(set, number, &offset))
    return nullptr;
  return ReadImageBitmap(set, offset, width, height);
}

plat::PixelLayout LayoutOf(const plat::PixelFormat& format) {
  if (format.bitsPerPixel == 32) return plat::PixelLayout::Xrgb8888;
  return format.greenMask == 0x03E0 ? plat::PixelLayout::Rgb555 : plat::PixelLayout::Rgb565;
}

void CopyBitmapOnto(const DIBSECTION& bitmap, plat::Surface& surface) {
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (surface.Lock(&pixels, &pitch) != plat::SurfaceResult::Ok || !pixels) return;
  plat::SurfaceDesc desc = surface.Describe();
  plat::CopyDibToPixels(bitmap.View(), {pixels, desc.width, desc.height, pitch, LayoutOf(desc.format)}, 0, 0);
  surface.Unlock();
}

void ReleaseFrameSurface(SPRITEFRAMEDESC& frame) {
  if (frame.surfaceIndex >= 0) ReleaseSpriteSurface(frame.surfaceIndex);
  frame.surfaceIndex = -1;
  frame.surface.reset();
}

void SetWholePicture(SPRITEFRAMEDESC& frame, int width, int height, uint32_t key) {
  frame.width = width;
  frame.height = height;
  frame.colorKey = key;
  frame.source = frame.dest = plat::Rect{0, 0, width, height};
  if (frame.surface) frame.surface->SetColorKey(key);
}

void SetWholeCell(SPRITEIMAGEDESC& image) {
  image.sourceLeft = image.sourceTop = 0;
  image.sourceRight = image.cellWidth;
  image.sourceBottom = image.cellHeight;
}

}  // namespace

std::unique_ptr<DIBSECTION> LoadSpriteBitmap(const char* name, int* width, int* height) {
  if (!name) return nullptr;
  std::string extension;
  int entry = FindPackageEntry(&g_imagePackage, name, &extension, ASSET_IMAGE);
  if (entry >= 0) {
    std::vector<uint8_t> bytes;
    if (!MatchText(extension.c_str(), ".bmp", 1) || !ReadPackageEntry(&g_imagePackage, entry, bytes)) return nullptr;
    return ReadBitmapFile(bytes, width, height);
  }
  std::string path;
  if (!FindImageFile(path, name)) return nullptr;
  SplitPath(path, nullptr, nullptr, nullptr, &extension);
  if (MatchText(extension.c_str(), ".qsi", 1)) return ReadSetEntryBitmap(path, width, height);
  bool bmp = MatchText(extension.c_str(), ".bmp", 1), qbi = MatchText(extension.c_str(), ".qbi", 1);
  if (!bmp && !qbi) return nullptr;
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes)) return nullptr;
  return bmp ? ReadBitmapFile(bytes, width, height) : ReadImageBitmap(bytes, 0, width, height);
}

void LoadSpriteFrame(SPRITEFRAMEDESC& frame, const char* name, int videoMemoryAllowed) {
  int width = 0, height = 0;
  std::unique_ptr<DIBSECTION> bitmap = LoadSpriteBitmap(name, &width, &height);
  if (!bitmap) return;
  height = std::abs(height);
  ReleaseFrameSurface(frame);
  std::shared_ptr<plat::Surface> copy;
  if (g_selectedDisplayDevice != 0) {
    frame.surface = CreateSystemSurface(width, height);
  } else {
    int index = CreateSpriteSurface(width, height, videoMemoryAllowed);
    if (index < 0) return;
    frame.surfaceIndex = index;
    frame.surface = g_spriteSurfaces[index].surface;
    copy = g_spriteSurfaces[index].copy;
  }
  if (!frame.surface) return;
  if (copy) {
    CopyBitmapOnto(*bitmap, *copy);
    frame.surface->BltFast(0, 0, *copy, plat::Rect{0, 0, width, height});
  } else {
    CopyBitmapOnto(*bitmap, *frame.surface);
  }
  SetWholePicture(frame, width, height, MapRGB(0, 0, 0));
}

void LoadSpriteImageFrames(SPRITEIMAGEDESC& image, const char* name, int frameCount, int rows, int columns,
                           int* cellWidth, int* cellHeight, int videoMemoryAllowed) {
  int count = frameCount >= 2 ? frameCount : 1;
  FreeSpriteImage(image);
  for (int i = 0; i < count; ++i) image.frames.push_back(std::make_shared<SPRITEFRAMEDESC>());
  if (name) {
    if (frameCount == 0) {
      LoadSpriteFrame(*image.frames[0], name, videoMemoryAllowed);
    } else {
      for (int i = 0; i < count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", i);
        LoadSpriteFrame(*image.frames[i], (std::string(name) + number).c_str(), videoMemoryAllowed);
      }
    }
    const SPRITEFRAMEDESC& first = *image.frames[0];
    if (*cellWidth <= 0 || *cellHeight <= 0) {
      image.rows = image.columns = 1;
      *cellWidth = first.width;
      *cellHeight = first.height;
    } else {
      image.columns = first.width / *cellWidth;
      image.rows = first.height / *cellHeight;
    }
  } else {
    int64_t width = static_cast<int64_t>(columns) * *cellWidth, height = static_cast<int64_t>(rows) * *cellHeight;
    // Blank frames beyond any picture the engine reads stay without one.
    bool fits = width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide;
    for (auto& frame : image.frames) {
      if (fits) frame->surface = CreateSystemSurface(static_cast<int>(width), static_cast<int>(height));
      if (frame->surface) {
        frame->surface->Fill(nullptr, MapRGB(0, 0, 0));
        SetWholePicture(*frame, static_cast<int>(width), static_cast<int>(height), MapRGB(0, 0, 0));
      }
    }
    image.rows = rows;
    image.columns = columns;
  }
  bool sourceSetBefore = image.sourceLeft || image.sourceTop || image.sourceRight || image.sourceBottom;
  image.cellWidth = *cellWidth;
  image.cellHeight = *cellHeight;
  image.frameCount = count;
  image.currentRow = image.currentColumn = image.currentFrame = 0;
  if (sourceSetBefore)
    SetImageSourceRect(image, image.sourceLeft, image.sourceTop, image.sourceRight, image.sourceBottom);
  else {
    SetWholeCell(image);
    SetImageFrame(image, 0);
  }
}

std::unique_ptr<SPRITEIMAGEDESC> DuplicateSpriteImage(const SPRITEIMAGEDESC& image) {
  auto copy = std::make_unique<SPRITEIMAGEDESC>();
  for (const auto& frame : image.frames) {
    auto twin = std::make_shared<SPRITEFRAMEDESC>();
    twin->surface = frame->surface;
    twin->surfaceIndex = frame->surfaceIndex;
    if (twin->surfaceIndex >= 0) ++g_spriteSurfaces[twin->surfaceIndex].references;
    twin->width = frame->width;
    twin->height = frame->height;
    twin->colorKey = frame->colorKey;
    twin->source = twin->dest = plat::Rect{0, 0, frame->width, frame->height};
    copy->frames.push_back(twin);
  }
  copy->cellWidth = image.cellWidth;
  copy->cellHeight = image.cellHeight;
  copy->rows = image.rows;
  copy->columns = image.columns;
  copy->frameCount = image.frameCount;
  SetWholeCell(*copy);
  SetImageFrame(*copy, 0);
  return copy;
}

void FreeSpriteImage(SPRITEIMAGEDESC& image) {
  for (auto& frame : image.frames) ReleaseFrameSurface(*frame);
  image.frames.clear();
}
