#include "platform/display.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <mutex>
#include <set>
#include <vector>

#include "platform/device3d.h"
#include "platform/display_capture.h"
#include "platform/test_caps.h"
#include "platform/window_native.h"

namespace plat {
namespace {

// The loading animation presents from its own thread, so the registry is locked.
std::mutex g_surfacesMutex;
std::set<Surface*> g_surfaces;
DisplayEnvironment g_environment;
int g_liveDevices = 0;

int BytesPerPixel(const PixelFormat& f) { return (f.bitsPerPixel + 7) / 8; }

// An 8-bit channel value placed into a channel mask.
uint32_t PlaceChannel(uint32_t value8, uint32_t mask) {
  if (mask == 0) return 0;
  int shift = std::countr_zero(mask);
  int bits = std::popcount(mask);
  uint32_t v = bits >= 8 ? value8 << (bits - 8) : value8 >> (8 - bits);
  return (v << shift) & mask;
}

void StorePixel(uint8_t* at, int bytes, uint32_t pixel) {
  for (int i = 0; i < bytes; ++i) at[i] = static_cast<uint8_t>(pixel >> (8 * i));
}

// One row's run of pixels set to a value, at the speed of a memory fill.
void FillRun(uint8_t* at, int count, int bytes, uint32_t pixel) {
  switch (bytes) {
    case 1: std::memset(at, static_cast<int>(pixel & 0xFF), static_cast<size_t>(count)); return;
    case 2: std::fill_n(reinterpret_cast<uint16_t*>(at), count, static_cast<uint16_t>(pixel)); return;
    case 4: std::fill_n(reinterpret_cast<uint32_t*>(at), count, pixel); return;
    default:
      for (int x = 0; x < count; ++x) StorePixel(at + x * bytes, bytes, pixel);
  }
}

template <typename Pixel>
void GatherRow(Pixel* to, const uint8_t* from, const std::vector<int>& columns) {
  for (size_t i = 0; i < columns.size(); ++i)
    if (columns[i] >= 0) std::memcpy(to + i, from + static_cast<size_t>(columns[i]) * sizeof(Pixel), sizeof(Pixel));
}

// One destination row from its source row through the column table; with
// runs the valid columns are consecutive source columns, copied at once.
void CopyRow(uint8_t* to, const uint8_t* from, const std::vector<int>& columns, int bytes, bool runs) {
  if (runs) {
    size_t first = 0, last = columns.size();
    while (first < last && columns[first] < 0) ++first;
    while (last > first && columns[last - 1] < 0) --last;
    if (first < last)
      std::memcpy(to + first * bytes, from + static_cast<size_t>(columns[first]) * bytes, (last - first) * bytes);
    return;
  }
  switch (bytes) {
    case 2: GatherRow(reinterpret_cast<uint16_t*>(to), from, columns); return;
    case 4: GatherRow(reinterpret_cast<uint32_t*>(to), from, columns); return;
    default:
      for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i] >= 0) std::memcpy(to + i * bytes, from + static_cast<size_t>(columns[i]) * bytes, bytes);
  }
}

// Intersects r with the (0, 0, width, height) area; false when nothing is left.
bool ClipRect(Rect& r, int width, int height) {
  r.left = std::max(r.left, 0);
  r.top = std::max(r.top, 0);
  r.right = std::min(r.right, width);
  r.bottom = std::min(r.bottom, height);
  return r.left < r.right && r.top < r.bottom;
}

}  // namespace

PixelFormat Rgb565Format() { return {16, 0xF800, 0x07E0, 0x001F, 0, false}; }
PixelFormat Rgb555Format() { return {16, 0x7C00, 0x03E0, 0x001F, 0, false}; }
PixelFormat Palette8Format() { return {8, 0, 0, 0, 0, true}; }

uint32_t PackColor(uint32_t rgb, const PixelFormat& format) {
  if (format.palettised) return 0;
  return PlaceChannel((rgb >> 16) & 0xFF, format.redMask) | PlaceChannel((rgb >> 8) & 0xFF, format.greenMask) |
         PlaceChannel(rgb & 0xFF, format.blueMask);
}

