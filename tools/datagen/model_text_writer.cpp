#include "tools/datagen/model_text_writer.h"

#include <charconv>
#include <cmath>
#include <set>

namespace datagen {
namespace {

constexpr int kMaxObjectIndex = 1023;
constexpr int kMaxMaterialNumber = 255;
constexpr size_t kMaxFaceVertices = 256;
constexpr size_t kMaxLinePairs = 128;

bool IsToken(const std::string& text) {
  return !text.empty() && text.find_first_of(std::string(" \t\\\r\n\0", 6)) == std::string::npos;
}

bool SameText(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    char x = (a[i] >= 'a' && a[i] <= 'z') ? static_cast<char>(a[i] - 32) : a[i];
    char y = (b[i] >= 'a' && b[i] <= 'z') ? static_cast<char>(b[i] - 32) : b[i];
    if (x != y) return false;
  }
  return i == a.size() && !b[i];
}

// Builds the file line by line; the first problem found is kept as the error.
class TextModelWriter {
 public:
  bool Write(const Qx3Model& model, std::string& text, std::string& error);

 private:
  bool Fail(const std::string& why) {
    if (error_.empty()) error_ = why;
    return false;
  }
  std::string Num(float f) {
    if (!std::isfinite(f)) Fail("numbers must be finite");
    char buf[32];
    auto result = std::to_chars(buf, buf + sizeof buf, f);
    return std::string(buf, result.ptr);
  }
  std::string Colour(const char* keyword, const float (&c)[3]) {
    return std::string(" ") + keyword + " " + Num(c[0]) + " " + Num(c[1]) + " " + Num(c[2]);
  }
  void Line(const std::string& line) {
    if (line.size() > kMaxQx3Line) Fail("line longer than 243 characters: " + line.substr(0, 40));
    lines_ += line;
    lines_ += '\n';
  }
  bool CheckName(const std::string& name, const char* what) {
    if (IsToken(name) && name.size() <= kMaxQx3Name) return true;
    return Fail(std::string(what) + " \"" + name + "\" is not a single token of at most 127 characters");
  }
  void WriteObject(const Qx3Object& object);
  void WriteMaterial(const Qx3Material& material);
  void WriteVertex(const Qx3Object& object, const Qx3Vertex& v);
  void WriteFace(const Qx3Object& object, const std::set<int>& materials, size_t perFrame, const Qx3Face& face);
  void WriteLines(const std::set<int>& materials, size_t perFrame, const Qx3Lines& lines);

