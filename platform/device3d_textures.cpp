// Texture surfaces of the 3D device and the card's texture memory.
#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/device3d_internal.h"
#include "platform/raster/pixel_formats.h"

namespace plat {
namespace {

uint32_t g_cardBytesInUse = 0;

int BytesPerPixel(const PixelFormat& f) { return (f.bitsPerPixel + 7) / 8; }

bool SameFormat(const PixelFormat& a, const PixelFormat& b) {
  return a.bitsPerPixel == b.bitsPerPixel && a.redMask == b.redMask && a.greenMask == b.greenMask &&
         a.blueMask == b.blueMask && a.alphaMask == b.alphaMask && a.palettised == b.palettised;
}

// The rasteriser's own layout of a format, if it has one.
bool NativeLayout(const PixelFormat& f, raster::PixelLayout* layout) {
  if (f.bitsPerPixel != 16 || f.palettised) return false;
  if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F) {
    *layout = raster::PixelLayout::Rgb565;
    return true;
  }
  if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F && f.alphaMask == 0) {
    *layout = raster::PixelLayout::Rgb555;
    return true;
  }
  if (f.redMask == 0x0F00 && f.greenMask == 0x00F0 && f.blueMask == 0x000F && f.alphaMask == 0xF000) {
    *layout = raster::PixelLayout::Argb4444;
    return true;
  }
  return false;
}

// A channel of a pixel widened to 8 bits.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 0;
  int bits = std::popcount(mask);
  uint32_t v = (pixel & mask) >> std::countr_zero(mask);
  if (bits >= 8) return v >> (bits - 8);
  uint32_t widened = v << (8 - bits);
  return widened | widened >> bits;
}

uint32_t ReadPixel(const uint8_t* at, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t{at[i]} << (8 * i);
  return v;
}

}  // namespace

uint32_t TextureMemoryInUse() { return g_cardBytesInUse; }

uint32_t TextureBytes(const TextureParams& params) {
  uint64_t bytes = 0;
  for (int level = 0; level < std::max(params.levels, 1); ++level) {
    uint64_t w = std::max(params.width >> level, 1), h = std::max(params.height >> level, 1);
    bytes += w * h * static_cast<uint64_t>(BytesPerPixel(params.format));
  }
  return static_cast<uint32_t>(std::min<uint64_t>(bytes, UINT32_MAX));
}

std::shared_ptr<Texture3D> Renderer3D::CreateTexture(const TextureParams& params) {
  raster::PixelLayout layout;
  if (params.width <= 0 || params.height <= 0 || params.width > 4096 || params.height > 4096 || params.levels < 1 ||
      params.levels > 16 || params.format.bitsPerPixel <= 0 ||
      (params.renderTarget && (!NativeLayout(params.format, &layout) || layout == raster::PixelLayout::Argb4444)))
    return nullptr;
  uint32_t bytes = params.videoMemory ? TextureBytes(params) : 0;
  if (bytes > GetDisplayEnvironment().textureMemory - std::min(g_cardBytesInUse, GetDisplayEnvironment().textureMemory))
    return nullptr;
  std::shared_ptr<Texture3D> texture(new Texture3D());
  texture->params_ = params;
  for (int level = 0; level < params.levels; ++level)
    texture->levels_.push_back(std::make_shared<Surface>(
        std::max(params.width >> level, 1), std::max(params.height >> level, 1), params.format, params.videoMemory));
  texture->cardBytes_ = bytes;
  g_cardBytesInUse += bytes;
  ++Live3D().textures;
  return texture;
}

Texture3D::~Texture3D() {
  g_cardBytesInUse -= cardBytes_;
  --Live3D().textures;
}

Surface* Texture3D::Level(int level) const {
  return level >= 0 && level < LevelCount() ? levels_[level].get() : nullptr;
}

void Texture3D::SetPalette(const Palette& palette) {
  palette_ = palette;
  hasPalette_ = true;
  converted_.clear();
}

