#include "tools/datagen/creature_binary_writer.h"

#include <cmath>
#include <limits>

namespace datagen {
namespace {

bool Fail(std::string& error, const std::string& message) {
  error = message;
  return false;
}

// A value stored times a scale as int16, refused when it does not fit.
bool Quantise(float value, float scale, plat::ByteWriter& out, std::string& error) {
  const float scaled = std::round(value * scale);
  if (!(scaled >= std::numeric_limits<int16_t>::min() && scaled <= std::numeric_limits<int16_t>::max()))
    return Fail(error, "a quantised value does not fit 16 bits");
  out.I16(static_cast<int16_t>(scaled));
  return true;
}

void WriteFloats(const float* values, int count, plat::ByteWriter& out) {
  for (int i = 0; i < count; ++i) out.F32(values[i]);
}

void WriteMaterial(const CreatureMaterial& m, plat::ByteWriter& out) {
  out.FixedString(m.texture, 16);
  out.Bytes(m.key, 3);
  out.U8(0);
  out.U8(1);
  out.I8(m.frames);
  out.U8(0);
  out.U8(0);  // pad: power starts at 24
  out.F32(m.power);
  out.F32(0.05f);
  out.F32(m.alpha);
  out.I32(m.renderType);
  out.F32(m.emission);
  out.I16(m.faceFlags);
  out.Zeros(2);
  WriteFloats(m.colour1, 3, out);
  WriteFloats(m.colour2, 3, out);
  WriteFloats(m.colour3, 3, out);
  out.I32(0);
}

void WriteMeshHeader(int kind, int index, size_t materials, bool colours, plat::ByteWriter& out) {
  out.Zeros(16);
  out.I32(kind);
  out.I32(index);
  out.I32(static_cast<int32_t>(materials));
  out.Zeros(8);
  out.I32(colours ? 1 : 0);
}

bool CheckMesh(const std::string& name, size_t materials, size_t vertices,
               const std::vector<CreatureTriangle>& triangles, std::string& error) {
  if (name.size() > 15) return Fail(error, "mesh names hold at most 15 characters");
  for (const CreatureTriangle& t : triangles) {
    if (t.material < 0 || static_cast<size_t>(t.material) >= materials)
      return Fail(error, "mesh " + name + ": a triangle names a material it does not have");
    for (int i : {t.a, t.b, t.c})
      if (i < 0 || static_cast<size_t>(i) >= vertices || i > std::numeric_limits<int16_t>::max())
        return Fail(error, "mesh " + name + ": a triangle names a vertex it does not have");
  }
  return true;
}

void WriteTriangles(const std::vector<CreatureTriangle>& triangles, plat::ByteWriter& out) {
  for (const CreatureTriangle& t : triangles) {
    out.I16(1);
    out.I8(static_cast<int8_t>(t.material));
    out.I8(static_cast<int8_t>(t.faceFlags));
    out.I16(static_cast<int16_t>(t.a));
    out.I16(static_cast<int16_t>(t.b));
    out.I16(static_cast<int16_t>(t.c));
  }
}

bool WriteObjectVertices(const CreatureModel& model, const CreatureObject& o, plat::ByteWriter& out,
                         std::string& error) {
  for (const ModelVertex& v : o.vertices) {
    const float values[8] = {v.x, v.y, v.z, v.nx, v.ny, v.nz, v.u, v.v};
    if (!model.quantisedObjects) {
      WriteFloats(values, 8, out);
      continue;
    }
    const float middle = o.colours ? 255.0f : model.coordinateDivisor;
    const float scales[8] = {float(model.objectPositionDivisor),
                             float(model.objectPositionDivisor),
                             float(model.objectPositionDivisor),
                             middle,
                             middle,
                             middle,
                             float(model.coordinateDivisor),
                             float(model.coordinateDivisor)};
    for (int i = 0; i < 8; ++i)
      if (!Quantise(values[i], scales[i], out, error)) return false;
  }
  return true;
}

bool WriteTransforms(const CreatureModel& model, const CreatureObject& o, plat::ByteWriter& out, std::string& error) {
  for (const auto& t : o.transforms) {
    if (!model.quantisedObjects) {
      WriteFloats(t.data(), 12, out);
      continue;
    }
    for (int i = 0; i < 12; ++i)
      if (!Quantise(t[i], i < 9 ? 512.0f : model.objectTranslationDivisor, out, error)) return false;
  }
  return true;
}

bool WritePartVertexData(const CreatureModel& model, const CreaturePart& p, plat::ByteWriter& out, std::string& error) {
  const float uv = model.coordinateDivisor;
  for (const ModelVertex& v : p.vertices) {
    if (!model.quantisedParts) {
      const float values[5] = {v.nx, v.ny, v.nz, v.u, v.v};
      WriteFloats(values, 5, out);
    } else if (p.normalDivisor != 0) {
      if (!Quantise(v.u, uv, out, error) || !Quantise(v.v, uv, out, error)) return false;
    } else if (!Quantise(v.nx, 255, out, error) || !Quantise(v.ny, 255, out, error) ||
               !Quantise(v.nz, 255, out, error) || !Quantise(v.u, uv, out, error) || !Quantise(v.v, uv, out, error)) {
      return false;
    }
  }
  return true;
}

bool WriteKeySet(const CreatureModel& model, const CreaturePart& p, const std::vector<CreatureKeyVertex>& key,
                 plat::ByteWriter& out, std::string& error) {
  for (const CreatureKeyVertex& k : key) {
    if (!model.quantisedParts) {
      const float values[6] = {k.x, k.y, k.z, k.nx, k.ny, k.nz};
      WriteFloats(values, 6, out);
      continue;
    }
    for (float c : {k.x, k.y, k.z})
      if (!Quantise(c, model.keyPositionDivisor, out, error)) return false;
    if (p.normalDivisor == 0) continue;
    uint8_t sign = 0;
    const float normal[3] = {k.nx, k.ny, k.nz};
    for (int i = 0; i < 3; ++i) {
      const float magnitude = std::round(std::fabs(normal[i]) * p.normalDivisor);
      if (magnitude > 255) return Fail(error, "a quantised normal does not fit a byte");
      out.U8(static_cast<uint8_t>(magnitude));
      if (normal[i] < 0) sign |= static_cast<uint8_t>(1u << i);
    }
    out.U8(sign);
  }
  return true;
}

bool CheckModel(const CreatureModel& m, std::string& error) {
  if (m.name.size() > 15) return Fail(error, "the model name holds at most 15 characters");
  if (m.frames < 1 || m.frames > std::numeric_limits<int16_t>::max())
    return Fail(error, "a model has 1 to 32767 frames");
  if (m.frameOffsets.size() != static_cast<size_t>(m.frames)) return Fail(error, "one frame offset per frame");
  if (m.objects.size() + m.parts.size() > kMcbMaxMeshes) return Fail(error, "at most 127 meshes");
  if (m.poses.size() > 32767 || m.scrolls.size() > 32767) return Fail(error, "too many poses or scrolls");
  if ((m.quantisedObjects && (m.objectPositionDivisor == 0 || m.objectTranslationDivisor == 0)) ||
      ((m.quantisedObjects || m.quantisedParts) && m.coordinateDivisor == 0) ||
      (m.quantisedParts && m.keyPositionDivisor == 0))
    return Fail(error, "quantised data needs non-zero divisors");
  size_t materials = 0;
  for (const CreatureObject& o : m.objects) {
    if (o.transforms.size() != static_cast<size_t>(m.frames))
      return Fail(error, "object " + o.name + ": one transform per frame");
    if (!o.hidden && !CheckMesh(o.name, o.materials.size(), o.vertices.size(), o.triangles, error)) return false;
    materials += o.materials.size();
  }
  for (const CreaturePart& p : m.parts) {
    if (p.weights.size() != static_cast<size_t>(m.frames))
      return Fail(error, "part " + p.name + ": one weight per frame");
    if (p.keys.empty()) return Fail(error, "part " + p.name + ": at least one key set");
    for (const auto& key : p.keys)
      if (key.size() != p.vertices.size()) return Fail(error, "part " + p.name + ": every key set holds every vertex");
    if (p.normalDivisor < 0) return Fail(error, "a normal divisor is not negative");
    if (!CheckMesh(p.name, p.materials.size(), p.vertices.size(), p.triangles, error)) return false;
    materials += p.materials.size();
  }
  if (materials > kMcbMaxMaterials) return Fail(error, "at most 127 materials");
  return true;
}

}  // namespace

bool WriteCreatureBinary(const CreatureModel& m, plat::ByteWriter& out, std::string& error) {
  if (!CheckModel(m, error)) return false;
  size_t meshes = m.objects.size() + m.parts.size();
  size_t materials = 0;
  for (const CreatureObject& o : m.objects) materials += o.materials.size();
  for (const CreaturePart& p : m.parts) materials += p.materials.size();
  const uint32_t a = kMcbHeaderSize;
  const uint32_t b = a + static_cast<uint32_t>(m.poses.size() * 24);
  const uint32_t c = b + static_cast<uint32_t>(m.frames) * 12u;
  const uint32_t d = c + static_cast<uint32_t>(m.scrolls.size() * 12);
  const uint32_t e = d + static_cast<uint32_t>(meshes * kMcbMeshHeaderSize + materials * kMcbMaterialSize);

  out.Zeros(24);
  out.FixedString(m.name, 16);
  out.I16(0);
  out.U8(static_cast<uint8_t>((m.quantisedObjects ? 1 : 0) | (m.quantisedParts ? 2 : 0)));
  out.U8(0);
  for (int16_t divisor :
       {m.objectPositionDivisor, m.objectTranslationDivisor, m.keyPositionDivisor, m.coordinateDivisor})
    out.I16(divisor);
  for (size_t count :
       {m.poses.size(), m.objects.size(), m.parts.size(), static_cast<size_t>(m.frames), m.scrolls.size()})
    out.I16(static_cast<int16_t>(count));
  out.I16(0);
  for (uint32_t offset : {a, b, c, d, e}) out.U32(offset);
  out.U32(0);

  for (const CreaturePose& p : m.poses)
    for (int v : {p.end - p.start + 1, p.start, p.end, p.windowStart, p.loopStart, p.loopEnd}) out.I32(v);
  for (const auto& o : m.frameOffsets) WriteFloats(o.data(), 3, out);
  for (const CreatureScroll& s : m.scrolls) {
    out.I16(static_cast<int16_t>(s.kind));
    out.I16(static_cast<int16_t>(s.index));
    out.F32(s.u);
    out.F32(s.v);
  }
  for (size_t i = 0; i < m.objects.size(); ++i)
    WriteMeshHeader(0, static_cast<int>(i), m.objects[i].materials.size(), m.objects[i].colours, out);
  for (size_t i = 0; i < m.parts.size(); ++i)
    WriteMeshHeader(1, static_cast<int>(i), m.parts[i].materials.size(), m.parts[i].colours, out);
  for (const CreatureObject& o : m.objects)
    for (const CreatureMaterial& mat : o.materials) WriteMaterial(mat, out);
  for (const CreaturePart& p : m.parts)
    for (const CreatureMaterial& mat : p.materials) WriteMaterial(mat, out);

  for (const CreatureObject& o : m.objects) {
    out.FixedString(o.name, 16);
    out.I32(o.hidden ? 0 : static_cast<int32_t>(o.vertices.size()));
    out.Zeros(12);
    out.I32(o.hidden ? 0 : static_cast<int32_t>(o.triangles.size()));
    out.U32(o.hidden ? 0x80u : 0u);
    out.I32(0);
  }
  for (const CreatureObject& o : m.objects) {
    if (o.hidden) continue;
    if (!WriteObjectVertices(m, o, out, error)) return false;
    WriteTriangles(o.triangles, out);
  }
  for (const CreatureObject& o : m.objects)
    if (!WriteTransforms(m, o, out, error)) return false;

  for (const CreaturePart& p : m.parts) {
    out.FixedString(p.name, 16);
    out.I32(static_cast<int32_t>(p.vertices.size()));
    out.I32(static_cast<int32_t>(p.keys.size()));
    out.I32(static_cast<int32_t>(p.triangles.size()));
    out.I32(0);
    out.I32(p.normalDivisor);
    out.Zeros(8);
  }
  for (const CreaturePart& p : m.parts) {
    if (!WritePartVertexData(m, p, out, error)) return false;
    WriteTriangles(p.triangles, out);
  }
  for (const CreaturePart& p : m.parts) WriteFloats(p.weights.data(), static_cast<int>(p.weights.size()), out);
  for (const CreaturePart& p : m.parts)
    for (const auto& key : p.keys)
      if (!WriteKeySet(m, p, key, out, error)) return false;
  return true;
}

}  // namespace datagen
