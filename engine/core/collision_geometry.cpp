#include "engine/core/collision_geometry.h"

#include <cmath>

#include "engine/core/node_bounds.h"

namespace {

VECTOR3 Sub(const VECTOR3& a, const VECTOR3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }

struct PLANE {
  VECTOR3 normal;
  float offset;
};

// Where the segment from a to b crosses the plane, when it does.
bool CrossPlane(const PLANE& plane, const VECTOR3& a, const VECTOR3& b, VECTOR3* point) {
  const VECTOR3 d = Sub(b, a);
  const float den = DotVector3(&plane.normal, &d);
  if (std::fabs(den) <= 1e-6f) return false;
  const float t = -(DotVector3(&plane.normal, &a) + plane.offset) / den;
  if (t < 0 || t > 1) return false;
  *point = {a.x + t * d.x, a.y + t * d.y, a.z + t * d.z};
  return true;
}

// Whether a point of a face's plane lies within the face (edges count).
bool InsideFace(const VECTOR3 box[8], const int face[4], const VECTOR3& normal, const VECTOR3& point) {
  static const int kEdgeStarts[4] = {3, 0, 1, 2};
  for (int e = 0; e < 4; ++e) {
    const VECTOR3& start = box[face[kEdgeStarts[e]]];
    const VECTOR3& end = box[face[(kEdgeStarts[e] + 1) % 4]];
    VECTOR3 n;
    TriangleNormal(&n, &start, &end, &point);
    if (DotVector3(&n, &normal) < 0) return false;
  }
  return true;
}

bool InsideTriangle(const WORLDTRIANGLE& t, const VECTOR3& point) {
  VECTOR3 n;
  TriangleNormal(&n, &t.r, &t.p, &point);
  if (DotVector3(&n, &t.normal) < 0) return false;
  TriangleNormal(&n, &t.p, &t.q, &point);
  if (DotVector3(&n, &t.normal) < 0) return false;
  TriangleNormal(&n, &t.q, &t.r, &point);
  return DotVector3(&n, &t.normal) >= 0;
}

void MakeFacePlanes(const VECTOR3 box[8], PLANE planes[6]) {
  for (int f = 0; f < 6; ++f) {
    const int* face = kBoxFaces[f];
    TriangleNormal(&planes[f].normal, &box[face[3]], &box[face[0]], &box[face[1]]);
    planes[f].offset = -DotVector3(&planes[f].normal, &box[face[0]]);
  }
}

// A corner is inside a box when a ray from it along +X crosses an odd number
// of the box's faces.
bool CornerInside(const VECTOR3 box[8], const PLANE planes[6], const VECTOR3& corner) {
  int crossings = 0;
  for (int f = 0; f < 6; ++f) {
    const PLANE& plane = planes[f];
    if (std::fabs(plane.normal.x) <= 1e-6f) continue;
    const float t = -(DotVector3(&plane.normal, &corner) + plane.offset) / plane.normal.x;
    if (t <= 0) continue;
    const VECTOR3 point = {corner.x + t, corner.y, corner.z};
    if (InsideFace(box, kBoxFaces[f], plane.normal, point)) ++crossings;
  }
  return crossings % 2 == 1;
}

bool EdgesCrossFaces(const VECTOR3 faces[8], const PLANE planes[6], const VECTOR3 edges[8]) {
  for (int f = 0; f < 6; ++f)
    for (const auto& edge : kBoxEdges) {
      VECTOR3 point;
      if (CrossPlane(planes[f], edges[edge[0]], edges[edge[1]], &point) &&
          InsideFace(faces, kBoxFaces[f], planes[f].normal, point))
        return true;
    }
  return false;
}

// Whether some edge of a (as R to P, P to Q, Q to R) passes through b.
bool TriangleEdgesHit(const WORLDTRIANGLE& a, const WORLDTRIANGLE& b) {
  const PLANE plane = {b.normal, b.offset};
  const VECTOR3* ends[4] = {&a.r, &a.p, &a.q, &a.r};
  for (int e = 0; e < 3; ++e) {
    VECTOR3 point;
    if (CrossPlane(plane, *ends[e], *ends[e + 1], &point) && InsideTriangle(b, point)) return true;
  }
  return false;
}

bool SpheresOverlap(const VECTOR3& a, float ra, const VECTOR3& b, float rb) {
  const float reach = ra + rb;
  return reach * reach >= SquaredDistance3(&a, &b);
}

}  // namespace

