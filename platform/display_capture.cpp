// Keeping the frames shown, for tests that check what reached the screen.
#include "platform/display_capture.h"

#include <algorithm>
#include <mutex>

namespace plat {
namespace {

std::mutex g_captureMutex;
bool g_capturing = false;
PresentedFrame g_lastFrame;

}  // namespace

void CapturePresentedFrames(bool on) {
  std::lock_guard lock(g_captureMutex);
  g_capturing = on;
  g_lastFrame = PresentedFrame{};
}

PresentedFrame LastPresentedFrame() {
  std::lock_guard lock(g_captureMutex);
  return g_lastFrame;
}

void RecordPresentedFrame(const uint8_t* pixels, int pitch, const PixelFormat& format, const Rect& rect) {
  std::lock_guard lock(g_captureMutex);
  if (!g_capturing) return;
  int bytes = (format.bitsPerPixel + 7) / 8;
  PresentedFrame& frame = g_lastFrame;
  frame.width = rect.right - rect.left;
  frame.height = rect.bottom - rect.top;
  frame.pitch = frame.width * bytes;
  frame.format = format;
  frame.pixels.resize(static_cast<size_t>(frame.pitch) * frame.height);
  for (int y = 0; y < frame.height; ++y) {
    const uint8_t* from = pixels + static_cast<size_t>(rect.top + y) * pitch + static_cast<size_t>(rect.left) * bytes;
    std::copy(from, from + frame.pitch, frame.pixels.data() + static_cast<size_t>(y) * frame.pitch);
  }
  ++frame.count;
}

}  // namespace plat
