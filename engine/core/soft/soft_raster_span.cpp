// Span filling: one screen-space triangle into 16-bit pixels. Edges, depth
// and light are 16.16 fixed point, affine texel coordinates 8.8 packed v
// over u in one word, perspective terms 9.23 (negated), corrected every 32
// pixels. Top and left edges are inclusive, bottom and right exclusive.
#include <algorithm>
#include <cmath>

#include "engine/core/frame_statistics.h"
#include "engine/core/material_device.h"
#include "engine/core/materials.h"
#include "engine/core/soft/soft_raster.h"

namespace {

enum FillKind : unsigned { kTextured = 1, kPerspective = 2, kKeyed = 4, kStipple = 8, kDepth = 16 };

constexpr int64_t kOne = 65536;              // 16.16
constexpr double kPerspectiveOne = 8388608;  // 9.23
constexpr int kRun = 32;

struct Interpolants {
  int64_t depth = 0;
  int64_t light = 0;
  int64_t tu = 0;  // 8.8
  int64_t tv = 0;
  int64_t pu = 0;  // 9.23, negated
  int64_t pv = 0;
  int64_t pw = 0;
};

Interpolants operator+(Interpolants a, const Interpolants& b) {
  a.depth += b.depth, a.light += b.light, a.tu += b.tu, a.tv += b.tv, a.pu += b.pu, a.pv += b.pv, a.pw += b.pw;
  return a;
}
Interpolants operator*(Interpolants a, int64_t k) {
  a.depth *= k, a.light *= k, a.tu *= k, a.tv *= k, a.pu *= k, a.pv *= k, a.pw *= k;
  return a;
}

// The perspective terms of a vertex: texel coordinate / z and 1 / z.
struct Perspective {
  double u, v, w;
};
Perspective PlainPerspectiveOf(const SOFTVERTEX& p) {
  double z = p.z;
  return {(p.u * 255.0) / z, (p.v * 255.0) / z, 1.0 / z};
}
// As the edges carry them: negated.
Perspective PerspectiveOf(const SOFTVERTEX& p) {
  Perspective plain = PlainPerspectiveOf(p);
  return {-plain.u, -plain.v, -plain.w};
}

// Held to about 2^40, so that the 23-bit shifts of the set-up stay inside 64 bits.
int64_t ToFixed(double value) { return static_cast<int64_t>(std::clamp(value, -1.0e12, 1.0e12)); }

// A walked edge: x always, the interpolants on the left edge.
struct Edge {
  int64_t x = 0;
  int64_t dx = 0;
  Interpolants at;
  Interpolants step;
  int rows = 0;
};

template <unsigned F>
Edge MakeEdge(const SOFTVERTEX& p, const SOFTVERTEX& q) {
  Edge e;
  e.rows = q.sy - p.sy;
  if (e.rows <= 0) return e;
  int64_t dy = e.rows;
  e.x = p.sx * kOne;
  e.dx = (static_cast<int64_t>(q.sx) - p.sx) * kOne / dy;
  e.at.depth = p.depth * kOne;
  e.step.depth = (static_cast<int64_t>(q.depth) - p.depth) * kOne / dy;
  e.at.light = p.light * kOne;
  e.step.light = (static_cast<int64_t>(q.light) - p.light) * kOne / dy;
  if constexpr ((F & kTextured) && !(F & kPerspective)) {
    e.at.tu = p.tu * int64_t{256};
    e.step.tu = (static_cast<int64_t>(q.tu) - p.tu) * 256 / dy;
    e.at.tv = p.tv * int64_t{256};
    e.step.tv = (static_cast<int64_t>(q.tv) - p.tv) * 256 / dy;
  }
  if constexpr (F & kPerspective) {
    Perspective a = PerspectiveOf(p), b = PerspectiveOf(q);
    e.at.pu = ToFixed(a.u * kPerspectiveOne);
    e.at.pv = ToFixed(a.v * kPerspectiveOne);
    e.at.pw = ToFixed(a.w * kPerspectiveOne);
    e.step.pu = (ToFixed(b.u * kPerspectiveOne) - e.at.pu) / dy;
    e.step.pv = (ToFixed(b.v * kPerspectiveOne) - e.at.pv) / dy;
    e.step.pw = (ToFixed(b.w * kPerspectiveOne) - e.at.pw) / dy;
  }
  return e;
}

void StepEdge(Edge& e) {
  e.x += e.dx;
  e.at = e.at + e.step;
}

uint32_t Pack(int64_t u88, int64_t v88) {
  return static_cast<uint32_t>(v88 & 0xFFFF) << 16 | static_cast<uint32_t>(u88 & 0xFFFF);
}
uint32_t PackStep(int64_t du, int64_t dv) { return static_cast<uint32_t>(dv * 65536 + du); }

uint8_t Texel(const SOFTTEXTURE& t, uint32_t packed) {
  uint32_t row = t.vShift >= 32 ? 0 : packed >> t.vShift;
  return t.pixels[(row << t.widthLog2) + ((packed & 0xFFFF) >> t.uShift)];
}

struct SpanContext {
  const SOFTTEXTURE* texture;
  const uint16_t* ramp;
  Interpolants gradient;  // per pixel
};

// Columns start .. end - 1 of a row, starting from the interpolants at start.
template <unsigned F>
void FillSpan(const SpanContext& c, int row, int start, int end, Interpolants at) {
  SOFTFRAME& f = g_softFrame;
  uint16_t* pixels = reinterpret_cast<uint16_t*>(f.surface + static_cast<ptrdiff_t>(row) * f.pitch);
  uint16_t* depth = nullptr;
  if constexpr (F & kDepth) depth = f.depthBuffer + static_cast<ptrdiff_t>(row - f.top) * f.depthWidth - f.left;
  const Interpolants& g = c.gradient;
  uint32_t packed = 0, packedStep = 0;
  if constexpr ((F & kTextured) && !(F & kPerspective)) {
    packed = Pack(at.tu, at.tv);
    packedStep = PackStep(g.tu, g.tv);
  }
  int64_t u0 = 0, v0 = 0;
  if constexpr (F & kPerspective) {
    if (at.pw == 0) return;
    u0 = at.pu * 256 / at.pw;
    v0 = at.pv * 256 / at.pw;
  }
  int x = start;
  while (x < end) {
    int count = end - x;
    if constexpr (F & kPerspective) {
      // True texel coordinates at the end of each run of 32, linear inside it.
      count = std::min(count, kRun);
      at.pu += g.pu * count;
      at.pv += g.pv * count;
      at.pw += g.pw * count;
      if (at.pw == 0) return;
      int64_t u1 = at.pu * 256 / at.pw, v1 = at.pv * 256 / at.pw;
      packed = Pack(u0, v0);
      packedStep = PackStep((u1 - u0) / count, (v1 - v0) / count);
      u0 = u1;
      v0 = v1;
    }
    for (int stop = x + count; x < stop; ++x) {
      bool write = true;
      if constexpr (F & kStipple) write = ((x + row) & 1) != 0;
      uint8_t index = 0;
      if constexpr (F & kTextured) {
        index = Texel(*c.texture, packed);
        if constexpr (F & kKeyed) write = write && index != c.texture->keyIndex;
      }
      if constexpr (F & kDepth) {
        if (write) {
          uint16_t z = static_cast<uint16_t>(std::clamp<int64_t>(at.depth >> 16, 0, 65535));
          if (z < depth[x]) depth[x] = z;
          else write = false;
        }
      }
      if (write) {
        if constexpr (F & kTextured)
          pixels[x] = c.texture->shades[index * 16 + std::clamp<int64_t>(at.light >> 20, 0, 15)];
        else pixels[x] = c.ramp[std::clamp<int64_t>(at.light >> 16, 0, 255)];
      }
      at.depth += g.depth;
      at.light += g.light;
      if constexpr (F & kTextured) packed += packedStep;
    }
  }
}

// The per-pixel gradient of an attribute from the three vertices, with
// `shift` fraction bits, over the middle width d (16.16).
int64_t Gradient(int64_t a, int64_t b, int64_t c, int64_t ratio, int64_t d, int64_t scale) {
  return ((a - b) * kOne + (c - a) * ratio) * scale / d;
}

template <unsigned F>
void FillTriangle(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE* texture,
                  const uint16_t* ramp) {
  SOFTFRAME& f = g_softFrame;
  if (!f.surface) return;
  if constexpr (F & kDepth)
    if (!f.depthBuffer) return;
  // Top to bottom: A, B, C.
  if (b->sy < a->sy) std::swap(a, b);
  if (c->sy < a->sy) std::swap(a, c);
  if (c->sy < b->sy) std::swap(b, c);
  const SOFTVERTEX &A = *a, &B = *b, &C = *c;
  if (A.sy >= f.screenRows || C.sy < 0 || A.sy == C.sy) return;
  int64_t ratio = (static_cast<int64_t>(B.sy) - A.sy) * kOne / (static_cast<int64_t>(C.sy) - A.sy);
  int64_t d = (static_cast<int64_t>(A.sx) - B.sx) * kOne + (static_cast<int64_t>(C.sx) - A.sx) * ratio;
  if (d == 0) return;
  ++g_frameStatistics.trianglesDrawn;
  bool longEdgeLeft = d < 0;
  // Slivers count as 1/16 pixel wide.
  d = longEdgeLeft ? std::min<int64_t>(d, -4096) : std::max<int64_t>(d, 4096);

  SpanContext context{texture, ramp, {}};
  Interpolants& g = context.gradient;
  g.depth = Gradient(A.depth, B.depth, C.depth, ratio, d, kOne);
  g.light = Gradient(A.light, B.light, C.light, ratio, d, kOne);
  if constexpr ((F & kTextured) && !(F & kPerspective)) {
    g.tu = Gradient(A.tu, B.tu, C.tu, ratio, d, 256);
    g.tv = Gradient(A.tv, B.tv, C.tv, ratio, d, 256);
  }
  if constexpr (F & kPerspective) {
    // The set-up's formula runs opposite to the depth one, so the plain
    // terms give the gradients of the negated terms the edges carry.
    Perspective pa = PlainPerspectiveOf(A), pb = PlainPerspectiveOf(B), pc = PlainPerspectiveOf(C);
    auto term = [&](double va, double vb, double vc) {
      return ToFixed((va - vc) * static_cast<double>(ratio) + (vb - va) * 65536.0) * (1 << 23) / d;
    };
    g.pu = term(pa.u, pb.u, pc.u);
    g.pv = term(pa.v, pb.v, pc.v);
    g.pw = term(pa.w, pb.w, pc.w);
  }

  Edge longEdge = MakeEdge<F>(A, C);
  Edge halves[2] = {MakeEdge<F>(A, B), MakeEdge<F>(B, C)};
  int row = A.sy;
  for (Edge& shortEdge : halves) {
    if (shortEdge.rows <= 0) continue;
    Edge& left = longEdgeLeft ? longEdge : shortEdge;
    Edge& right = longEdgeLeft ? shortEdge : longEdge;
    for (int i = 0; i < shortEdge.rows; ++i, ++row) {
      if (row > f.bottom || row >= f.screenRows) return;
      if (row >= 0 && row >= f.top) {
        int xl = static_cast<int>(left.x >> 16), xr = static_cast<int>(right.x >> 16);
        // Held to the viewport and the surface on both sides.
        int start = std::max({xl, f.left, 0});
        int end = std::min({xr, f.right + 1, f.screenWidth});
        if (end > start) FillSpan<F>(context, row, start, end, left.at + g * (start - xl));
      }
      StepEdge(left);
      StepEdge(right);
    }
  }
}

const uint16_t* CurrentRamp() {
  const MATERIALDESC* m = g_softFrame.material;
  return m && m->softMaterial ? m->softMaterial->ramp.data() : nullptr;
}

template <unsigned F>
void FillTextured(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  if (g_softFrame.depthEnable) FillTriangle<F | kDepth>(a, b, c, &t, nullptr);
  else FillTriangle<F>(a, b, c, &t, nullptr);
}

template <unsigned F>
void FillUntextured(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const uint16_t* ramp) {
  if (!ramp) return;
  if (g_softFrame.depthEnable) FillTriangle<F | kDepth>(a, b, c, nullptr, ramp);
  else FillTriangle<F>(a, b, c, nullptr, ramp);
}

// Perspective needs every vertex in front of the camera's plane z = 0.
bool PerspectiveUsable(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c) {
  return a->z < 0 && b->z < 0 && c->z < 0;
}

}  // namespace

