#include "platform/raster/clipper.h"

#include <cmath>

namespace plat::raster {
namespace {

constexpr uint8_t kPlaneOrder[] = {kClipW, kClipNear, kClipFar, kClipLeft, kClipRight, kClipTop, kClipBottom};

float Distance(const ClipVertex& v, uint8_t plane, const ClipVolume& volume) {
  switch (plane) {
    case kClipNear: return v.clipZ;
    case kClipFar: return v.w - v.clipZ;
    case kClipLeft: return v.x - volume.left * v.w;
    case kClipRight: return volume.right * v.w - v.x;
    case kClipTop: return v.y - volume.top * v.w;
    case kClipBottom: return volume.bottom * v.w - v.y;
    default: return v.w - kMinW;
  }
}

ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, float t) {
  ClipVertex r;
  r.x = a.x + (b.x - a.x) * t;
  r.y = a.y + (b.y - a.y) * t;
  r.z = a.z + (b.z - a.z) * t;
  r.w = a.w + (b.w - a.w) * t;
  r.clipZ = a.clipZ + (b.clipZ - a.clipZ) * t;
  r.u = a.u + (b.u - a.u) * t;
  r.v = a.v + (b.v - a.v) * t;
  for (int i = 0; i < kColorCount; ++i) r.color[i] = a.color[i] + (b.color[i] - a.color[i]) * t;
  return r;
}

// The crossing point, always measured from the inside corner so that an edge
// shared by two triangles is cut at exactly the same place for both.
ClipVertex Intersect(const ClipVertex& inside, float dIn, const ClipVertex& outside, float dOut) {
  return Lerp(inside, outside, dIn / (dIn - dOut));
}

}  // namespace

ClipVolume MakeClipVolume(int viewportX, int viewportY, int viewportWidth, int viewportHeight, bool nearFar) {
  ClipVolume v;
  v.left = static_cast<float>(viewportX) - kGuardBand;
  v.top = static_cast<float>(viewportY) - kGuardBand;
  v.right = static_cast<float>(viewportX + viewportWidth) + kGuardBand;
  v.bottom = static_cast<float>(viewportY + viewportHeight) + kGuardBand;
  v.planes = kClipW | kClipLeft | kClipRight | kClipTop | kClipBottom;
  if (nearFar) v.planes |= kClipNear | kClipFar;
  return v;
}

uint8_t ComputeOutcode(const ClipVertex& v, const ClipVolume& volume) {
  if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z) || !std::isfinite(v.w) ||
      !std::isfinite(v.clipZ))
    return kClipInvalid;
  uint8_t code = 0;
  for (uint8_t plane : kPlaneOrder)
    if ((volume.planes & plane) && Distance(v, plane, volume) < 0.0f) code |= plane;
  return code;
}

int ClipPolygon(ClipVertex* polygon, int count, uint8_t planes, const ClipVolume& volume) {
  ClipVertex buffer[kMaxClipPolygon];
  ClipVertex* in = polygon;
  ClipVertex* out = buffer;
  for (uint8_t plane : kPlaneOrder) {
    if (!(planes & plane) || count == 0) continue;
    int n = 0;
    const ClipVertex* prev = &in[count - 1];
    float dPrev = Distance(*prev, plane, volume);
    for (int i = 0; i < count; ++i) {
      const ClipVertex* cur = &in[i];
      const float dCur = Distance(*cur, plane, volume);
      // A convex polygon gains at most one corner per plane; the bound
      // only matters for slivers that rounding has made non-convex.
      if ((dPrev >= 0.0f) != (dCur >= 0.0f) && n < kMaxClipPolygon)
        out[n++] = dPrev >= 0.0f ? Intersect(*prev, dPrev, *cur, dCur) : Intersect(*cur, dCur, *prev, dPrev);
      if (dCur >= 0.0f && n < kMaxClipPolygon) out[n++] = *cur;
      prev = cur;
      dPrev = dCur;
    }
    count = n;
    ClipVertex* t = in;
    in = out;
    out = t;
  }
  if (in != polygon)
    for (int i = 0; i < count; ++i) polygon[i] = in[i];
  return count < 3 ? 0 : count;
}

bool ClipLine(ClipVertex& a, ClipVertex& b, uint8_t planes, const ClipVolume& volume) {
  float t0 = 0.0f, t1 = 1.0f;
  for (uint8_t plane : kPlaneOrder) {
    if (!(planes & plane)) continue;
    const float d0 = Distance(a, plane, volume);
    const float d1 = Distance(b, plane, volume);
    if (d0 < 0.0f && d1 < 0.0f) return false;
    if (d0 < 0.0f) {
      const float t = d0 / (d0 - d1);
      if (t > t0) t0 = t;
    } else if (d1 < 0.0f) {
      const float t = d0 / (d0 - d1);
      if (t < t1) t1 = t;
    }
  }
  if (t0 > t1) return false;
  const ClipVertex start = t0 > 0.0f ? Lerp(a, b, t0) : a;
  if (t1 < 1.0f) b = Lerp(a, b, t1);
  a = start;
  return true;
}

void ProjectVertex(const ClipVertex& in, bool perspectiveTexture, ScreenVertex& out) {
  const float rhw = 1.0f / in.w;
  out.x = in.x * rhw;
  out.y = in.y * rhw;
  out.attr[kAttrZ] = in.z * rhw;
  out.attr[kAttrRhw] = rhw;
  out.attr[kAttrU] = perspectiveTexture ? in.u * rhw : in.u;
  out.attr[kAttrV] = perspectiveTexture ? in.v * rhw : in.v;
  for (int i = 0; i < kColorCount; ++i) out.attr[kAttrR + i] = in.color[i];
}

}  // namespace plat::raster
