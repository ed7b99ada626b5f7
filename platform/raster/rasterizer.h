#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "platform/raster/raster_types.h"

namespace plat::raster {

// The deterministic reference rasteriser behind the 3D device. Each call
// draws one batch of primitives into the context's target with the
// context's transforms, lights and states; nothing is remembered between
// calls except scratch memory. Single-threaded; the same input always gives
// the same pixels.
//
// indices: empty draws the vertices in order; otherwise each index names a
// vertex, and a primitive using an index past the vertices is skipped.
// Bad input (no target, an empty viewport, non-finite coordinates, zero-area
// or degenerate primitives) draws nothing for the affected primitives.
class Rasterizer {
 public:
  Rasterizer();
  ~Rasterizer();
  Rasterizer(const Rasterizer&) = delete;
  Rasterizer& operator=(const Rasterizer&) = delete;

  void Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexLit> vertices,
            std::span<const uint32_t> indices = {}, const DrawOptions& options = {});
  void Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexPrelit> vertices,
            std::span<const uint32_t> indices = {}, const DrawOptions& options = {});
  // Screen-space vertices skip transform, lighting and the near and far planes.
  void Draw(const DrawContext& context, PrimitiveType type, std::span<const VertexScreen> vertices,
            std::span<const uint32_t> indices = {}, const DrawOptions& options = {});

 private:
  struct Work;
  std::unique_ptr<Work> work_;
};

}  // namespace plat::raster
