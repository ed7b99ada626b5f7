#pragma once
// Internal to the platform layer: the display's presents report each frame here.
#include "platform/display.h"

namespace plat {

// Keeps a copy of the rectangle of the frame while tests capture.
void RecordPresentedFrame(const uint8_t* pixels, int pitch, const PixelFormat& format, const Rect& rect);

}  // namespace plat
