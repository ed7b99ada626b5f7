#include "tools/datagen/creature_text_writer.h"

#include <cstdio>

namespace datagen {
namespace {

class Lines {
 public:
  explicit Lines(plat::ByteWriter& out) : out_(out) {}
  Lines& operator<<(const std::string& s) {
    Separate();
    out_.Bytes(s.data(), s.size());
    return *this;
  }
  Lines& operator<<(const char* s) { return *this << std::string(s); }
  Lines& operator<<(int v) { return *this << std::to_string(v); }
  Lines& operator<<(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", v);
    return *this << std::string(text);
  }
  void End() {
    out_.U8('\n');
    fresh_ = true;
  }

 private:
  void Separate() {
    if (!fresh_) out_.U8(' ');
    fresh_ = false;
  }
  plat::ByteWriter& out_;
  bool fresh_ = true;
};

bool Fail(std::string& error, const std::string& message) {
  error = message;
  return false;
}

bool Token(const std::string& s) {
  if (s.empty() || s.size() > 15) return false;
  for (char c : s)
    if (static_cast<unsigned char>(c) <= ' ' || c == '#' || c == ';') return false;
  return true;
}

void WriteMaterial(Lines& l, int i, const CreatureMaterial& m) {
  l << "Material" << i << (m.texture.empty() ? std::string("NULL") : m.texture) << int(m.key[0]) << int(m.key[1])
    << int(m.key[2]) << int(m.frames) << 0;
  l.End();
  l << "Power" << m.power;
  l.End();
  l << "Specular" << 0.05f;
  l.End();
  l << "Alpha" << m.alpha << int(m.renderType);
  l.End();
  l << "Emission" << m.emission;
  l.End();
  l << "Faces" << int(m.faceFlags);
  l.End();
  const char* names[3] = {"Ambient", "Diffuse", "Specular"};
  const float* colours[3] = {m.colour1, m.colour2, m.colour3};
  for (int c = 0; c < 3; ++c) {
    l << names[c] << colours[c][0] << colours[c][1] << colours[c][2];
    l.End();
  }
}

const CreatureScroll* ScrollOf(const CreatureModel& m, int kind, int index) {
  for (const CreatureScroll& s : m.scrolls)
    if (s.kind == kind && s.index == index) return &s;
  return nullptr;
}

// The mesh lines of an object or part after its BeginObject line.
void WriteMesh(Lines& l, const CreatureModel& model, bool part, int index,
               const std::vector<CreatureMaterial>& materials, const std::vector<ModelVertex>& vertices,
               const std::vector<CreatureTriangle>& triangles, bool colours,
               const std::vector<CreatureKeyVertex>* positions) {
  l << (part ? "Morph" : "Mesh") << "materials" << static_cast<int>(materials.size()) << "parameters" << 1;
  l.End();
  for (size_t i = 0; i < materials.size(); ++i) WriteMaterial(l, static_cast<int>(i), materials[i]);
  const CreatureScroll* scroll = ScrollOf(model, part ? 1 : 0, index);
  l << "Vertices" << static_cast<int>(vertices.size()) << "Textured" << (colours ? 1 : 0) << (scroll ? 1 : 0);
  if (scroll) l << scroll->u << scroll->v;
  l.End();
  for (size_t i = 0; i < vertices.size(); ++i) {
    const ModelVertex& v = vertices[i];
    if (positions) l << (*positions)[i].x << (*positions)[i].y << (*positions)[i].z;
    else l << v.x << v.y << v.z;
    l << v.u << v.v;
    if (colours) l << v.nx << v.ny << v.nz;
    l.End();
  }
  l << "Triangles" << static_cast<int>(triangles.size());
  l.End();
  for (const CreatureTriangle& t : triangles) {
    l << "t" << t.material << t.a << t.b << t.c;
    l.End();
  }
}

bool IdentityWeights(const CreaturePart& p) {
  for (size_t f = 0; f < p.weights.size(); ++f)
    if (p.weights[f] != static_cast<float>(f)) return false;
  return true;
}

bool Check(const CreatureModel& m, std::string& error) {
  if (!Token(m.name)) return Fail(error, "the model name is one token of 1 to 15 characters");
  if (m.frames < 1 || m.frameOffsets.size() != static_cast<size_t>(m.frames))
    return Fail(error, "one frame offset per frame");
  if (m.objects.size() + m.parts.size() > 50) return Fail(error, "at most 50 objects and parts");
  for (const CreatureObject& o : m.objects) {
    if (!Token(o.name)) return Fail(error, "object names are single tokens");
    if (o.materials.size() > 29) return Fail(error, "at most 29 materials per object");
    if (o.transforms.size() != static_cast<size_t>(m.frames)) return Fail(error, "one transform per frame");
  }
  for (const CreaturePart& p : m.parts) {
    if (!Token(p.name)) return Fail(error, "part names are single tokens");
    if (p.materials.size() > 29) return Fail(error, "at most 29 materials per part");
    if (p.keys.empty() || p.keys.size() > static_cast<size_t>(m.frames))
      return Fail(error, "a part has 1 to frame-count key sets");
    for (const auto& key : p.keys)
      if (key.size() != p.vertices.size()) return Fail(error, "every key set holds every vertex");
    if (p.weights.size() != static_cast<size_t>(m.frames)) return Fail(error, "one weight per frame");
  }
  auto badTexture = [](const std::vector<CreatureMaterial>& materials) {
    for (const CreatureMaterial& mat : materials)
      if (!mat.texture.empty() && !Token(mat.texture)) return true;
    return false;
  };
  for (const CreatureObject& o : m.objects)
    if (badTexture(o.materials)) return Fail(error, "texture names are single tokens");
  for (const CreaturePart& p : m.parts)
    if (badTexture(p.materials)) return Fail(error, "texture names are single tokens");
  return true;
}

}  // namespace

bool WriteCreatureText(const CreatureModel& m, plat::ByteWriter& out, std::string& error) {
  if (!Check(m, error)) return false;
  Lines l(out);
  l << "BeginBase"
    << "frames" << m.frames << m.name << 0 << "none" << 0.0f;
  l.End();
  int n = 0;
  for (size_t i = 0; i < m.objects.size(); ++i) {
    const CreatureObject& o = m.objects[i];
    l << "BeginObject" << ++n << o.name;
    l.End();
    if (o.hidden && o.vertices.empty()) {
      l << "Dummy";
      l.End();
      continue;
    }
    WriteMesh(l, m, false, static_cast<int>(i), o.materials, o.vertices, o.triangles, o.colours, nullptr);
  }
  for (size_t i = 0; i < m.parts.size(); ++i) {
    const CreaturePart& p = m.parts[i];
    l << "BeginObject" << ++n << p.name;
    l.End();
    WriteMesh(l, m, true, static_cast<int>(i), p.materials, p.vertices, p.triangles, p.colours, &p.keys[0]);
  }
  l << "BeginRelationship" << n;
  l.End();
  for (int i = 0; i < n; ++i) {
    l << "r" << 0;
    l.End();
  }
  l << "BeginPose" << static_cast<int>(m.poses.size());
  l.End();
  for (const CreaturePose& p : m.poses) {
    l << "p" << p.start << p.end << p.windowStart << p.loopStart << p.loopEnd;
    l.End();
  }
  l << "BeginMove";
  l.End();
  for (int f = 0; f < m.frames; ++f) {
    l << f << m.frameOffsets[f][0] << m.frameOffsets[f][1] << m.frameOffsets[f][2];
    l.End();
  }
  for (size_t i = 0; i < m.objects.size(); ++i) {
    l << "BeginFrame" << static_cast<int>(i + 1) << 0.0f << 0.0f << 0.0f << 0 << (m.objects[i].hidden ? 1 : 0);
    l.End();
    for (const auto& t : m.objects[i].transforms) {
      l << "m";
      for (float v : t) l << v;
      l.End();
    }
  }
  for (size_t i = 0; i < m.parts.size(); ++i) {
    const CreaturePart& p = m.parts[i];
    const bool weights = !IdentityWeights(p);
    if (p.keys.size() < 2 && !weights) continue;
    l << "BeginMorphdata" << static_cast<int>(m.objects.size() + i + 1) << static_cast<int>(p.keys.size());
    l.End();
    if (weights) {
      l << "FrameWeight";
      l.End();
      for (float w : p.weights) {
        l << w;
        l.End();
      }
    }
    l << "Vertices" << static_cast<int>(p.vertices.size()) << "Textured";
    l.End();
    for (size_t k = 1; k < p.keys.size(); ++k) {
      l << "Key" << static_cast<int>(k);
      l.End();
      for (size_t v = 0; v < p.vertices.size(); ++v) {
        l << p.keys[k][v].x << p.keys[k][v].y << p.keys[k][v].z << p.vertices[v].u << p.vertices[v].v;
        l.End();
      }
    }
  }
  return true;
}

}  // namespace datagen
