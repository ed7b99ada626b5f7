#pragma once
#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/pixel_pipeline.h"

namespace plat::raster {

// One-pixel-wide line: along its major axis every pixel centre from the
// first end to the last (both included) gets the pixel of the row or column
// the line crosses there. A line shorter than a pixel may draw nothing.
// flatColor as for triangles.
void RasterizeLine(const PixelPipeline& p, const ScreenVertex& a, const ScreenVertex& b, const float* flatColor);

// The pixel that contains the point.
void RasterizePoint(const PixelPipeline& p, const ScreenVertex& v);

}  // namespace plat::raster
