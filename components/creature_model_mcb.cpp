// The ".MCB" reader: one pass over the file, every count, size and index
// checked against the bytes present before anything is allocated or used.
#include <cstring>
#include <string>
#include <vector>

#include "base/debug_trace.h"
#include "components/creature_model.h"
#include "components/creature_model_build.h"
#include "components/creature_model_readers.h"
#include "platform/files.h"

namespace {

constexpr size_t kMaxFileBytes = 64u * 1024u * 1024u;
constexpr int kMaxMeshes = 127;
constexpr int kMaxMaterials = 127;
constexpr size_t kPoseBytes = 24;
constexpr size_t kScrollBytes = 12;
constexpr size_t kMeshHeaderBytes = 40;
constexpr size_t kMaterialBytes = 88;
constexpr size_t kRecordBytes = 44;
constexpr size_t kPrimitiveBytes = 10;

struct MeshHeader {
  int firstMaterial = 0;
  int materialCount = 0;
  bool colours = false;
  bool seen = false;
};

class McbReader {
 public:
  McbReader(CModelData& model, const std::vector<uint8_t>& bytes) : model_(model), in_(bytes) {}
  ~McbReader() { ReleaseUnheldMaterials(materials_); }

  bool Read() {
    return Header() && Poses() && FrameOffsets() && Scrolls() && MeshHeaders() && Materials() && Objects() && Parts();
  }
  const std::string& Why() const { return why_; }

 private:
  bool Fail(const char* why) {
    why_ = why;
    return false;
  }
  // Whether count items of size bytes remain (no overflow on the way).
  bool Fits(uint64_t count, uint64_t size) const { return size == 0 || count <= in_.Remaining() / size; }

  bool Header() {
    if (!in_.CanRead(88)) return Fail("short header");
    in_.Skip(24);
    const std::string name = in_.FixedString(16);
    std::strncpy(model_.name, name.c_str(), kCreatureNameSize - 1);
    in_.Skip(2);
    const uint8_t flags = in_.U8();
    in_.Skip(1);
    objectsQuantised_ = flags & 1;
    model_.partsQuantised = (flags & 2) ? 1 : 0;
    objectPositionDivisor_ = in_.I16();
    objectTranslationDivisor_ = in_.I16();
    model_.keyPositionDivisor = in_.I16();
    model_.coordinateDivisor = in_.I16();
    poseCount_ = in_.I16();
    objectCount_ = in_.I16();
    partCount_ = in_.I16();
    model_.frameCount = in_.I16();
    scrollCount_ = in_.I16();
    in_.Skip(2);
    for (uint32_t& offset : offsets_) offset = in_.U32();
    in_.Skip(4);
    if (poseCount_ < 0 || objectCount_ < 0 || partCount_ < 0 || model_.frameCount < 0 || scrollCount_ < 0)
      return Fail("negative count");
    if (objectCount_ + partCount_ > kMaxMeshes) return Fail("more than 127 meshes");
    for (int i = 0; i < 4; ++i)
      if (offsets_[i + 1] < offsets_[i]) return Fail("offsets out of order");
    if (objectsQuantised_ &&
        (objectPositionDivisor_ == 0 || objectTranslationDivisor_ == 0 || model_.coordinateDivisor == 0))
      return Fail("zero divisor");
    if (model_.partsQuantised && (model_.keyPositionDivisor == 0 || model_.coordinateDivisor == 0))
      return Fail("zero divisor");
    return true;
  }

  // The block between two offsets; its size must hold count records.
  bool Block(int from, size_t count, size_t recordBytes, size_t* size) {
    *size = offsets_[from + 1] - offsets_[from];
    if (*size > in_.Remaining()) return Fail("block beyond the end of the file");
    if (count > *size / recordBytes) return Fail("block too small for its count");
    return true;
  }

  bool Poses() {
    size_t size = 0;
    if (!Block(0, poseCount_, kPoseBytes, &size)) return false;
    const size_t end = in_.Tell() + size;
    model_.poses.resize(poseCount_);
    for (CREATUREPOSE& p : model_.poses) {
      p.length = in_.I32();
      p.start = in_.I32();
      p.end = in_.I32();
      p.windowStart = in_.I32();
      p.loopStart = in_.I32();
      p.loopEnd = in_.I32();
      if (!p.InRange()) return Fail("pose frames out of range");
    }
    return in_.Seek(end);
  }

  bool FrameOffsets() {
    size_t size = 0;
    if (!Block(1, model_.frameCount, 12, &size)) return false;
    const size_t end = in_.Tell() + size;
    model_.frameOffsets.resize(model_.frameCount);
    for (VECTOR3& v : model_.frameOffsets) v = {in_.F32(), in_.F32(), in_.F32()};
    in_.Seek(end);
    model_.root = CreateCreatureRootBox();
    return model_.root ? true : Fail("no root node");
  }

