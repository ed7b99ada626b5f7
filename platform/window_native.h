#pragma once
// Internal to the platform layer: what the display needs of a window.
#include <vector>

#include "platform/display.h"
#include "platform/window.h"

struct SDL_Window;

namespace plat::native {

// True when SDL runs without a real display (dummy or offscreen driver, or none).
bool HeadlessVideo();
// A video driver that shows nothing: "dummy", "offscreen" or none.
bool HeadlessDriver(const char* driver);
// Starts SDL's video subsystem once; false when it cannot start.
bool EnsureVideo();
SDL_Window* SdlWindowOf(WindowHandle window);

// Some window systems (Wayland) do not let a program move the pointer. There
// a warp is remembered instead, and the next motion of the pointer counts
// from it, so that mouse look, which warps after every move, still sees
// each move. Tests choose with SetWarpsRefused (1 refused, 0 allowed, -1 by
// the driver).
bool WarpsRefused();
void SetWarpsRefused(int refused);
// The position of a motion event (x, y in, the position to report out).
void TakeMotion(WindowHandle window, int relativeX, int relativeY, int* x, int* y);
// Queues WM_MOUSEMOVE, or gives a move still waiting last in the queue the new position.
void PostMouseMove(WindowHandle window, WParam flags, LParam point);

// A display mode on a window: desktop-wide and borderless, showing the mode's
// image scaled with its aspect kept; a plain window of the mode's size when
// TARNWICK_WINDOWED=1.
void EnterDisplayMode(WindowHandle window, int width, int height);
void LeaveDisplayMode(WindowHandle window);

// The window of an SDL window id, 0 when none; the style of a window's class.
WindowHandle WindowFromSdlId(uint32_t id);
uint32_t ClassStyleOf(WindowHandle window);
std::vector<WindowHandle> AllWindows();
// Turns the system's pending events into queued messages (window_events.cpp).
void TranslateSystemEvents();

// The desktop's size, when the system reports one; the outputs stay otherwise.
void DesktopSize(int* width, int* height);

// Shows a rectangle of 16-bit pixels in the window, scaled to fit with its
// aspect kept, paced to the display; nothing happens without a real display
// (display_present.cpp).
SurfaceResult PresentPixels(WindowHandle window, const uint8_t* pixels, int pitch, const PixelFormat& format,
                            const Rect& rect);
// The window lost what it showed (uncovered, resized): the next frame is
// shown even when unchanged.
void RepaintWindow(WindowHandle window);
// Frees the window's presentation resources (display_present.cpp).
void ReleasePresenter(WindowHandle window);
// Window coordinates of an image point once a presenter scales the image.
void ImageToWindowPoint(WindowHandle window, int x, int y, int* wx, int* wy);

}  // namespace plat::native
