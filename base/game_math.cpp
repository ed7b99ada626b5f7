#include "base/game_math.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/terrain.h"
#include "platform/message_box.h"

namespace {

double Dot4(const float* a, const float* b) {
  return double{a[0]} * b[0] + double{a[1]} * b[1] + double{a[2]} * b[2] + double{a[3]} * b[3];
}

// out = a p + b q over four floats.
void Blend4(const float* p, double a, const float* q, double b, float* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<float>(a * p[i] + b * q[i]);
}

}  // namespace

void QuaternionSlerp(const float* from, const float* to, float t, float* out) {
  float target[4] = {to[0], to[1], to[2], to[3]};
  double c = from ? Dot4(from, to) : to[3];
  if (c < 0) {
    for (float& v : target) v = -v;
    c = -c;
  }
  double a = 1.0 - t;
  double b = t;
  // Inputs of more than unit length can give c above 1: no angle to take.
  if (c < 1.0 - 1e-6) {
    const double angle = std::acos(c);
    const double s = std::sin(angle);
    a = std::sin((1.0 - t) * angle) / s;
    b = std::sin(t * angle) / s;
  }
  if (from) {
    Blend4(from, a, target, b, out);
  } else {
    out[0] = static_cast<float>(b * target[0]);
    out[1] = static_cast<float>(b * target[1]);
    out[2] = static_cast<float>(b * target[2]);
    out[3] = static_cast<float>(a + b * target[3]);
  }
}

void InterpolateQuaternion(const float* q0, const float* q1, float t, float* out) {
  float target[4] = {q1[0], q1[1], q1[2], q1[3]};
  double c = Dot4(q0, q1);
  if (c < 0) {
    for (float& v : target) v = -v;
    c = -c;
  }
  const double angle = std::acos(std::min(c, 1.0));
  const double s = std::sin(angle);
  if (s < 1e-6) {
    std::copy(q0, q0 + 4, out);
    return;
  }
  Blend4(q0, std::sin((1.0 - t) * angle) / s, target, std::sin(t * angle) / s, out);
}

void QuaternionToMatrix(float* out, const float* q) {
  const double x = q[0], y = q[1], z = q[2], w = q[3];
  const double m[9] = {1 - 2 * (y * y + z * z), 2 * (x * y - z * w),     2 * (x * z + y * w),
                       2 * (x * y + z * w),     1 - 2 * (x * x + z * z), 2 * (y * z - x * w),
                       2 * (x * z - y * w),     2 * (y * z + x * w),     1 - 2 * (x * x + y * y)};
  for (int i = 0; i < 9; ++i) out[i] = static_cast<float>(m[i]);
}

void MatrixToQuaternion(const float* m, float* out) {
  auto at = [m](int row, int column) { return double{m[3 * row + column]}; };
  double q[3];
  double w;
  const double trace = at(0, 0) + at(1, 1) + at(2, 2);
  if (trace > 0) {
    const double s = std::sqrt(trace + 1);
    const double r = 0.5 / s;
    w = s / 2;
    q[0] = (at(2, 1) - at(1, 2)) * r;
    q[1] = (at(0, 2) - at(2, 0)) * r;
    q[2] = (at(1, 0) - at(0, 1)) * r;
  } else {
    int i = 0;
    if (at(1, 1) > at(0, 0)) i = 1;
    if (at(2, 2) > at(i, i)) i = 2;
    const int j = (i + 1) % 3;
    const int k = (i + 2) % 3;
    const double s = std::sqrt(std::max(0.0, at(i, i) - (at(j, j) + at(k, k)) + 1));
    const double r = s != 0 ? 0.5 / s : 0;
    q[i] = s / 2;
    w = (at(k, j) - at(j, k)) * r;
    q[j] = (at(j, i) + at(i, j)) * r;
    q[k] = (at(k, i) + at(i, k)) * r;
  }
  out[0] = static_cast<float>(-w);
  out[1] = static_cast<float>(q[0]);
  out[2] = static_cast<float>(q[1]);
  out[3] = static_cast<float>(q[2]);
}

void AxisAngleToQuaternion(float angle, float x, float y, float z, float* out) {
  const double s = std::sin(angle / 2.0);
  out[0] = static_cast<float>(s * x);
  out[1] = static_cast<float>(s * y);
  out[2] = static_cast<float>(s * z);
  out[3] = static_cast<float>(std::cos(angle / 2.0));
}