Surface::Surface(int width, int height, const PixelFormat& format, bool videoMemory)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pitch_((width_ * BytesPerPixel(format) + 3) & ~3),
      format_(format),
      videoMemory_(videoMemory),
      pixels_(static_cast<size_t>(pitch_) * height_) {
  std::lock_guard lock(g_surfacesMutex);
  g_surfaces.insert(this);
}

Surface::~Surface() {
  std::lock_guard lock(g_surfacesMutex);
  g_surfaces.erase(this);
}

SurfaceDesc Surface::Describe() const { return {width_, height_, pitch_, format_, videoMemory_}; }

SurfaceResult Surface::Lock(uint8_t** pixels, int* pitch) {
  if (lost_) {
    if (pixels) *pixels = nullptr;
    return SurfaceResult::SurfaceLost;
  }
  if (pixels) *pixels = pixels_.data();
  if (pitch) *pitch = pitch_;
  ++changes_;  // the caller may write
  return SurfaceResult::Ok;
}

SurfaceResult Surface::Unlock() { return lost_ ? SurfaceResult::SurfaceLost : SurfaceResult::Ok; }

SurfaceResult Surface::Fill(const Rect* rect, uint32_t pixel) {
  if (lost_) return SurfaceResult::SurfaceLost;
  Rect r = rect ? *rect : Rect{0, 0, width_, height_};
  if (!ClipRect(r, width_, height_)) return SurfaceResult::Ok;
  for (int y = r.top; y < r.bottom; ++y) FillRow(y, r, pixel);
  return SurfaceResult::Ok;
}

void Surface::FillRow(int y, const Rect& clipped, uint32_t pixel) {
  ++changes_;
  const int bytes = BytesPerPixel(format_);
  FillRun(pixels_.data() + static_cast<size_t>(y) * pitch_ + static_cast<size_t>(clipped.left) * bytes,
          clipped.right - clipped.left, bytes, pixel);
}

SurfaceResult Surface::FillWithDepth(const Rect& rect, uint32_t pixel, uint32_t depthValue) {
  if (lost_) return SurfaceResult::SurfaceLost;
  Surface* depth = depth_ && !depth_->lost_ ? depth_.get() : nullptr;
  Rect colour = rect, z = rect;
  const bool fillColour = ClipRect(colour, width_, height_);
  const bool fillDepth = depth && ClipRect(z, depth->width_, depth->height_);
  const int top = std::min(fillColour ? colour.top : z.top, fillDepth ? z.top : colour.top);
  const int bottom = std::max(fillColour ? colour.bottom : 0, fillDepth ? z.bottom : 0);
  for (int y = top; y < bottom; ++y) {
    if (fillColour && y >= colour.top && y < colour.bottom) FillRow(y, colour, pixel);
    if (fillDepth && y >= z.top && y < z.bottom) depth->FillRow(y, z, depthValue);
  }
  return depth_ && depth_->lost_ ? SurfaceResult::SurfaceLost : SurfaceResult::Ok;
}

