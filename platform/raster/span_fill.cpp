#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstring>

#include "platform/raster/blend.h"
#include "platform/raster/fog.h"
#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/pixel_formats.h"
#include "platform/raster/pixel_pipeline.h"
#include "platform/raster/simd_lanes.h"
#include "platform/raster/texture_sampler.h"

// The span routines: every pixel of every primitive goes through one of
// these, in the fixed order depth test, texture and colour key, stage 0,
// alpha test, specular, fog, blend, write.
namespace plat::raster {
namespace {

// Four lanes: attributes stepped together ((r, g, b, a), (specular r, g, b,
// fog)) or one attribute of four pixels.
typedef int V4i __attribute__((vector_size(16)));


// 0..255 per lane; not-a-number becomes 0.
V4i ToBytes(V4 c) {
  const V4 zero = {0, 0, 0, 0};
  const V4 top = {255, 255, 255, 255};
  c = MinLanes(MaxLanes(c, zero), top);
  return __builtin_convertvector(c, V4i);
}

// Keeps 1 / rhw finite.
float PositiveRhw(float rhw) { return rhw > 1e-30f ? rhw : 1e-30f; }

int Modulate(int a, int b) { return (a * Widen(b)) >> 8; }

int StageChannel(StageSource s, int diffuse, int texel) {
  switch (s) {
    case StageSource::Diffuse: return diffuse;
    case StageSource::Texture: return texel;
    case StageSource::White: return 255;
    case StageSource::Modulate: return Modulate(texel, diffuse);
    case StageSource::DiffuseSquared: return Modulate(diffuse, diffuse);
    case StageSource::TextureSquared: return Modulate(texel, texel);
  }
  return diffuse;
}

int FogWeight(const PixelPipeline& p, float rhw, float vertexFog) {
  if (p.fog == PixelFog::Vertex) return Widen(static_cast<int>(vertexFog));
  static constexpr FogMode kModes[] = {FogMode::None, FogMode::None, FogMode::Linear, FogMode::Exp, FogMode::Exp2};
  const float f = FogFactor(kModes[static_cast<int>(p.fog)], 1.0f / PositiveRhw(rhw), p.fogStart, p.fogEnd, p.fogDensity);
  return static_cast<int>(f * 256.0f);
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

using plat::raster::Store;
void Store(int* at, V4i v) { std::memcpy(at, &v, sizeof v); }


// SafeFixed on four lanes.
V4i FixedLanes(V4 x) {
  const V4 low = Splat(-2.0e9f), high = Splat(2.0e9f);
  x = MinLanes(MaxLanes(x, low), high);
  return __builtin_convertvector(x, V4i);
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

// FogWeight of linear table fog, four pixels at a time with the very
// arithmetic of FogWeight and FogFactor.
void LinearFogLanes(const PixelPipeline& p, int lanes, Chunk& c) {
  const V4 zero = Splat(0), one = Splat(1), tiny = Splat(1e-30f), end = Splat(p.fogEnd);
  const V4 span = Splat(p.fogEnd - p.fogStart);
  const bool ramp = p.fogEnd > p.fogStart;
  for (int i = 0; i < lanes; i += 4) {
    V4 rhw = Load(c.rhw + i);
    rhw = rhw > tiny ? rhw : tiny;
    const V4 d = one / rhw;
    V4 f = ramp ? (end - d) / span : (d < end ? one : zero);
    f = f > zero ? (f < one ? f : one) : zero;
    Store(c.fog + i, __builtin_convertvector(f * Splat(256.0f), V4i));
  }
}

// kFixed: texel positions in 1/256 texels (decoded texels), else texture
// coordinates after the perspective divide.
template <bool kTextured, bool kFixed>
inline __attribute__((always_inline)) void PrepareChunk(const PixelPipeline& p, const TextureView& texture,
                                                        int lanes, Chunk& c) {
  const V4 zero = Splat(0), one = Splat(1), tiny = Splat(1e-30f);
  const V4 scaleU = Splat(texture.scaleU), scaleV = Splat(texture.scaleV);
  const bool perspective = p.perspectiveTexture;
  for (int i = 0; i < lanes; i += 4) {
    V4 z = Load(c.z + i);
    z = MinLanes(MaxLanes(z, zero), one);
    Store(c.depth + i, __builtin_convertvector(z * Splat(65535.0f) + Splat(0.5f), V4i));
    if constexpr (kTextured) {
      V4 u = Load(c.u + i), v = Load(c.v + i);
      if (perspective) {
        const V4 rhw = Load(c.rhw + i);
        const V4 w = one / MaxLanes(rhw, tiny);
        u *= w;
        v *= w;
        if constexpr (!kFixed) {
          Store(c.u + i, u);
          Store(c.v + i, v);
        }
      }
      if constexpr (kFixed) {
        Store(c.texelU + i, FixedLanes(u * scaleU));
        Store(c.texelV + i, FixedLanes(v * scaleV));
      }
    }
  }
}

template <bool kTextured, bool kLinear, bool kExtras, TexelRead kRead>
void FillSpan(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step) {
  uint16_t* dst = p.color + static_cast<ptrdiff_t>(y) * p.colorPitch + x;
  uint16_t* zrow = p.depth ? p.depth + static_cast<ptrdiff_t>(y) * p.depthPitch + x : nullptr;
  Stepper<kTextured ? 4 : 2> geometry(start, step);  // z and rhw, then u and v
  V4 col = Load(start + kAttrR), spec = Load(start + kAttrSpecR);
  const V4 dCol = Load(step + kAttrR), dSpec = Load(step + kAttrSpecR);
  const bool zTest = p.depthTest, zWrite = p.depthWrite;
  const bool linearFog = p.fog == PixelFog::Linear;
  Chunk c;
  for (int base = 0; base < count; base += kChunk, dst += kChunk, zrow = zrow ? zrow + kChunk : nullptr) {
    const int n = count - base < kChunk ? count - base : kChunk;
    const int lanes = (n + 3) & ~3;
    if constexpr (kTextured)
      geometry.Fill({c.z, c.rhw, c.u, c.v}, lanes);
    else
      geometry.Fill({c.z, c.rhw}, lanes);
    PrepareChunk<kTextured, kRead != TexelRead::Sampled>(p, p.texture, lanes, c);
    if (kExtras && linearFog) LinearFogLanes(p, lanes, c);
    for (int i = 0; i < n; ++i, col += dCol, spec += dSpec) {
      const uint32_t z = static_cast<uint32_t>(c.depth[i]);
      if (zTest && !Passes(p.depthPass, z, zrow[i])) continue;
      const V4i d = ToBytes(col);
      int r, g, b, a;
      if constexpr (kTextured) {
        uint32_t texel;
        if constexpr (kRead == TexelRead::Wrapped) {
          texel = kLinear ? SampleBilinearWrapped(p.texture, c.texelU[i], c.texelV[i])
                          : SamplePointWrapped(p.texture, c.texelU[i], c.texelV[i]);
        } else if constexpr (kRead == TexelRead::Clamped) {
          texel = kLinear ? SampleBilinearClamped(p.texture, c.texelU[i], c.texelV[i])
                          : SamplePointClamped(p.texture, c.texelU[i], c.texelV[i]);
        } else if (!(kLinear ? SampleBilinear(p.texture, c.u[i], c.v[i], texel)
                             : SamplePoint(p.texture, c.u[i], c.v[i], texel))) {
          continue;
        }
        const int tr = (texel >> 16) & 0xFF, tg = (texel >> 8) & 0xFF, tb = texel & 0xFF;
        if (p.colorSource == StageSource::Modulate) {
          r = Modulate(tr, d[0]);
          g = Modulate(tg, d[1]);
          b = Modulate(tb, d[2]);
        } else {
          r = StageChannel(p.colorSource, d[0], tr);
          g = StageChannel(p.colorSource, d[1], tg);
          b = StageChannel(p.colorSource, d[2], tb);
        }
        a = StageChannel(p.alphaSource, d[3], static_cast<int>(texel >> 24));
      } else {
        r = StageChannel(p.colorSource, d[0], 255);
        g = StageChannel(p.colorSource, d[1], 255);
        b = StageChannel(p.colorSource, d[2], 255);
        a = StageChannel(p.alphaSource, d[3], 255);
      }
      if (p.alphaTest && !Passes(p.alphaPass, static_cast<uint32_t>(a), static_cast<uint32_t>(p.alphaRef))) continue;
      if constexpr (kExtras) {
        const V4i sp = ToBytes(spec);
        if (p.specular) {
          r = Saturate(r + sp[0]);
          g = Saturate(g + sp[1]);
          b = Saturate(b + sp[2]);
        }
        if (p.fog != PixelFog::None) {
          const int f = linearFog ? c.fog[i] : FogWeight(p, c.rhw[i], static_cast<float>(sp[3]));
          r = FogMix(r, p.fogRed, f);
          g = FogMix(g, p.fogGreen, f);
          b = FogMix(b, p.fogBlue, f);
        }
        if (p.blend) {
          const uint32_t old = DecodePixel(p.layout, dst[i]);
          const Rgba out = Blend(p.srcBlend, p.destBlend, {r, g, b, a},
                                 {static_cast<int>((old >> 16) & 0xFF), static_cast<int>((old >> 8) & 0xFF),
                                  static_cast<int>(old & 0xFF), 255});
          r = out.r;
          g = out.g;
          b = out.b;
        }
      }
      dst[i] = PackPixel(p.layout, static_cast<uint32_t>(r), static_cast<uint32_t>(g), static_cast<uint32_t>(b));
      if (zWrite) zrow[i] = static_cast<uint16_t>(z);
    }
  }
}

typedef uint32_t U4 __attribute__((vector_size(16)));
typedef uint16_t U8 __attribute__((vector_size(16)));
typedef uint16_t U4s __attribute__((vector_size(8)));
typedef uint64_t U2 __attribute__((vector_size(16)));

template <typename V, typename T>
V LoadLanes(const T* at) {
  V v;
  std::memcpy(&v, at, sizeof v);
  return v;
}

U4 Spread(uint32_t x) { return U4{x, x, x, x}; }

// Two 16-bit lanes per word multiplied lane by lane (pmullw): every product
// here (8-bit channels, weights up to 256) stays below 65536, so this is the
// 32-bit product.
U4 MulLanes(U4 a, U4 b) { return reinterpret_cast<U4>(reinterpret_cast<U8>(a) * reinterpret_cast<U8>(b)); }

// Passes on four lanes: all ones where the comparison mask lets a against b
// pass. The values (depths, alphas) are below 65536, so a signed comparison,
// the one SSE2 has, is the same.
U4 PassLanes(uint8_t mask, U4 a, U4 b) {
  const U4 less = mask & 1 ? Spread(~0u) : Spread(0), equal = mask & 2 ? Spread(~0u) : Spread(0),
           greater = mask & 4 ? Spread(~0u) : Spread(0);
  const V4i x = reinterpret_cast<V4i>(a), y = reinterpret_cast<V4i>(b);
  return (reinterpret_cast<U4>(x < y) & less) | (reinterpret_cast<U4>(x == y) & equal) |
         (reinterpret_cast<U4>(x > y) & greater);
}

// Four 16-bit values stored where keep is all ones, the old ones kept elsewhere.
void WriteLanes(uint16_t* at, U4s values, U4s keep) {
  const U4s merged = (values & keep) | (LoadLanes<U4s>(at) & ~keep);
  std::memcpy(at, &merged, sizeof merged);
}

U4 ModulateLanes(U4 a, U4 b) { return MulLanes(a, b + (b >> 7)) >> 8; }

// A source of stage 0 on four lanes (diffuse and texel channels 0..255).
U4 StageLanes(StageSource s, U4 diffuse, U4 texel) {
  switch (s) {
    case StageSource::Diffuse: return diffuse;
    case StageSource::Texture: return texel;
    case StageSource::White: return Spread(255);
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
  const U4 alphaRef;
  Chunk c;
  alignas(16) float diffuse[4][kChunkRoom];

  explicit ModulatedBilinear(const PixelPipeline& pipeline)
      : p(pipeline),
        t(pipeline.texture),
        maskX(t.width - 1),
        maskY(t.height - 1),
        widthLog2(std::countr_zero(static_cast<unsigned>(t.width))),
        pitch(t.argbPitch),
        clamp(t.clamp),
        rgb565(pipeline.layout == PixelLayout::Rgb565),
        alphaRef(Spread(static_cast<uint32_t>(pipeline.alphaRef))) {}

  float* const (&Rows(int at))[8] {
    rows_[0] = c.z + at, rows_[1] = c.rhw + at, rows_[2] = c.u + at, rows_[3] = c.v + at;
    for (int k = 0; k < 4; ++k) rows_[4 + k] = diffuse[k] + at;
    return rows_;
  }

  // The stepped attributes of `lanes` pixels to depths and texel positions.
  void Fetch(int lanes) { PrepareChunk<true, true>(p, t, lanes, c); }

  // ClampTexel on four lanes.
  static V4i ClampLanes(V4i v, int size) {
    const V4i top = V4i{size, size, size, size} - 1, zero = V4i{0, 0, 0, 0};
    v = v < top ? v : top;
    return v > zero ? v : zero;
  }

  // All ones in the lanes of pixels i..i+3 whose four texels all lie
  // outside the ink, so are black.
  U4 Black(int i) const {
    const V4i fu = LoadLanes<V4i>(c.texelU + i) - 128, fv = LoadLanes<V4i>(c.texelV + i) - 128;
    V4i x0 = fu >> 8, x1 = x0 + 1, y0 = fv >> 8, y1 = y0 + 1;
    if (clamp) {
      x0 = ClampLanes(x0, t.width), x1 = ClampLanes(x1, t.width);
      y0 = ClampLanes(y0, t.height), y1 = ClampLanes(y1, t.height);
    } else {
      x0 &= maskX, x1 &= maskX, y0 &= maskY, y1 &= maskY;
    }
    const auto outside = [](V4i at, int low, int high) { return (at < low) | (at >= high); };
    const V4i across = outside(x0, t.ink.left, t.ink.right) & outside(x1, t.ink.left, t.ink.right);
    const V4i down = outside(y0, t.ink.top, t.ink.bottom) & outside(y1, t.ink.top, t.ink.bottom);
    return reinterpret_cast<U4>(across | down);
  }

  // The two texel pairs under pixels i..i+3, in the order of BilinearMix:
  // upper left, upper right, lower left, lower right.
  void Texels(int i, U4 (&texel)[4]) const {
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

  // Pixels i..i+3 through stage 0: their channels (0..255); ok keeps those
  // the alpha test lets through. The alpha is worked out for the test or
  // when asked for, else left undefined.
  void Channels(int i, bool wantAlpha, U4& r, U4& g, U4& b, U4& a, U4& ok) const {
    const U4 fx = (LoadLanes<U4>(c.texelU + i) - 128) & 255, fy = (LoadLanes<U4>(c.texelV + i) - 128) & 255;
    // The weights of BilinearMix, worked out in both 16-bit halves of each lane.
    const U8 x = reinterpret_cast<U8>(fx | fx << 16), y = reinterpret_cast<U8>(fy | fy << 16);
    const U8 w11 = (x * y) >> 8, w10 = (x * (256 - y)) >> 8, w01 = ((256 - x) * y) >> 8;
    const U8 w00 = 256 - w11 - w10 - w01;
    const U4 weights[4] = {reinterpret_cast<U4>(w00), reinterpret_cast<U4>(w10), reinterpret_cast<U4>(w01),
                           reinterpret_cast<U4>(w11)};
    U4 texel[4];
    Texels(i, texel);
    U4 rb = Spread(0), ag = Spread(0);
    for (int k = 0; k < 4; ++k) {
      const U4 p4 = texel[k];
      rb += MulLanes(p4 & 0xFF00FF, weights[k]);
      ag += MulLanes(p4 >> 8 & 0xFF00FF, weights[k]);
    }
    // Modulate: each channel times the widened diffuse one, over 256.
    U4 bytes[4], d[4];
    for (int k = 0; k < 4; ++k) {
      bytes[k] = reinterpret_cast<U4>(ToBytes(Load(diffuse[k] + i)));
      d[k] = bytes[k] + (bytes[k] >> 7);
    }
    const U4 redBlue = MulLanes(rb >> 8 & 0xFF00FF, d[2] | d[0] << 16) >> 8;
    const U4 greenLane = MulLanes(ag >> 8 & 0xFF, d[1]) >> 8;
    r = redBlue >> 16 & 0xFF;
    g = greenLane & 0xFF;
    b = redBlue & 0xFF;
    if (wantAlpha || p.alphaTest) a = StageLanes(p.alphaSource, bytes[3], ag >> 24);
    ok = p.alphaTest ? PassLanes(p.alphaPass, a, alphaRef) : Spread(~0u);
  }

  U4 Pack(U4 r, U4 g, U4 b) const {
    return rgb565 ? (r >> 3) << 11 | (g >> 2) << 5 | b >> 3 : (r >> 3) << 10 | (g >> 3) << 5 | b >> 3;
  }

  // Pixels i..i+3 shaded: their packed colours.
  U4 Shade(int i, U4& ok) const {
    U4 r, g, b, a;
    Channels(i, false, r, g, b, a, ok);
    return Pack(r, g, b);
  }

 private:
  float* rows_[8];
};

U4 WidenLanes(U4 c) { return c + (c >> 7); }

// One blend factor of BlendFactors on four lanes, per channel: src and dst
// hold (r, g, b) lanes; the target has no alpha, so its alpha is 255.
inline __attribute__((always_inline)) void FactorLanes(BlendFactor f, const U4 (&src)[3], U4 srcAlpha,
                                                       const U4 (&dst)[3], U4 (&out)[3]) {
  U4 v;
  switch (f) {
    case BlendFactor::One: v = Spread(256); break;
    case BlendFactor::SrcColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(src[k]);
      return;
    case BlendFactor::InvSrcColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(255 - src[k]);
      return;
    case BlendFactor::SrcAlpha: v = WidenLanes(srcAlpha); break;
    case BlendFactor::InvSrcAlpha: v = WidenLanes(255 - srcAlpha); break;
    case BlendFactor::DestAlpha: v = Spread(256); break;
    case BlendFactor::DestColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(dst[k]);
      return;
    case BlendFactor::InvDestColor:
      for (int k = 0; k < 3; ++k) out[k] = WidenLanes(255 - dst[k]);
      return;
    default: v = Spread(0); break;  // Zero, InvDestAlpha, SrcAlphaSat under an opaque target
  }
  out[0] = out[1] = out[2] = v;
}

U4 MinLanes(U4 a, U4 b) {
  const V4i x = reinterpret_cast<V4i>(a), y = reinterpret_cast<V4i>(b);
  return reinterpret_cast<U4>(x < y ? x : y);
}

// Four target pixels as (r, g, b) lanes, expanded as DecodePixel does.
inline __attribute__((always_inline)) void DecodeLanes(U4 c, bool rgb565, U4 (&out)[3]) {
  const U4 r = rgb565 ? c >> 11 & 31 : c >> 10 & 31, b = c & 31;
  out[0] = r << 3 | r >> 2;
  if (rgb565) {
    const U4 g = c >> 5 & 63;
    out[1] = g << 2 | g >> 4;
  } else {
    const U4 g = c >> 5 & 31;
    out[1] = g << 3 | g >> 2;
  }
  out[2] = b << 3 | b >> 2;
}

// The common spans four pixels at a time, with the very arithmetic of
// FillSpan: untextured ones, or (kTextured) the bilinear span of a texture
// modulated by the diffuse colour, wrapping (a power of two) or clamping;
// with none of the rarer stages, or (kExtras) with linear table fog and
// frame-buffer blending but no specular.
// Built twice, the wider encoding chosen at run time where the processor has it.
template <bool kTextured, bool kExtras>
__attribute__((target_clones("avx2", "default"))) void FillLanes(const PixelPipeline& p, int x, int y, int count,
                                                                 const float* start, const float* step) {
  uint16_t* dst = p.color + static_cast<ptrdiff_t>(y) * p.colorPitch + x;
  uint16_t* zrow = p.depth ? p.depth + static_cast<ptrdiff_t>(y) * p.depthPitch + x : nullptr;
  Stepper<8> attributes(start, step);
  const bool zTest = p.depthTest, zWrite = p.depthWrite, fog = kExtras && p.fog == PixelFog::Linear;
  const auto byAlpha = [](BlendFactor f) { return f == BlendFactor::SrcAlpha || f == BlendFactor::InvSrcAlpha; };
  const bool blendsByAlpha = kExtras && p.blend && (byAlpha(p.srcBlend) || byAlpha(p.destBlend));
  const U4 fogColour[3] = {Spread(static_cast<uint32_t>(p.fogRed)), Spread(static_cast<uint32_t>(p.fogGreen)),
                           Spread(static_cast<uint32_t>(p.fogBlue))};
  const bool skipBlack = kExtras && p.skipBlack;
  const int brightestFog = std::max({p.fogRed, p.fogGreen, p.fogBlue});
  ModulatedBilinear m(p);
  for (int base = 0; base < count; base += kChunk, dst += kChunk, zrow = zrow ? zrow + kChunk : nullptr) {
    const int n = count - base < kChunk ? count - base : kChunk;
    const int lanes = (n + 3) & ~3;
    attributes.Fill(m.Rows(0), lanes);
    if constexpr (kTextured)
      m.Fetch(lanes);
    else
      PrepareChunk<false, true>(p, m.t, lanes, m.c);
    if (fog) LinearFogLanes(p, lanes, m.c);
    for (int i = 0; i < lanes; i += 4) {
      const bool whole = i + 4 <= n;
      // At the end of the span lane by lane, reading nothing past it.
      const auto load = [&](const uint16_t* row) -> U4 {
        if (whole) return __builtin_convertvector(LoadLanes<U4s>(row + i), U4);
        const auto at = [&](int k) -> uint32_t { return i + k < n ? row[i + k] : 0; };
        return U4{at(0), at(1), at(2), at(3)};
      };
      const U4 z = LoadLanes<U4>(m.c.depth + i);
      const U4 seen = zTest ? PassLanes(p.depthPass, z, load(zrow)) : Spread(~0u);
      const U2 halves = reinterpret_cast<U2>(seen);
      if ((halves[0] | halves[1]) == 0) continue;  // all four hidden
      if (kTextured && skipBlack) {
        // Black texels stay black through fog that is not coloured there.
        U4 black = m.Black(i);
        if (fog) black &= reinterpret_cast<U4>((256 - LoadLanes<V4i>(m.c.fog + i)) * brightestFog < 256);
        const U2 changed = reinterpret_cast<U2>(seen & ~black);
        if ((changed[0] | changed[1]) == 0) continue;
      }
      U4 src[3], alpha = Spread(255), ok;
      if constexpr (kTextured) {
        m.Channels(i, blendsByAlpha, src[0], src[1], src[2], alpha, ok);
      } else {
        U4 diffuse[4];
        for (int k = 0; k < 4; ++k) diffuse[k] = reinterpret_cast<U4>(ToBytes(Load(m.diffuse[k] + i)));
        for (int k = 0; k < 3; ++k) src[k] = StageLanes(p.colorSource, diffuse[k], Spread(255));
        alpha = StageLanes(p.alphaSource, diffuse[3], Spread(255));
        ok = p.alphaTest ? PassLanes(p.alphaPass, alpha, m.alphaRef) : Spread(~0u);
      }
      ok &= seen;
      if (fog) {
        const U4 f = LoadLanes<U4>(m.c.fog + i), rest = 256 - f;
        const U2 clear = reinterpret_cast<U2>(rest);
        // Nearer than the fog's start the colour stays as it is.
        if ((clear[0] | clear[1]) != 0)
          for (int k = 0; k < 3; ++k) src[k] = (MulLanes(src[k], f) + MulLanes(fogColour[k], rest)) >> 8;
      }
      if (kExtras && p.blend) {
        U4 old[3], fs[3], fd[3];
        DecodeLanes(load(dst), m.rgb565, old);
        FactorLanes(p.srcBlend, src, alpha, old, fs);
        FactorLanes(p.destBlend, src, alpha, old, fd);
        for (int k = 0; k < 3; ++k)
          src[k] = MinLanes((MulLanes(src[k], fs[k]) + MulLanes(old[k], fd[k])) >> 8, Spread(255));
      }
      const U4 packed = m.Pack(src[0], src[1], src[2]);
      if (whole) {
        const U4s keep = __builtin_convertvector(ok, U4s);
        WriteLanes(dst + i, __builtin_convertvector(packed, U4s), keep);
        if (zWrite) WriteLanes(zrow + i, __builtin_convertvector(z, U4s), keep);
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

// Short rows of one triangle shaded together, packed one after another into
// a chunk, so that a row of a few pixels costs no chunk of its own.
void FillModulatedBilinearRows(const PixelPipeline& p, const SpanRow* rows, int rowCount, const float* step) {
  ModulatedBilinear m(p);
  int n = 0;
  for (int r = 0; r < rowCount; ++r) {
    // Each row's steps run on past its end into the next one's place; the
    // last row's up to the end of its four lanes.
    const int steps = r + 1 < rowCount ? rows[r].count : ((n + rows[r].count + 3) & ~3) - n;
    Stepper<8>(rows[r].start, step).Fill(m.Rows(n), steps);
    n += rows[r].count;
  }
  const int lanes = (n + 3) & ~3;
  m.Fetch(lanes);
  alignas(16) uint32_t packed[kChunk], keep[kChunk];
  for (int i = 0; i < lanes; i += 4) {
    U4 ok;
    const U4 colour = m.Shade(i, ok);
    std::memcpy(packed + i, &colour, sizeof colour);
    std::memcpy(keep + i, &ok, sizeof ok);
  }
  // The depth test and the writes pixel by pixel, row by row.
  const bool zTest = p.depthTest, zWrite = p.depthWrite;
  int i = 0;
  for (int r = 0; r < rowCount; ++r) {
    const SpanRow& row = rows[r];
    uint16_t* const dst = p.color + static_cast<ptrdiff_t>(row.y) * p.colorPitch + row.x;
    uint16_t* const zrow = p.depth ? p.depth + static_cast<ptrdiff_t>(row.y) * p.depthPitch + row.x : nullptr;
    for (int j = 0; j < row.count; ++j, ++i) {
      const uint32_t z = static_cast<uint32_t>(m.c.depth[i]);
      if (!keep[i] || (zTest && !Passes(p.depthPass, z, zrow[j]))) continue;
      dst[j] = static_cast<uint16_t>(packed[i]);
      if (zWrite) zrow[j] = static_cast<uint16_t>(z);
    }
  }
}

template <bool kTextured, bool kLinear, TexelRead kRead>
SpanFn WithExtras(bool extras) {
  return extras ? FillSpan<kTextured, kLinear, true, kRead> : FillSpan<kTextured, kLinear, false, kRead>;
}

template <TexelRead kRead>
SpanFn Textured(bool linear, bool extras) {
  return linear ? WithExtras<true, true, kRead>(extras) : WithExtras<true, false, kRead>(extras);
}

}  // namespace

RowsFn SelectRows(bool textured, bool linear, bool extras, TexelRead read, bool modulated) {
  return textured && read != TexelRead::Sampled && linear && !extras && modulated ? FillModulatedBilinearRows
                                                                                   : nullptr;
}

SpanFn SelectSpan(bool textured, bool linear, bool extras, TexelRead read, bool modulated, bool laneExtras) {
  if (!textured) {
    if (!extras) return FillLanes<false, false>;
    return laneExtras ? FillLanes<false, true> : WithExtras<false, false, TexelRead::Sampled>(true);
  }
  if (read != TexelRead::Sampled && linear && modulated && !extras) return FillLanes<true, false>;
  if (read != TexelRead::Sampled && linear && modulated && laneExtras) return FillLanes<true, true>;
  switch (read) {
    case TexelRead::Wrapped: return Textured<TexelRead::Wrapped>(linear, extras);
    case TexelRead::Clamped: return Textured<TexelRead::Clamped>(linear, extras);
    case TexelRead::Sampled: break;
  }
  return Textured<TexelRead::Sampled>(linear, extras);
}

}  // namespace plat::raster
