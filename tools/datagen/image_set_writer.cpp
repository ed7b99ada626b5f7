#include "tools/datagen/image_set_writer.h"

#include <cstring>

namespace datagen {
namespace {

bool StartsWith(const std::vector<uint8_t>& bytes, const char* prefix, size_t n) {
  return bytes.size() >= n && std::memcmp(bytes.data(), prefix, n) == 0;
}

bool ReadableEntry(ImageSetKind kind, const std::vector<uint8_t>& entry) {
  if (kind == ImageSetKind::Texture)
    return StartsWith(entry, "BM", 2) || StartsWith(entry, "QBT", 4) || StartsWith(entry, "QBM", 3);
  return StartsWith(entry, "QBI", 4) || StartsWith(entry, "QBT", 4);
}

}  // namespace

bool WriteImageSet(const ImageSetDesc& set, plat::ByteWriter& out, std::string& error) {
  if (set.entries.size() > kMaxSetEntries) {
    error = "a set holds at most 100 entries";
    return false;
  }
  uint64_t offset = 8 + 4 * set.entries.size();
  std::vector<uint32_t> offsets;
  for (size_t i = 0; i < set.entries.size(); ++i) {
    if (!ReadableEntry(set.kind, set.entries[i])) {
      error = "set entry " + std::to_string(i) + " is not an image the set's reader takes";
      return false;
    }
    if (offset > 0xFFFFFFFFu) {
      error = "set larger than 4 GiB";
      return false;
    }
    offsets.push_back(static_cast<uint32_t>(offset));
    offset += set.entries[i].size();
  }
  out.Bytes(set.kind == ImageSetKind::Texture ? "QST" : "QSI", 4);
  out.U32(static_cast<uint32_t>(set.entries.size()));
  for (uint32_t o : offsets) out.U32(o);
  for (const auto& entry : set.entries) out.Bytes(entry.data(), entry.size());
  return true;
}

}  // namespace datagen
