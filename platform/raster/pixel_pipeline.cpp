#include "platform/raster/pixel_pipeline.h"

#include <algorithm>

#include "platform/raster/pixel_formats.h"

namespace plat::raster {
namespace {

StageSource ArgSource(TextureArg arg, bool textured) {
  if (arg != TextureArg::Texture) return StageSource::Diffuse;  // stage 0: current is diffuse
  return textured ? StageSource::Texture : StageSource::White;
}

StageSource ResolveStage(TextureOp op, TextureArg arg1, TextureArg arg2, bool textured) {
  const StageSource a = ArgSource(arg1, textured);
  const StageSource b = ArgSource(arg2, textured);
  switch (op) {
    case TextureOp::SelectArg1: return a;
    case TextureOp::SelectArg2: return b;
    case TextureOp::Modulate:
      if (a == StageSource::White) return b;
      if (b == StageSource::White) return a;
      if (a != b) return StageSource::Modulate;
      return a == StageSource::Texture ? StageSource::TextureSquared : StageSource::DiffuseSquared;
    case TextureOp::Disable: break;
  }
  return StageSource::Diffuse;
}

bool ValidTexture(const Texture* t) {
  return t && t->pixels && t->width > 0 && t->height > 0 && t->pitchBytes >= t->width * 2;
}

}  // namespace

uint8_t PassMask(CompareFunc f) {
  switch (f) {
    case CompareFunc::Never: return 0;
    case CompareFunc::Less: return 1;
    case CompareFunc::Equal: return 2;
    case CompareFunc::LessEqual: return 3;
    case CompareFunc::Greater: return 4;
    case CompareFunc::NotEqual: return 5;
    case CompareFunc::GreaterEqual: return 6;
    case CompareFunc::Always: return 7;
  }
  return 7;
}

bool BuildPixelPipeline(const DrawContext& context, PixelPipeline& p) {
  const Surface& target = context.target;
  const Viewport& vp = context.viewport;
  const RenderStates& rs = context.states;
  if (!target.pixels || target.width <= 0 || target.height <= 0 || target.pitchBytes < target.width * 2 ||
      target.layout == PixelLayout::Argb4444 || vp.width <= 0 || vp.height <= 0)
    return false;
  p.color = target.pixels;
  p.colorPitch = target.pitchBytes / 2;
  p.layout = target.layout;
  p.clipLeft = std::max(vp.x, 0);
  p.clipTop = std::max(vp.y, 0);
  p.clipRight = std::min(vp.x + vp.width, target.width);
  p.clipBottom = std::min(vp.y + vp.height, target.height);

  const DepthSurface& depth = context.depth;
  const bool hasDepth =
      rs.zEnable && depth.values && depth.width > 0 && depth.height > 0 && depth.pitchBytes >= depth.width * 2;
  p.depth = hasDepth ? depth.values : nullptr;
  p.depthPitch = hasDepth ? depth.pitchBytes / 2 : 0;
  if (hasDepth) {
    p.clipRight = std::min(p.clipRight, depth.width);
    p.clipBottom = std::min(p.clipBottom, depth.height);
  }
  if (p.clipLeft >= p.clipRight || p.clipTop >= p.clipBottom) return false;
  p.depthTest = hasDepth && rs.zFunc != CompareFunc::Always;
  p.depthWrite = hasDepth && rs.zWriteEnable;
  p.depthPass = PassMask(rs.zFunc);
  p.alphaTest = rs.alphaTestEnable && rs.alphaFunc != CompareFunc::Always;
  p.alphaPass = PassMask(rs.alphaFunc);
  p.alphaRef = rs.alphaRef;

  const Texture* tex = context.texture;
  p.textured = ValidTexture(tex);
  const TextureStage& stage = context.stage;
  p.colorSource = ResolveStage(stage.colorOp, stage.colorArg1, stage.colorArg2, p.textured);
  p.alphaSource = ResolveStage(stage.alphaOp, stage.alphaArg1, stage.alphaArg2, p.textured);
  // A stage that reads no texel needs no look-up (but the colour key still
  // hides keyed texels, so a keyed texture keeps being sampled).
  const bool keyed = p.textured && rs.colorKeyEnable && tex->hasColorKey;
  auto reads = [](StageSource s) {
    return s == StageSource::Texture || s == StageSource::Modulate || s == StageSource::TextureSquared;
  };
  if (p.textured && !keyed && !reads(p.colorSource) && !reads(p.alphaSource)) p.textured = false;
  p.texture = {};
  if (p.textured) {
    TextureView& t = p.texture;
    t.pixels = tex->pixels;
    t.width = tex->width;
    t.height = tex->height;
    t.pitch = tex->pitchBytes / 2;
    t.layout = tex->layout;
    t.clamp = stage.address == TextureAddress::Clamp;
    t.powerOfTwo = (tex->width & (tex->width - 1)) == 0 && (tex->height & (tex->height - 1)) == 0;
    t.scaleU = tex->width * 256.0f;
    t.scaleV = tex->height * 256.0f;
    t.keyed = keyed;
    t.key = tex->colorKey;
    t.argb = tex->expanded;
    t.argbPitch = ExpandedPitch(*tex);
    t.ink = tex->ink ? *tex->ink : TexelBounds{0, 0, tex->width, tex->height};
  }
  p.perspectiveTexture = rs.texturePerspective;
  p.minLinear = stage.minFilter == TextureFilter::Linear;
  p.magLinear = stage.magFilter == TextureFilter::Linear;

  p.specular = rs.specularEnable;
  p.fog = PixelFog::None;
  if (rs.fogEnable) {
    switch (rs.fogTableMode) {
      case FogMode::None: p.fog = PixelFog::Vertex; break;
      case FogMode::Linear: p.fog = PixelFog::Linear; break;
      case FogMode::Exp: p.fog = PixelFog::Exp; break;
      case FogMode::Exp2: p.fog = PixelFog::Exp2; break;
    }
  }
  p.fogStart = rs.fogStart;
  p.fogEnd = rs.fogEnd;
  p.fogDensity = rs.fogDensity;
  p.fogRed = (rs.fogColor >> 16) & 0xFF;
  p.fogGreen = (rs.fogColor >> 8) & 0xFF;
  p.fogBlue = rs.fogColor & 0xFF;
  p.blend = rs.alphaBlendEnable && !(rs.srcBlend == BlendFactor::One && rs.destBlend == BlendFactor::Zero);
  p.srcBlend = rs.srcBlend;
  p.destBlend = rs.destBlend;

  // A black source colour adds nothing, and the destination keeps its
  // whole weight under these factors.
  const bool blackKeepsTarget = p.blend && (p.destBlend == BlendFactor::One || p.destBlend == BlendFactor::InvSrcColor);
  p.skipBlack = p.textured && tex->ink && blackKeepsTarget && reads(p.colorSource) && !p.specular && !p.depthWrite;
  p.flat = rs.shadeMode == ShadeMode::Flat;
  p.cull = rs.cullMode;
  const bool extras = p.specular || p.fog != PixelFog::None || p.blend;
  TexelRead read = TexelRead::Sampled;
  if (p.textured && p.texture.argb && !p.texture.keyed) {
    if (p.texture.clamp) read = TexelRead::Clamped;
    else if (p.texture.powerOfTwo) read = TexelRead::Wrapped;
  }
  const bool modulated = p.colorSource == StageSource::Modulate;
  const bool laneExtras =
      !p.specular && (p.fog == PixelFog::None || p.fog == PixelFog::Linear) && p.layout != PixelLayout::Argb4444;
  p.pointSpan = SelectSpan(p.textured, false, extras, read, modulated, laneExtras);
  p.linearSpan = SelectSpan(p.textured, true, extras, read, modulated, laneExtras);
  p.linearRows = SelectRows(p.textured, true, extras, read, modulated);
  return true;
}

}  // namespace plat::raster
