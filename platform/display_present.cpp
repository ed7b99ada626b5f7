// Putting finished frames on the screen: the 16-bit image goes into a
// streaming texture that the renderer scales into the window.
#include <SDL.h>

#include <atomic>
#include <chrono>
#include <map>
#include <thread>

#include "platform/frame_memo.h"
#include "platform/renderer_probe.h"
#include "platform/window_native.h"

namespace plat::native {
namespace {

struct Presenter {
  SDL_Renderer* renderer = nullptr;
  // A renderer on a graphics library's context belongs to the thread that
  // made it; only the software renderer may present from another thread.
  std::thread::id owner;
  bool software = false;
  FrameMemo shown;       // the software renderer's last image
  bool probing = false;  // made before the renderer probe answered
  SDL_Texture* texture = nullptr;
  int width = 0;
  int height = 0;
  uint32_t format = 0;
  bool vsync = false;
  std::chrono::steady_clock::time_point lastPresent{};
};

std::map<WindowHandle, Presenter> g_presenters;
std::atomic<uint64_t> g_pacedFrames{0};  // the loading animation presents from its own thread

uint32_t SdlFormatOf(const PixelFormat& f) {
  if (f.bitsPerPixel != 16) return SDL_PIXELFORMAT_UNKNOWN;
  if (f.redMask == 0xF800 && f.greenMask == 0x07E0 && f.blueMask == 0x001F) return SDL_PIXELFORMAT_RGB565;
  if (f.redMask == 0x7C00 && f.greenMask == 0x03E0 && f.blueMask == 0x001F) return SDL_PIXELFORMAT_RGB555;
  return SDL_PIXELFORMAT_UNKNOWN;
}

// Where the graphics library draws on the processor, the software renderer
// copies the image to the window for a fraction of its cost. Until the probe
// answers, frames go through it too, so that the first frame waits for
// nothing. A player's explicit choice of a driver wins over ours. settled is
// false while the probe has not answered.
bool SoftwareWanted(bool* settled) {
  if (const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER)) {
    *settled = true;
    return SDL_strcasecmp(chosen, "software") == 0;
  }
  const RendererKind kind = RendererProbeAnswer();
  *settled = kind != RendererKind::Pending;
  return kind == RendererKind::Processor || kind == RendererKind::Pending;
}

SDL_Renderer* CreateRenderer(SDL_Window* sdl, bool software) {
  if (software) {
    // Else SDL would still show the window's surface through the graphics library.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Renderer* renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_SOFTWARE)) return renderer;
  }
  if (SDL_Renderer* renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_PRESENTVSYNC)) return renderer;
  return SDL_CreateRenderer(sdl, -1, 0);
}

void DropRenderer(Presenter& p) {
  if (p.texture) SDL_DestroyTexture(p.texture);
  if (p.renderer) SDL_DestroyRenderer(p.renderer);
  p.texture = nullptr;
  p.renderer = nullptr;
}

Presenter* PresenterFor(WindowHandle window) {
  SDL_Window* sdl = SdlWindowOf(window);
  if (!sdl) return nullptr;
  Presenter& p = g_presenters[window];
  // A renderer is only ever changed on the thread that made it.
  if (p.renderer && p.probing && std::this_thread::get_id() == p.owner) {
    bool settled = false;
    const bool software = SoftwareWanted(&settled);
    if (settled) {
      p.probing = false;
      if (!software) DropRenderer(p);  // the probe found a GPU after the first frames
    }
  }
  if (!p.renderer) {
    bool settled = true;
    p.renderer = CreateRenderer(sdl, SoftwareWanted(&settled));
    if (!p.renderer) {
      g_presenters.erase(window);
      return nullptr;
    }
    p.probing = !settled;
    SDL_RendererInfo info;
    const bool known = SDL_GetRendererInfo(p.renderer, &info) == 0;
    const bool software = known && (info.flags & SDL_RENDERER_SOFTWARE) != 0;
    // The software renderer claims vsync but never waits for the display.
    p.vsync = known && !software && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
    p.owner = std::this_thread::get_id();
    p.software = software;
    p.shown.Forget();
  }
  return &p;
}

// Without vsync the frame rate is capped at 60 per second of real time.
void Pace(Presenter& p) {
  if (p.vsync) return;
  constexpr auto kFrame = std::chrono::microseconds(16667);
  auto now = std::chrono::steady_clock::now();
  if (now - p.lastPresent < kFrame) std::this_thread::sleep_until(p.lastPresent + kFrame);
  p.lastPresent = std::chrono::steady_clock::now();
}

}  // namespace

SurfaceResult PresentPixels(WindowHandle window, const uint8_t* pixels, int pitch, const PixelFormat& format,
                            const Rect& rect) {
  if (HeadlessVideo()) return SurfaceResult::Ok;
  uint32_t sdlFormat = SdlFormatOf(format);
  if (sdlFormat == SDL_PIXELFORMAT_UNKNOWN) return SurfaceResult::Failed;
  Presenter* p = PresenterFor(window);
  if (!p) return SurfaceResult::Failed;
  // The loading screen's worker: its picture stays as the main thread last
  // showed it rather than touch another thread's graphics context.
  if (!p->software && std::this_thread::get_id() != p->owner) return SurfaceResult::Ok;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (!p->texture || p->width != width || p->height != height || p->format != sdlFormat) {
    if (p->texture) SDL_DestroyTexture(p->texture);
    p->texture = SDL_CreateTexture(p->renderer, sdlFormat, SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!p->texture) return SurfaceResult::Failed;
    p->width = width;
    p->height = height;
    p->format = sdlFormat;
    SDL_RenderSetLogicalSize(p->renderer, width, height);
    p->shown.Forget();
  }
  const uint8_t* first = pixels + static_cast<size_t>(rect.top) * pitch + rect.left * 2;
  // The window keeps what the software renderer last put there; the
  // accelerated one is paced by its own present, so it always presents.
  if (p->software && !p->shown.Changed(first, pitch, width * 2, height)) {
    Pace(*p);
    ++g_pacedFrames;
    return SurfaceResult::Ok;
  }
  SDL_UpdateTexture(p->texture, nullptr, first, pitch);
  SDL_SetRenderDrawColor(p->renderer, 0, 0, 0, 255);
  SDL_RenderClear(p->renderer);
  SDL_RenderCopy(p->renderer, p->texture, nullptr, nullptr);
  Pace(*p);
  SDL_RenderPresent(p->renderer);
  ++g_pacedFrames;
  return SurfaceResult::Ok;
}

void RepaintWindow(WindowHandle window) {
  auto it = g_presenters.find(window);
  if (it != g_presenters.end()) it->second.shown.Forget();
}

void ReleasePresenter(WindowHandle window) {
  auto it = g_presenters.find(window);
  if (it == g_presenters.end()) return;
  DropRenderer(it->second);
  g_presenters.erase(it);
}

void ImageToWindowPoint(WindowHandle window, int x, int y, int* wx, int* wy) {
  auto it = g_presenters.find(window);
  if (it == g_presenters.end() || !it->second.texture) return;
  int ox = 0, oy = 0;
  SDL_RenderLogicalToWindow(it->second.renderer, static_cast<float>(x), static_cast<float>(y), &ox, &oy);
  *wx = ox;
  *wy = oy;
}

}  // namespace plat::native

uint64_t plat::PacedFrameCount() { return native::g_pacedFrames.load(); }
