#include "database/scene_records.h"

#include "platform/files.h"

std::string TRIGGERDESC::WaveName() const {
  return plat::ByteReader(typeData.data(), typeData.size()).FixedString(typeData.size());
}

int32_t TRIGGERDESC::Value() const { return plat::ByteReader(typeData.data(), typeData.size()).I32(); }

int32_t TRIGGERDESC::Level() const {
  plat::ByteReader r(typeData.data(), typeData.size());
  r.Skip(4);
  return r.I32();
}
