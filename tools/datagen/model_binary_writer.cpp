#include "tools/datagen/model_binary_writer.h"

namespace datagen {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool CheckMaterial(const Qb3Material& m, std::string& error) {
  if (m.textureFrames == 0 && !m.texture.empty()) {
    error = "texture \"" + m.texture + "\" given with no texture frames";
    return false;
  }
  if (m.textureFrames > 0 && (m.texture.empty() || m.texture.size() > kMaxQb3TextureName)) {
    error = "texture names hold 1 to 63 characters";
    return false;
  }
  size_t n = m.texture.size();
  if (m.textureFrames >= 2 && (n < 3 || !IsDigit(m.texture[n - 2]) || !IsDigit(m.texture[n - 1]))) {
    error = "an animated texture is named by its first frame, ending in two digits";
    return false;
  }
  return true;
}

bool CheckPrimitive(const ModelPrimitive& p, size_t materials, size_t perFrame, std::string& error) {
  if (p.material >= 0 && static_cast<size_t>(p.material) >= materials) {
    error = "primitive material " + std::to_string(p.material) + " is not defined";
    return false;
  }
  bool shapeOk = p.kind == ModelPrimitive::Triangle ? p.indices.size() == 3 : p.indices.size() % 2 == 0;
  if (!shapeOk || (p.kind != ModelPrimitive::Triangle && p.kind != ModelPrimitive::Lines)) {
    error = "a triangle has 3 indices and a line list pairs of them";
    return false;
  }
  for (uint32_t index : p.indices) {
    if (index >= perFrame) {
      error = "vertex index " + std::to_string(index) + " beyond the frame's vertices";
      return false;
    }
  }
  return true;
}

void WriteColour(const float (&c)[3], plat::ByteWriter& out) {
  for (float f : c) out.F32(f);
}

}  // namespace

bool WriteBinaryModel(const Qb3Model& model, plat::ByteWriter& out, std::string& error) {
  if (model.materials.size() > kMaxQb3Materials) {
    error = "a binary model holds at most 256 materials";
    return false;
  }
  if (model.frames == 0 || model.vertices.empty() || model.vertices.size() % model.frames != 0) {
    error = "the vertices must fill whole frames";
    return false;
  }
  const size_t perFrame = model.vertices.size() / model.frames;
  for (const Qb3Material& m : model.materials)
    if (!CheckMaterial(m, error)) return false;
  uint64_t words = 0;
  for (const ModelPrimitive& p : model.primitives) {
    if (!CheckPrimitive(p, model.materials.size(), perFrame, error)) return false;
    words += p.kind == ModelPrimitive::Triangle ? 6 : 3 + p.indices.size();
  }

  out.Bytes("QB3", 4);
  out.U32(0);
  out.U32(static_cast<uint32_t>(model.materials.size()));
  for (const Qb3Material& m : model.materials) {
    WriteColour(m.ambient, out);
    WriteColour(m.diffuse, out);
    WriteColour(m.specular, out);
    WriteColour(m.emissive, out);
    out.F32(m.power);
    out.U32(m.textureFrames);
    if (m.textureFrames > 0) {
      out.U32(static_cast<uint32_t>(m.texture.size()));
      out.Bytes(m.texture.data(), m.texture.size());
    }
    out.U32(m.colourKey ? 1 : 0);
    out.U8(m.keyRed);
    out.U8(m.keyGreen);
    out.U8(m.keyBlue);
  }
  out.U32(model.frames);
  out.U32(static_cast<uint32_t>(perFrame));
  for (const ModelVertex& v : model.vertices) {
    for (float f : {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v}) out.F32(f);
  }
  out.U32(static_cast<uint32_t>(model.primitives.size()));
  out.U32(static_cast<uint32_t>(words));
  for (const ModelPrimitive& p : model.primitives) {
    out.U32(p.kind);
    out.I32(p.material);
    if (p.kind == ModelPrimitive::Triangle) {
      out.U32(p.faceFlags);
    } else {
      out.U32(static_cast<uint32_t>(p.indices.size() / 2));
    }
    for (uint32_t index : p.indices) out.U32(index);
  }
  out.U32(0);
  return true;
}

}  // namespace datagen
