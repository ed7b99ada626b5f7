#pragma once
#include <cstdint>
#include <vector>

#include "platform/raster/rasterizer.h"

// A target with depth buffer and the helpers the rasteriser tests share.
namespace rastertest {

using namespace plat::raster;

constexpr uint16_t kBlue565 = 0x001F;
constexpr uint16_t kRed565 = 0xF800;

struct Channels {
  int r, g, b;
};

// The 5/6/5 fields of a 565 pixel.
inline Channels Split565(uint16_t c) { return {c >> 11, (c >> 5) & 63, c & 31}; }

struct Canvas {
  int width;
  int height;
  PixelLayout layout;
  std::vector<uint16_t> color;
  std::vector<uint16_t> depth;

  explicit Canvas(int w = 640, int h = 480, PixelLayout l = PixelLayout::Rgb565)
      : width(w), height(h), layout(l), color(w * h, 0), depth(w * h, 0xFFFF) {}

  void Clear(uint16_t c, uint16_t z = 0xFFFF) {
    color.assign(color.size(), c);
    depth.assign(depth.size(), z);
  }
  uint16_t At(int x, int y) const { return color[y * width + x]; }
  int Count(uint16_t value) const {
    int n = 0;
    for (uint16_t c : color) n += c == value;
    return n;
  }

  // Full viewport, the context's default states, identity transforms.
  DrawContext Context() {
    DrawContext c;
    c.target = {color.data(), width, height, width * 2, layout};
    c.depth = {depth.data(), width, height, width * 2};
    c.viewport = {0, 0, width, height, 0.0f, 1.0f};
    return c;
  }
};

// The engine's camera projection (aspect, lens in mm, film width in inches,
// near, far): right-handed, looking down -z, depth 0 at near and 1 at far.
inline Matrix Perspective(float aspect = 1.33f, float lens = 50.0f, float aperture = 0.86f, float nearZ = 2.0f,
                          float farZ = 5000.0f) {
  const float h = nearZ * aperture * 12.7f / lens;
  const float w = h / aspect;
  Matrix m;
  m.m[0] = nearZ / h;
  m.m[5] = nearZ / w;
  m.m[10] = farZ / (nearZ - farZ);
  m.m[11] = -1.0f;
  m.m[14] = nearZ * farZ / (nearZ - farZ);
  m.m[15] = 0.0f;
  return m;
}

inline VertexPrelit Prelit(float x, float y, float z, uint32_t diffuse, uint32_t specular = 0xFF000000u) {
  return {x, y, z, 0, diffuse, specular, 0.0f, 0.0f};
}

inline VertexScreen Screen(float x, float y, uint32_t diffuse, float u = 0.0f, float v = 0.0f, float z = 0.5f,
                           float rhw = 1.0f, uint32_t specular = 0xFF000000u) {
  return {x, y, z, rhw, diffuse, specular, u, v};
}

// Two triangles covering the rectangle, texture coordinates 0..1 across it.
inline std::vector<VertexScreen> Quad(float x0, float y0, float x1, float y1, uint32_t diffuse, float z = 0.5f) {
  return {Screen(x0, y0, diffuse, 0, 0, z), Screen(x1, y0, diffuse, 1, 0, z), Screen(x0, y1, diffuse, 0, 1, z),
          Screen(x1, y0, diffuse, 1, 0, z), Screen(x1, y1, diffuse, 1, 1, z), Screen(x0, y1, diffuse, 0, 1, z)};
}

template <class V>
void DrawList(Rasterizer& r, const DrawContext& c, const std::vector<V>& v, DrawOptions options = {}) {
  r.Draw(c, PrimitiveType::TriangleList, std::span<const V>(v), {}, options);
}

}  // namespace rastertest
