#include "platform/raster/vertex_pipeline.h"

#include <cmath>

#include "platform/raster/fog.h"

namespace plat::raster {
namespace {

Matrix Multiply(const Matrix& a, const Matrix& b) {
  Matrix r;
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      r.m[row * 4 + col] = a.m[row * 4] * b.m[col] + a.m[row * 4 + 1] * b.m[4 + col] + a.m[row * 4 + 2] * b.m[8 + col] +
                           a.m[row * 4 + 3] * b.m[12 + col];
  return r;
}

// Clip space (x, y in -1..1 over the viewport, y up) to homogeneous pixels
// (y down), with the depth taken into the viewport's range.
Matrix ViewportMatrix(const Viewport& vp) {
  const float halfWidth = vp.width * 0.5f;
  const float halfHeight = vp.height * 0.5f;
  Matrix m;
  m.m[0] = halfWidth;
  m.m[5] = -halfHeight;
  m.m[10] = vp.maxZ - vp.minZ;
  m.m[12] = vp.x + halfWidth;
  m.m[13] = vp.y + halfHeight;
  m.m[14] = vp.minZ;
  return m;
}

void Transform(const Matrix& m, float x, float y, float z, float* out) {
  for (int i = 0; i < 3; ++i) out[i] = x * m.m[i] + y * m.m[4 + i] + z * m.m[8 + i] + m.m[12 + i];
}

// Packed 0xAARRGGBB into colour entries 0..255.
void UnpackColor(uint32_t argb, float* out) {
  out[0] = static_cast<float>((argb >> 16) & 0xFF);
  out[1] = static_cast<float>((argb >> 8) & 0xFF);
  out[2] = static_cast<float>(argb & 0xFF);
  out[3] = static_cast<float>(argb >> 24);
}

void UnpackColors(uint32_t diffuse, uint32_t specular, float* color) {
  UnpackColor(diffuse, color);
  UnpackColor(specular, color + 4);  // specular alpha lands in the fog entry
}

float VertexFog(const VertexSetup& s, const float* eye) {
  const float d = s.rangeFog ? std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]) : std::fabs(eye[2]);
  return FogFactor(s.vertexFog, d, s.fogStart, s.fogEnd, s.fogDensity) * 255.0f;
}

// Position through the matrices, then outcode and, when it can be divided
// by its w, the screen form.
void Finish(const VertexSetup& s, float x, float y, float z, ClipVertex& c, ScreenVertex& sv, uint8_t& outcode) {
  const float* m = s.toScreen.m;
  c.x = x * m[0] + y * m[4] + z * m[8] + m[12];
  c.y = x * m[1] + y * m[5] + z * m[9] + m[13];
  c.z = x * m[2] + y * m[6] + z * m[10] + m[14];
  c.w = x * m[3] + y * m[7] + z * m[11] + m[15];
  c.clipZ = x * s.clipZ[0] + y * s.clipZ[1] + z * s.clipZ[2] + s.clipZ[3];
  outcode = ComputeOutcode(c, s.volume);
  if (!(outcode & (kClipW | kClipInvalid))) ProjectVertex(c, s.perspectiveTexture, sv);
}

}  // namespace

void PrepareVertexSetup(const DrawContext& context, const DrawOptions& options, bool untransformed, VertexSetup& out) {
  const Transforms& t = context.transforms;
  const RenderStates& rs = context.states;
  out.worldView = Multiply(t.world, t.view);
  const Matrix worldViewProjection = Multiply(out.worldView, t.projection);
  out.toScreen = Multiply(worldViewProjection, ViewportMatrix(context.viewport));
  for (int i = 0; i < 4; ++i) out.clipZ[i] = worldViewProjection.m[i * 4 + 2];
  const Viewport& vp = context.viewport;
  out.volume = MakeClipVolume(vp.x, vp.y, vp.width, vp.height, untransformed && options.clip);
  out.perspectiveTexture = rs.texturePerspective;
  out.light = options.light;
  const bool vertexFog = rs.fogEnable && rs.fogTableMode == FogMode::None;
  out.vertexFog = vertexFog && untransformed ? rs.vertexFogMode : FogMode::None;
  out.rangeFog = rs.rangeFogEnable;
  out.fogStart = rs.fogStart;
  out.fogEnd = rs.fogEnd;
  out.fogDensity = rs.fogDensity;
  if (untransformed && options.light)
    PrepareLighting(context.lighting, t.view, out.worldView, rs.specularEnable, out.lighting);
}