COLLISIONSPHERE MakeBoxSphere(const VECTOR3* centre, const VECTOR3 corners[8]) {
  float largest = 0;
  for (int i = 0; i < 8; ++i) largest = std::fmax(largest, SquaredDistance3(centre, &corners[i]));
  return {*centre, std::sqrt(largest)};
}

bool SpheresApart(const COLLISIONSPHERE& a, const COLLISIONSPHERE& b) {
  return !SpheresOverlap(a.centre, a.radius, b.centre, b.radius);
}

WORLDTRIANGLE MakeWorldTriangle(const VECTOR3* p, const VECTOR3* q, const VECTOR3* r, int primitive) {
  WORLDTRIANGLE t;
  t.p = *p;
  t.q = *q;
  t.r = *r;
  // The game's own factor, not quite a third.
  t.centroid = {(p->x + q->x + r->x) * 0.3333f, (p->y + q->y + r->y) * 0.3333f, (p->z + q->z + r->z) * 0.3333f};
  t.radius = std::sqrt(std::fmax(SquaredDistance3(&t.centroid, p),
                                 std::fmax(SquaredDistance3(&t.centroid, q), SquaredDistance3(&t.centroid, r))));
  TriangleNormal(&t.normal, p, q, r);
  t.offset = -DotVector3(&t.normal, p);
  t.primitive = primitive;
  return t;
}

bool BoxesTouch(const VECTOR3 a[8], const COLLISIONSPHERE& sphereA, const VECTOR3 b[8],
                const COLLISIONSPHERE& sphereB) {
  const bool aIsBig = sphereA.radius > sphereB.radius;
  const VECTOR3* big = aIsBig ? a : b;
  const VECTOR3* small = aIsBig ? b : a;
  PLANE bigPlanes[6], smallPlanes[6];
  MakeFacePlanes(big, bigPlanes);
  for (int c = 0; c < 8; ++c)
    if (CornerInside(big, bigPlanes, small[c])) return true;
  if (EdgesCrossFaces(big, bigPlanes, small)) return true;
  MakeFacePlanes(small, smallPlanes);
  return EdgesCrossFaces(small, smallPlanes, big);
}

int FindBoxTriangleContact(const VECTOR3 box[8], const COLLISIONSPHERE& sphere,
                           const std::vector<WORLDTRIANGLE>& triangles) {
  for (const WORLDTRIANGLE& t : triangles) {
    if (!SpheresOverlap(t.centroid, t.radius, sphere.centre, sphere.radius)) continue;
    // Skip a plane with every corner on one side; a box lying entirely in
    // the plane is still tested.
    int first = 0;
    float firstSide = 0;
    while (first < 8 && (firstSide = DotVector3(&t.normal, &box[first]) + t.offset) == 0) ++first;
    bool straddles = first == 8;
    for (int c = first + 1; c < 8 && !straddles; ++c)
      straddles = (DotVector3(&t.normal, &box[c]) + t.offset) * firstSide < 0;
    if (!straddles) continue;
    const PLANE plane = {t.normal, t.offset};
    for (const auto& edge : kBoxEdges) {
      VECTOR3 point;
      if (CrossPlane(plane, box[edge[0]], box[edge[1]], &point) && InsideTriangle(t, point)) return t.primitive;
    }
  }
  return -1;
}

bool FindTriangleContact(const std::vector<WORLDTRIANGLE>& a, const std::vector<WORLDTRIANGLE>& b, int* primitiveA,
                         int* primitiveB) {
  for (const WORLDTRIANGLE& ta : a)
    for (const WORLDTRIANGLE& tb : b) {
      if (!SpheresOverlap(ta.centroid, ta.radius, tb.centroid, tb.radius)) continue;
      if (TriangleEdgesHit(ta, tb) || TriangleEdgesHit(tb, ta)) {
        *primitiveA = ta.primitive;
        *primitiveB = tb.primitive;
        return true;
      }
    }
  return false;
}
