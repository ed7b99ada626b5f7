#include "world/collision_boxes.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace {

float Length(const VECTOR3& v) { return std::sqrt(Dot(v, v)); }

// The interval of the line origin + t direction inside the box. An axis the
// line runs parallel to adds no bound when the origin lies within its slab,
// and rules the line out when it does not.
bool SlabInterval(const VECTOR3& origin, const VECTOR3& direction, const ORIENTEDBOX& box, float* entry, float* exit) {
  float tEntry = -FLT_MAX;
  float tExit = FLT_MAX;
  const VECTOR3 toCentre = VectorBetween(origin, box.centre);
  for (int i = 0; i < 3; ++i) {
    const float e = Dot(box.axes[i], toCentre);
    const float f = Dot(box.axes[i], direction);
    if (f == 0) {
      if (std::fabs(e) > box.half[i]) return false;
      continue;
    }
    const float t1 = (e + box.half[i]) / f;
    const float t2 = (e - box.half[i]) / f;
    tEntry = std::max(tEntry, std::min(t1, t2));
    tExit = std::min(tExit, std::max(t1, t2));
    if (tExit < tEntry || tExit < 0) return false;
  }
  *entry = tEntry;
  *exit = tExit;
  return true;
}

}  // namespace

ORIENTEDBOX BuildOrientedBox(const VECTOR3& centre, const VECTOR3 corners[8]) {
  ORIENTEDBOX box;
  box.centre = centre;
  const int ends[3] = {1, 4, 3};
  for (int i = 0; i < 3; ++i) {
    VECTOR3 edge = VectorBetween(corners[0], corners[ends[i]]);
    const float length = Length(edge);
    if (length > 0) {
      ScaleInPlace(&edge, 1 / length);
      box.axes[i] = edge;
      box.half[i] = length / 2;
    } else {
      box.axes[i] = {0, 0, 0};
      box.half[i] = 0;
    }
  }
  return box;
}

bool IntersectRayBox(const VECTOR3& origin, const VECTOR3& direction, const ORIENTEDBOX& box, float* t) {
  float entry = 0;
  float exit = 0;
  if (!SlabInterval(origin, direction, box, &entry, &exit)) return false;
  *t = entry > 0 ? entry : exit;
  return true;
}

float IntersectRayPlane(const VECTOR3& origin, const VECTOR3& direction, const PLANEDESC& plane) {
  const float distance = Dot(plane.normal, origin) + plane.d;
  const float along = Dot(plane.normal, direction);
  if (along == 0) return distance != 0 ? FLT_MAX : 0;
  return -distance / along;
}

bool IntersectSegmentObb(const VECTOR3& from, const VECTOR3& to, const ORIENTEDBOX& box, float* fraction) {
  VECTOR3 direction = VectorBetween(from, to);
  const float length = Length(direction);
  if (length == 0) return false;
  ScaleInPlace(&direction, 1 / length);
  float entry = 0;
  float exit = 0;
  if (!SlabInterval(from, direction, box, &entry, &exit)) return false;
  if (entry > 0 && entry < length) {
    *fraction = entry / length;
    return true;
  }
  if (exit < length) {
    *fraction = exit / length;
    return true;
  }
  return false;
}

namespace {

// How far a footprint coordinate moves to clear a cylinder of radius r: out
// to the near side, or back to the side it came from when the motion crossed
// the whole width.
float FootprintCorrection(float at, float previous, float width, float r) {
  if (at < 0) return previous > width ? width + r - at : -r - at;
  if (at > width) return previous < 0 ? -r - at : width + r - at;
  return 0;
}

constexpr int kMaxCylinderSamples = 4096;

float OutsideBy(float at, float width) { return at < 0 ? -at : (at > width ? at - width : 0); }

}  // namespace

bool TestCylinderHitsBox(VECTOR3 positions[3], const ORIENTEDBOX& box) {
  VECTOR3& p = positions[0];
  const VECTOR3& q = positions[1];
  const float r = positions[2].x;
  const float h = positions[2].y;

  VECTOR3 corner = box.centre;
  for (int i = 0; i < 3; ++i) SubtractInPlace(&corner, ScaledVector(box.axes[i], box.half[i]));
  const VECTOR3 opposite = AddVectors(corner, ScaledVector(box.axes[2], 2 * box.half[2]));
  float bottom = corner.z;
  float top = opposite.z;
  if (box.axes[2].z < 0) std::swap(bottom, top);
  if (p.z + h <= bottom || p.z >= top) return false;

  auto local = [&](const VECTOR3& x, float out[3]) {
    const VECTOR3 rel = VectorBetween(corner, x);
    for (int i = 0; i < 3; ++i) out[i] = Dot(rel, box.axes[i]);
  };
  float pl[3];
  float ql[3];
  local(p, pl);
  local(q, ql);
  const float width1 = 2 * box.half[0];
  const float width2 = 2 * box.half[1];

  // Returns true after writing the corrected sample into p.
  auto testSample = [&](float u, float v, float w) {
    const float du = OutsideBy(u, width1);
    const float dv = OutsideBy(v, width2);
    if (du * du + dv * dv >= r * r) return false;
    float cu = FootprintCorrection(u, ql[0], width1, r);
    float cv = FootprintCorrection(v, ql[1], width2, r);
    if (cu != 0 && cv != 0) {
      if (std::fabs(ql[0] - u) * width2 > std::fabs(ql[1] - v) * width1) cv = 0;
      else cu = 0;
    }
    VECTOR3 world = corner;
    world = AddVectors(world, ScaledVector(box.axes[0], u + cu));
    world = AddVectors(world, ScaledVector(box.axes[1], v + cv));
    world = AddVectors(world, ScaledVector(box.axes[2], w));
    p = world;
    return true;
  };

  // Samples 0.7 r apart on the way from the previous position, so a fast
  // cylinder cannot pass a thin box between two frames; a radius of 0
  // samples the new position alone, and a jump across the map is not walked.
  const float step = 0.7f * r;
  const float du = pl[0] - ql[0];
  const float dv = pl[1] - ql[1];
  const float distance = std::sqrt(du * du + dv * dv);
  if (step > 0 && distance > step) {
    const double steps = std::ceil(static_cast<double>(distance) / step) - 1;
    const int samples = static_cast<int>(std::min(steps, static_cast<double>(kMaxCylinderSamples)));
    for (int k = 1; k <= samples; ++k) {
      const float f = k * step / distance;
      if (testSample(ql[0] + du * f, ql[1] + dv * f, ql[2] + (pl[2] - ql[2]) * f)) return true;
    }
  }
  return testSample(pl[0], pl[1], pl[2]);
}
