#include "database/record_io.h"

#include <initializer_list>

void ReadModifier(plat::ByteReader& r, MODIFIERDESC& m) {
  m.flags = r.I32();
  m.kind = r.I32();
  m.key = r.I32();
  m.period = r.I32();
  m.turns = r.I32();
  m.mode = r.I32();
  m.value = r.I32();
  m.revertFlag = r.I32();
  m.appliedTotal = r.I32();
  m.reserved = r.I32();
}

void WriteModifier(plat::ByteWriter& w, const MODIFIERDESC& m) {
  for (int32_t v :
       {m.flags, m.kind, m.key, m.period, m.turns, m.mode, m.value, m.revertFlag, m.appliedTotal, m.reserved})
    w.I32(v);
}

void ReadItemHead(plat::ByteReader& r, ITEMDESC& item) {
  item.name = r.FixedString(kItemNameSize);
  item.iconName = r.FixedString(kItemIconSize);
  item.description = r.FixedString(kItemDescriptionSize);
  for (auto& v : item.values) v = r.I32();
}

void WriteItemHead(plat::ByteWriter& w, const ITEMDESC& item) {
  w.FixedString(item.name, kItemNameSize);
  w.FixedString(item.iconName, kItemIconSize);
  w.FixedString(item.description, kItemDescriptionSize);
  for (int32_t v : item.values) w.I32(v);
}

bool ReadCount(plat::ByteReader& r, CountWidth width, size_t minBytes, size_t& count) {
  int32_t n = width == CountWidth::k16 ? r.I16() : r.I32();
  if (r.Failed() || n < 0) return false;
  if (minBytes > 0 && static_cast<size_t>(n) > r.Remaining() / minBytes) return false;
  count = static_cast<size_t>(n);
  return true;
}
