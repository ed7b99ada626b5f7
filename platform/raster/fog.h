#pragma once
#include <cmath>

#include "platform/raster/raster_types.h"

namespace plat::raster {

// How much of the object shows at eye distance d: 1 clear, 0 all fog colour.
inline float FogFactor(FogMode mode, float d, float start, float end, float density) {
  float f = 1.0f;
  switch (mode) {
    case FogMode::None: return 1.0f;
    case FogMode::Linear: f = end > start ? (end - d) / (end - start) : (d < end ? 1.0f : 0.0f); break;
    case FogMode::Exp: f = std::exp(-density * d); break;
    case FogMode::Exp2: f = std::exp(-(density * d) * (density * d)); break;
  }
  return f > 0.0f ? (f < 1.0f ? f : 1.0f) : 0.0f;
}

}  // namespace plat::raster