  bool Scrolls() {
    if (scrollCount_ == 0) return true;
    size_t size = 0;
    if (!Block(2, scrollCount_, kScrollBytes, &size)) return false;
    const size_t end = in_.Tell() + size;
    model_.scrolls.resize(scrollCount_);
    for (CREATURESCROLL& s : model_.scrolls) {
      s.kind = in_.I16();
      s.index = in_.I16();
      s.u = in_.F32();
      s.v = in_.F32();
    }
    return in_.Seek(end);
  }

  bool MeshHeaders() {
    const int meshes = objectCount_ + partCount_;
    size_t size = 0;
    if (!Block(3, meshes, kMeshHeaderBytes, &size)) return false;
    materialsEnd_ = in_.Tell() + size;
    headers_.resize(meshes);
    int first = 0;
    for (int h = 0; h < meshes; ++h) {
      in_.Skip(16);
      const int kind = in_.I32();
      const int index = in_.I32();
      const int count = in_.I32();
      in_.Skip(8);
      const int colours = in_.I32();
      if ((kind != 0 && kind != 1) || index < 0 || index >= (kind == 0 ? objectCount_ : partCount_))
        return Fail("mesh header names no object or part");
      MeshHeader& header = headers_[kind == 0 ? index : objectCount_ + index];
      if (header.seen) return Fail("two mesh headers for one mesh");
      if (count < 0 || count > kMaxMaterials - first) return Fail("more than 127 materials");
      header = {first, count, colours != 0, true};
      first += count;
    }
    materialCount_ = first;
    return true;
  }

  bool Materials() {
    if (static_cast<size_t>(materialCount_) > (materialsEnd_ - in_.Tell()) / kMaterialBytes)
      return Fail("material block too small");
    materials_.resize(materialCount_);
    for (CREATUREMATERIAL& m : materials_) {
      m.texture = in_.FixedString(16);
      for (uint8_t& k : m.key) k = in_.U8();
      in_.Skip(2);
      m.frames = in_.I8();
      in_.Skip(2);
      m.power = in_.F32();
      in_.Skip(4);
      m.alpha = in_.F32();
      m.renderType = in_.I32();
      m.emission = in_.F32();
      m.faceFlags = in_.I16();
      in_.Skip(2);
      for (float* colour : {m.colour1, m.colour2, m.colour3})
        for (int c = 0; c < 3; ++c) colour[c] = in_.F32();
      in_.Skip(4);
    }
    for (CREATUREMATERIAL& m : materials_) CreateCreatureMaterial(m, false);
    return in_.Seek(materialsEnd_);
  }

  // One record of 44 bytes: name, then the five 32-bit words after it.
  void Record(char* name, int32_t words[6]) {
    const std::string text = in_.FixedString(16);
    std::strncpy(name, text.c_str(), kCreatureNameSize - 1);
    for (int i = 0; i < 7; ++i) {
      const int32_t w = in_.I32();
      if (i < 6) words[i] = w;
    }
  }

  // Triangles of a mesh into build.words; material numbers are within the
  // mesh's own materials.
  bool Primitives(const MeshHeader& header, int vertexCount, int primitiveCount, CREATUREMESHBUILD& build) {
    for (int i = 0; i < primitiveCount; ++i) {
      const int type = in_.I16();
      const int material = in_.I8();
      const int faceFlags = in_.I8();
      const int a = in_.I16(), b = in_.I16(), c = in_.I16();
      if (type != PRIM_TRIANGLE) continue;
      if (material < 0 || material >= header.materialCount) return Fail("triangle names no material");
      if (a < 0 || b < 0 || c < 0 || a >= vertexCount || b >= vertexCount || c >= vertexCount)
        return Fail("triangle names no vertex");
      const HOBJECT handle = materials_[header.firstMaterial + material].handle;
      build.words.insert(build.words.end(), {PRIM_TRIANGLE, static_cast<MESHPRIM>(handle), faceFlags, a, b, c});
      ++build.triangleCount;
    }
    return true;
  }

  // Commits a mesh under the root with the header's first material's looks.
  HOBJECT Commit(const MeshHeader& header, CREATUREMESHBUILD& build, float* alpha) {
    const HOBJECT node = BuildCreatureMesh(build, model_.root);
    if (!node) return 0;
    const CREATUREMATERIAL looks = header.materialCount ? materials_[header.firstMaterial] : CREATUREMATERIAL{};
    FinishCreatureMesh(node, looks, looks.KeyedBlue(), alpha);
    return node;
  }

