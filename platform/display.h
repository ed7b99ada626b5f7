#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/window.h"

// The display: memory surfaces in the screen's 16-bit layout (5-6-5, or 5-5-5
// when a test asks), display modes, and presentation of a finished image in
// the engine window. One display device is known; it is 3D-capable and shared
// with the desktop. Locks are never busy; surfaces are lost only when a test
// says so.
namespace plat {

enum class SurfaceResult { Ok, StillDrawing, SurfaceLost, Failed };

struct PixelFormat {
  int bitsPerPixel = 16;
  uint32_t redMask = 0;
  uint32_t greenMask = 0;
  uint32_t blueMask = 0;
  uint32_t alphaMask = 0;
  bool palettised = false;
};
PixelFormat Rgb565Format();
PixelFormat Rgb555Format();
PixelFormat Palette8Format();
// The pixel value of a 0x00RRGGBB colour in a layout (0 for a palettised one).
uint32_t PackColor(uint32_t rgb, const PixelFormat& format);

// right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

struct SurfaceDesc {
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes per row
  PixelFormat format;
  bool videoMemory = false;
};

class Surface {
 public:
  Surface(int width, int height, const PixelFormat& format, bool videoMemory);
  ~Surface();
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;

  SurfaceDesc Describe() const;
  // The first row's address and the pitch; null (and the result) when lost.
  SurfaceResult Lock(uint8_t** pixels, int* pitch);
  SurfaceResult Unlock();
  // Fills a rectangle (the whole surface for null) with a pixel value; clipped.
  SurfaceResult Fill(const Rect* rect, uint32_t pixel);
  // Fills the rectangle here and in the attached depth surface (each clipped
  // to its own size) in one pass over the rows; SurfaceLost when either is
  // lost (the colour is still filled when only the depth is).
  SurfaceResult FillWithDepth(const Rect& rect, uint32_t pixel, uint32_t depthValue);
  // Copies sourceRect of source stretched onto dest (nearest pixel), clipped
  // to this surface; both surfaces must have the same pixel size.
  SurfaceResult Blt(const Rect& dest, const Surface& source, const Rect& sourceRect);
  // Copies sourceRect of source unscaled to (x, y), clipped.
  SurfaceResult BltFast(int x, int y, const Surface& source, const Rect& sourceRect);
  // Writes a 0x00BBGGRR colour into one pixel, converted to the surface's layout.
  bool WriteColor(int x, int y, uint32_t colorRef);

  // Copies with effects (display_blit.cpp). sourceKey leaves out source
  // pixels equal to the source's colour key (when it has one);
  // mirrorLeftRight flips the source left to right. Sizes that differ are
  // stretched to the nearest pixel. Clipped to both surfaces: only pixels
  // inside this surface whose source pixel lies inside the source surface
  // are written.
  struct BltEffects {
    bool sourceKey = false;
    bool mirrorLeftRight = false;
  };
  SurfaceResult BltWithEffects(const Rect& dest, const Surface& source, const Rect& sourceRect, BltEffects effects);
  // An unscaled copy to (x, y) leaving out source pixels equal to its colour key.
  SurfaceResult BltFastKeyed(int x, int y, const Surface& source, const Rect& sourceRect);

  void SetColorKey(uint32_t pixel);
  bool HasColorKey() const { return hasColorKey_; }
  uint32_t ColorKey() const { return colorKey_; }

  // Grows whenever the pixels may have changed (a lock included), so a copy
  // kept in another form knows when it is out of date.
  uint64_t ChangeCount() const { return changes_; }

  bool IsLost() const;
  // A lost surface comes back cleared to zero.
  SurfaceResult Restore();
  void MarkLost();

  // The depth surface a 3D device draws with when it renders into this one.
  bool AttachDepth(std::shared_ptr<Surface> depth);
  const std::shared_ptr<Surface>& AttachedDepth() const { return depth_; }

  // Visible surfaces only: shows the attached back buffer (a flipping
  // surface), or a rectangle of another surface (a windowed one).
  SurfaceResult Flip();
  SurfaceResult PresentFrom(const Surface& source, const Rect& sourceRect);

