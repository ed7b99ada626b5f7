#pragma once

// Four float lanes and the comparisons the span routines clamp with. Where
// SSE2 is there, one instruction each (maxps and minps take the second
// operand when either is not a number, exactly as the conditional does);
// elsewhere the plain conditional.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::raster {

typedef float V4 __attribute__((vector_size(16)));

inline V4 Splat(float f) { return V4{f, f, f, f}; }

inline V4 Load(const float* at) {
  V4 v;
  __builtin_memcpy(&v, at, sizeof v);
  return v;
}

inline void Store(float* at, V4 v) { __builtin_memcpy(at, &v, sizeof v); }

// a > b ? a : b, lane by lane.
inline V4 MaxLanes(V4 a, V4 b) {
#if defined(__SSE2__)
  return reinterpret_cast<V4>(_mm_max_ps(reinterpret_cast<__m128>(a), reinterpret_cast<__m128>(b)));
#else
  return a > b ? a : b;
#endif
}

// a < b ? a : b, lane by lane.
inline V4 MinLanes(V4 a, V4 b) {
#if defined(__SSE2__)
  return reinterpret_cast<V4>(_mm_min_ps(reinterpret_cast<__m128>(a), reinterpret_cast<__m128>(b)));
#else
  return a < b ? a : b;
#endif
}

}  // namespace plat::raster
