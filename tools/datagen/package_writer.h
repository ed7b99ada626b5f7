#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Package archive (".qxo"), little-endian:
//   header, 16 bytes: "qxo " and a zero byte, 7 zero bytes, uint32 entry count;
//   entries, 44 bytes each: 4 zero bytes, name[32] NUL padded, uint32 data
//   offset from the file start, uint32 data size;
//   then the entries' data, plain file contents, in directory order.
// Entries are sorted by name in unsigned byte order, as the lookup's binary
// search needs. Names are lower-cased (the lookup lower-cases what it is
// asked for) and must be a base name without '.', '\' or '/' plus one of the
// asset extensions the lookup tries, at most 31 characters so that the field
// keeps its terminator.
namespace datagen {

struct PackageFile {
  std::string name;  // e.g. "tree.qbt"
  std::vector<uint8_t> data;
};

constexpr size_t kPackageHeaderBytes = 16;
constexpr size_t kPackageEntryBytes = 44;
constexpr size_t kMaxPackageName = 31;

bool WritePackage(const std::vector<PackageFile>& files, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
