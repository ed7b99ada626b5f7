#include <cstddef>
#include <cstring>

#include "platform/raster/blend.h"
#include "platform/raster/fog.h"
#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/pixel_formats.h"
#include "platform/raster/pixel_pipeline.h"
#include "platform/raster/texture_sampler.h"

// The span routines: every pixel of every primitive goes through one of
// these, in the fixed order depth test, texture and colour key, stage 0,
// alpha test, specular, fog, blend, write.
namespace plat::raster {
namespace {

// Four attributes stepped together: (z, rhw, u, v), (r, g, b, a),
// (specular r, g, b, fog).
typedef float V4 __attribute__((vector_size(16)));
typedef int V4i __attribute__((vector_size(16)));

V4 Load(const float* p) {
  V4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// 0..255 per lane; not-a-number becomes 0.
V4i ToBytes(V4 c) {
  const V4 zero = {0, 0, 0, 0};
  const V4 top = {255, 255, 255, 255};
  c = c > zero ? c : zero;
  c = c < top ? c : top;
  return __builtin_convertvector(c, V4i);
}

uint32_t DepthValue(float z) {
  z = z > 0.0f ? z : 0.0f;
  z = z < 1.0f ? z : 1.0f;
  return static_cast<uint32_t>(z * 65535.0f + 0.5f);
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

// kWrapped: the texture is read through its decoded texels (power of two,
// wrapping, no colour key).
template <bool kTextured, bool kLinear, bool kExtras, bool kWrapped>
void FillSpan(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step) {
  uint16_t* dst = p.color + static_cast<ptrdiff_t>(y) * p.colorPitch + x;
  uint16_t* zrow = p.depth ? p.depth + static_cast<ptrdiff_t>(y) * p.depthPitch + x : nullptr;
  V4 geo = Load(start + kAttrZ), col = Load(start + kAttrR), spec = Load(start + kAttrSpecR);
  const V4 dGeo = Load(step + kAttrZ), dCol = Load(step + kAttrR), dSpec = Load(step + kAttrSpecR);
  const bool zTest = p.depthTest, zWrite = p.depthWrite;
  for (int i = 0; i < count; ++i, geo += dGeo, col += dCol, spec += dSpec) {
    uint32_t z = 0;
    if (zTest || zWrite) {
      z = DepthValue(geo[0]);
      if (zTest && !Passes(p.depthPass, z, zrow[i])) continue;
    }
    const V4i d = ToBytes(col);
    int r, g, b, a;
    if constexpr (kTextured) {
      float u = geo[2], v = geo[3];
      if (p.perspectiveTexture) {
        const float w = 1.0f / PositiveRhw(geo[1]);
        u *= w;
        v *= w;
      }
      uint32_t texel;
      if constexpr (kWrapped) {
        texel = kLinear ? SampleBilinearWrapped(p.texture, u, v) : SamplePointWrapped(p.texture, u, v);
      } else if (!(kLinear ? SampleBilinear(p.texture, u, v, texel) : SamplePoint(p.texture, u, v, texel))) {
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
      const V4i s = ToBytes(spec);
      if (p.specular) {
        r = Saturate(r + s[0]);
        g = Saturate(g + s[1]);
        b = Saturate(b + s[2]);
      }
      if (p.fog != PixelFog::None) {
        const int f = FogWeight(p, geo[1], static_cast<float>(s[3]));
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

}  // namespace

template <bool kTextured, bool kLinear, bool kWrapped>
SpanFn WithExtras(bool extras) {
  return extras ? FillSpan<kTextured, kLinear, true, kWrapped> : FillSpan<kTextured, kLinear, false, kWrapped>;
}

SpanFn SelectSpan(bool textured, bool linear, bool extras, bool wrapped) {
  if (!textured) return WithExtras<false, false, false>(extras);
  if (wrapped) return linear ? WithExtras<true, true, true>(extras) : WithExtras<true, false, true>(extras);
  return linear ? WithExtras<true, true, false>(extras) : WithExtras<true, false, false>(extras);
}

}  // namespace plat::raster
