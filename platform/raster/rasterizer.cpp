#include "platform/raster/rasterizer.h"

#include <vector>

#include "platform/raster/clipper.h"
#include "platform/raster/lines_points.h"
#include "platform/raster/pixel_pipeline.h"
#include "platform/raster/triangle_setup.h"
#include "platform/raster/vertex_pipeline.h"

namespace plat::raster {

// Per-draw state and the processed vertices; the arrays only grow.
struct Rasterizer::Work {
  PixelPipeline pixel;
  VertexSetup vertex;
  std::vector<ClipVertex> clip;
  std::vector<ScreenVertex> screen;
  std::vector<uint8_t> outcode;
  size_t count = 0;

  bool Begin(const DrawContext& context, const DrawOptions& options, bool untransformed, size_t vertexCount);
  ProcessedVertices Out() { return {clip.data(), screen.data(), outcode.data()}; }
  void Assemble(PrimitiveType type, std::span<const uint32_t> indices);
  void Triangle(uint32_t a, uint32_t b, uint32_t c, uint32_t provoking);
  void Line(uint32_t a, uint32_t b);
  void Point(uint32_t a);
};

bool Rasterizer::Work::Begin(const DrawContext& context, const DrawOptions& options, bool untransformed,
                             size_t vertexCount) {
  if (vertexCount == 0 || !BuildPixelPipeline(context, pixel)) return false;
  PrepareVertexSetup(context, options, untransformed, vertex);
  if (clip.size() < vertexCount) {
    clip.resize(vertexCount);
    screen.resize(vertexCount);
    outcode.resize(vertexCount);
  }
  count = vertexCount;
  return true;
}

void Rasterizer::Work::Assemble(PrimitiveType type, std::span<const uint32_t> indices) {
  const bool indexed = !indices.empty();
  const size_t n = indexed ? indices.size() : count;
  // An index past the vertex array names no vertex; primitives using it are skipped.
  auto at = [&](size_t k) -> uint32_t {
    const size_t i = indexed ? indices[k] : k;
    return i < count ? static_cast<uint32_t>(i) : UINT32_MAX;
  };
  switch (type) {
    case PrimitiveType::PointList:
      for (size_t k = 0; k < n; ++k) Point(at(k));
      break;
    case PrimitiveType::LineList:
      for (size_t k = 0; k + 1 < n; k += 2) Line(at(k), at(k + 1));
      break;
    case PrimitiveType::LineStrip:
      for (size_t k = 0; k + 1 < n; ++k) Line(at(k), at(k + 1));
      break;
    case PrimitiveType::TriangleList:
      for (size_t k = 0; k + 2 < n; k += 3) Triangle(at(k), at(k + 1), at(k + 2), at(k));
      break;
    case PrimitiveType::TriangleStrip:
      // Every other triangle swaps its first two corners to keep the winding.
      for (size_t k = 0; k + 2 < n; ++k) {
        if (k & 1) Triangle(at(k + 1), at(k), at(k + 2), at(k));
        else Triangle(at(k), at(k + 1), at(k + 2), at(k));
      }
      break;
    case PrimitiveType::TriangleFan:
      for (size_t k = 1; k + 1 < n; ++k) Triangle(at(0), at(k), at(k + 1), at(k));
      break;
  }
}

void Rasterizer::Work::Triangle(uint32_t a, uint32_t b, uint32_t c, uint32_t provoking) {
  if (a >= count || b >= count || c >= count) return;
  const uint8_t planes = vertex.volume.planes;
  const uint8_t any = outcode[a] | outcode[b] | outcode[c];
  if ((any & kClipInvalid) || (outcode[a] & outcode[b] & outcode[c] & planes)) return;
  const float* flat = pixel.flat ? clip[provoking].color : nullptr;
  if (!(any & planes)) {
    RasterizeTriangle(pixel, screen[a], screen[b], screen[c], flat);
    return;
  }
  ClipVertex polygon[kMaxClipPolygon] = {clip[a], clip[b], clip[c]};
  const int corners = ClipPolygon(polygon, 3, any & planes, vertex.volume);
  ScreenVertex projected[kMaxClipPolygon];
  for (int i = 0; i < corners; ++i) ProjectVertex(polygon[i], vertex.perspectiveTexture, projected[i]);
  for (int i = 1; i + 1 < corners; ++i) RasterizeTriangle(pixel, projected[0], projected[i], projected[i + 1], flat);
}

void Rasterizer::Work::Line(uint32_t a, uint32_t b) {
  if (a >= count || b >= count) return;
  const uint8_t planes = vertex.volume.planes;
  const uint8_t any = outcode[a] | outcode[b];
  if ((any & kClipInvalid) || (outcode[a] & outcode[b] & planes)) return;
  const float* flat = pixel.flat ? clip[a].color : nullptr;
  if (!(any & planes)) {
    RasterizeLine(pixel, screen[a], screen[b], flat);
    return;
  }
  ClipVertex from = clip[a], to = clip[b];
  if (!ClipLine(from, to, any & planes, vertex.volume)) return;
  ScreenVertex s0, s1;
  ProjectVertex(from, vertex.perspectiveTexture, s0);
  ProjectVertex(to, vertex.perspectiveTexture, s1);
  RasterizeLine(pixel, s0, s1, flat);
}

void Rasterizer::Work::Point(uint32_t a) {
  if (a >= count || (outcode[a] & (vertex.volume.planes | kClipInvalid))) return;
  RasterizePoint(pixel, screen[a]);
}

Rasterizer::Rasterizer() : work_(std::make_unique<Work>()) {}
Rasterizer::~Rasterizer() = default;

void Rasterizer::Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexLit> vertices,
                      std::span<const uint32_t> indices, const DrawOptions& options) {
  if (!work_->Begin(context, options, true, vertices.size())) return;
  ProcessVertices(work_->vertex, vertices.data(), vertices.size(), work_->Out());
  work_->Assemble(type, indices);
}

void Rasterizer::Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexPrelit> vertices,
                      std::span<const uint32_t> indices, const DrawOptions& options) {
  if (!work_->Begin(context, options, true, vertices.size())) return;
  ProcessVertices(work_->vertex, vertices.data(), vertices.size(), work_->Out());
  work_->Assemble(type, indices);
}

void Rasterizer::Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexScreen> vertices,
                      std::span<const uint32_t> indices, const DrawOptions& options) {
  if (!work_->Begin(context, options, false, vertices.size())) return;
  ProcessVertices(work_->vertex, vertices.data(), vertices.size(), work_->Out());
  work_->Assemble(type, indices);
}

}  // namespace plat::raster