void ProcessVertices(const VertexSetup& setup, const VertexLit* vertices, size_t count, ProcessedVertices out) {
  const Matrix& wv = setup.worldView;
  const bool eyeNeeded = setup.light || setup.vertexFog != FogMode::None;
  for (size_t i = 0; i < count; ++i) {
    const VertexLit& v = vertices[i];
    ClipVertex& c = out.clip[i];
    c.u = v.u;
    c.v = v.v;
    float eye[3] = {0, 0, 0};
    if (eyeNeeded) Transform(wv, v.x, v.y, v.z, eye);
    if (setup.light) {
      float normal[3];
      for (int k = 0; k < 3; ++k) normal[k] = v.nx * wv.m[k] + v.ny * wv.m[4 + k] + v.nz * wv.m[8 + k];
      const float length = std::sqrt(normal[0] * normal[0] + normal[1] * normal[1] + normal[2] * normal[2]);
      const float scale = length > 1e-12f ? 1.0f / length : 0.0f;
      for (float& n : normal) n *= scale;
      LightVertex(setup.lighting, eye, normal, c.color);
    } else {
      c.color[0] = c.color[1] = c.color[2] = c.color[3] = 255.0f;
      c.color[4] = c.color[5] = c.color[6] = 0.0f;
    }
    c.color[7] = setup.vertexFog != FogMode::None ? VertexFog(setup, eye) : 255.0f;
    Finish(setup, v.x, v.y, v.z, c, out.screen[i], out.outcode[i]);
  }
}

void ProcessVertices(const VertexSetup& setup, const VertexPrelit* vertices, size_t count, ProcessedVertices out) {
  for (size_t i = 0; i < count; ++i) {
    const VertexPrelit& v = vertices[i];
    ClipVertex& c = out.clip[i];
    c.u = v.u;
    c.v = v.v;
    UnpackColors(v.diffuse, v.specular, c.color);
    if (setup.vertexFog != FogMode::None) {
      float eye[3];
      Transform(setup.worldView, v.x, v.y, v.z, eye);
      c.color[7] = VertexFog(setup, eye);
    }
    Finish(setup, v.x, v.y, v.z, c, out.screen[i], out.outcode[i]);
  }
}

void ProcessVertices(const VertexSetup& setup, const VertexScreen* vertices, size_t count, ProcessedVertices out) {
  for (size_t i = 0; i < count; ++i) {
    const VertexScreen& v = vertices[i];
    ClipVertex& c = out.clip[i];
    // A reciprocal w that is not positive has no depth to correct for: such
    // vertices are drawn without perspective.
    const float rhw = v.rhw > 0.0f ? v.rhw : (std::isnan(v.rhw) ? v.rhw : 1.0f);
    const float w = 1.0f / rhw;
    c.x = v.sx * w;
    c.y = v.sy * w;
    c.z = v.sz * w;
    c.w = w;
    c.clipZ = 0.0f;
    c.u = v.u;
    c.v = v.v;
    UnpackColors(v.diffuse, v.specular, c.color);
    uint8_t code = ComputeOutcode(c, setup.volume);
    if (!std::isfinite(v.sx) || !std::isfinite(v.sy) || !std::isfinite(v.sz) || !std::isfinite(rhw))
      code = kClipInvalid;
    out.outcode[i] = code;
    // Unclipped screen vertices keep their exact coordinates.
    ScreenVertex& s = out.screen[i];
    s.x = v.sx;
    s.y = v.sy;
    s.attr[kAttrZ] = v.sz;
    s.attr[kAttrRhw] = rhw;
    s.attr[kAttrU] = setup.perspectiveTexture ? v.u * rhw : v.u;
    s.attr[kAttrV] = setup.perspectiveTexture ? v.v * rhw : v.v;
    for (int k = 0; k < kColorCount; ++k) s.attr[kAttrR + k] = c.color[k];
  }
}

}  // namespace plat::raster