SurfaceResult Surface::Blt(const Rect& dest, const Surface& source, const Rect& sourceRect) {
  if (lost_ || source.lost_) return SurfaceResult::SurfaceLost;
  int bytes = BytesPerPixel(format_);
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
  if (bytes != BytesPerPixel(source.format_) || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return SurfaceResult::Failed;
  Rect clipped = dest;
  if (!ClipRect(clipped, width_, height_)) return SurfaceResult::Ok;
  ++changes_;
  // The source column of every destination column, -1 outside the source.
  std::vector<int> columns(static_cast<size_t>(clipped.right - clipped.left));
  for (int x = clipped.left; x < clipped.right; ++x) {
    int sx = sourceRect.left + static_cast<int>(static_cast<int64_t>(x - dest.left) * sw / dw);
    columns[static_cast<size_t>(x - clipped.left)] = sx >= 0 && sx < source.width_ ? sx : -1;
  }
  // An unscaled copy between two surfaces moves whole rows; onto itself it
  // goes pixel by pixel as it always has.
  const bool runs = sw == dw && &source != this;
  for (int y = clipped.top; y < clipped.bottom; ++y) {
    int sy = sourceRect.top + static_cast<int>(static_cast<int64_t>(y - dest.top) * sh / dh);
    if (sy < 0 || sy >= source.height_) continue;
    uint8_t* row = pixels_.data() + static_cast<size_t>(y) * pitch_;
    const uint8_t* srow = source.pixels_.data() + static_cast<size_t>(sy) * source.pitch_;
    CopyRow(row + static_cast<size_t>(clipped.left) * bytes, srow, columns, bytes, runs);
  }
  return SurfaceResult::Ok;
}

SurfaceResult Surface::BltFast(int x, int y, const Surface& source, const Rect& sourceRect) {
  Rect dest{x, y, x + sourceRect.right - sourceRect.left, y + sourceRect.bottom - sourceRect.top};
  return Blt(dest, source, sourceRect);
}

bool Surface::WriteColor(int x, int y, uint32_t colorRef) {
  if (lost_ || x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  uint32_t r = colorRef & 0xFF, g = (colorRef >> 8) & 0xFF, b = (colorRef >> 16) & 0xFF;
  uint32_t pixel = format_.palettised ? r : PackColor(r << 16 | g << 8 | b, format_);
  int bytes = BytesPerPixel(format_);
  StorePixel(pixels_.data() + static_cast<size_t>(y) * pitch_ + x * bytes, bytes, pixel);
  ++changes_;
  return true;
}

void Surface::SetColorKey(uint32_t pixel) {
  hasColorKey_ = true;
  colorKey_ = pixel;
}

bool Surface::IsLost() const { return lost_; }

SurfaceResult Surface::Restore() {
  if (lost_) {
    std::fill(pixels_.begin(), pixels_.end(), 0);
    lost_ = false;
    ++changes_;
  }
  return SurfaceResult::Ok;
}

void Surface::MarkLost() { lost_ = true; }

bool Surface::AttachDepth(std::shared_ptr<Surface> depth) {
  if (!depth || ShouldFail(FailPoint::AttachDepthSurface)) return false;
  depth_ = std::move(depth);
  return true;
}

SurfaceResult Surface::Flip() {
  if (!window_ || !backBuffer_) return SurfaceResult::Failed;
  if (lost_ || backBuffer_->lost_) return SurfaceResult::SurfaceLost;
  RecordPresentedFrame(backBuffer_->pixels_.data(), backBuffer_->pitch_, backBuffer_->format_,
                       Rect{0, 0, backBuffer_->width_, backBuffer_->height_});
  return native::PresentPixels(window_, backBuffer_->pixels_.data(), backBuffer_->pitch_, backBuffer_->format_,
                               Rect{0, 0, backBuffer_->width_, backBuffer_->height_});
}

SurfaceResult Surface::PresentFrom(const Surface& source, const Rect& sourceRect) {
  if (!window_) return SurfaceResult::Failed;
  if (lost_ || source.lost_) return SurfaceResult::SurfaceLost;
  Rect r = sourceRect;
  if (!ClipRect(r, source.width_, source.height_)) return SurfaceResult::Ok;
  RecordPresentedFrame(source.pixels_.data(), source.pitch_, source.format_, r);
  return native::PresentPixels(window_, source.pixels_.data(), source.pitch_, source.format_, r);
}

void LoseAllSurfaces() {
  std::lock_guard lock(g_surfacesMutex);
  for (Surface* s : g_surfaces)
    if (s->Describe().videoMemory) s->MarkLost();
}

int LiveSurfaceCount() {
  std::lock_guard lock(g_surfacesMutex);
  return static_cast<int>(g_surfaces.size());
}

DisplayEnvironment& GetDisplayEnvironment() { return g_environment; }
void ResetDisplayEnvironment() { g_environment = DisplayEnvironment{}; }

std::unique_ptr<DisplayDevice> DisplayDevice::Open(int deviceIndex) {
  const auto& devices = g_environment.devices;
  if (deviceIndex < 0 || deviceIndex >= static_cast<int>(devices.size()) || !devices[deviceIndex].opens ||
      ShouldFail(FailPoint::OpenDisplayDevice))
    return nullptr;
  ++g_liveDevices;
  return std::unique_ptr<DisplayDevice>(new DisplayDevice(deviceIndex));
}

DisplayDevice::~DisplayDevice() {
  RestoreDisplayMode();
  --g_liveDevices;
}

std::vector<DisplayDeviceInfo> EnumerateDisplayDevices() { return g_environment.devices; }

bool DisplayDevice::Has3D() const {
  const auto& devices = g_environment.devices;
  return index_ < static_cast<int>(devices.size()) && devices[index_].has3D;
}
bool DisplayDevice::SharedWithDesktop() const { return g_environment.sharedWithDesktop; }

DisplayMode DisplayDevice::DesktopMode() const {
  DisplayMode desktop{1024, 768, g_environment.desktopBitsPerPixel};
  native::DesktopSize(&desktop.width, &desktop.height);
  return desktop;
}

std::vector<DisplayMode> DisplayDevice::ListModes() const { return g_environment.modes; }

bool DisplayDevice::SetCooperativeLevel(WindowHandle window, bool exclusive) {
  if (ShouldFail(exclusive ? FailPoint::ExclusiveCooperativeLevel : FailPoint::NormalCooperativeLevel)) return false;
  if (!exclusive) RestoreDisplayMode();
  window_ = window;
  exclusive_ = exclusive;
  return true;
}

bool DisplayDevice::SetDisplayMode(const DisplayMode& mode) {
  if (!exclusive_ || ShouldFail(FailPoint::SetDisplayMode)) return false;
  const auto& modes = g_environment.modes;
  bool listed = std::any_of(modes.begin(), modes.end(), [&](const DisplayMode& m) {
    return m.width == mode.width && m.height == mode.height && m.bitsPerPixel == mode.bitsPerPixel;
  });
  if (!listed) return false;
  mode_ = mode;
  modeSet_ = true;
  native::EnterDisplayMode(window_, mode.width, mode.height);
  return true;
}

void DisplayDevice::RestoreDisplayMode() {
  if (!modeSet_) return;
  modeSet_ = false;
  native::LeaveDisplayMode(window_);
}

PixelFormat DisplayDevice::ScreenFormat() const {
  int bits = modeSet_ ? mode_.bitsPerPixel : g_environment.desktopBitsPerPixel;
  if (bits <= 8) return Palette8Format();
  if (bits == 16) return g_environment.rgb555 ? Rgb555Format() : Rgb565Format();
  return {bits, 0xFF0000, 0x00FF00, 0x0000FF, 0, false};
}

std::shared_ptr<Surface> DisplayDevice::CreatePrimarySurface(std::shared_ptr<Surface>* backBuffer) {
  if (!window_ || ShouldFail(FailPoint::CreatePrimarySurface)) return nullptr;
  DisplayMode size = modeSet_ ? mode_ : DesktopMode();
  auto primary = std::make_shared<Surface>(size.width, size.height, ScreenFormat(), true);
  primary->window_ = window_;
  if (backBuffer) {
    primary->backBuffer_ = std::make_shared<Surface>(size.width, size.height, ScreenFormat(), true);
    *backBuffer = primary->backBuffer_;
  }
  return primary;
}

std::shared_ptr<Surface> DisplayDevice::CreateSurface(int width, int height, bool videoMemory) {
  if (width <= 0 || height <= 0 || ShouldFail(FailPoint::CreateOffscreenSurface)) return nullptr;
  return std::make_shared<Surface>(width, height, ScreenFormat(), videoMemory);
}

std::shared_ptr<Surface> DisplayDevice::CreateDepthSurface(int width, int height, int bits, bool videoMemory) {
  if (width <= 0 || height <= 0 || ShouldFail(FailPoint::CreateDepthSurface)) return nullptr;
  PixelFormat depth{bits, 0, 0, 0, 0, false};
  return std::make_shared<Surface>(width, height, depth, videoMemory);
}

uint32_t DisplayDevice::FreeTextureMemory() const {
  return g_environment.textureMemory - std::min(g_environment.textureMemory, TextureMemoryInUse());
}

int LiveDisplayDeviceCount() { return g_liveDevices; }

}  // namespace plat