  std::string lines_;
  std::string error_;
};

void TextModelWriter::WriteMaterial(const Qx3Material& m) {
  if (m.number < 0 || m.number > kMaxMaterialNumber) Fail("material numbers are 0-255");
  std::string line = "Material " + std::to_string(m.number) + " ";
  if (m.texture.empty()) {
    if (m.frames > 0) Fail("animated material without a texture");
    line += "NULL";
  } else {
    CheckName(m.texture, "texture");
    if (SameText(m.texture, "NULL") || SameText(m.texture, "MultipleTexture"))
      Fail("texture name \"" + m.texture + "\" is a keyword");
    line += m.frames > 0 ? "MultipleTexture " + m.texture + " " + std::to_string(m.frames) : m.texture;
  }
  const Qx3Material defaults;
  auto differs = [](const float(&a)[3], const float(&b)[3]) { return a[0] != b[0] || a[1] != b[1] || a[2] != b[2]; };
  if (differs(m.ambient, defaults.ambient)) line += Colour("AMBIENT", m.ambient);
  if (differs(m.diffuse, defaults.diffuse)) line += Colour("DIFFUSE", m.diffuse);
  if (differs(m.specular, defaults.specular)) line += Colour("SPECULAR", m.specular);
  if (differs(m.emissive, defaults.emissive)) line += Colour("EMISSIVE", m.emissive);
  if (m.power != defaults.power) line += " SHINENESS " + Num(m.power);
  if (m.colourKey) {
    for (int c : {m.keyRed, m.keyGreen, m.keyBlue})
      if (c < 0 || c > 255) Fail("colour-key channels are 0-255");
    line += " TextureKeyRGB " + std::to_string(m.keyRed) + " " + std::to_string(m.keyGreen) + " " +
            std::to_string(m.keyBlue);
  }
  if (m.mipLevels >= 0) line += " MipMap " + std::to_string(m.mipLevels);
  Line(line);
}

void TextModelWriter::WriteVertex(const Qx3Object& object, const Qx3Vertex& v) {
  std::string line = "v " + Num(v.x) + " " + Num(v.y) + " " + Num(v.z);
  if (object.transformed) line += " " + Num(v.w);
  if (v.hasNormal && v.hasColour) Fail("a vertex holds a normal or a colour, not both");
  if (v.hasNormal) line += " vn " + Num(v.nx) + " " + Num(v.ny) + " " + Num(v.nz);
  if (v.hasColour) line += " vc " + Num(v.red) + " " + Num(v.green) + " " + Num(v.blue);
  if (v.hasUv) line += " vt " + Num(v.u) + " " + Num(v.v);
  Line(line);
}

void TextModelWriter::WriteFace(const Qx3Object& object, const std::set<int>& materials, size_t perFrame,
                                const Qx3Face& face) {
  if (face.material >= 0 && !materials.count(face.material))
    Fail("face material " + std::to_string(face.material) + " is not defined in its object");
  if (face.indices.size() < 3 || face.indices.size() > kMaxFaceVertices) Fail("a face has 3 to 256 vertices");
  std::string line = "f " + std::to_string(face.indices.size()) + " " + std::to_string(face.material);
  for (int index : face.indices) {
    if (index < 0 || static_cast<size_t>(index) >= perFrame) Fail("face vertex index out of range");
    line += " " + std::to_string(index);
  }
  if (face.bothSides) line += " BOTH";
  if (face.lightMap >= 0) {
    if (face.indices.size() != 4 || object.lightMap.empty())
      Fail("a light-mapped face has four vertices in an object with a light map");
    line += " L " + std::to_string(face.lightMap);
  }
  Line(line);
}

void TextModelWriter::WriteLines(const std::set<int>& materials, size_t perFrame, const Qx3Lines& lines) {
  if (lines.material >= 0 && !materials.count(lines.material))
    Fail("line material " + std::to_string(lines.material) + " is not defined in its object");
  if (lines.pairs.size() > kMaxLinePairs) Fail("a line list has at most 128 pairs");
  std::string line = "l " + std::to_string(lines.pairs.size()) + " " + std::to_string(lines.material);
  for (auto [a, b] : lines.pairs) {
    for (int index : {a, b})
      if (index < 0 || static_cast<size_t>(index) >= perFrame) Fail("line vertex index out of range");
    line += " " + std::to_string(a) + " " + std::to_string(b);
  }
  Line(line);
}

void TextModelWriter::WriteObject(const Qx3Object& object) {
  if (object.morph < 1 || object.vertices.size() % object.morph != 0) Fail("the vertices must fill whole morph frames");
  const size_t perFrame = object.morph >= 1 ? object.vertices.size() / object.morph : 0;
  bool givenNormals = false;
  for (const Qx3Vertex& v : object.vertices) givenNormals = givenNormals || v.hasNormal || v.hasColour;
  bool smoothOff = object.liteVertex || object.transformed || givenNormals;
  if (object.smoothNormals && smoothOff)
    Fail("smooth normals in a mesh that is lit, transformed or has its own normals");

  std::string begin = "BeginObject " + std::to_string(object.index);
  if (!object.name.empty() && CheckName(object.name, "object name")) begin += " " + object.name;
  Line(begin);
  if (object.liteVertex) Line("Lite_Vertex");
  if (object.transformed) Line("Transformed_Vertex");
  if (!object.smoothNormals && !smoothOff) Line("Normal_Smooth FALSE");
  if (object.morph != 1) Line("Morph " + std::to_string(object.morph));
  std::set<int> materials;
  for (const Qx3Material& m : object.materials) {
    if (!materials.insert(m.number).second) Fail("material " + std::to_string(m.number) + " twice");
    WriteMaterial(m);
  }
  if (!object.lightMap.empty() && CheckName(object.lightMap, "light map")) Line("LightMap " + object.lightMap);
  for (const Qx3Vertex& v : object.vertices) WriteVertex(object, v);
  for (const Qx3Face& face : object.faces) WriteFace(object, materials, perFrame, face);
  for (const Qx3Lines& lines : object.lines) WriteLines(materials, perFrame, lines);
  Line("EndObject");
}

bool TextModelWriter::Write(const Qx3Model& model, std::string& text, std::string& error) {
  if (model.objects.empty() && model.dummies.empty()) Fail("a model needs an object or a dummy");
  std::set<int> indices;
  auto claim = [&](int index) {
    if (index < 0 || index > kMaxObjectIndex) Fail("object indices are 0-1023");
    if (!indices.insert(index).second) Fail("object index " + std::to_string(index) + " twice");
  };
  for (const Qx3Object& object : model.objects) {
    claim(object.index);
    WriteObject(object);
  }
  for (int dummy : model.dummies) {
    claim(dummy);
    Line("BeginDummy " + std::to_string(dummy));
    Line("EndDummy");
  }
  if (!model.links.empty()) {
    Line("BeginRelationship");
    for (const Qx3Link& link : model.links) {
      if (!indices.count(link.child) || (link.parent != 0 && !indices.count(link.parent)) ||
          (link.parent != 0 && link.child == link.parent))
        Fail("link " + std::to_string(link.child) + " -> " + std::to_string(link.parent) + " names an undefined node");
      Line("o " + std::to_string(link.child) + " " + std::to_string(link.parent));
    }
    Line("EndRelationship");
  }
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  text = lines_;
  return true;
}

}  // namespace

bool WriteTextModel(const Qx3Model& model, plat::ByteWriter& out, std::string& error) {
  std::string text;
  TextModelWriter writer;
  if (!writer.Write(model, text, error)) return false;
  out.Bytes(text.data(), text.size());
  return true;
}

}  // namespace datagen
