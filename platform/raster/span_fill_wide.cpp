// The lane routines built eight lanes wide; this file alone is compiled for
// AVX2, and the routines run only where the processor has it.
#include "platform/raster/span_lanes.h"

namespace plat::raster {
namespace {

#if defined(__AVX2__)
template <bool kTextured, bool kExtras>
void FillWideLanes(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step) {
  FillLanesOf<8, kTextured, kExtras>(p, x, y, count, start, step);
}
#endif

}  // namespace

SpanFn WideLaneSpan(bool textured, bool extras) {
#if defined(__AVX2__)
  if (textured) return extras ? FillWideLanes<true, true> : FillWideLanes<true, false>;
  return extras ? FillWideLanes<false, true> : FillWideLanes<false, false>;
#else
  (void)textured;
  (void)extras;
  return nullptr;
#endif
}

}  // namespace plat::raster