void MultiplyMatrix9(float* out, const float* a, const float* b) {
  double product[9];
  for (int row = 0; row < 3; ++row)
    for (int column = 0; column < 3; ++column)
      product[3 * row + column] = double{a[3 * row]} * b[column] + double{a[3 * row + 1]} * b[3 + column] +
                                  double{a[3 * row + 2]} * b[6 + column];
  for (int i = 0; i < 9; ++i) out[i] = static_cast<float>(product[i]);
}

void ConcatMatrix34(const MATRIX34* a, const MATRIX34* b, MATRIX34* out) { MultiplyMatrix34(out, a, b); }

float GetPointDistance(const VECTOR3* p, const VECTOR3* q) { return GetPointDistanceN(p, q, 3); }

void GetTriangleNormal(VECTOR3* out, const VECTOR3* a, const VECTOR3* b, const VECTOR3* c) {
  const VECTOR3 ab{b->x - a->x, b->y - a->y, b->z - a->z};
  const VECTOR3 ac{c->x - a->x, c->y - a->y, c->z - a->z};
  CrossVector3(out, &ab, &ac);
}

int IsSameDirection(const VECTOR3* u, const VECTOR3* v) { return DotVector3(u, v) > 0 ? 1 : 0; }

int GetAngleBetweenVectors(const VECTOR3* a, const VECTOR3* b, double* out) {
  if (!a || !b || !out) return 0;
  double lengths = std::sqrt(double(DotVector3(a, a))) * std::sqrt(double(DotVector3(b, b)));
  if (std::fabs(lengths) <= 1e-6) {
    *out = 0;
    return 1;
  }
  double c = DotVector3(a, b) / lengths;
  *out = c >= 1 ? 0 : c <= -1 ? 3.1415926 : std::acos(c);
  return 1;
}

int IsPointInQuadVolume(const VECTOR3* point, const QUADVOLUME* quad) {
  const float x = point->x, y = point->y, z = point->z;
  if (!(z > quad->zMin && z < quad->zMax)) return 0;
  if (!(y > quad->corner[2][1] && y < quad->corner[0][1])) return 0;
  if (!(x > quad->corner[3][0] && x < quad->corner[1][0])) return 0;
  int crossings = 0;
  for (int e = 0; e < 4; ++e) {
    const float* p = quad->corner[e];
    const float* q = quad->corner[(e + 1) % 4];
    if (std::fabs(q[1] - p[1]) < 0.00001f) continue;
    if ((p[1] > y) == (q[1] > y)) continue;
    const double crossX = p[0] + (double{y} - p[1]) * (q[0] - p[0]) / (q[1] - p[1]);
    if (x < crossX) ++crossings;
  }
  return crossings & 1;
}

int IntersectSegmentBox(const VECTOR3* start, const VECTOR3* end, const VECTOR3* halfExtents, const VECTOR3* centre) {
  const float s[3] = {start->x, start->y, start->z};
  const float d[3] = {end->x - start->x, end->y - start->y, end->z - start->z};
  const float c[3] = {centre->x, centre->y, centre->z};
  const float h[3] = {halfExtents->x, halfExtents->y, halfExtents->z};
  // The faces x = c +- h and y = c +- h; a crossing must lie within the
  // face's extent on the two other axes.
  for (int axis = 0; axis < 2; ++axis) {
    if (std::fabs(d[axis]) <= 0.00001f) continue;
    const int other = 1 - axis;
    for (float side : {1.0f, -1.0f}) {
      const double t = (c[axis] + side * h[axis] - s[axis]) / double{d[axis]};
      if (t < 0.0001 || t > 0.9999) continue;
      const double across = s[other] + t * d[other];
      const double height = s[2] + t * d[2];
      if (across >= c[other] - h[other] && across <= c[other] + h[other] && height >= c[2] - h[2] &&
          height <= c[2] + h[2])
        return 1;
    }
  }
  return 0;
}

