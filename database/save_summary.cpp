#include "database/save_summary.h"

void SAVESUMMARYDESC::Write(plat::ByteWriter& w) const {
  w.Bytes(header, sizeof header);
  w.I16(version);
  w.I16(entries);
  w.I16(leader);
  w.I16(mapIndex);
  w.I16(level);
  w.Zeros(2);
  w.I32(value2);
  w.I32(money);
  for (float v : position) w.F32(v);
  for (float v : facing) w.F32(v);
  w.Bytes(name, sizeof name);
  w.Zeros(3);
}

void SAVESUMMARYDESC::Read(plat::ByteReader& r) {
  r.Bytes(header, sizeof header);
  header[sizeof header - 1] = '\0';
  version = r.I16();
  entries = r.I16();
  leader = r.I16();
  mapIndex = r.I16();
  level = r.I16();
  r.Skip(2);
  value2 = r.I32();
  money = r.I32();
  for (float& v : position) v = r.F32();
  for (float& v : facing) v = r.F32();
  r.Bytes(name, sizeof name);
  r.Skip(3);
}
