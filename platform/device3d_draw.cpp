// The draw calls of the 3D device: the device's states, transforms, lights
// and material become one draw context of the reference rasteriser.
#include <algorithm>
#include <bit>

#include "platform/device3d.h"
#include "platform/raster/rasterizer.h"

namespace plat {
namespace {

bool TargetLayout(const PixelFormat& f, raster::PixelLayout* layout) {
  if (f.bitsPerPixel != 16 || f.palettised || f.blueMask != 0x001F) return false;
  if (f.redMask == 0xF800 && f.greenMask == 0x07E0) {
    *layout = raster::PixelLayout::Rgb565;
    return true;
  }
  if (f.redMask == 0x7C00 && f.greenMask == 0x03E0) {
    *layout = raster::PixelLayout::Rgb555;
    return true;
  }
  return false;
}

template <typename Enum>
Enum AsEnum(uint32_t value) {
  return static_cast<Enum>(static_cast<uint8_t>(std::min<uint32_t>(value, 255)));
}

raster::Color UnpackRgb(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, 1.0f};
}

raster::Color ToColor(const float* c) { return {c[0], c[1], c[2], c[3]}; }

}  // namespace

bool Device3D::BuildContext(raster::DrawContext& c, raster::DrawOptions& options, uint32_t flags) {
  if (!current_ || !target_) return false;
  raster::PixelLayout layout;
  SurfaceDesc td = target_->Describe();
  if (!TargetLayout(td.format, &layout)) return false;
  uint8_t* pixels = nullptr;
  int pitch = 0;
  if (target_->Lock(&pixels, &pitch) != SurfaceResult::Ok) return false;
  c.target = {reinterpret_cast<uint16_t*>(pixels), td.width, td.height, pitch, layout};
  c.depth = {};
  if (const auto& depth = target_->AttachedDepth(); depth && depth->Describe().format.bitsPerPixel == 16) {
    uint8_t* values = nullptr;
    int depthPitch = 0;
    if (depth->Lock(&values, &depthPitch) == SurfaceResult::Ok) {
      SurfaceDesc dd = depth->Describe();
      c.depth = {reinterpret_cast<uint16_t*>(values), dd.width, dd.height, depthPitch};
      depth->Unlock();
    }
  }
  const ViewportParams& vp = current_->Params();
  c.viewport = {vp.x, vp.y, vp.width, vp.height, vp.minZ, vp.maxZ};

  auto rs = [&](RenderState s) { return GetRenderState(s); };
  raster::RenderStates& s = c.states;
  s.shadeMode = AsEnum<raster::ShadeMode>(rs(RenderState::ShadeMode));
  s.cullMode = AsEnum<raster::CullMode>(rs(RenderState::CullMode));
  s.texturePerspective = rs(RenderState::TexturePerspective) != 0;
  s.zEnable = rs(RenderState::ZEnable) != 0;
  s.zWriteEnable = rs(RenderState::ZWriteEnable) != 0;
  s.zFunc = AsEnum<raster::CompareFunc>(rs(RenderState::ZFunc));
  s.alphaTestEnable = rs(RenderState::AlphaTestEnable) != 0;
  s.alphaRef = static_cast<uint8_t>(std::min<uint32_t>(rs(RenderState::AlphaRef), 255));
  s.alphaFunc = AsEnum<raster::CompareFunc>(rs(RenderState::AlphaFunc));
  s.alphaBlendEnable = rs(RenderState::AlphaBlendEnable) != 0;
  s.srcBlend = AsEnum<raster::BlendFactor>(rs(RenderState::SrcBlend));
  s.destBlend = AsEnum<raster::BlendFactor>(rs(RenderState::DestBlend));
  s.colorKeyEnable = rs(RenderState::ColorKeyEnable) != 0;
  s.specularEnable = rs(RenderState::SpecularEnable) != 0;
  s.fogEnable = rs(RenderState::FogEnable) != 0;
  s.fogColor = rs(RenderState::FogColor) & 0xFFFFFF;
  s.fogTableMode = AsEnum<raster::FogMode>(rs(RenderState::FogTableMode));
  s.vertexFogMode = AsEnum<raster::FogMode>(GetLightState(LightState::FogMode));
  s.rangeFogEnable = rs(RenderState::RangeFogEnable) != 0;
  const bool table = s.fogTableMode != raster::FogMode::None;
  s.fogStart = std::bit_cast<float>(table ? rs(RenderState::FogTableStart) : GetLightState(LightState::FogStart));
  s.fogEnd = std::bit_cast<float>(table ? rs(RenderState::FogTableEnd) : GetLightState(LightState::FogEnd));

  raster::TextureStage& st = c.stage;
  st.colorOp = AsEnum<raster::TextureOp>(GetStageState(0, StageState::ColorOp));
  st.colorArg1 = AsEnum<raster::TextureArg>(GetStageState(0, StageState::ColorArg1));
  st.colorArg2 = AsEnum<raster::TextureArg>(GetStageState(0, StageState::ColorArg2));
  st.alphaOp = AsEnum<raster::TextureOp>(GetStageState(0, StageState::AlphaOp));
  st.alphaArg1 = AsEnum<raster::TextureArg>(GetStageState(0, StageState::AlphaArg1));
  st.alphaArg2 = AsEnum<raster::TextureArg>(GetStageState(0, StageState::AlphaArg2));
  st.minFilter = GetStageState(0, StageState::MinFilter) == kFilterPoint ? raster::TextureFilter::Point
                                                                         : raster::TextureFilter::Linear;
  st.magFilter = GetStageState(0, StageState::MagFilter) == kFilterPoint ? raster::TextureFilter::Point
                                                                         : raster::TextureFilter::Linear;
  st.address = GetStageState(0, StageState::Address) == kAddressClamp ? raster::TextureAddress::Clamp
                                                                      : raster::TextureAddress::Wrap;
  c.texture = nullptr;
  if (textures_[0] && textures_[0]->SampleView(&sampled_)) c.texture = &sampled_;

  c.transforms = {GetTransform(TransformState::World), GetTransform(TransformState::View),
                  GetTransform(TransformState::Projection)};
  lights_.clear();
  for (const Light3D* light : current_->Lights()) {
    const LightParams& p = light->Get();
    if (!p.active) continue;
    raster::Light l;
    l.type = static_cast<raster::LightType>(p.type);
    l.color = {p.red, p.green, p.blue, 1.0f};
    l.position = {p.position[0], p.position[1], p.position[2]};
    l.direction = {p.direction[0], p.direction[1], p.direction[2]};
    l.range = p.range;
    l.falloff = p.falloff;
    l.theta = p.theta;
    l.phi = p.phi;
    lights_.push_back(l);
  }
  c.lighting.lights = lights_.data();
  c.lighting.lightCount = static_cast<int>(lights_.size());
  c.lighting.ambient = UnpackRgb(GetLightState(LightState::Ambient));
  if (const Material3D* m = Material3D::FromHandle(GetLightState(LightState::Material))) {
    const MaterialParams& mp = m->Get();
    c.lighting.material = {ToColor(mp.diffuse), ToColor(mp.ambient), ToColor(mp.specular), ToColor(mp.emissive),
                           mp.power};
  } else {
    c.lighting.material = {};
  }
  options.clip = (flags & kDrawDoNotClip) == 0;
  options.light = (flags & kDrawDoNotLight) == 0;
  return true;
}

template <typename Vertex>
bool Device3D::DrawVertices(PrimitiveType type, std::span<const Vertex> vertices, std::span<const uint32_t> indices,
                            uint32_t flags) {
  raster::DrawContext context;
  raster::DrawOptions options;
  if (!BuildContext(context, options, flags)) return false;
  ++drawCalls_;
  rasterizer_->Draw(context, type, vertices, indices, options);
  target_->Unlock();
  return true;
}

bool Device3D::Draw(PrimitiveType type, std::span<const VertexLit> vertices, std::span<const uint32_t> indices,
                    uint32_t flags) {
  return DrawVertices(type, vertices, indices, flags);
}

bool Device3D::Draw(PrimitiveType type, std::span<const VertexPrelit> vertices, std::span<const uint32_t> indices,
                    uint32_t flags) {
  return DrawVertices(type, vertices, indices, flags);
}

bool Device3D::Draw(PrimitiveType type, std::span<const VertexScreen> vertices, std::span<const uint32_t> indices,
                    uint32_t flags) {
  return DrawVertices(type, vertices, indices, flags);
}

}  // namespace plat
