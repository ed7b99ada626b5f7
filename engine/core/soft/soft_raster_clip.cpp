// Clipping triangles against the camera's six view-space planes
// (Sutherland-Hodgman), ping-ponging between the two work pools.
#include <vector>

#include "engine/core/nodes.h"
#include "engine/core/soft/soft_raster.h"

namespace {

// A triangle gains at most one vertex per plane.
constexpr size_t kPolygonVertices = 9;
// The two work pools made with the device: 8000 records each, of which a
// clipped polygon uses at most nine.
constexpr size_t kPoolRecords = 8000;

struct WorkPool {
  std::vector<SOFTVERTEX> records;
  std::vector<const SOFTVERTEX*> polygon;
};

WorkPool g_pools[2];
FRUSTUMPLANE g_planes[6];

float Distance(const FRUSTUMPLANE& plane, const SOFTVERTEX& v) {
  return plane.normal.x * v.x + plane.normal.y * v.y + plane.normal.z * v.z;
}

SOFTVERTEX Intersect(const SOFTVERTEX& p, const SOFTVERTEX& q, float t, bool textured) {
  SOFTVERTEX n = p;
  n.x = p.x + t * (q.x - p.x);
  n.y = p.y + t * (q.y - p.y);
  n.z = p.z + t * (q.z - p.z);
  n.light = p.light + static_cast<int32_t>(t * static_cast<float>(q.light - p.light));
  if (textured) {
    n.u = p.u + t * (q.u - p.u);
    n.v = p.v + t * (q.v - p.v);
    n.tu = p.tu + static_cast<int32_t>(t * static_cast<float>(q.tu - p.tu));
    n.tv = p.tv + static_cast<int32_t>(t * static_cast<float>(q.tv - p.tv));
  }
  ProjectSoftVertex(&n);
  return n;
}

void Clip(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, bool textured) {
  if (g_pools[0].records.size() < kPolygonVertices || g_pools[1].records.size() < kPolygonVertices) return;
  const SOFTVERTEX* start[3] = {a, b, c};
  std::vector<const SOFTVERTEX*>* in = &g_pools[0].polygon;
  in->assign(start, start + 3);
  int target = 1;
  for (const FRUSTUMPLANE& plane : g_planes) {
    WorkPool& pool = g_pools[target];
    pool.polygon.clear();
    size_t n = in->size(), used = 0;
    auto keep = [&](const SOFTVERTEX& v) {
      if (used == kPolygonVertices) return;
      pool.records[used] = v;
      pool.polygon.push_back(&pool.records[used++]);
    };
    for (size_t i = 0; i < n; ++i) {
      const SOFTVERTEX& p = *(*in)[i];
      const SOFTVERTEX& q = *(*in)[(i + 1) % n];
      float dp = Distance(plane, p), dq = Distance(plane, q);
      bool insideP = dp >= plane.offset, insideQ = dq >= plane.offset;
      if (insideP) keep(p);
      if (insideP != insideQ) keep(Intersect(p, q, (plane.offset - dp) / (dq - dp), textured));
    }
    if (pool.polygon.size() < 3) return;
    in = &pool.polygon;
    target ^= 1;
  }
  for (size_t i = 1; i + 1 < in->size(); ++i) FillSoftTriangle((*in)[0], (*in)[i], (*in)[i + 1]);
}

}  // namespace

void SetSoftClipPlanes(const CAMERADESC* camera) {
  for (int i = 0; i < 6; ++i) g_planes[i] = camera->frustum[i];
}

void ClipSoftTriangleFlat(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c) { Clip(a, b, c, false); }

void ClipSoftTriangleTextured(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c) {
  SOFTTEXTURE texture;
  if (CurrentSoftTexture(&texture)) Clip(a, b, c, true);
}

void AllocateSoftClipBuffers() {
  for (WorkPool& pool : g_pools) {
    pool.records.assign(kPoolRecords, SOFTVERTEX{});
    pool.polygon.reserve(kPoolRecords);
  }
}

void FreeSoftClipBuffers() {
  for (WorkPool& pool : g_pools) pool = WorkPool{};
}
