#include "engine/media/model_text.h"

#include <array>
#include <climits>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/vertex_colors.h"
#include "engine/media/lightmap_files.h"
#include "engine/media/model_mesh.h"
#include "engine/media/model_text_lines.h"
#include "engine/media/path_text.h"
#include "engine/media/texture_table.h"
#include "platform/debug_output.h"
#include "platform/files.h"

namespace {

constexpr size_t kMaxLine = 243;
constexpr size_t kMaxTextureName = 127;
constexpr int kMaterialSlots = 256;
constexpr int kNodeSlots = 1024;
constexpr int kMaxFaceVertices = 256;
constexpr int kMaxLinePairs = 128;
constexpr int kQuadWords = 7;

using Tokens = std::vector<std::string>;

bool Is(const Tokens& t, size_t i, const char* word) { return i < t.size() && MatchText(t[i].c_str(), word, 1); }

// The C library's conversions: a missing or non-numeric token reads as 0.
int Int(const Tokens& t, size_t i) {
  if (i >= t.size()) return 0;
  long v = std::strtol(t[i].c_str(), nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

float Float(const Tokens& t, size_t i) { return i < t.size() ? std::strtof(t[i].c_str(), nullptr) : 0.0f; }

bool IsNumber(const Tokens& t, size_t i) {
  if (i >= t.size()) return false;
  const char* s = t[i].c_str();
  if (*s == '-' || *s == '+') ++s;
  return *s >= '0' && *s <= '9';
}

Tokens Split(const std::string& line) {
  Tokens tokens;
  size_t at = 0;
  while (at < line.size()) {
    size_t start = line.find_first_not_of(' ', at);
    if (start == std::string::npos) break;
    size_t end = line.find(' ', start);
    if (end == std::string::npos) end = line.size();
    tokens.push_back(line.substr(start, end - start));
    at = end;
  }
  return tokens;
}

bool Refuse(const char* why) {
  plat::DebugOutput(std::string("Corrupt text model: ") + why);
  return false;
}

struct MaterialSlot {
  HOBJECT handle = 0;
  bool used = false;
};

class TextModelReader {
 public:
  explicit TextModelReader(HOBJECT parent) : parent_(parent) { nodes_[0] = parent; }
  HOBJECT Read(plat::ByteReader& in);

 private:
  enum class Open { None, Mesh, Dummy };

  bool Apply(const Tokens& t);
  MESHDESC* OpenMesh() const {
    return open_ == Open::Mesh && g_nodeUnderConstruction ? g_nodeUnderConstruction->Mesh() : nullptr;
  }
  bool StartNode(int kind);
  bool EnsureMesh();
  bool BeginObject(const Tokens& t);
  bool FinishMesh(int recordIndex);
  bool FinishDummy(int recordIndex);
  bool Commit(int recordIndex);
  bool CheckIndices(int perFrame) const;
  void BuildLightMapQuads(MESHDESC* mesh);
  void ClearMaterials();
  void AddFlags(uint32_t flags);
  bool ObjectIndex(const Tokens& t, int* index) const;
  int MaterialWordOf(int number);
  bool Material(const Tokens& t);
  bool LightMap(const Tokens& t);
  bool Vertex(const Tokens& t);
  bool Face(const Tokens& t);
  bool LineList(const Tokens& t);
  bool Link(const Tokens& t);
  void DropLightMaps();
  void Discard();

  HOBJECT parent_;
  std::array<HOBJECT, kNodeSlots> nodes_{};
  HOBJECT result_ = 0;
  std::vector<HOBJECT> built_;  // nodes committed by this load

  Open open_ = Open::None;
  int objectIndex_ = 0;
  bool smooth_ = true;
  int morph_ = 1;
  std::vector<MESHVERTEX> vertices_;
  std::vector<float> colours_;  // the three values of "vn" or "vc" per vertex
  std::vector<MESHPRIM> words_;
  int primitives_ = 0;
  std::vector<std::array<int32_t, kQuadWords>> quads_;
  std::unique_ptr<LIGHTMAPSETDESC> lightMaps_;
  std::array<MaterialSlot, kMaterialSlots> materials_{};
  // Used materials whose number was defined again: the object's primitives
  // still name them, so they go with its mesh, or with a refused file.
  std::vector<HOBJECT> replaced_;
};

HOBJECT TextModelReader::Read(plat::ByteReader& in) {
  std::string line;
  while (ReadLine(in, line) >= 0) {
    if (line.size() > kMaxLine) {
      Refuse("line longer than 243 characters");
      Discard();
      return 0;
    }
    TrimLine(line);
    if (line.empty() || line[0] == '#') continue;
    if (!Apply(Split(line))) {
      Discard();
      return 0;
    }
  }
  // An object left open is finished and recorded under index 1.
  if ((open_ == Open::Mesh && !FinishMesh(1)) || (open_ == Open::Dummy && !FinishDummy(1))) {
    Discard();
    return 0;
  }
  ClearMaterials();
  for (int i = 1; i < kNodeSlots; ++i)
    if (nodes_[i]) return nodes_[i];
  return result_;
}

bool TextModelReader::Apply(const Tokens& t) {
  const std::string& k = t[0];
  auto is = [&](const char* word) { return MatchText(k.c_str(), word, 1) != 0; };
  if (is("BeginObject")) return BeginObject(t);
  if (is("EndObject")) {
    if (open_ != Open::Mesh) return true;
    if (!FinishMesh(objectIndex_)) return false;
    ClearMaterials();
    return true;
  }
  if (is("Lite_Vertex") || is("Transformed_Vertex")) {
    if (!EnsureMesh()) return false;
    AddFlags(is("Lite_Vertex") ? MESH_PRELIT : MESH_PRETRANSFORMED);
    smooth_ = false;
    return true;
  }
  if (is("Normal_Smooth")) {
    smooth_ = Is(t, 1, "TRUE");
    return true;
  }
  if (is("Morph")) {
    morph_ = Int(t, 1) < 1 ? 1 : Int(t, 1);
    return true;
  }
  if (is("BeginDummy")) {
    int index = 0;
    if (!ObjectIndex(t, &index) || !StartNode(NODE_DUMMY)) return false;
    objectIndex_ = index;
    open_ = Open::Dummy;
    return true;
  }
  if (is("EndDummy")) return open_ != Open::Dummy || FinishDummy(objectIndex_);
  if (is("o")) return Link(t);
  if (is("Material")) return Material(t);
  if (is("LightMap")) return LightMap(t);
  if (is("v")) return Vertex(t);
  if (is("f")) return Face(t);
  if (is("l")) return LineList(t);
  return true;  // markers and unknown keywords
}

bool TextModelReader::StartNode(int kind) {
  if (open_ != Open::None) return Refuse("a node begins inside another");
  if (g_nodeUnderConstruction) return false;  // someone else's node is being built
  BeginNode(kind);
  return g_nodeUnderConstruction != nullptr;
}

// A mesh line outside an object starts a mesh as BeginObject would.
bool TextModelReader::EnsureMesh() {
  if (open_ == Open::Mesh) return true;
  if (!StartNode(NODE_MESH)) return false;
  open_ = Open::Mesh;
  smooth_ = true;
  return true;
}

bool TextModelReader::ObjectIndex(const Tokens& t, int* index) const {
  *index = Int(t, 1);
  return (*index >= 0 && *index < kNodeSlots) || Refuse("object index beyond 1023");
}

bool TextModelReader::BeginObject(const Tokens& t) {
  int index = 0;
  if (!ObjectIndex(t, &index)) return false;
  if (open_ == Open::Dummy) return Refuse("an object begins inside a dummy");
  if (!EnsureMesh()) return false;
  objectIndex_ = index;
  if (t.size() > 2) SetMeshName(0, t[2].c_str());
  SetMeshFlags(0, 0);
  smooth_ = true;
  return true;
}

void TextModelReader::AddFlags(uint32_t flags) {
  if (MESHDESC* mesh = OpenMesh()) SetMeshFlags(0, mesh->flags | flags);
}

bool TextModelReader::CheckIndices(int perFrame) const {
  auto inside = [&](MESHPRIM i) { return i >= 0 && i < perFrame; };
  for (size_t at = 0; at < words_.size();) {
    const bool lines = words_[at] == PRIM_LINES;
    const size_t first = at + 3;
    const size_t end = lines ? first + 2 * static_cast<size_t>(words_[at + 2]) : at + kTriangleWords;
    for (size_t i = first; i < end; ++i)
      if (!inside(words_[i])) return Refuse("vertex index beyond the object's vertices");
    at = end;
  }
  for (const auto& quad : quads_) {
    for (int i = 3; i < kQuadWords; ++i)
      if (!inside(quad[i])) return Refuse("vertex index beyond the object's vertices");
    if (lightMaps_ && (quad[1] < 0 || quad[1] >= lightMaps_->lightMapCount))
      return Refuse("light-map number beyond the set");
  }
  return true;
}

// Each quad keeps its own four vertices: A with the face's texture
// coordinates, B with the light map's corners; its corner words are 0 to 3.
void TextModelReader::BuildLightMapQuads(MESHDESC* mesh) {
  static const float kCorners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  LIGHTMAPSETDESC* set = lightMaps_.get();
  for (const auto& quad : quads_) {
    for (int corner = 0; corner < 4; ++corner) {
      MESHVERTEX v = mesh->vertexArrays[quad[3 + corner]];
      set->quadVerticesA.push_back(v);
      v.u = kCorners[corner][0];
      v.v = kCorners[corner][1];
      set->quadVerticesB.push_back(v);
    }
    set->quads.insert(set->quads.end(), {quad[0], quad[1], quad[2], 0, 1, 2, 3});
  }
  set->quadCount = static_cast<int>(quads_.size());
  set->quadVertexCount = 4 * set->quadCount;
  mesh->lightMaps = lightMaps_.release();
}

bool TextModelReader::FinishMesh(int recordIndex) {
  MESHDESC* mesh = OpenMesh();
  if (!mesh) return false;
  const size_t total = vertices_.size();
  if (total % morph_ != 0) return Refuse("vertices do not fill whole morph frames");
  const int perFrame = static_cast<int>(total / morph_);
  if (!CheckIndices(perFrame)) return false;
  mesh->vertexArrays = std::move(vertices_);
  mesh->vertexCount = perFrame;
  mesh->vertexCapacity = perFrame;
  mesh->frameCount = morph_;
  mesh->currentFrame = 0;
  mesh->primitives = std::move(words_);
  mesh->wordsUsed = static_cast<int>(mesh->primitives.size());
  mesh->primitiveCount = primitives_;
  mesh->primitiveCountCopy = primitives_;
  if (smooth_) ComputeMeshNormals(0, 1);
  if (lightMaps_) BuildLightMapQuads(mesh);
  SetUpSoftMeshBuffers(g_nodeUnderConstruction);
  if (mesh->flags & MESH_PRETRANSFORMED)
    PackVertexColorsFrom(mesh->vertexArrays.data(), colours_.data(), 1.0f, static_cast<int>(total));
  else if (mesh->flags & MESH_PRELIT) PackVertexColors(mesh->vertexArrays.data(), 1.0f, static_cast<int>(total));
  vertices_.clear();
  colours_.clear();
  words_.clear();
  primitives_ = 0;
  quads_.clear();
  morph_ = 1;
  smooth_ = true;
  return Commit(recordIndex);
}

bool TextModelReader::FinishDummy(int recordIndex) { return Commit(recordIndex); }

bool TextModelReader::Commit(int recordIndex) {
  open_ = Open::None;
  const HOBJECT node = EndNode(parent_);
  if (!node) return false;
  built_.push_back(node);
  nodes_[recordIndex] = node;
  result_ = node;
  return true;
}

// Material numbers are local to one object: the ones no primitive used go.
void TextModelReader::ClearMaterials() {
  for (MaterialSlot& slot : materials_) {
    if (slot.handle && !slot.used) DestroyMaterial(slot.handle);
    slot = MaterialSlot();
  }
  replaced_.clear();
}

// Call only for a primitive that is kept: a material marked used is left to
// the mesh.
int TextModelReader::MaterialWordOf(int number) {
  if (number < 0) return -1;
  materials_[number].used = true;
  return PrimitiveMaterialWord(materials_[number].handle);
}

bool TextModelReader::Material(const Tokens& t) {
  if (!EnsureMesh()) return false;
  const int number = Int(t, 1);
  if (number < 0 || number >= kMaterialSlots) return Refuse("material number beyond 255");
  std::string texture;
  int frames = 0;
  size_t i = 3;
  if (Is(t, 2, "MultipleTexture")) {
    texture = t.size() > 3 ? t[3] : "";
    frames = Int(t, 4);
    i = 5;
  } else if (t.size() > 2 && !Is(t, 2, "NULL")) {
    texture = t[2];
  }
  if (texture.size() > kMaxTextureName) return Refuse("texture name longer than 127 characters");
  float ambient[3] = {0.7f, 0.7f, 0.7f}, diffuse[3] = {1, 1, 1}, specular[3] = {0, 0, 0}, emissive[3] = {0, 0, 0};
  float power = 20.0f;
  int keyFlag = 0, key[3] = {0, 0, 0}, mipLevels = -1;
  auto colour = [&](float(&c)[3]) {
    for (int k = 0; k < 3; ++k) c[k] = Float(t, i + 1 + k);
    i += 4;
  };
  while (i < t.size()) {
    if (Is(t, i, "AMBIENT")) {
      colour(ambient);
    } else if (Is(t, i, "DIFFUSE")) {
      colour(diffuse);
    } else if (Is(t, i, "SPECULAR")) {
      colour(specular);
    } else if (Is(t, i, "EMISSIVE")) {
      colour(emissive);
    } else if (Is(t, i, "SHINENESS")) {
      power = Float(t, i + 1);
      i += 2;
    } else if (Is(t, i, "TextureKeyRGB")) {
      keyFlag = 1;
      ++i;
      for (int k = 0; k < 3 && IsNumber(t, i); ++k, ++i) key[k] = Int(t, i);
    } else if (Is(t, i, "MipMap")) {
      mipLevels = Int(t, i + 1);
      i += 2;
    } else {
      ++i;
    }
  }
  const char* name = texture.empty() ? nullptr : texture.c_str();
  const HOBJECT handle = mipLevels >= 0 ? CreateTexturedMaterial(ambient, diffuse, specular, emissive, power, name,
                                                                 frames, 1, mipLevels, keyFlag, key[0], key[1], key[2])
                                        : CreateMaterial(ambient, diffuse, specular, emissive, power, name, frames,
                                                         keyFlag, key[0], key[1], key[2]);
  MaterialSlot& slot = materials_[number];
  if (slot.handle && !slot.used) DestroyMaterial(slot.handle);
  if (slot.handle && slot.used) replaced_.push_back(slot.handle);
  slot = MaterialSlot{handle, false};
  return true;
}

void TextModelReader::DropLightMaps() {
  if (!lightMaps_) return;
  for (TEXTUREDESC* map : lightMaps_->lightMaps) ReleaseTexture(map);
  lightMaps_.reset();
}

bool TextModelReader::LightMap(const Tokens& t) {
  if (open_ != Open::Mesh) return true;
  if (t.size() > 1 && t[1].size() > kMaxTextureName) return Refuse("light-map name longer than 127 characters");
  DropLightMaps();
  lightMaps_ = std::make_unique<LIGHTMAPSETDESC>();
  if (t.size() < 2 || !LoadLightMap(t[1].c_str(), lightMaps_.get())) lightMaps_.reset();
  return true;
}

bool TextModelReader::Vertex(const Tokens& t) {
  if (!EnsureMesh()) return false;
  const bool transformed = (OpenMesh()->flags & MESH_PRETRANSFORMED) != 0;
  MESHVERTEX v;
  v.x = Float(t, 1);
  v.y = Float(t, 2);
  v.z = Float(t, 3);
  size_t i = 4;
  if (transformed) v.rhw = Float(t, i++);
  float c[3] = {0, 0, 0};
  while (i < t.size()) {
    if (Is(t, i, "vn") || Is(t, i, "vc")) {
      if (Is(t, i, "vc")) AddFlags(MESH_PRELIT);
      for (int k = 0; k < 3; ++k) c[k] = Float(t, i + 1 + k);
      smooth_ = false;
      i += 4;
    } else if (Is(t, i, "vt")) {
      v.u = Float(t, i + 1);
      v.v = Float(t, i + 2);
      i += 3;
    } else {
      ++i;
    }
  }
  if (!transformed) {
    v.nx = c[0];
    v.ny = c[1];
    v.nz = c[2];
  }
  vertices_.push_back(v);
  colours_.insert(colours_.end(), c, c + 3);
  return true;
}

bool TextModelReader::Face(const Tokens& t) {
  if (!EnsureMesh()) return false;
  const int n = Int(t, 1);
  const int material = Int(t, 2);
  if (n > kMaxFaceVertices) return Refuse("face of more than 256 vertices");
  if (material >= kMaterialSlots) return Refuse("material number beyond 255");
  if (n < 3) return true;
  std::vector<int> index(n);
  for (int k = 0; k < n; ++k) {
    index[k] = Int(t, 3 + k);
    if (index[k] < 0) return Refuse("negative vertex index");
  }
  int flags = 0, map = -1;
  for (size_t i = 3 + n; i < t.size(); ++i) {
    if (Is(t, i, "BOTH")) {
      flags = 1;
    } else if (Is(t, i, "L")) {
      map = Int(t, ++i);
      if (map < 0) return Refuse("negative light-map number");
    }
  }
  const int word = MaterialWordOf(material);
  for (int k = 1; k + 1 < n; ++k) {
    words_.insert(words_.end(), {PRIM_TRIANGLE, word, flags, index[0], index[k], index[k + 1]});
    ++primitives_;
  }
  if (map >= 0 && n == 4) quads_.push_back({word, map, flags, index[0], index[1], index[2], index[3]});
  return true;
}

bool TextModelReader::LineList(const Tokens& t) {
  if (!EnsureMesh()) return false;
  const int n = Int(t, 1);
  const int material = Int(t, 2);
  if (n > kMaxLinePairs) return Refuse("line list of more than 128 pairs");
  if (material >= kMaterialSlots) return Refuse("material number beyond 255");
  if (n < 1) return true;
  words_.insert(words_.end(), {PRIM_LINES, MaterialWordOf(material), n});
  for (int k = 0; k < 2 * n; ++k) {
    const int index = Int(t, 3 + k);
    if (index < 0) return Refuse("negative vertex index");
    words_.push_back(index);
  }
  ++primitives_;
  return true;
}

bool TextModelReader::Link(const Tokens& t) {
  const int child = Int(t, 1);
  const int parent = Int(t, 2);
  if (child < 0 || child >= kNodeSlots || parent < 0 || parent >= kNodeSlots) return Refuse("object index beyond 1023");
  const HOBJECT node = nodes_[child];
  if (!node) return true;
  if (parent == 0) result_ = node;
  else if (nodes_[parent]) SetNodeParent(node, nodes_[parent]);
  return true;
}

// A refused file leaves nothing behind: the open node, the materials not yet
// held by a mesh and every node already committed go.
void TextModelReader::Discard() {
  if (open_ != Open::None && g_nodeUnderConstruction) {
    if (MESHDESC* mesh = g_nodeUnderConstruction->Mesh()) {
      mesh->primitives.clear();
      mesh->wordsUsed = 0;
      mesh->primitiveCount = 0;
      mesh->primitiveCountCopy = 0;
    }
    DestroyNode(EndNode(0));
  }
  open_ = Open::None;
  DropLightMaps();
  for (MaterialSlot& slot : materials_) {
    if (slot.handle) DestroyMaterial(slot.handle);
    slot = MaterialSlot();
  }
  for (HOBJECT handle : replaced_) DestroyMaterial(handle);
  replaced_.clear();
  for (auto node = built_.rbegin(); node != built_.rend(); ++node) DestroyNode(*node);
  built_.clear();
}

HOBJECT LoadText(HOBJECT parent, const std::vector<uint8_t>& bytes) {
  plat::ByteReader in(bytes);
  TextModelReader reader(parent);
  return reader.Read(in);
}

}  // namespace

HOBJECT LoadModelTextFile(HOBJECT parent, const char* path) {
  if (!g_engineOpen || !path) return 0;
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes)) {
    ShowErrorMessage("Error to load %s!(M01)", path);
    return 0;
  }
  return LoadText(parent, bytes);
}

HOBJECT LoadModelTextEntry(HOBJECT parent, const std::vector<uint8_t>& entry) {
  return g_engineOpen ? LoadText(parent, entry) : 0;
}
