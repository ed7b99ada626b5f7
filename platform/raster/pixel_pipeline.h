#pragma once
#include <cstdint>

#include "platform/raster/pipeline_vertex.h"
#include "platform/raster/raster_types.h"

// The per-pixel half of a draw, resolved once from the device's states: the
// target and scissor, the depth test, the texture stage, alpha test, fog and
// blending, and the span routines that run them.
namespace plat::raster {

struct PixelPipeline;

// Shades `count` pixels of row y from column x on; `start` holds the
// attributes at the first pixel centre, `step` their change per pixel.
using SpanFn = void (*)(const PixelPipeline& p, int x, int y, int count, const float* start, const float* step);

// A batch of rows carries no specular colour or fog: only the attributes
// before them.
constexpr int kRowAttributes = kAttrSpecR;

// One row of a span batch: where it starts, its length and the attributes at
// its first pixel centre.
struct SpanRow {
  int x;
  int y;
  int count;
  float start[kRowAttributes];
};

// At most this many pixels go into one call of a RowsFn.
constexpr int kRowBatchPixels = 64;

// Shades short rows of one primitive together (pixels in all of them at
// most kRowBatchPixels); `step` is the attributes' change per pixel.
using RowsFn = void (*)(const PixelPipeline& p, const SpanRow* rows, int rowCount, const float* step);

struct TextureView {
  const uint16_t* pixels;
  const uint32_t* argb;  // the decoded texels (ExpandTexels), or null
  int argbPitch;
  int width;
  int height;
  int pitch;  // texels
  PixelLayout layout;
  bool clamp;
  bool powerOfTwo;
  float scaleU;  // texture coordinate to 1/256 texels
  float scaleV;
  bool keyed;
  uint16_t key;
  TexelBounds ink;  // outside it every texel is black (the whole texture when unknown)
};

// Where the colour and the alpha of stage 0 come from. Without a texture the
// texture argument reads white.
enum class StageSource : uint8_t { Diffuse, Texture, White, Modulate, DiffuseSquared, TextureSquared };
enum class PixelFog : uint8_t { None, Vertex, Linear, Exp, Exp2 };

struct PixelPipeline {
  uint16_t* color;
  int colorPitch;  // pixels
  PixelLayout layout;
  uint16_t* depth;  // null: no depth buffer
  int depthPitch;
  // Scissor: the viewport within the target and depth buffer; right and
  // bottom exclusive.
  int clipLeft;
  int clipTop;
  int clipRight;
  int clipBottom;

  // Comparisons as masks of 1 (less), 2 (equal), 4 (greater).
  bool depthTest;
  bool depthWrite;
  uint8_t depthPass;
  bool alphaTest;
  uint8_t alphaPass;
  int alphaRef;

  bool textured;
  TextureView texture;
  bool perspectiveTexture;
  bool minLinear;
  bool magLinear;
  StageSource colorSource;
  StageSource alphaSource;

  bool specular;
  PixelFog fog;
  float fogStart;
  float fogEnd;
  float fogDensity;
  int fogRed;
  int fogGreen;
  int fogBlue;
  bool blend;
  BlendFactor srcBlend;
  BlendFactor destBlend;
  // A pixel whose texels are all black leaves the target as it was, unless
  // fog colours it (a darkening or adding blend, no specular colour, no
  // depth written): the span routines may pass over pixels whose texels lie
  // outside the ink.
  bool skipBlack;

  bool flat;
  CullMode cull;
  SpanFn pointSpan;
  SpanFn linearSpan;
  RowsFn linearRows;  // null: linearSpan row by row
};

// Compare mask of a comparison function.
uint8_t PassMask(CompareFunc f);

// False when the draw can put no pixel anywhere (no target, empty scissor).
bool BuildPixelPipeline(const DrawContext& context, PixelPipeline& out);

// How a textured span reads its texture: through the sampler (any texture),
// or straight from the decoded texels of a texture without colour key that
// wraps (power of two) or clamps.
enum class TexelRead { Sampled, Wrapped, Clamped };

// Span routines for a pipeline: the plain, textured-point and
// textured-bilinear variants, each with or without the rarer stages
// (specular, fog, blending), the textured ones for each way of reading
// texels, and the common case of a texture read from its decoded texels and
// modulated by the diffuse colour (modulated), also with the extras when
// they are only linear table fog and blending (laneExtras).
SpanFn SelectSpan(bool textured, bool linear, bool extras, TexelRead read, bool modulated, bool laneExtras);
// The widest lanes the span routines use: eight where the processor has
// AVX2, else four. Pipelines built after SetSpanLanes use no more than asked.
int SpanLanes();
void SetSpanLanes(int lanes);

// The batch routine for short rows of the same case, or null.
RowsFn SelectRows(bool textured, bool linear, bool extras, TexelRead read, bool modulated);

}  // namespace plat::raster
