#include "world/object_state_memory.h"

#include <algorithm>

#include "base/debug_trace.h"
#include "database/scene_records.h"
#include "platform/files.h"
#include "world/map_scene.h"
#include "world/scene_content.h"

void CObjectStateMemory::Save(const MScene& scene) {
  if (scene.content && scene.mapIndex > 0) Store(scene.mapIndex, *scene.content);
}

void CObjectStateMemory::Restore(MScene& scene) {
  if (!scene.content) return;
  if (scene.mapIndex > 0) Recall(scene.mapIndex, *scene.content);
  scene.content->PoseKeyframedObjects();
}

int CObjectStateMemory::FindSlot(int mapIndex) const {
  for (size_t i = 0; i < maps_.size(); ++i)
    if (maps_[i] == mapIndex) return static_cast<int>(i);
  return -1;
}

void CObjectStateMemory::Store(int mapIndex, const CSceneContent& content) {
  const std::vector<ANIMOBJSTATE>& objects = content.keyframed;
  const int wanted = static_cast<int>(objects.size());
  int slot = FindSlot(mapIndex);
  const int held = slot < 0 ? 0 : ends_[slot] - BlockStart(slot);
  const int total = static_cast<int>(records_.size()) + wanted - held;
  if (slot < 0 && MapCount() >= kMaxMaps) {
    DebugTrace("Object states of map %d not kept: %d maps are remembered\n", mapIndex, kMaxMaps);
    return;
  }
  if (total > kMaxRecords) {
    DebugTrace("Object states of map %d not kept: more than %d records\n", mapIndex, kMaxRecords);
    return;
  }
  if (slot < 0) {
    slot = MapCount();
    maps_.push_back(static_cast<int16_t>(mapIndex));
    ends_.push_back(static_cast<int16_t>(records_.size()));
  }
  const int start = BlockStart(slot);
  if (wanted != held) {
    const auto at = records_.begin() + start + held;
    if (wanted > held) records_.insert(at, static_cast<size_t>(wanted - held), OBJSTATERECORD{});
    else records_.erase(records_.begin() + start + wanted, at);
    for (size_t i = static_cast<size_t>(slot); i < ends_.size(); ++i)
      ends_[i] = static_cast<int16_t>(ends_[i] + wanted - held);
  }
  for (int i = 0; i < wanted; ++i) {
    const ANIMOBJSTATE& o = objects[i];
    records_[start + i] = {o.frame, static_cast<int16_t>(o.record ? o.record->playsLeft : 0), o.direction, o.state};
  }
}

void CObjectStateMemory::Recall(int mapIndex, CSceneContent& content) const {
  const int slot = FindSlot(mapIndex);
  if (slot < 0) return;
  const int start = BlockStart(slot);
  const int n = std::min(static_cast<int>(content.keyframed.size()), ends_[slot] - start);
  for (int i = 0; i < n; ++i) {
    const OBJSTATERECORD& r = records_[start + i];
    ANIMOBJSTATE& o = content.keyframed[i];
    o.frame = r.frame;
    if (o.record) o.record->playsLeft = r.playsLeft;
    o.direction = r.direction;
    o.state = r.state;
  }
}

void CObjectStateMemory::Clear() {
  maps_.clear();
  ends_.clear();
  records_.clear();
}

void CObjectStateMemory::Write(plat::ByteWriter& out) const {
  out.I32(MapCount());
  for (int16_t m : maps_) out.I16(m);
  for (int16_t e : ends_) out.I16(e);
  for (const OBJSTATERECORD& r : records_) {
    out.I16(r.frame);
    out.I16(r.playsLeft);
    out.U8(r.direction);
    out.U8(r.state);
    out.Zeros(2);
  }
}

bool CObjectStateMemory::Read(plat::ByteReader& in) {
  Clear();
  const int32_t n = in.I32();
  if (in.Failed() || n < 0 || n > kMaxMaps || !in.CanRead(static_cast<size_t>(n) * 4)) {
    DebugTrace("Object-state block refused: %d maps\n", n);
    return false;
  }
  std::vector<int16_t> maps(static_cast<size_t>(n)), ends(static_cast<size_t>(n));
  for (int16_t& m : maps) m = in.I16();
  int16_t previous = 0;
  for (int16_t& e : ends) {
    e = in.I16();
    if (e < previous) {
      DebugTrace("Object-state block refused: block ends do not ascend\n");
      return false;
    }
    previous = e;
  }
  const size_t total = static_cast<size_t>(previous);
  if (!in.CanRead(total * kRecordSize)) {
    DebugTrace("Object-state block refused: %zu records do not fit\n", total);
    return false;
  }
  std::vector<OBJSTATERECORD> records(total);
  for (OBJSTATERECORD& r : records) {
    r.frame = in.I16();
    r.playsLeft = in.I16();
    r.direction = in.U8();
    r.state = in.U8();
    in.Skip(2);
  }
  maps_ = std::move(maps);
  ends_ = std::move(ends);
  records_ = std::move(records);
  return true;
}
