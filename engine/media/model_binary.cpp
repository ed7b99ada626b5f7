#include "engine/media/model_binary.h"

#include <cstring>
#include <string>

#include "engine/core/engine_messages.h"
#include "engine/core/engine_state.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/media/model_mesh.h"
#include "platform/debug_output.h"
#include "platform/files.h"

namespace {

constexpr uint32_t kMaxMaterials = 256;
constexpr uint32_t kMaxTextureName = 63;
constexpr size_t kVertexBytes = 32;
constexpr size_t kVertexRecordBytes = 16;

struct Qb3Material {
  float ambient[3] = {}, diffuse[3] = {}, specular[3] = {}, emissive[3] = {};
  float power = 0;
  std::string texture;  // empty: none
  int frames = 0;       // as CreateMaterial takes it
  int keyFlag = 0;
  uint8_t key[3] = {};
};

// Everything a file holds, read and checked before a node is made.
struct Qb3File {
  int formatWord = 0;
  std::vector<Qb3Material> materials;
  int frames = 0;
  int perFrame = 0;
  std::vector<MESHVERTEX> vertices;
  int primitiveCount = 0;
  std::vector<MESHPRIM> words;  // material words hold material numbers, -1 for none
  std::vector<uint8_t> records;
};

bool Corrupt(const char* what) {
  plat::DebugOutput(std::string("Corrupt binary model: ") + what);
  return false;
}

void ReadColour(plat::ByteReader& r, float (&c)[3]) {
  for (float& f : c) f = r.F32();
}

bool ReadMaterial(plat::ByteReader& r, Qb3Material& m) {
  ReadColour(r, m.ambient);
  ReadColour(r, m.diffuse);
  ReadColour(r, m.specular);
  ReadColour(r, m.emissive);
  m.power = r.F32();
  const uint32_t frames = r.U32();
  if (frames > 0) {
    const uint32_t length = r.U32();
    if (r.Failed()) return Corrupt("material cut short");
    if (length == 0 || length > kMaxTextureName || (frames >= 2 && length < 3))
      return Corrupt("texture name length out of range");
    if (frames > static_cast<uint32_t>(INT32_MAX)) return Corrupt("texture frame count out of range");
    m.texture.resize(length);
    if (!r.Bytes(m.texture.data(), length)) return Corrupt("material cut short");
    if (m.texture.find('\0') != std::string::npos) return Corrupt("texture name holds a zero byte");
    // A single frame names the texture itself; more name the first frame,
    // whose number the material layer forms anew for every frame.
    if (frames == 1) {
      m.frames = 0;
    } else {
      m.texture.resize(length - 2);
      m.frames = static_cast<int>(frames);
    }
  }
  m.keyFlag = r.U32() != 0;
  r.Bytes(m.key, sizeof m.key);
  return !r.Failed() || Corrupt("material cut short");
}

bool ReadIndex(plat::ByteReader& r, const Qb3File& f, std::vector<MESHPRIM>& words) {
  const uint32_t index = r.U32();
  if (index >= static_cast<uint32_t>(f.perFrame)) return Corrupt("vertex index beyond the vertices");
  words.push_back(static_cast<MESHPRIM>(index));
  return true;
}

bool ReadPrimitives(plat::ByteReader& r, Qb3File& f) {
  const uint32_t count = r.U32();
  const uint32_t wordCount = r.U32();
  // Every word of the list stands in the file as one 32-bit value.
  if (r.Failed() || wordCount > r.Remaining() / 4 || count > wordCount / 3)
    return Corrupt("primitive counts beyond the file");
  f.primitiveCount = static_cast<int>(count);
  f.words.reserve(wordCount);
  for (uint32_t p = 0; p < count; ++p) {
    const uint32_t type = r.U32();
    const int32_t material = r.I32();
    if (r.Failed()) return Corrupt("primitives cut short");
    if (material >= static_cast<int32_t>(f.materials.size())) return Corrupt("material number beyond the materials");
    const size_t left = wordCount - f.words.size();
    if (type == PRIM_TRIANGLE) {
      if (left < kTriangleWords) return Corrupt("primitive words beyond the word count");
      f.words.insert(f.words.end(), {PRIM_TRIANGLE, material < 0 ? -1 : material, static_cast<MESHPRIM>(r.U32())});
      for (int i = 0; i < 3; ++i)
        if (!ReadIndex(r, f, f.words)) return false;
    } else if (type == PRIM_LINES) {
      const uint32_t pairs = r.U32();
      if (left < 3 || pairs > (left - 3) / 2) return Corrupt("primitive words beyond the word count");
      f.words.insert(f.words.end(), {PRIM_LINES, material < 0 ? -1 : material, static_cast<MESHPRIM>(pairs)});
      for (uint32_t i = 0; i < 2 * pairs; ++i)
        if (!ReadIndex(r, f, f.words)) return false;
    } else {
      return Corrupt("unknown primitive type");
    }
    if (r.Failed()) return Corrupt("primitives cut short");
  }
  if (f.words.size() != wordCount) return Corrupt("primitive words do not add up to the word count");
  return true;
}

const uint8_t kMagic[4] = {'Q', 'B', '3', 0};

bool HasMagic(const std::vector<uint8_t>& bytes) {
  return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

bool ReadQb3(const std::vector<uint8_t>& bytes, Qb3File& f) {
  plat::ByteReader r(bytes);
  r.Skip(sizeof kMagic);
  f.formatWord = r.I32();
  const uint32_t materials = r.U32();
  if (r.Failed() || materials > kMaxMaterials) return Corrupt("material count out of range");
  f.materials.resize(materials);
  for (Qb3Material& m : f.materials)
    if (!ReadMaterial(r, m)) return false;
  const uint32_t frames = r.U32();
  const uint32_t perFrame = r.U32();
  const uint64_t vertices = uint64_t{frames} * perFrame;
  if (r.Failed() || frames < 1 || vertices > r.Remaining() / kVertexBytes)
    return Corrupt("vertex counts beyond the file");
  // Frames without vertices would cost nothing in the file and a box each
  // in memory.
  if (perFrame == 0 && frames > 1) return Corrupt("frames without vertices");
  f.frames = static_cast<int>(frames);
  f.perFrame = static_cast<int>(perFrame);
  f.vertices.resize(vertices);
  for (MESHVERTEX& v : f.vertices) {
    v.x = r.F32();
    v.y = r.F32();
    v.z = r.F32();
    v.nx = r.F32();
    v.ny = r.F32();
    v.nz = r.F32();
    v.u = r.F32();
    v.v = r.F32();
  }
  if (!ReadPrimitives(r, f)) return false;
  if (r.Remaining() >= 4 && r.U32() != 0) {
    const uint64_t size = uint64_t{perFrame} * kVertexRecordBytes;
    if (size > r.Remaining()) return Corrupt("per-vertex records beyond the file");
    f.records.resize(size);
    r.Bytes(f.records.data(), f.records.size());
  }
  return true;
}

HOBJECT BuildMesh(HOBJECT parent, Qb3File& f) {
  if (g_nodeUnderConstruction) return 0;  // another node is being built
  BeginNode(NODE_MESH);
  NODEDESC* node = g_nodeUnderConstruction;
  MESHDESC* mesh = node ? node->Mesh() : nullptr;
  if (!mesh) return 0;
  std::vector<HOBJECT> handles;
  for (const Qb3Material& m : f.materials) {
    handles.push_back(CreateMaterial(m.ambient, m.diffuse, m.specular, m.emissive, m.power,
                                     m.texture.empty() ? nullptr : m.texture.c_str(), m.frames, m.keyFlag, m.key[0],
                                     m.key[1], m.key[2]));
  }
  std::vector<bool> used(handles.size(), false);
  for (size_t at = 0; at < f.words.size();
       at += PrimitiveWordCount(f.words.data(), static_cast<int>(at), static_cast<int>(f.words.size()))) {
    MESHPRIM& material = f.words[at + 1];
    if (material >= 0) {
      used[material] = true;
      material = PrimitiveMaterialWord(handles[material]);
    }
  }
  mesh->formatWord = f.formatWord;
  mesh->frameCount = f.frames;
  mesh->vertexCount = f.perFrame;
  mesh->vertexCapacity = f.perFrame;
  mesh->currentFrame = 0;
  mesh->vertexArrays = std::move(f.vertices);
  mesh->primitiveCount = f.primitiveCount;
  mesh->primitiveCountCopy = f.primitiveCount;
  mesh->wordsUsed = static_cast<int>(f.words.size());
  mesh->primitives = std::move(f.words);
  mesh->vertexRecords = std::move(f.records);
  SetUpSoftMeshBuffers(node);
  HOBJECT handle = EndNode(parent);
  for (size_t i = 0; i < handles.size(); ++i)
    if (!used[i] && handles[i]) DestroyMaterial(handles[i]);
  return handle;
}

HOBJECT LoadBinary(HOBJECT parent, const std::vector<uint8_t>& bytes) {
  Qb3File f;
  if (!HasMagic(bytes) || !ReadQb3(bytes, f)) return 0;
  return BuildMesh(parent, f);
}

}  // namespace

HOBJECT LoadModelBinaryFile(HOBJECT parent, const char* path) {
  if (!g_engineOpen || !path) return 0;
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes)) {
    ShowErrorMessage("Error to load %s!(M01)", path);
    return 0;
  }
  return LoadBinary(parent, bytes);
}

HOBJECT LoadModelBinaryEntry(HOBJECT parent, const std::vector<uint8_t>& entry) {
  return g_engineOpen ? LoadBinary(parent, entry) : 0;
}
