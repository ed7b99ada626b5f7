#pragma once
#include <cstddef>
#include <cstdint>

#include "platform/raster/clipper.h"
#include "platform/raster/lighting.h"
#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/raster_types.h"

// Transform, lighting and vertex fog: turns the caller's vertices into clip
// vertices, their outcodes, and (for those that need no clipping) their
// screen form.
namespace plat::raster {

struct VertexSetup {
  Matrix worldView;
  Matrix toScreen;  // object space to homogeneous screen space
  float clipZ[4];   // object space to depth before the viewport's range
  ClipVolume volume;
  bool perspectiveTexture;
  bool light;
  FogMode vertexFog;  // None unless the device computes the fog factor
  bool rangeFog;
  float fogStart;
  float fogEnd;
  float fogDensity;
  LightingSetup lighting;
};

// Where ProcessVertices writes, one entry per vertex each.
struct ProcessedVertices {
  ClipVertex* clip;
  ScreenVertex* screen;
  uint8_t* outcode;
};

// untransformed: the draw's layout goes through the matrices (the near and
// far planes then clip unless the options say not to).
void PrepareVertexSetup(const DrawContext& context, const DrawOptions& options, bool untransformed, VertexSetup& out);

void ProcessVertices(const VertexSetup& setup, const VertexLit* vertices, size_t count, ProcessedVertices out);
void ProcessVertices(const VertexSetup& setup, const VertexPrelit* vertices, size_t count, ProcessedVertices out);
void ProcessVertices(const VertexSetup& setup, const VertexScreen* vertices, size_t count, ProcessedVertices out);

}  // namespace plat::raster
