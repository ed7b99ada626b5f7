#pragma once
#include <cstdint>

#include "platform/raster/pipeline_vertex.h"

// Clipping in homogeneous screen space against the near and far planes and a
// guard band around the viewport, and the perspective divide. The guard band
// keeps screen coordinates small enough for exact fixed-point edges; the
// pixels outside the viewport are cut later by the scissor.
namespace plat::raster {

struct ClipVolume {
  float left, top, right, bottom;  // guard band, pixels
  uint8_t planes;                  // ClipBits to clip against
};

// Guard band width in pixels on each side of the viewport.
constexpr float kGuardBand = 4096.0f;
// Smallest w that is divided by.
constexpr float kMinW = 1e-6f;

ClipVolume MakeClipVolume(int viewportX, int viewportY, int viewportWidth, int viewportHeight, bool nearFar);

uint8_t ComputeOutcode(const ClipVertex& v, const ClipVolume& volume);

// Largest polygon a triangle becomes: three corners plus one per plane.
constexpr int kMaxClipPolygon = 3 + 7;

// Clips the polygon in place against the planes in `planes`; the array holds
// kMaxClipPolygon corners. Returns the new corner count (0 when nothing is left).
int ClipPolygon(ClipVertex* polygon, int count, uint8_t planes, const ClipVolume& volume);

// Clips a segment in place; false when nothing is left.
bool ClipLine(ClipVertex& a, ClipVertex& b, uint8_t planes, const ClipVolume& volume);

// The divide by w; w must be at least kMinW.
void ProjectVertex(const ClipVertex& in, bool perspectiveTexture, ScreenVertex& out);

}  // namespace plat::raster
