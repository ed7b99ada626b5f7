#include "battle/action_table.h"

#include <cstring>

#include "base/debug_trace.h"
#include "platform/files.h"

float ACTIONDESC::Float(int i) const {
  float f;
  const int32_t bits = (*this)[i];
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

void ACTIONDESC::SetFloat(int i, float v) { std::memcpy(&ints[static_cast<size_t>(i)], &v, sizeof v); }

int ACTIONDESC::HitCount() const {
  const int n = (*this)[HIT_COUNT];
  return n < 0 ? 0 : (n > kMaxHits ? kMaxHits : n);
}

int CActionTable::Load(const std::string& path) {
  records.clear();
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes, 64u * 1024u * 1024u)) {
    DebugTrace("Action table %s cannot be read\n", path.c_str());
    return 0;
  }
  const int parsed = Parse(bytes);
  if (!parsed || records.size() < declared)
    DebugTrace("Action table %s holds %zu of its %zu records\n", path.c_str(), records.size(), declared);
  return parsed;
}

int CActionTable::Parse(const std::vector<uint8_t>& bytes) {
  records.clear();
  plat::ByteReader in(bytes);
  in.Skip(8);
  const int32_t count = in.I32();
  declared = 0;
  if (in.Failed()) return 0;
  declared = count > 0 ? static_cast<size_t>(count) : 0;
  for (int32_t r = 0; r < count; ++r) {
    if (!in.CanRead(12)) break;
    ACTIONRECORD record;
    record.type = in.I32();
    const int32_t transitions = in.I32();
    const int32_t actions = in.I32();
    if (transitions < 0 || actions < 0) break;
    const uint64_t need = uint64_t(transitions) * kTransitionBytes + uint64_t(actions) * kActionBytes;
    if (need > in.Remaining()) break;
    record.transitions.resize(static_cast<size_t>(transitions));
    for (ACTIONTRANSITION& t : record.transitions) {
      t.fromAction = in.I32();
      t.toAction = in.I32();
      t.unused = in.I32();
      t.earliest = in.I32();
      t.latest = in.I32();
      t.start = in.I32();
    }
    record.actions.resize(static_cast<size_t>(actions));
    for (ACTIONDESC& a : record.actions)
      for (int32_t& v : a.ints) v = in.I32();
    records.push_back(std::move(record));
  }
  return 1;
}

const ACTIONRECORD* CActionTable::FindActionRecord(int type) const {
  for (const ACTIONRECORD& r : records)
    if (r.type == type) return &r;
  return nullptr;
}
