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
#include "platform/raster/span_lanes.h"
#include "platform/raster/texture_sampler.h"

// The span routines: every pixel of every primitive goes through one of
// these, in the fixed order depth test, texture and colour key, stage 0,
// alpha test, specular, fog, blend, write.
namespace plat::raster {
namespace {

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
  const float f =
      FogFactor(kModes[static_cast<int>(p.fog)], 1.0f / PositiveRhw(rhw), p.fogStart, p.fogEnd, p.fogDensity);
  return static_cast<int>(f * 256.0f);
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
    if constexpr (kTextured) geometry.Fill({c.z, c.rhw, c.u, c.v}, lanes);
    else geometry.Fill({c.z, c.rhw}, lanes);
    PrepareChunk<4, kTextured, kRead != TexelRead::Sampled>(p, p.texture, lanes, c);
    if (kExtras && linearFog) LinearFogLanes<4>(p, lanes, c);
    for (int i = 0; i < n; ++i, col += dCol, spec += dSpec) {
      const uint32_t z = static_cast<uint32_t>(c.depth[i]);
      if (zTest && !Passes(p.depthPass, z, zrow[i])) continue;
      const V4i d = reinterpret_cast<V4i>(ByteLanes(col));
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
        const V4i sp = reinterpret_cast<V4i>(ByteLanes(spec));
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

// Four lanes, where the processor lacks AVX2; with it the eight-lane build
// (span_fill_wide.cpp) runs instead.
template <bool kTextured, bool kExtras>
void FillLanes(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step) {
  FillLanesOf<4, kTextured, kExtras>(p, x, y, count, start, step);
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
  m.Fetch<4>(lanes);
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

bool WideLanesRun() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") && WideLaneSpan(true, true) != nullptr;
#else
  return false;
#endif
}

int g_spanLanes = WideLanesRun() ? 8 : 4;

}  // namespace

RowsFn SelectRows(bool textured, bool linear, bool extras, TexelRead read, bool modulated) {
  return textured && read != TexelRead::Sampled && linear && !extras && modulated ? FillModulatedBilinearRows : nullptr;
}

SpanFn SelectSpan(bool textured, bool linear, bool extras, TexelRead read, bool modulated, bool laneExtras) {
  const bool wide = g_spanLanes == 8;
  const auto lanes = [wide](bool laneTextured, bool laneExtras, SpanFn four) {
    return wide ? WideLaneSpan(laneTextured, laneExtras) : four;
  };
  if (!textured) {
    if (!extras) return lanes(false, false, FillLanes<false, false>);
    if (laneExtras) return lanes(false, true, FillLanes<false, true>);
    return WithExtras<false, false, TexelRead::Sampled>(true);
  }
  if (read != TexelRead::Sampled && linear && modulated && !extras) return lanes(true, false, FillLanes<true, false>);
  if (read != TexelRead::Sampled && linear && modulated && laneExtras) return lanes(true, true, FillLanes<true, true>);
  switch (read) {
    case TexelRead::Wrapped: return Textured<TexelRead::Wrapped>(linear, extras);
    case TexelRead::Clamped: return Textured<TexelRead::Clamped>(linear, extras);
    case TexelRead::Sampled: break;
  }
  return Textured<TexelRead::Sampled>(linear, extras);
}

int SpanLanes() { return g_spanLanes; }

void SetSpanLanes(int lanes) { g_spanLanes = lanes >= 8 && WideLanesRun() ? 8 : 4; }

}  // namespace plat::raster