bool Texture3D::Load(const Texture3D& source) {
  if (&source == this || source.LevelCount() != LevelCount() || source.params_.width != params_.width ||
      source.params_.height != params_.height || !SameFormat(source.params_.format, params_.format))
    return false;
  for (int level = 0; level < LevelCount(); ++level) {
    Surface& from = *source.levels_[level];
    Surface& to = *levels_[level];
    uint8_t *src = nullptr, *dst = nullptr;
    int srcPitch = 0, dstPitch = 0;
    if (from.Lock(&src, &srcPitch) != SurfaceResult::Ok) return false;
    if (to.Lock(&dst, &dstPitch) != SurfaceResult::Ok) {
      from.Unlock();
      return false;
    }
    SurfaceDesc d = to.Describe();
    size_t row = static_cast<size_t>(d.width) * BytesPerPixel(d.format);
    for (int y = 0; y < d.height; ++y)
      std::memcpy(dst + static_cast<size_t>(y) * dstPitch, src + static_cast<size_t>(y) * srcPitch, row);
    to.Unlock();
    from.Unlock();
  }
  if (source.Top()->HasColorKey()) Top()->SetColorKey(source.Top()->ColorKey());
  palette_ = source.palette_;
  hasPalette_ = source.hasPalette_;
  converted_.clear();
  return true;
}

bool Texture3D::IsLost() const { return Top()->IsLost(); }

SurfaceResult Texture3D::Restore() {
  SurfaceResult result = SurfaceResult::Ok;
  for (auto& level : levels_)
    if (level->Restore() != SurfaceResult::Ok) result = SurfaceResult::Failed;
  if (const auto& depth = Top()->AttachedDepth(); depth && depth->Restore() != SurfaceResult::Ok)
    result = SurfaceResult::Failed;
  converted_.clear();
  return result;
}

void Texture3D::Convert() {
  const Surface& top = *Top();
  SurfaceDesc d = top.Describe();
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (const_cast<Surface&>(top).Lock(&pixels, &pitch) != SurfaceResult::Ok) return;
  const int bytes = BytesPerPixel(d.format);
  auto toRgb565 = [&](uint32_t v) -> uint16_t {
    uint32_t r, g, b;
    if (d.format.palettised) {
      uint32_t rgb = palette_[v & 0xFF];
      r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    } else {
      r = Channel(v, d.format.redMask), g = Channel(v, d.format.greenMask), b = Channel(v, d.format.blueMask);
    }
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | b >> 3);
  };
  converted_.resize(static_cast<size_t>(d.width) * d.height);
  for (int y = 0; y < d.height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * pitch;
    for (int x = 0; x < d.width; ++x)
      converted_[static_cast<size_t>(y) * d.width + x] = toRgb565(ReadPixel(row + x * bytes, bytes));
  }
  const_cast<Surface&>(top).Unlock();
  convertedKey_ = top.HasColorKey() ? toRgb565(top.ColorKey()) : 0;
}

bool Texture3D::SampleView(raster::Texture* out) {
  Surface& top = *Top();
  if (top.IsLost()) return false;
  SurfaceDesc d = top.Describe();
  raster::PixelLayout layout;
  out->width = d.width;
  out->height = d.height;
  out->hasColorKey = top.HasColorKey();
  bool fresh = false;  // the 16-bit texels may differ from the decoded ones
  if (NativeLayout(d.format, &layout)) {
    const uint64_t seen = top.ChangeCount();
    uint8_t* pixels = nullptr;
    int pitch = 0;
    if (top.Lock(&pixels, &pitch) != SurfaceResult::Ok) return false;
    top.Unlock();
    out->pixels = reinterpret_cast<const uint16_t*>(pixels);
    out->pitchBytes = pitch;
    out->layout = layout;
    out->colorKey = static_cast<uint16_t>(top.ColorKey());
    fresh = seen != expandedAt_;
    expandedAt_ = top.ChangeCount();
  } else {
    if (converted_.empty()) {
      Convert();
      fresh = true;
    }
    if (converted_.empty()) return false;
    out->pixels = converted_.data();
    out->pitchBytes = d.width * 2;
    out->layout = raster::PixelLayout::Rgb565;
    out->colorKey = convertedKey_;
  }
  decoded_.Update(*out, fresh);
  out->expanded = decoded_.Texels();
  out->ink = &decoded_.Ink();
  return true;
}

}  // namespace plat