  bool Objects() {
    if (!Fits(objectCount_, kRecordBytes)) return Fail("object records beyond the end of the file");
    model_.objects.resize(objectCount_);
    std::vector<int32_t> vertexCounts(objectCount_), primitiveCounts(objectCount_);
    for (int i = 0; i < objectCount_; ++i) {
      CREATUREOBJECT& o = model_.objects[i];
      int32_t w[6];
      Record(o.name, w);
      vertexCounts[i] = w[0];
      std::memcpy(o.values, &w[1], sizeof o.values);
      primitiveCounts[i] = w[4];
      o.flags = static_cast<uint32_t>(w[5]);
      o.parent = model_.root;
    }
    model_.meshAlphas.assign(objectCount_ + partCount_, 1.0f);
    const float positionScale = objectsQuantised_ ? 1.0f / objectPositionDivisor_ : 1.0f;
    for (int i = 0; i < objectCount_; ++i) {
      CREATUREOBJECT& o = model_.objects[i];
      if (o.Hidden()) {
        o.node = CreateCreatureAxesDummy(model_.root);
        if (!o.node) return Fail("no node");
        continue;
      }
      const MeshHeader& header = headers_[i];
      const int n = vertexCounts[i];
      if (n < 0 || primitiveCounts[i] < 0) return Fail("negative vertex or primitive count");
      if (!Fits(n, objectsQuantised_ ? 16 : 32) || !Fits(primitiveCounts[i], kPrimitiveBytes) ||
          uint64_t(n) * (objectsQuantised_ ? 16 : 32) + uint64_t(primitiveCounts[i]) * kPrimitiveBytes >
              in_.Remaining())
        return Fail("object mesh beyond the end of the file");
      CREATUREMESHBUILD build;
      build.colours = header.colours;
      build.scrolled = model_.FindScroll(0, i, nullptr, nullptr);
      build.vertices.resize(n);
      const float middle = header.colours ? 1.0f / 255.0f : 1.0f / model_.coordinateDivisor;
      const float uv = objectsQuantised_ ? 1.0f / model_.coordinateDivisor : 1.0f;
      for (MESHVERTEX& v : build.vertices) {
        float f[8];
        for (float& value : f) value = objectsQuantised_ ? in_.I16() : in_.F32();
        if (objectsQuantised_) {
          for (int k = 0; k < 3; ++k) f[k] *= positionScale;
          for (int k = 3; k < 6; ++k) f[k] *= middle;
          f[6] *= uv;
          f[7] *= uv;
        }
        v.x = f[0], v.y = f[1], v.z = f[2], v.nx = f[3], v.ny = f[4], v.nz = f[5], v.u = f[6], v.v = f[7];
      }
      if (!Primitives(header, n, primitiveCounts[i], build)) return false;
      o.node = Commit(header, build, &model_.meshAlphas[i]);
      if (!o.node) return Fail("no node");
    }
    const size_t transformBytes = objectsQuantised_ ? 24 : 48;
    if (!Fits(uint64_t(objectCount_) * model_.frameCount, transformBytes))
      return Fail("object transforms beyond the end of the file");
    for (CREATUREOBJECT& o : model_.objects) {
      o.transforms.resize(model_.frameCount);
      for (MATRIX34& m : o.transforms) {
        float f[12];
        for (int k = 0; k < 12; ++k) {
          if (!objectsQuantised_) f[k] = in_.F32();
          else f[k] = k < 9 ? in_.I16() / 512.0f : static_cast<float>(in_.I16()) / objectTranslationDivisor_;
        }
        for (int r = 0; r < 4; ++r) m.row[r] = {f[3 * r], f[3 * r + 1], f[3 * r + 2]};
      }
    }
    return true;
  }

