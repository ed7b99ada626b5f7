#include "components/creature_model.h"

#include <algorithm>
#include <cstring>

#include "base/debug_trace.h"
#include "components/creature_model_readers.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"

namespace {

int16_t ReadI16(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }

float ReadF32(const uint8_t* p) {
  uint32_t bits = uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

bool EndsWithMcb(const std::string& path) {
  if (path.size() < 3) return false;
  const char* tail = path.c_str() + path.size() - 3;
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
  return upper(tail[0]) == 'M' && upper(tail[1]) == 'C' && upper(tail[2]) == 'B';
}

}  // namespace

void DecodePlainKey(const uint8_t* key, int vertexCount, MESHVERTEX* out) {
  for (int i = 0; i < vertexCount; ++i, key += 24) {
    MESHVERTEX& v = out[i];
    v.x = ReadF32(key);
    v.y = ReadF32(key + 4);
    v.z = ReadF32(key + 8);
    v.nx = ReadF32(key + 12);
    v.ny = ReadF32(key + 16);
    v.nz = ReadF32(key + 20);
  }
}

void DecodeQuantisedKey(const uint8_t* key, int vertexCount, float positionDivisor, int normalDivisor,
                        MESHVERTEX* out) {
  const float scale = 1.0f / positionDivisor;
  const float normalScale = normalDivisor ? 1.0f / static_cast<float>(normalDivisor) : 0.0f;
  for (int i = 0; i < vertexCount; ++i) {
    MESHVERTEX& v = out[i];
    v.x = ReadI16(key) * scale;
    v.y = ReadI16(key + 2) * scale;
    v.z = ReadI16(key + 4) * scale;
    if (normalDivisor == 0) {
      key += 6;
      continue;
    }
    const uint8_t sign = key[9];
    v.nx = key[6] * normalScale * (sign & 1 ? -1.0f : 1.0f);
    v.ny = key[7] * normalScale * (sign & 2 ? -1.0f : 1.0f);
    v.nz = key[8] * normalScale * (sign & 4 ? -1.0f : 1.0f);
    key += 10;
  }
}

CModelData::CModelData(const char* modelPath) {
  if (!modelPath || !*modelPath) return;
  if (std::strlen(modelPath) >= kPathSize) {
    DebugTrace("creature path too long: %s", modelPath);
    return;
  }
  path = modelPath;
  Load();
}

CModelData::~CModelData() { Free(); }

int CModelData::Load() {
  Free();
  mcb = EndsWithMcb(path) ? 1 : 0;
  const bool read = mcb ? ReadCreatureMcb(*this) : ReadCreatureText(*this);
  if (!read) Free();
  return Empty() ? 0 : 1;
}

void CModelData::Free() {
  scrolls.clear();
  poses.clear();
  for (CREATUREOBJECT& o : objects) DestroyNode(o.node);
  for (CREATUREPART& p : parts) DestroyNode(p.node);
  objects.clear();
  parts.clear();
  frameOffsets.clear();
  meshAlphas.clear();
  DestroyNode(root);
  root = 0;
  frameCount = 0;
}

CModelData* CModelData::Copy() const {
  auto* copy = new CModelData();
  copy->path = path;
  copy->mcb = mcb;
  std::memcpy(copy->name, name, sizeof name);
  copy->frameCount = frameCount;
  copy->poses = poses;
  copy->frameOffsets = frameOffsets;
  copy->meshAlphas = meshAlphas;
  copy->scrolls = scrolls;
  copy->keyPositionDivisor = keyPositionDivisor;
  copy->coordinateDivisor = coordinateDivisor;
  copy->partsQuantised = partsQuantised;
  copy->root = CloneNodeDeep(root);
  if (frameCount > 0) {
    copy->objects = objects;
    copy->parts = parts;
    for (size_t i = 0; i < objects.size(); ++i) {
      copy->objects[i].node = CopyNodeUnder(objects[i].node, 0, static_cast<int>(i), copy->root);
      copy->objects[i].parent = copy->root;
    }
    for (size_t i = 0; i < parts.size(); ++i) {
      copy->parts[i].node = CopyNodeUnder(parts[i].node, 1, static_cast<int>(i), copy->root);
      copy->parts[i].parent = copy->root;
    }
  }
  return copy;
}

HOBJECT CModelData::CopyNodeUnder(HOBJECT node, int kind, int index, HOBJECT parent) const {
  const HOBJECT copy = CloneNodeDeep(node);
  SetNodeParent(copy, parent);
  if (!FindScroll(kind, index, nullptr, nullptr)) SetNodeRenderState(copy, NRS_ADDRESSING_STAGE0, kAddressClamp);
  return copy;
}

int CModelData::FindScroll(int kind, int index, float* u, float* v) const {
  for (const CREATURESCROLL& s : scrolls) {
    if (s.kind != kind || s.index != index) continue;
    if (u) *u = s.u;
    if (v) *v = s.v;
    return 1;
  }
  return 0;
}

void CModelData::ApplyScrolling(int tickTotal) {
  for (const CREATURESCROLL& s : scrolls) {
    const bool part = s.kind == 1;
    if (s.index < 0 || s.index >= (part ? PartCount() : ObjectCount())) continue;
    int count = 0;
    MESHVERTEX* vertices =
        GetMeshVertices(part ? parts[s.index].node : objects[s.index].node, &count, nullptr, nullptr);
    if (!vertices) continue;
    if (!part) {
      for (int i = 0; i < count; ++i) {
        vertices[i].u += s.u;
        vertices[i].v += s.v;
      }
      continue;
    }
    const std::vector<float>& base = parts[s.index].baseCoordinates;
    count = std::min(count, static_cast<int>(base.size() / 2));
    for (int i = 0; i < count; ++i) {
      vertices[i].u = base[2 * i] + s.u * static_cast<float>(tickTotal);
      vertices[i].v = base[2 * i + 1] + s.v * static_cast<float>(tickTotal);
    }
  }
}

int CModelData::KeyVertexBytes(const CREATUREPART& part) const {
  if (!mcb) return static_cast<int>(sizeof(MESHVERTEX));
  if (!partsQuantised) return 24;
  return part.normalDivisor ? 10 : 6;
}

const MESHVERTEX* CModelData::KeyVertices(const CREATUREPART& part, int key, MESHVERTEX* buffer) const {
  if (key < 0 || key >= part.keyCount) return nullptr;
  if (!mcb) {
    if (static_cast<size_t>(key) >= part.vertexKeys.size() || part.vertexKeys[key].empty()) return nullptr;
    return part.vertexKeys[key].data();
  }
  if (!buffer || static_cast<size_t>(key) >= part.packedKeys.size() || part.packedKeys[key].empty()) return nullptr;
  if (partsQuantised)
    DecodeQuantisedKey(part.packedKeys[key].data(), part.vertexCount, keyPositionDivisor, part.normalDivisor, buffer);
  else DecodePlainKey(part.packedKeys[key].data(), part.vertexCount, buffer);
  return buffer;
}