int IsPointInPolygon(const POLYGONDESC* polygon, const VECTOR3* point) {
  const std::vector<VECTOR3>& p = polygon->points;
  const size_t n = p.size();
  int crossings = 0;
  for (size_t i = 0, j = n ? n - 1 : 0; i < n; j = i++) {
    const VECTOR3& a = p[j];
    const VECTOR3& b = p[i];
    if ((a.y <= point->y) == (b.y <= point->y)) continue;
    const double crossX = a.x + (double{point->y} - a.y) * (b.x - a.x) / (double{b.y} - a.y);
    if (point->x < crossX) ++crossings;
  }
  return crossings & 1;
}

int IsPointInPolygonSet(const POLYGONSETDESC* set, const VECTOR3* point, int parity) {
  if (!set) return 0;
  int inside = 0;
  for (const POLYGONDESC& polygon : set->polygons) {
    if (!IsPointInPolygon(&polygon, point)) continue;
    if (!parity) return 1;
    ++inside;
  }
  return inside & 1;
}

HOBJECT CreateQuadVolumeModel(const QUADVOLUME* quad, const float* colour) {
  static const float kDefaultColour[3] = {0, 1, 1};
  const float* rgb = colour ? colour : kDefaultColour;
  MESHVERTEX vertices[8];
  for (int i = 0; i < 8; ++i) {
    vertices[i].x = quad->corner[i % 4][0];
    vertices[i].y = quad->corner[i % 4][1];
    vertices[i].z = i < 4 ? quad->zMin : quad->zMax;
    // A pre-lit mesh takes its colours from the normal slots.
    vertices[i].nx = rgb[0], vertices[i].ny = rgb[1], vertices[i].nz = rgb[2];
  }
  // Two crossed diagonal planes, seen from both sides.
  const MESHPRIM words[] = {PRIM_TRIANGLE, -1, 1, 0, 2, 6, PRIM_TRIANGLE, -1, 1, 0, 6, 4,
                            PRIM_TRIANGLE, -1, 1, 1, 3, 7, PRIM_TRIANGLE, -1, 1, 1, 7, 5};
  BeginNode(NODE_MESH);
  SetMeshFlags(0, MESH_PRELIT);
  AppendMeshData(0, vertices, 8, words, 24, 4, 1);
  const HOBJECT node = EndNode(0);
  ShowNode(node, 0);
  return node;
}

void BuildOutlinePolygons(HOBJECT meshNode, POLYGONSETDESC* set) {
  if (!set) return;
  const HOBJECT terrain = CreateTerrain(meshNode, 10, 10);
  if (!terrain) return;
  int edgeCount = 0;
  const int32_t* edges = GetTerrainEdges(terrain, &edgeCount);
  int vertexCount = 0, frames = 0, floats = 0;
  const MESHVERTEX* vertices = GetMeshVertices(meshNode, &vertexCount, &frames, &floats);
  if (edges && vertices) {
    std::vector<char> used(static_cast<size_t>(edgeCount), 0);
    auto position = [&](int32_t index) {
      return index >= 0 && index < vertexCount ? VECTOR3{vertices[index].x, vertices[index].y, vertices[index].z}
                                               : VECTOR3{0, 0, 0};
    };
    // The next unused edge leaving vertex from, in either direction; its far end.
    auto follow = [&](int32_t from, int32_t* to) {
      for (int pass = 0; pass < 2; ++pass)
        for (int e = 0; e < edgeCount; ++e) {
          if (used[e] || edges[3 * e + pass] != from) continue;
          used[e] = 1;
          *to = edges[3 * e + 1 - pass];
          return true;
        }
      return false;
    };
    for (int first = 0; first < edgeCount; ++first) {
      if (used[first]) continue;
      used[first] = 1;
      const int32_t start = edges[3 * first];
      int32_t at = edges[3 * first + 1];
      POLYGONDESC outline;
      outline.points.push_back(position(start));
      int32_t next = 0;
      while (at != start && follow(at, &next)) {
        outline.points.push_back(position(at));
        at = next;
      }
      set->polygons.push_back(std::move(outline));
    }
  }
  DestroyTerrain(terrain, 0);
}

void ShowMessage(const char* text) { plat::ShowMessageBox("", text ? text : ""); }

int IsEmptyString(const char* text) { return !text || !*text ? 1 : 0; }

std::string GetCurrentDir() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::current_path(error);
  return error ? std::string() : path.string();
}
