#pragma once
// Internal to the span routines: the chunks of stepped attributes and the
// routines that shade N pixels at a time. Everything here has internal
// linkage, so that each file that builds routines from it (four lanes for any
// processor, eight where AVX2 is there) gets its own copy built for its own
// instruction set.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/pixel_pipeline.h"
#include "platform/raster/simd_lanes.h"

namespace plat::raster {

// The eight-lane span routine of the lane cases (textured: the modulated
// bilinear span; extras: with linear table fog and blending), or null where
// the program was built without it.
SpanFn WideLaneSpan(bool textured, bool extras);

namespace {

// Four lanes: attributes stepped together ((r, g, b, a), (specular r, g, b,
// fog)) or one attribute of four pixels.
typedef int V4i __attribute__((vector_size(16)));

// Vectors of N 32-bit lanes: float, signed and unsigned integer, the same
// bits as 2N 16-bit halves, N 16-bit values, and N / 2 64-bit words.
template <int N>
struct Lanes {
  typedef float F __attribute__((vector_size(4 * N)));
  typedef int I __attribute__((vector_size(4 * N)));
  typedef uint32_t U __attribute__((vector_size(4 * N)));
  typedef uint16_t Halves __attribute__((vector_size(4 * N)));
  typedef uint16_t Short __attribute__((vector_size(2 * N)));
  typedef uint64_t Words __attribute__((vector_size(4 * N)));
};
// Every helper on lanes is inlined into the routine it serves, so that each
// is built for that routine's instruction set.
#define LANES_INLINE inline __attribute__((always_inline))

template <typename V, typename T>
LANES_INLINE V LoadLanes(const T* at) {
  V v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

template <typename V, typename T>
LANES_INLINE void StoreLanes(T* at, V v) {
  std::memcpy(at, &v, sizeof v);
}

// 0..255 per lane, on any number of lanes; not-a-number becomes 0.
template <typename F>
LANES_INLINE auto ByteLanes(F c) {
  typedef typename Lanes<sizeof(F) / 4>::U U;
  const F zero = F{} + 0.0f, top = F{} + 255.0f;
  c = c > zero ? c : zero;
  c = c < top ? c : top;
  return __builtin_convertvector(c, U);
}

// Pixels are shaded in chunks: first the attributes are stepped pixel after
// pixel (the same additions as ever), then depth values and texture
// coordinates are worked out four pixels at a time, then each pixel is
// shaded from those.
constexpr int kChunk = 64;  // a multiple of 4
static_assert(kRowBatchPixels <= kChunk);
// Room for steps run on past the last pixel to a multiple of four from an
// odd place (packed short rows).
constexpr int kChunkRoom = kChunk + 4;

struct Chunk {
  alignas(16) float z[kChunkRoom];
  alignas(16) float rhw[kChunkRoom];
  alignas(16) float u[kChunkRoom];  // after the perspective divide (sampled reads)
  alignas(16) float v[kChunkRoom];
  alignas(16) int depth[kChunkRoom];
  alignas(16) int texelU[kChunkRoom];  // decoded reads: 1/256 texels
  alignas(16) int texelV[kChunkRoom];
  alignas(16) int fog[kChunkRoom];  // linear table fog: FogWeight of each pixel
};

// SafeFixed on every lane.
template <typename F>
LANES_INLINE auto FixedLanes(F x) {
  const F low = F{} - 2.0e9f, high = F{} + 2.0e9f;
  x = x > low ? x : low;
  x = x < high ? x : high;
  return __builtin_convertvector(x, typename Lanes<sizeof(F) / 4>::I);
}

// The first K attributes (z, rhw, u, v, then r, g, b, a) stepped pixel after
// pixel, one addition per pixel as ever, into rows of a chunk up to a
// multiple of four (the steps past the span are never read). Each four
// values are stored at once, so that reading them four at a time waits for
// no single store.
template <int K>
struct Stepper {
  float value[K];
  float delta[K];

  Stepper(const float* start, const float* step) {
    for (int k = 0; k < K; ++k) value[k] = start[kAttrZ + k], delta[k] = step[kAttrZ + k];
  }
  void Fill(float* const (&rows)[K], int lanes) {
    if constexpr (K % 4 == 0) {
      // Four attributes side by side, stepped pixel after pixel, then turned
      // into four rows of four pixels; the groups' additions interleaved.
      constexpr int kGroups = K / 4;
      V4 at[kGroups], d[kGroups];
      for (int g = 0; g < kGroups; ++g) at[g] = Load(value + 4 * g), d[g] = Load(delta + 4 * g);
      float* out[K];  // in registers: the stores cannot change them
      for (int k = 0; k < K; ++k) out[k] = rows[k];
      for (int i = 0; i < lanes; i += 4)
        for (int g = 0; g < kGroups; ++g) {
          const V4 p0 = at[g], p1 = p0 + d[g], p2 = p1 + d[g], p3 = p2 + d[g];
          at[g] = p3 + d[g];
          const V4 t0 = __builtin_shufflevector(p0, p1, 0, 4, 1, 5), t1 = __builtin_shufflevector(p2, p3, 0, 4, 1, 5);
          const V4 t2 = __builtin_shufflevector(p0, p1, 2, 6, 3, 7), t3 = __builtin_shufflevector(p2, p3, 2, 6, 3, 7);
          Store(out[4 * g] + i, __builtin_shufflevector(t0, t1, 0, 1, 4, 5));
          Store(out[4 * g + 1] + i, __builtin_shufflevector(t0, t1, 2, 3, 6, 7));
          Store(out[4 * g + 2] + i, __builtin_shufflevector(t2, t3, 0, 1, 4, 5));
          Store(out[4 * g + 3] + i, __builtin_shufflevector(t2, t3, 2, 3, 6, 7));
        }
      for (int g = 0; g < kGroups; ++g) Store(value + 4 * g, at[g]);
    } else {
      for (int i = 0; i < lanes; i += 4)
        for (int k = 0; k < K; ++k) {
          const float a = value[k], b = a + delta[k], c = b + delta[k], d = c + delta[k];
          value[k] = d + delta[k];
          const V4 four = {a, b, c, d};
          std::memcpy(rows[k] + i, &four, sizeof four);
        }
    }
  }
};

// FogWeight of linear table fog, N pixels at a time with the very
// arithmetic of FogWeight and FogFactor.
template <int N>
LANES_INLINE void LinearFogLanes(const PixelPipeline& p, int lanes, Chunk& c) {
  typedef typename Lanes<N>::F F;
  const F zero = F{}, one = F{} + 1.0f, tiny = F{} + 1e-30f, end = F{} + p.fogEnd;
  const F span = F{} + (p.fogEnd - p.fogStart);
  const bool ramp = p.fogEnd > p.fogStart;
  for (int i = 0; i < lanes; i += N) {
    F rhw = LoadLanes<F>(c.rhw + i);
    rhw = rhw > tiny ? rhw : tiny;
    const F d = one / rhw;
    F f = ramp ? (end - d) / span : (d < end ? one : zero);
    f = f > zero ? (f < one ? f : one) : zero;
    StoreLanes(c.fog + i, __builtin_convertvector(f * 256.0f, typename Lanes<N>::I));
  }
}

// N pixels at a time: depths, and (kTextured) texel positions in 1/256
// texels (kFixed: decoded texels) or texture coordinates after the
// perspective divide.
template <int N, bool kTextured, bool kFixed>
LANES_INLINE void PrepareChunk(const PixelPipeline& p, const TextureView& texture, int lanes, Chunk& c) {
  typedef typename Lanes<N>::F F;
  const F zero = F{}, one = F{} + 1.0f, tiny = F{} + 1e-30f;
  const F scaleU = F{} + texture.scaleU, scaleV = F{} + texture.scaleV;
  const bool perspective = p.perspectiveTexture;
  for (int i = 0; i < lanes; i += N) {
    F z = LoadLanes<F>(c.z + i);
    z = z > zero ? z : zero;
    z = z < one ? z : one;
    StoreLanes(c.depth + i, __builtin_convertvector(z * 65535.0f + 0.5f, typename Lanes<N>::I));
    if constexpr (kTextured) {
      F u = LoadLanes<F>(c.u + i), v = LoadLanes<F>(c.v + i);
      if (perspective) {
        const F rhw = LoadLanes<F>(c.rhw + i);
        const F w = one / (rhw > tiny ? rhw : tiny);
        u *= w;
        v *= w;
        if constexpr (!kFixed) {
          StoreLanes(c.u + i, u);
          StoreLanes(c.v + i, v);
        }
      }
      if constexpr (kFixed) {
        StoreLanes(c.texelU + i, FixedLanes(u * scaleU));
        StoreLanes(c.texelV + i, FixedLanes(v * scaleV));
      }
    }
  }
}

typedef Lanes<4>::U U4;

template <typename U>
LANES_INLINE U Spread(uint32_t x) {
  return U{} + x;
}

// Whether any lane has a bit set.
template <typename U>
LANES_INLINE bool AnyLane(U v) {
  typedef typename Lanes<sizeof(U) / 4>::Words Words;
  const Words words = reinterpret_cast<Words>(v);
  uint64_t any = 0;
  for (size_t k = 0; k < sizeof(U) / 8; ++k) any |= words[k];
  return any != 0;
}

// Two 16-bit lanes per word multiplied lane by lane (pmullw): every product
// here (8-bit channels, weights up to 256) stays below 65536, so this is the
// 32-bit product.
template <typename U>
LANES_INLINE U MulLanes(U a, U b) {
  typedef typename Lanes<sizeof(U) / 4>::Halves Halves;
  return reinterpret_cast<U>(reinterpret_cast<Halves>(a) * reinterpret_cast<Halves>(b));
}

// All ones where the comparison mask lets a against b pass. The values
// (depths, alphas) are below 65536, so a signed comparison, the one SSE2
// has, is the same.
template <typename U>
LANES_INLINE U PassLanes(uint8_t mask, U a, U b) {
  typedef typename Lanes<sizeof(U) / 4>::I I;
  const U less = Spread<U>(mask & 1 ? ~0u : 0), equal = Spread<U>(mask & 2 ? ~0u : 0),
          greater = Spread<U>(mask & 4 ? ~0u : 0);
  const I x = reinterpret_cast<I>(a), y = reinterpret_cast<I>(b);
  return (reinterpret_cast<U>(x < y) & less) | (reinterpret_cast<U>(x == y) & equal) |
         (reinterpret_cast<U>(x > y) & greater);
}

// 16-bit values stored where keep is all ones, the old ones kept elsewhere.
template <typename S>
LANES_INLINE void WriteLanes(uint16_t* at, S values, S keep) {
  const S merged = (values & keep) | (LoadLanes<S>(at) & ~keep);
  std::memcpy(at, &merged, sizeof merged);
}

template <typename U>
LANES_INLINE U ModulateLanes(U a, U b) {
  return MulLanes(a, b + (b >> 7)) >> 8;
}

// A source of stage 0 (diffuse and texel channels 0..255).
template <typename U>
LANES_INLINE U StageLanes(StageSource s, U diffuse, U texel) {
  switch (s) {
    case StageSource::Diffuse: return diffuse;
    case StageSource::Texture: return texel;
    case StageSource::White: return Spread<U>(255);
    case StageSource::Modulate: return ModulateLanes(texel, diffuse);
    case StageSource::DiffuseSquared: return ModulateLanes(diffuse, diffuse);
    case StageSource::TextureSquared: return ModulateLanes(texel, texel);
  }
  return diffuse;
}

// What the modulated bilinear routines share: the texture's shape and the
// tests, taken once per call.
struct ModulatedBilinear {
  const PixelPipeline& p;
  const TextureView t;  // a copy: stores to the target cannot change it
  const int maskX, maskY, widthLog2, pitch;
  const bool clamp;  // the texture clamps (any size) instead of wrapping (a power of two)
  const bool rgb565;
  Chunk c;
  alignas(32) float diffuse[4][kChunkRoom];

  explicit ModulatedBilinear(const PixelPipeline& pipeline)
      : p(pipeline),
        t(pipeline.texture),
        maskX(t.width - 1),
        maskY(t.height - 1),
        widthLog2(std::countr_zero(static_cast<unsigned>(t.width))),
        pitch(t.argbPitch),
        clamp(t.clamp),
        rgb565(pipeline.layout == PixelLayout::Rgb565) {}

  float* const (&Rows(int at))[8] {
    rows_[0] = c.z + at, rows_[1] = c.rhw + at, rows_[2] = c.u + at, rows_[3] = c.v + at;
    for (int k = 0; k < 4; ++k) rows_[4 + k] = diffuse[k] + at;
    return rows_;
  }

  // The stepped attributes of `lanes` pixels to depths and texel positions.
  template <int N>
  LANES_INLINE void Fetch(int lanes) {
    PrepareChunk<N, true, true>(p, t, lanes, c);
  }

  // ClampTexel on every lane.
  template <typename I>
  LANES_INLINE static I ClampLanes(I v, int size) {
    const I top = I{} + (size - 1), zero = I{};
    v = v < top ? v : top;
    return v > zero ? v : zero;
  }

  template <typename I>
  LANES_INLINE static I Outside(I at, int low, int high) {
    return (at < low) | (at >= high);
  }

  // All ones in the lanes of pixels i.. whose four texels all lie outside
  // the ink, so are black.
  template <int N>
  LANES_INLINE typename Lanes<N>::U Black(int i) const {
    typedef typename Lanes<N>::I I;
    const I fu = LoadLanes<I>(c.texelU + i) - 128, fv = LoadLanes<I>(c.texelV + i) - 128;
    I x0 = fu >> 8, x1 = x0 + 1, y0 = fv >> 8, y1 = y0 + 1;
    if (clamp) {
      x0 = ClampLanes(x0, t.width), x1 = ClampLanes(x1, t.width);
      y0 = ClampLanes(y0, t.height), y1 = ClampLanes(y1, t.height);
    } else {
      x0 &= maskX, x1 &= maskX, y0 &= maskY, y1 &= maskY;
    }
    const I across = Outside(x0, t.ink.left, t.ink.right) & Outside(x1, t.ink.left, t.ink.right);
    const I down = Outside(y0, t.ink.top, t.ink.bottom) & Outside(y1, t.ink.top, t.ink.bottom);
    return reinterpret_cast<typename Lanes<N>::U>(across | down);
  }

  // The two texel pairs under pixels i..i+3, in the order of BilinearMix:
  // upper left, upper right, lower left, lower right.
  LANES_INLINE void Texels(int i, U4 (&texel)[4]) const {
    typedef Lanes<4>::I V4i;
    typedef uint64_t U2 __attribute__((vector_size(16)));
    const V4i fu = LoadLanes<V4i>(c.texelU + i) - 128, fv = LoadLanes<V4i>(c.texelV + i) - 128;
    if (clamp) {
      // The texels gathered straight into lanes.
      const V4i left = ClampLanes(fu >> 8, t.width), right = ClampLanes((fu >> 8) + 1, t.width);
      const V4i upper = ClampLanes(fv >> 8, t.height) * pitch, lower = ClampLanes((fv >> 8) + 1, t.height) * pitch;
      const auto gather = [&](V4i at) { return U4{t.argb[at[0]], t.argb[at[1]], t.argb[at[2]], t.argb[at[3]]}; };
      texel[0] = gather(upper + left);
      texel[1] = gather(upper + right);
      texel[2] = gather(lower + left);
      texel[3] = gather(lower + right);
      return;
    }
    const V4i row = (fv >> 8) & maskY;
    const V4i at = (row << widthLog2) + row + ((fu >> 8) & maskX);  // row * pitch: pitch is width + 1
    U2 upper[4], lower[4];
    for (int k = 0; k < 4; ++k) {
      std::memcpy(&upper[k], t.argb + at[k], sizeof(uint64_t));
      std::memcpy(&lower[k], t.argb + at[k] + pitch, sizeof(uint64_t));
    }
    const U4 upper01 = reinterpret_cast<U4>(U2{upper[0][0], upper[1][0]});
    const U4 upper23 = reinterpret_cast<U4>(U2{upper[2][0], upper[3][0]});
    const U4 lower01 = reinterpret_cast<U4>(U2{lower[0][0], lower[1][0]});
    const U4 lower23 = reinterpret_cast<U4>(U2{lower[2][0], lower[3][0]});
    texel[0] = __builtin_shufflevector(upper01, upper23, 0, 2, 4, 6);
    texel[1] = __builtin_shufflevector(upper01, upper23, 1, 3, 5, 7);
    texel[2] = __builtin_shufflevector(lower01, lower23, 0, 2, 4, 6);
    texel[3] = __builtin_shufflevector(lower01, lower23, 1, 3, 5, 7);
  }

  // The texels of N pixels from i on, four at a time.
  template <int N>
  LANES_INLINE void Texels(int i, typename Lanes<N>::U (&texel)[4]) const {
    if constexpr (N == 4) {
      Texels(i, texel);
    } else {
      U4 low[4], high[4];
      Texels(i, low);
      Texels(i + 4, high);
      for (int k = 0; k < 4; ++k) texel[k] = __builtin_shufflevector(low[k], high[k], 0, 1, 2, 3, 4, 5, 6, 7);
    }
  }

  // Pixels i.. through stage 0: their channels (0..255); ok keeps those the
  // alpha test lets through. The alpha is worked out for the test or when
  // asked for, else left undefined.
  template <int N, typename U = typename Lanes<N>::U>
  LANES_INLINE void Channels(int i, bool wantAlpha, U& r, U& g, U& b, U& a, U& ok) const {
    typedef typename Lanes<N>::Halves Halves;
    const U fx = (LoadLanes<U>(c.texelU + i) - 128) & 255, fy = (LoadLanes<U>(c.texelV + i) - 128) & 255;
    // The weights of BilinearMix, worked out in both 16-bit halves of each lane.
    const Halves x = reinterpret_cast<Halves>(fx | fx << 16), y = reinterpret_cast<Halves>(fy | fy << 16);
    const Halves w11 = (x * y) >> 8, w10 = (x * (256 - y)) >> 8, w01 = ((256 - x) * y) >> 8;
    const Halves w00 = 256 - w11 - w10 - w01;
    const U weights[4] = {reinterpret_cast<U>(w00), reinterpret_cast<U>(w10), reinterpret_cast<U>(w01),
                          reinterpret_cast<U>(w11)};
    U texel[4];
    Texels<N>(i, texel);
    U rb = Spread<U>(0), ag = Spread<U>(0);
    for (int k = 0; k < 4; ++k) {
      const U p4 = texel[k];
      rb += MulLanes(p4 & 0xFF00FF, weights[k]);
      ag += MulLanes(p4 >> 8 & 0xFF00FF, weights[k]);
    }
    // Modulate: each channel times the widened diffuse one, over 256.
    U bytes[4], d[4];
    for (int k = 0; k < 4; ++k) {
      bytes[k] = ByteLanes(LoadLanes<typename Lanes<N>::F>(diffuse[k] + i));
      d[k] = bytes[k] + (bytes[k] >> 7);
    }
    const U redBlue = MulLanes(rb >> 8 & 0xFF00FF, d[2] | d[0] << 16) >> 8;
    const U greenLane = MulLanes(ag >> 8 & 0xFF, d[1]) >> 8;
    r = redBlue >> 16 & 0xFF;
    g = greenLane & 0xFF;
    b = redBlue & 0xFF;
    if (wantAlpha || p.alphaTest) a = StageLanes(p.alphaSource, bytes[3], ag >> 24);
    ok = p.alphaTest ? PassLanes(p.alphaPass, a, Spread<U>(static_cast<uint32_t>(p.alphaRef))) : Spread<U>(~0u);
  }

  template <typename U>
  LANES_INLINE U Pack(U r, U g, U b) const {
    return rgb565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
  }

  // Pixels i..i+3 shaded: their packed colours.
  U4 Shade(int i, U4& ok) const {
    U4 r, g, b, a;
    Channels<4>(i, false, r, g, b, a, ok);
    return Pack(r, g, b);
  }

 private:
  float* rows_[8];
};

// The 16-bit values of a row under the lanes; at the end of a span
// (`count` below the lanes) value by value, reading nothing past it.
template <typename U, typename S>
LANES_INLINE U LoadRow(const uint16_t* row, int count) {
  if (count == static_cast<int>(sizeof(S) / 2)) return __builtin_convertvector(LoadLanes<S>(row), U);
  U v = Spread<U>(0);
  for (int k = 0; k < count; ++k) v[k] = row[k];
  return v;
}

template <typename U>
LANES_INLINE U WidenLanes(U c) {
  return c + (c >> 7);
}

// One blend factor of BlendFactors, per channel: src and dst hold (r, g, b)
// lanes; the target has no alpha, so its alpha is 255.
template <typename U>
LANES_INLINE void FactorLanes(BlendFactor f, const U (&src)[3], U srcAlpha, const U (&dst)[3], U (&out)[3]) {
  U v;
  switch (f) {
    case BlendFactor::One: v = Spread<U>(256); break;
    case BlendFactor::SrcColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(src[k]);
      return;
    case BlendFactor::InvSrcColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(255 - src[k]);
      return;
    case BlendFactor::SrcAlpha: v = WidenLanes(srcAlpha); break;
    case BlendFactor::InvSrcAlpha: v = WidenLanes(255 - srcAlpha); break;
    case BlendFactor::DestAlpha: v = Spread<U>(256); break;
    case BlendFactor::DestColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(dst[k]);
      return;
    case BlendFactor::InvDestColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(255 - dst[k]);
      return;
    default: v = Spread<U>(0); break;  // Zero, InvDestAlpha, SrcAlphaSat under an opaque target
  }
  out[0] = out[1] = out[2] = v;
}

template <typename U>
LANES_INLINE U LowerLanes(U a, U b) {
  typedef typename Lanes<sizeof(U) / 4>::I I;
  const I x = reinterpret_cast<I>(a), y = reinterpret_cast<I>(b);
  return reinterpret_cast<U>(x < y ? x : y);
}

// Target pixels as (r, g, b) lanes, expanded as DecodePixel does.
template <typename U>
LANES_INLINE void DecodeLanes(U c, bool rgb565, U (&out)[3]) {
  const U r = rgb565 ? c >> 11 & 31 : c >> 10 & 31, b = c & 31;
  out[0] = r << 3 | r >> 2;
  if (rgb565) {
    const U g = c >> 5 & 63;
    out[1] = g << 2 | g >> 4;
  } else {
    const U g = c >> 5 & 31;
    out[1] = g << 3 | g >> 2;
  }
  out[2] = b << 3 | b >> 2;
}

// The common spans N pixels at a time, with the very arithmetic of
// FillSpan: untextured ones, or (kTextured) the bilinear span of a texture
// modulated by the diffuse colour, wrapping (a power of two) or clamping;
// with none of the rarer stages, or (kExtras) with linear table fog and
// frame-buffer blending but no specular.
template <int N, bool kTextured, bool kExtras>
LANES_INLINE void FillLanesOf(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step) {
  typedef typename Lanes<N>::U U;
  typedef typename Lanes<N>::I I;
  typedef typename Lanes<N>::F F;
  typedef typename Lanes<N>::Short S;
  uint16_t* dst = p.color + static_cast<ptrdiff_t>(y) * p.colorPitch + x;
  uint16_t* zrow = p.depth ? p.depth + static_cast<ptrdiff_t>(y) * p.depthPitch + x : nullptr;
  Stepper<8> attributes(start, step);
  const bool zTest = p.depthTest, zWrite = p.depthWrite, fog = kExtras && p.fog == PixelFog::Linear;
  const auto byAlpha = [](BlendFactor f) { return f == BlendFactor::SrcAlpha || f == BlendFactor::InvSrcAlpha; };
  const bool blendsByAlpha = kExtras && p.blend && (byAlpha(p.srcBlend) || byAlpha(p.destBlend));
  const U fogColour[3] = {Spread<U>(static_cast<uint32_t>(p.fogRed)), Spread<U>(static_cast<uint32_t>(p.fogGreen)),
                          Spread<U>(static_cast<uint32_t>(p.fogBlue))};
  const bool skipBlack = kExtras && p.skipBlack;
  const int brightestFog = std::max({p.fogRed, p.fogGreen, p.fogBlue});
  ModulatedBilinear m(p);
  for (int base = 0; base < count; base += kChunk, dst += kChunk, zrow = zrow ? zrow + kChunk : nullptr) {
    const int n = count - base < kChunk ? count - base : kChunk;
    const int lanes = (n + N - 1) & ~(N - 1);
    attributes.Fill(m.Rows(0), lanes);
    if constexpr (kTextured) m.Fetch<N>(lanes);
    else PrepareChunk<N, false, true>(p, m.t, lanes, m.c);
    if (fog) LinearFogLanes<N>(p, lanes, m.c);
    for (int i = 0; i < lanes; i += N) {
      const bool whole = i + N <= n;
      const U z = LoadLanes<U>(m.c.depth + i);
      const U seen = zTest ? PassLanes(p.depthPass, z, LoadRow<U, S>(zrow + i, whole ? N : n - i)) : Spread<U>(~0u);
      if (!AnyLane(seen)) continue;  // all hidden
      if (kTextured && skipBlack) {
        // Black texels stay black through fog that is not coloured there.
        U black = m.Black<N>(i);
        if (fog) black &= reinterpret_cast<U>((256 - LoadLanes<I>(m.c.fog + i)) * brightestFog < 256);
        if (!AnyLane(seen & ~black)) continue;
      }
      U src[3], alpha = Spread<U>(255), ok;
      if constexpr (kTextured) {
        m.Channels<N>(i, blendsByAlpha, src[0], src[1], src[2], alpha, ok);
      } else {
        U diffuse[4];
        for (int k = 0; k < 4; ++k) diffuse[k] = ByteLanes(LoadLanes<F>(m.diffuse[k] + i));
        for (int k = 0; k < 3; ++k) src[k] = StageLanes(p.colorSource, diffuse[k], Spread<U>(255));
        alpha = StageLanes(p.alphaSource, diffuse[3], Spread<U>(255));
        ok = p.alphaTest ? PassLanes(p.alphaPass, alpha, Spread<U>(static_cast<uint32_t>(p.alphaRef))) : Spread<U>(~0u);
      }
      ok &= seen;
      if (fog) {
        const U f = LoadLanes<U>(m.c.fog + i), rest = 256 - f;
        // Nearer than the fog's start the colour stays as it is.
        if (AnyLane(rest))
          for (int k = 0; k < 3; ++k) src[k] = (MulLanes(src[k], f) + MulLanes(fogColour[k], rest)) >> 8;
      }
      if (kExtras && p.blend) {
        U old[3], fs[3], fd[3];
        DecodeLanes(LoadRow<U, S>(dst + i, whole ? N : n - i), m.rgb565, old);
        FactorLanes(p.srcBlend, src, alpha, old, fs);
        FactorLanes(p.destBlend, src, alpha, old, fd);
        for (int k = 0; k < 3; ++k)
          src[k] = LowerLanes((MulLanes(src[k], fs[k]) + MulLanes(old[k], fd[k])) >> 8, Spread<U>(255));
      }
      const U packed = m.Pack(src[0], src[1], src[2]);
      if (whole) {
        const S keep = __builtin_convertvector(ok, S);
        WriteLanes(dst + i, __builtin_convertvector(packed, S), keep);
        if (zWrite) WriteLanes(zrow + i, __builtin_convertvector(z, S), keep);
        continue;
      }
      for (int k = 0; i + k < n; ++k) {
        if (!ok[k]) continue;
        dst[i + k] = static_cast<uint16_t>(packed[k]);
        if (zWrite) zrow[i + k] = static_cast<uint16_t>(z[k]);
      }
    }
  }
}

}  // namespace
}  // namespace plat::raster