  bool Parts() {
    if (!Fits(partCount_, kRecordBytes)) return Fail("part records beyond the end of the file");
    model_.parts.resize(partCount_);
    std::vector<int32_t> primitiveCounts(partCount_);
    for (int i = 0; i < partCount_; ++i) {
      CREATUREPART& p = model_.parts[i];
      int32_t w[6];
      Record(p.name, w);
      p.vertexCount = w[0];
      p.keyCount = w[1];
      primitiveCounts[i] = w[2];
      p.normalDivisor = w[4];
      p.parent = model_.root;
      if (p.vertexCount < 0 || p.keyCount < 1 || primitiveCounts[i] < 0 || p.normalDivisor < 0)
        return Fail("bad part record");
    }
    // Per-vertex data (floats 3 to 7) and triangles of every part.
    std::vector<CREATUREMESHBUILD> builds(partCount_);
    const bool q = model_.partsQuantised;
    for (int i = 0; i < partCount_; ++i) {
      CREATUREPART& p = model_.parts[i];
      const size_t vertexBytes = !q ? 20 : p.normalDivisor ? 4 : 10;
      if (!Fits(p.vertexCount, vertexBytes) ||
          uint64_t(p.vertexCount) * vertexBytes + uint64_t(primitiveCounts[i]) * kPrimitiveBytes > in_.Remaining())
        return Fail("part mesh beyond the end of the file");
      CREATUREMESHBUILD& build = builds[i];
      build.vertices.resize(p.vertexCount);
      p.baseCoordinates.resize(2 * static_cast<size_t>(p.vertexCount));
      const float uv = q ? 1.0f / model_.coordinateDivisor : 1.0f;
      for (int k = 0; k < p.vertexCount; ++k) {
        MESHVERTEX& v = build.vertices[k];
        if (!q) {
          v.nx = in_.F32(), v.ny = in_.F32(), v.nz = in_.F32();
          v.u = in_.F32(), v.v = in_.F32();
        } else if (p.normalDivisor) {
          v.u = in_.I16() * uv, v.v = in_.I16() * uv;
        } else {
          v.nx = in_.I16() / 255.0f, v.ny = in_.I16() / 255.0f, v.nz = in_.I16() / 255.0f;
          v.u = in_.I16() * uv, v.v = in_.I16() * uv;
        }
        p.baseCoordinates[2 * k] = v.u;
        p.baseCoordinates[2 * k + 1] = v.v;
      }
      const MeshHeader& header = headers_[objectCount_ + i];
      build.colours = header.colours;
      build.scrolled = model_.FindScroll(1, i, nullptr, nullptr);
      if (!Primitives(header, p.vertexCount, primitiveCounts[i], build)) return false;
    }
    if (!Fits(uint64_t(partCount_) * model_.frameCount, 4)) return Fail("key weights beyond the end of the file");
    for (CREATUREPART& p : model_.parts) {
      p.weights.resize(model_.frameCount);
      for (float& w : p.weights) w = in_.F32();
    }
    for (int i = 0; i < partCount_; ++i)
      if (!KeySets(i, builds[i])) return false;
    return true;
  }

  bool KeySets(int i, CREATUREMESHBUILD& build) {
    CREATUREPART& p = model_.parts[i];
    const size_t bytes = static_cast<size_t>(model_.KeyVertexBytes(p));
    if (!Fits(uint64_t(p.keyCount) * uint64_t(p.vertexCount), bytes))
      return Fail("key sets beyond the end of the file");
    // Key sets of a part without vertices hold nothing: none are kept, so a
    // huge key count costs no memory.
    p.packedKeys.resize(p.vertexCount ? p.keyCount : 0);
    for (auto& key : p.packedKeys) {
      key.resize(bytes * p.vertexCount);
      in_.Bytes(key.data(), key.size());
    }
    // Key set 0 gives positions (and normals with quantised normals); the
    // per-vertex data the rest.
    std::vector<MESHVERTEX> key0(p.vertexCount);
    model_.KeyVertices(p, 0, key0.data());
    const bool normalsFromKey = model_.partsQuantised && p.normalDivisor;
    for (int k = 0; k < p.vertexCount; ++k) {
      MESHVERTEX& v = build.vertices[k];
      v.x = key0[k].x, v.y = key0[k].y, v.z = key0[k].z;
      if (normalsFromKey) v.nx = key0[k].nx, v.ny = key0[k].ny, v.nz = key0[k].nz;
    }
    p.node = Commit(headers_[objectCount_ + i], build, &model_.meshAlphas[objectCount_ + i]);
    return p.node ? true : Fail("no node");
  }

  CModelData& model_;
  plat::ByteReader in_;
  std::string why_;
  bool objectsQuantised_ = false;
  int16_t objectPositionDivisor_ = 0;
  int16_t objectTranslationDivisor_ = 0;
  int poseCount_ = 0, objectCount_ = 0, partCount_ = 0, scrollCount_ = 0;
  uint32_t offsets_[5] = {};
  size_t materialsEnd_ = 0;
  int materialCount_ = 0;
  std::vector<MeshHeader> headers_;
  std::vector<CREATUREMATERIAL> materials_;
};

}  // namespace

bool ReadCreatureMcb(CModelData& model) {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(model.path, bytes, kMaxFileBytes)) {
    DebugTrace("file %s open error", model.path.c_str());
    return false;
  }
  McbReader reader(model, bytes);
  if (reader.Read()) return true;
  DebugTrace("creature file %s refused: %s", model.path.c_str(), reader.Why().c_str());
  return false;
}