 private:
  friend class DisplayDevice;
  void FillRow(int y, const Rect& clipped, uint32_t pixel);
  int width_;
  int height_;
  int pitch_;
  PixelFormat format_;
  bool videoMemory_;
  std::vector<uint8_t> pixels_;
  bool lost_ = false;
  uint64_t changes_ = 0;
  bool hasColorKey_ = false;
  uint32_t colorKey_ = 0;
  std::shared_ptr<Surface> depth_;
  WindowHandle window_ = 0;              // set on visible surfaces
  std::shared_ptr<Surface> backBuffer_;  // set on flipping ones
};

// Tests: every live surface in video memory reports itself lost until it is
// restored (system-memory surfaces are never lost).
void LoseAllSurfaces();

// Frames put on a screen so far, each paced by the display (its refresh, or
// at most 60 a second); frames with no screen to go to are not counted.
uint64_t PacedFrameCount();
int LiveSurfaceCount();

// Tests: while capturing, every frame shown by Flip or PresentFrom is kept
// (display_capture.cpp), whether or not a real display shows it.
struct PresentedFrame {
  int width = 0;
  int height = 0;
  int pitch = 0;
  PixelFormat format;
  std::vector<uint8_t> pixels;
  int count = 0;  // frames shown since capturing started
};
void CapturePresentedFrames(bool on);
PresentedFrame LastPresentedFrame();

struct DisplayMode {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
};

struct DisplayDeviceInfo {
  std::string driverName;
  std::string description;
  bool has3D = true;
  bool opens = true;  // false: the device is listed but cannot be opened
};

// What the system reports about its display. Tests change it to reach the
// engine's other roads; ResetDisplayEnvironment brings back these values.
struct DisplayEnvironment {
  int directXVersion = 0x0600;
  int platformId = 2;
  std::vector<DisplayDeviceInfo> devices{{"display", "Tarnwick display", true, true}};
  int desktopBitsPerPixel = 16;
  std::vector<DisplayMode> modes{{640, 480, 16}, {800, 600, 16}, {1024, 768, 16}};
  bool rgb555 = false;
  bool sharedWithDesktop = true;
  uint32_t textureMemory = 32u << 20;
};
DisplayEnvironment& GetDisplayEnvironment();
void ResetDisplayEnvironment();

// The display devices of the system, in its order.
std::vector<DisplayDeviceInfo> EnumerateDisplayDevices();

// One opened display device.
class DisplayDevice {
 public:
  // Null when the index is not listed, the device does not open, or a test fails it.
  static std::unique_ptr<DisplayDevice> Open(int deviceIndex);
  ~DisplayDevice();
  DisplayDevice(const DisplayDevice&) = delete;
  DisplayDevice& operator=(const DisplayDevice&) = delete;

  bool Has3D() const;
  bool SharedWithDesktop() const;
  DisplayMode DesktopMode() const;
  std::vector<DisplayMode> ListModes() const;

  // Exclusive: the device owns the window's display and may change its mode.
  bool SetCooperativeLevel(WindowHandle window, bool exclusive);
  bool SetDisplayMode(const DisplayMode& mode);
  void RestoreDisplayMode();
  bool DisplayModeSet() const { return modeSet_; }
  // The layout of the display's pixels in the current mode.
  PixelFormat ScreenFormat() const;

  // The visible surface of the cooperative window; with backBuffer, a
  // flipping one whose back buffer is stored there.
  std::shared_ptr<Surface> CreatePrimarySurface(std::shared_ptr<Surface>* backBuffer);
  // An off-screen surface in the display's layout.
  std::shared_ptr<Surface> CreateSurface(int width, int height, bool videoMemory);
  std::shared_ptr<Surface> CreateDepthSurface(int width, int height, int bits, bool videoMemory);
  // Card memory not held by textures (the 3D device keeps the count).
  uint32_t FreeTextureMemory() const;

 private:
  explicit DisplayDevice(int index) : index_(index) {}
  int index_;
  WindowHandle window_ = 0;
  bool exclusive_ = false;
  bool modeSet_ = false;
  DisplayMode mode_;
};

int LiveDisplayDeviceCount();

}  // namespace plat
