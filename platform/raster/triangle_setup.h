#pragma once
#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/pixel_pipeline.h"

namespace plat::raster {

// Draws one screen-space triangle: snaps the corners to 1/16 pixel, culls by
// winding, sets up the attribute gradients and walks the covered rows with
// exact integer edges under the top-left rule (pixel centres at .5). Zero
// area draws nothing. flatColor: the colour entries of the vertex that
// colours a flat-shaded triangle; null when shading is Gouraud.
void RasterizeTriangle(const PixelPipeline& p, const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c,
                       const float* flatColor);

}  // namespace plat::raster
