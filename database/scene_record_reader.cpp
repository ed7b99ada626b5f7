#include "database/scene_record_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/files.h"

namespace scenefile {

namespace {

void ReadZone(plat::ByteReader& r, SCENEZONE& zone) {
  for (auto& corner : zone.corners) {
    corner[0] = r.F32();
    corner[1] = r.F32();
  }
  zone.zMin = r.F32();
  zone.zMax = r.F32();
}

SCENEKEYTRACK ReadTrack(plat::ByteReader& r) {
  SCENEKEYTRACK t;
  t.firstFrame = r.I32();
  t.lastFrame = r.I32();
  t.keyCount = r.I32();
  return t;
}

// The entries of a key array that fit in what remains, at most count.
size_t Fitting(const plat::ByteReader& r, int32_t count, size_t size) {
  if (count <= 0) return 0;
  return std::min(static_cast<size_t>(count), r.Remaining() / size);
}

// Keys of size bytes each, frame first; a cut array keeps the keys that fit
// and leaves the reader failed.
template <typename Key, typename ReadValue>
void ReadKeys(plat::ByteReader& r, int32_t count, size_t size, std::vector<Key>& keys, ReadValue readValue) {
  keys.resize(Fitting(r, count, size));
  for (Key& k : keys) {
    k.frame = r.I32();
    readValue(k.value);
  }
  if (keys.size() < static_cast<size_t>(std::max(count, 0))) r.Skip(r.Remaining() + 1);
}

void ReadVectorKeys(plat::ByteReader& r, int32_t count, std::vector<VECTORKEY>& keys) {
  ReadKeys(r, count, 16, keys, [&](VECTOR3& v) { v = ReadVector(r); });
}

void ReadRotationKeys(plat::ByteReader& r, int32_t count, std::vector<ROTATIONKEY>& keys) {
  ReadKeys(r, count, 20, keys, [&](QUATERNION& q) {
    q.w = r.F32();
    q.x = r.F32();
    q.y = r.F32();
    q.z = r.F32();
  });
}

void ReadFloatKeys(plat::ByteReader& r, int32_t count, std::vector<FLOATKEY>& keys) {
  ReadKeys(r, count, 8, keys, [&](float& f) { f = r.F32(); });
}

void ReadColor(plat::ByteReader& r, float* color) {
  for (int i = 0; i < 3; ++i) color[i] = r.F32();
}

}  // namespace

VECTOR3 ReadVector(plat::ByteReader& r) {
  VECTOR3 v;
  v.x = r.F32();
  v.y = r.F32();
  v.z = r.F32();
  return v;
}

bool ReadMatrix(plat::ByteReader& r, MATRIX34& out) {
  if (!r.CanRead(kMatrixSize)) return r.Skip(kMatrixSize);
  for (VECTOR3& row : out.row) row = ReadVector(r);
  return true;
}

bool ReadPoint(plat::ByteReader& r, SCENEPOINTDESC& out) {
  if (!r.CanRead(kPointSize)) return r.Skip(kPointSize);
  out.id = r.I32();
  out.position = ReadVector(r);
  out.direction = ReadVector(r);
  return true;
}

bool ReadPortal(plat::ByteReader& r, PORTALDESC& out) {
  if (!r.CanRead(kPortalSize)) return r.Skip(kPortalSize);
  out.destination = r.FixedString(16);
  out.destinationPoint = r.I16();
  out.closed = r.I16();
  ReadZone(r, out.zone);
  return true;
}

bool ReadTrigger(plat::ByteReader& r, TRIGGERDESC& out, int& targetCount) {
  if (!r.CanRead(kTriggerSize)) return r.Skip(kTriggerSize);
  out.name = r.FixedString(16);
  out.type = r.I16();
  targetCount = std::max<int>(0, r.I16());
  r.Skip(4);
  r.Bytes(out.targetIndices.data(), out.targetIndices.size());
  r.Bytes(out.typeData.data(), out.typeData.size());
  ReadZone(r, out.zone);
  return true;
}

bool ReadPerson(plat::ByteReader& r, SCENEPERSONDESC& out, bool& hasRoutine) {
  if (!r.CanRead(kPersonSize)) return r.Skip(kPersonSize);
  out.name = r.FixedString(8);
  r.Skip(8);
  out.npcProperty = r.I16();
  out.npcId = r.I16();
  out.flags = r.I32();
  out.position = ReadVector(r);
  out.direction = ReadVector(r);
  hasRoutine = r.U32() != 0;
  return true;
}

bool ReadAnimation(plat::ByteReader& r, SCENEANIMDESC& out) {
  if (!r.CanRead(kAnimationSize)) return r.Skip(kAnimationSize);
  out.mode = r.U8();
  out.repeat = r.U8();
  out.delay = r.I16();
  out.playsLeft = r.I16();
  out.keyNumber = r.U8();
  out.links = r.U8();
  r.Skip(4);
  out.firstKey = r.I16();
  out.lastKey = r.I16();
  out.position = ReadTrack(r);
  out.rotation = ReadTrack(r);
  out.scale = ReadTrack(r);
  out.visibility = ReadTrack(r);
  r.Skip(16);
  int itemCount = out.links & 3;
  if (!r.CanRead(static_cast<size_t>(itemCount) * 4)) return r.Skip(r.Remaining() + 1);
  out.items.resize(static_cast<size_t>(itemCount));
  for (SCENEITEMDESC& item : out.items) {
    item.itemId = r.I16();
    item.a = r.U8();
    item.b = r.U8();
  }
  ReadVectorKeys(r, out.position.keyCount, out.positionKeys);
  ReadVectorKeys(r, out.scale.keyCount, out.scaleKeys);
  ReadRotationKeys(r, out.rotation.keyCount, out.rotationKeys);
  ReadFloatKeys(r, out.visibility.keyCount, out.visibilityKeys);
  return !r.Failed();
}

bool ReadCamera(plat::ByteReader& r, SCENECAMERADESC& out) {
  if (!r.CanRead(kCameraHeadSize)) return r.Skip(kCameraHeadSize);
  out.name = r.FixedString(16);
  out.position = ReadVector(r);
  out.target = ReadVector(r);
  out.fieldOfView = r.F32();
  out.roll = r.F32();
  r.Skip(8);  // the planes are fixed after reading
  out.positionKeyCount = r.I32();
  out.positionTrack = ReadTrack(r);
  out.fovTrack = ReadTrack(r);
  out.rollTrack = ReadTrack(r);
  out.targetTrack = ReadTrack(r);
  ReadVectorKeys(r, out.positionTrack.keyCount, out.positionKeys);
  ReadVectorKeys(r, out.targetTrack.keyCount, out.targetKeys);
  ReadFloatKeys(r, out.fovTrack.keyCount, out.fovKeys);
  ReadFloatKeys(r, out.rollTrack.keyCount, out.rollKeys);
  out.nearPlane = 10;
  out.farPlane = 12500;
  return !r.Failed();
}

bool ReadLight(plat::ByteReader& r, SCENELIGHTDESC& out) {
  if (!r.CanRead(kLightSize)) return r.Skip(kLightSize);
  out.name = r.FixedString(16);
  out.type = r.I32();
  out.position = ReadVector(r);
  out.direction = ReadVector(r);
  ReadColor(r, out.color);
  out.intensity = r.F32();
  out.range = r.F32();
  out.innerCone = r.F32();
  out.outerCone = r.F32();
  return true;
}

bool ReadExtAnim(plat::ByteReader& r, SCENEEXTANIMDESC& out) {
  if (!r.CanRead(kExtAnimSize)) return r.Skip(kExtAnimSize);
  out.name = r.FixedString(16);
  out.kind = r.I32();
  out.count = r.I32();
  out.objectIndex = r.I32();
  out.objectName = r.FixedString(16);
  ReadZone(r, out.zone);
  return true;
}

bool ReadObjectRecord(plat::ByteReader& r, SCENEOBJECTDESC& out, bool& hasAnimation, int& partCount) {
  if (!r.CanRead(kObjectSize)) return r.Skip(kObjectSize);
  out.name = r.FixedString(16);
  out.kind = r.U8();
  out.flags = r.U8();
  out.meshFlags = r.I16();
  out.scrollU = r.F32();
  out.scrollV = r.F32();
  out.spin = r.F32();
  r.Skip(4);
  partCount = std::max(0, r.I32());
  r.Skip(4);
  hasAnimation = r.U32() != 0;
  return true;
}

bool ReadPart(plat::ByteReader& r, SCENEPARTDESC& out) {
  if (!r.CanRead(kPartSize)) return r.Skip(kPartSize);
  out.texture = r.FixedString(16);
  for (uint8_t& o : out.options) o = r.U8();
  r.Skip(1);
  out.materialFlag = r.U8();
  out.frameCount = r.U8();
  out.ticksPerFrame = r.U8();
  out.used = r.U8();
  out.power = r.F32();
  out.value28 = r.F32();
  // The engine clamps an alpha to 0..1, but no clamp catches a NaN.
  const float alpha = r.F32();
  out.alpha = std::isnan(alpha) ? 1.0f : alpha;
  out.blendMode = r.I32();
  out.value40 = r.F32();
  out.faceFlags = r.I16();
  r.Skip(2);
  ReadColor(r, out.ambient);
  ReadColor(r, out.diffuse);
  ReadColor(r, out.specular);
  r.Skip(4);
  return true;
}

}  // namespace scenefile
