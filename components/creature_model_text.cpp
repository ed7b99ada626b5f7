// The text creature model reader. Keywords start their sections; "label"
// tokens are read and ignored; where a line's values end the rest of the line
// is skipped. Every section stops at the end of the data, and the fixed
// tables (50 objects and parts, 29 materials per object) are enforced.
#include <cstring>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "base/text_tokenizer.h"
#include "components/creature_model.h"
#include "components/creature_model_build.h"
#include "components/creature_model_readers.h"
#include "engine/core/mesh_edit.h"

namespace {

constexpr int kMaxMeshes = 50;
constexpr int kMaxMaterialsPerObject = 29;
constexpr int kMaxFrames = 32767;
constexpr int kNoSkip = 4;
constexpr int kSkipToken = 2;
constexpr int kSkipLine = 0;
constexpr int kPeek = 3;

bool StartsWith(const char* word, const char* keyword) {
  const size_t n = std::strlen(keyword);
  for (size_t i = 0; i < n; ++i) {
    char a = word[i], b = keyword[i];
    if (a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
    if (b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
    if (a != b) return false;
  }
  return true;
}

struct NumberedMesh {
  bool part = false;
  int index = 0;
};

class TextReader {
 public:
  explicit TextReader(CModelData& model) : model_(model), in_(model.path.c_str()) {}
  ~TextReader() { ReleaseUnheldMaterials(materials_); }

  bool Open() const { return in_.IsOpen(); }
  const std::string& Why() const { return why_; }

  bool Read() {
    while (true) {
      in_.Refill();
      in_.SkipLine(1);
      if (AtEnd()) return model_.root ? true : Fail("no BeginBase");
      char word[CTextTokenizer::kWordSize];
      in_.ReadWord(word, kNoSkip);
      bool ok = true;
      if (StartsWith(word, "BeginBase")) ok = Base();
      else if (StartsWith(word, "BeginObject")) ok = Object();
      else if (StartsWith(word, "BeginRelationship")) ok = Relationship();
      else if (StartsWith(word, "BeginPose")) ok = Poses();
      else if (StartsWith(word, "BeginMove")) ok = Move();
      else if (StartsWith(word, "BeginFrame")) ok = Frame();
      else if (StartsWith(word, "BeginMorphdata")) ok = Morphdata();
      else in_.SkipLine(0);
      if (!ok) return false;
    }
  }

 private:
  bool Fail(const char* why) {
    why_ = why;
    return false;
  }
  bool AtEnd() const { return *in_.Cursor() == 0; }
  // Leaves the keyword for its first value on the same line.
  void Arguments() { in_.SkipWord(); }
  void Label() {
    char label[CTextTokenizer::kWordSize];
    in_.ReadWord(label, kSkipToken);
  }
  int Int(int mode) {
    int32_t v = 0;
    in_.ReadInt(&v, mode);
    return v;
  }
  float Float(int mode) {
    float v = 0;
    in_.ReadFloat(&v, mode);
    return v;
  }
  std::string Word(int mode) {
    char w[CTextTokenizer::kWordSize];
    in_.ReadWord(w, mode);
    return w;
  }
  // A line of count floats; false when the data ended before it.
  bool Floats(float* out, int count) {
    in_.Refill();
    if (AtEnd()) return Fail("data ends early");
    for (int i = 0; i < count; ++i) out[i] = Float(i + 1 < count ? kSkipToken : kSkipLine);
    return true;
  }

  bool Base() {
    Arguments();
    Label();
    const int frames = Int(kSkipToken);
    const std::string name = Word(kSkipToken);
    Int(kSkipToken);
    Word(kSkipToken);
    Float(kSkipLine);
    if (model_.root) return Fail("two BeginBase sections");
    if (frames < 0 || frames > kMaxFrames) return Fail("bad frame count");
    model_.frameCount = frames;
    model_.frameOffsets.assign(frames, VECTOR3{0, 0, 0});
    std::strncpy(model_.name, name.c_str(), kCreatureNameSize - 1);
    model_.root = CreateCreatureRootBox();
    return model_.root ? true : Fail("no root node");
  }

  bool Material(bool parameters, CREATUREMATERIAL& m) {
    in_.Refill();
    if (AtEnd()) return Fail("data ends early");
    Label();
    Label();
    m.texture = Word(kSkipToken);
    for (uint8_t& k : m.key) k = static_cast<uint8_t>(Int(kSkipToken));
    m.frames = Int(kSkipToken);
    Int(kSkipLine);
    if (parameters) {
      Label();
      m.power = Float(kSkipLine);
      Label();
      Float(kSkipLine);
      Label();
      m.alpha = Float(kSkipToken);
      m.renderType = Int(kSkipLine);
      Label();
      m.emission = Float(kSkipLine);
      Label();
      m.faceFlags = Int(kSkipLine);
    }
    for (float* colour : {m.colour1, m.colour2, m.colour3}) {
      in_.Refill();
      Label();
      for (int c = 0; c < 3; ++c) colour[c] = Float(c < 2 ? kSkipToken : kSkipLine);
    }
    return true;
  }

  bool Object() {
    Arguments();
    Int(kSkipToken);
    const std::string name = Word(kSkipLine);
    if (!model_.root) return Fail("object before BeginBase");
    if (static_cast<int>(numbered_.size()) >= kMaxMeshes) return Fail("more than 50 objects and parts");
    const std::string type = Word(kNoSkip);
    const bool part = StartsWith(type.c_str(), "Morph");
    if (part && model_.frameCount < 1) return Fail("a morphing part needs frames");
    numbered_.push_back({part, part ? model_.PartCount() : model_.ObjectCount()});
    if (!part && StartsWith(type.c_str(), "Dummy")) {
      in_.SkipLine(0);
      CREATUREOBJECT o;
      std::strncpy(o.name, name.c_str(), kCreatureNameSize - 1);
      o.parent = model_.root;
      o.node = CreateCreatureAxesDummy(model_.root);
      model_.objects.push_back(std::move(o));
      model_.meshAlphas.insert(model_.meshAlphas.begin() + (model_.ObjectCount() - 1), 1.0f);
      return model_.objects.back().node ? true : Fail("no node");
    }
    Arguments();
    Label();
    const int materialCount = Int(kSkipToken);
    Label();
    const bool parameters = Int(kSkipLine) != 0;
    if (materialCount < 0 || materialCount > kMaxMaterialsPerObject) return Fail("more than 29 materials");
    const size_t firstMaterial = materials_.size();
    bool blueKey = false;
    for (int i = 0; i < materialCount; ++i) {
      CREATUREMATERIAL m;
      if (!Material(parameters, m)) return false;
      CreateCreatureMaterial(m, true);
      blueKey = blueKey || m.KeyedBlue();
      materials_.push_back(m);
    }
    return Mesh(name, part, firstMaterial, materialCount, blueKey);
  }

  bool Mesh(const std::string& name, bool part, size_t firstMaterial, int materialCount, bool blueKey) {
    in_.Refill();
    Label();
    const int vertexCount = Int(kSkipToken);
    const bool textured = Word(kSkipToken)[0] == 'T';
    const bool colours = Int(kSkipToken) != 0;
    const int scroll = Int(kNoSkip);
    const int kind = part ? 1 : 0;
    const int index = part ? model_.PartCount() : model_.ObjectCount();
    if (scroll != 0) {
      in_.SkipWord();
      const float u = Float(kSkipToken);
      CREATURESCROLL s{kind, index, u, Float(kSkipLine)};
      model_.scrolls.push_back(s);
    } else {
      in_.SkipLine(0);
    }
    if (vertexCount < 0 || vertexCount > 32767) return Fail("bad vertex count");
    CREATUREMESHBUILD build;
    build.colours = colours;
    build.scrolled = scroll != 0;
    const int values = 3 + (textured ? 2 : 0) + (colours ? 3 : 0);
    for (int i = 0; i < vertexCount; ++i) {
      float f[8] = {};
      if (!Floats(f, values)) return false;
      MESHVERTEX v;
      v.x = f[0], v.y = f[1], v.z = f[2];
      const float* rest = f + 3;
      if (textured) v.u = *rest++, v.v = *rest++;
      if (colours) v.nx = rest[0], v.ny = rest[1], v.nz = rest[2];
      build.vertices.push_back(v);
    }
    in_.Refill();
    Label();
    const int primitiveCount = Int(kSkipLine);
    if (primitiveCount < 0) return Fail("bad primitive count");
    int lastMaterial = materialCount ? 0 : -1;
    for (int i = 0; i < primitiveCount; ++i) {
      in_.Refill();
      if (AtEnd()) return Fail("data ends early");
      Label();
      int material = Int(kSkipToken);
      const int a = Int(kSkipToken), b = Int(kSkipToken), c = Int(kSkipLine);
      if (material == -1) material = 0;
      if (material < 0 || material >= materialCount) return Fail("triangle names no material");
      if (a < 0 || b < 0 || c < 0 || a >= vertexCount || b >= vertexCount || c >= vertexCount)
        return Fail("triangle names no vertex");
      const CREATUREMATERIAL& m = materials_[firstMaterial + material];
      build.words.insert(build.words.end(), {PRIM_TRIANGLE, static_cast<MESHPRIM>(m.handle), m.faceFlags, a, b, c});
      ++build.triangleCount;
      lastMaterial = material;
    }
    const HOBJECT node = BuildCreatureMesh(build, model_.root);
    if (!node) return Fail("no node");
    float alpha = 1.0f;
    const CREATUREMATERIAL looks = lastMaterial >= 0 ? materials_[firstMaterial + lastMaterial] : CREATUREMATERIAL{};
    FinishCreatureMesh(node, looks, blueKey, &alpha);
    ComputeMeshNormals(node, 1);
    ComputeMeshNormals(node, 2);
    if (!part) {
      CREATUREOBJECT o;
      std::strncpy(o.name, name.c_str(), kCreatureNameSize - 1);
      o.node = node;
      o.parent = model_.root;
      model_.objects.push_back(std::move(o));
      model_.meshAlphas.insert(model_.meshAlphas.begin() + (model_.ObjectCount() - 1), alpha);
      return true;
    }
    CREATUREPART p;
    std::strncpy(p.name, name.c_str(), kCreatureNameSize - 1);
    p.node = node;
    p.parent = model_.root;
    p.rootFlag = 1;
    p.normalDivisor = 1;
    p.vertexCount = vertexCount;
    p.keyCount = model_.frameCount;
    p.vertexKeys.resize(model_.frameCount);
    int count = 0;
    const MESHVERTEX* live = GetMeshVertices(node, &count, nullptr, nullptr);
    p.vertexKeys[0].assign(live, live + (live ? count : 0));
    for (int f = 0; f < model_.frameCount; ++f) p.weights.push_back(static_cast<float>(f));
    for (const MESHVERTEX& v : p.vertexKeys[0]) p.baseCoordinates.insert(p.baseCoordinates.end(), {v.u, v.v});
    model_.parts.push_back(std::move(p));
    model_.meshAlphas.push_back(alpha);
    return true;
  }

  bool Relationship() {
    Arguments();
    const int count = Int(kSkipLine);
    for (int i = 0; i < count && !AtEnd(); ++i) in_.SkipLine(0);
    return true;
  }

  bool Poses() {
    Arguments();
    const int count = Int(kSkipLine);
    for (int i = 0; i < count; ++i) {
      in_.Refill();
      if (AtEnd()) return Fail("data ends early");
      Label();
      CREATUREPOSE p;
      p.start = Int(kSkipToken);
      p.end = Int(kSkipToken);
      p.windowStart = Int(kSkipToken);
      p.loopStart = Int(kSkipToken);
      p.loopEnd = Int(kSkipLine);
      if (!p.InRange()) return Fail("pose frames out of range");
      p.length = p.end - p.start + 1;
      model_.poses.push_back(p);
    }
    return true;
  }

  bool Move() {
    in_.SkipLine(0);
    for (VECTOR3& offset : model_.frameOffsets) {
      float f[4];
      if (!Floats(f, 4)) return false;
      offset = {f[1], f[2], f[3]};
    }
    return true;
  }

  // The object or part that BeginObject numbered n; null when n names none
  // or one of the other kind.
  const NumberedMesh* Numbered(int n, bool part) const {
    if (n < 1 || n > static_cast<int>(numbered_.size()) || numbered_[n - 1].part != part) return nullptr;
    return &numbered_[n - 1];
  }

  bool Frame() {
    Arguments();
    const int n = Int(kSkipToken);
    float values[3];
    for (float& v : values) v = Float(kSkipToken);
    const uint32_t flags = static_cast<uint32_t>(Int(kSkipToken));
    const int hidden = Int(kSkipLine);
    const NumberedMesh* mesh = Numbered(n, false);
    if (!mesh) return Fail("BeginFrame names no object");
    CREATUREOBJECT& o = model_.objects[mesh->index];
    std::memcpy(o.values, values, sizeof values);
    o.flags = flags | (hidden ? kHiddenObjectBit : 0);
    o.transforms.resize(model_.frameCount);
    for (MATRIX34& m : o.transforms) {
      float f[13];
      in_.Refill();
      if (AtEnd()) return Fail("data ends early");
      Label();
      for (int i = 0; i < 12; ++i) f[i] = Float(i < 11 ? kSkipToken : kSkipLine);
      for (int r = 0; r < 4; ++r) m.row[r] = {f[3 * r], f[3 * r + 1], f[3 * r + 2]};
    }
    return true;
  }

  bool Morphdata() {
    Arguments();
    const int n = Int(kSkipToken);
    const int keyCount = Int(kSkipLine);
    const NumberedMesh* mesh = Numbered(n, true);
    if (!mesh) return Fail("BeginMorphdata names no part");
    CREATUREPART& p = model_.parts[mesh->index];
    if (keyCount < 1 || keyCount > p.keyCount) return Fail("bad key count");
    in_.Refill();
    if (StartsWith(Word(kPeek).c_str(), "FrameWeight")) {
      in_.SkipLine(0);
      for (float& w : p.weights) {
        in_.Refill();
        if (AtEnd()) return Fail("data ends early");
        w = Float(kSkipToken);
      }
    }
    Label();
    const int vertexCount = Int(kSkipToken);
    const bool textured = Word(kSkipLine)[0] == 'T';
    if (vertexCount != p.vertexCount) return Fail("key sets do not match their mesh");
    for (int k = 1; k < keyCount; ++k) {
      in_.SkipLine(0);
      std::vector<MESHVERTEX> key = p.vertexKeys[0];
      for (MESHVERTEX& v : key) {
        float f[5];
        if (!Floats(f, textured ? 5 : 3)) return false;
        v.x = f[0], v.y = f[1], v.z = f[2];
        if (textured) v.u = f[3], v.v = f[4];
      }
      // Normals of the key set from its own shape.
      std::vector<MESHVERTEX> base = SetMeshVertexArray(p.node, std::move(key));
      ComputeMeshNormals(p.node, 1);
      ComputeMeshNormals(p.node, 2);
      p.vertexKeys[k] = SetMeshVertexArray(p.node, std::move(base));
    }
    return true;
  }

  CModelData& model_;
  CTextTokenizer in_;
  std::string why_;
  std::vector<NumberedMesh> numbered_;
  std::vector<CREATUREMATERIAL> materials_;
};

}  // namespace

bool ReadCreatureText(CModelData& model) {
  TextReader reader(model);
  if (!reader.Open()) {
    DebugTrace("file %s open error", model.path.c_str());
    return false;
  }
  if (reader.Read()) return true;
  DebugTrace("creature file %s refused: %s", model.path.c_str(), reader.Why().c_str());
  return false;
}
