#include "engine/media/texture_sets.h"

#include "platform/files.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool SplitSetNumber(const std::string& baseName, std::string* setBaseName, int* number) {
  const size_t n = baseName.size();
  if (n < 3 || !IsDigit(baseName[n - 2]) || !IsDigit(baseName[n - 1])) return false;
  if (setBaseName) *setBaseName = baseName.substr(0, n - 2);
  if (number) *number = (baseName[n - 2] - '0') * 10 + (baseName[n - 1] - '0');
  return true;
}

bool FindSetEntry(const std::vector<uint8_t>& set, int number, size_t* entryOffset) {
  plat::ByteReader r(set);
  r.Skip(4);
  const uint32_t count = r.U32();
  if (r.Failed() || number < 0 || static_cast<uint32_t>(number) >= count) return false;
  if (count > r.Remaining() / 4) return false;  // the offset table runs past the file
  r.Skip(4u * static_cast<uint32_t>(number));
  const uint32_t offset = r.U32();
  if (r.Failed() || offset >= set.size()) return false;
  if (entryOffset) *entryOffset = offset;
  return true;
}