// The perspective fillers without depth draw as their depth twins would,
// without the depth buffer.
void FillPerspective(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kPerspective>(a, b, c, t);
}
void FillPerspectiveStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kPerspective | kStipple>(a, b, c, t);
}
void FillPerspectiveKeyed(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kPerspective | kKeyed>(a, b, c, t);
}
void FillPerspectiveKeyedStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kPerspective | kKeyed | kStipple>(a, b, c, t);
}
void FillAffine(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured>(a, b, c, t);
}
void FillAffineStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kStipple>(a, b, c, t);
}
void FillAffineKeyed(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kKeyed>(a, b, c, t);
}
void FillAffineKeyedStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const SOFTTEXTURE& t) {
  FillTextured<kTextured | kKeyed | kStipple>(a, b, c, t);
}
void FillFlat(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const uint16_t* ramp) {
  FillUntextured<0>(a, b, c, ramp);
}
void FillFlatStipple(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c, const uint16_t* ramp) {
  FillUntextured<kStipple>(a, b, c, ramp);
}

void FillSoftTriangle(const SOFTVERTEX* a, const SOFTVERTEX* b, const SOFTVERTEX* c) {
  const SOFTFRAME& f = g_softFrame;
  SOFTTEXTURE t;
  if (f.drawMode == 1 || !CurrentSoftTexture(&t)) {
    (f.transparent ? FillFlatStipple : FillFlat)(a, b, c, CurrentRamp());
    return;
  }
  bool keyed = t.keyIndex >= 0;
  if (f.perspective && PerspectiveUsable(a, b, c)) {
    if (keyed) (f.transparent ? FillPerspectiveKeyedStipple : FillPerspectiveKeyed)(a, b, c, t);
    else (f.transparent ? FillPerspectiveStipple : FillPerspective)(a, b, c, t);
  } else if (keyed) {
    (f.transparent ? FillAffineKeyedStipple : FillAffineKeyed)(a, b, c, t);
  } else {
    (f.transparent ? FillAffineStipple : FillAffine)(a, b, c, t);
  }
}
