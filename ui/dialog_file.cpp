#include "ui/dialog_file.h"

#include <strings.h>

#include <cstring>

#include "base/debug_trace.h"
#include "platform/files.h"

namespace {

// Names compare on at most 255 bytes copied, one trailing blank dropped.
std::string LookupName(const char* name) {
  std::string copy(name, strnlen(name, 255));
  if (!copy.empty() && copy.back() == ' ') copy.pop_back();
  return copy;
}

}  // namespace

bool CDialogFile::Open(const std::string& path) {
  Close();
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(path, bytes)) {
    DebugTrace("Can't open dialogue file %s\n", path.c_str());
    return false;
  }
  plat::ByteReader in(bytes);
  if (!in.Bytes(header, kHeaderSize)) {
    DebugTrace("Dialogue file %s is too short\n", path.c_str());
    return false;
  }
  in.Seek(0);
  const uint32_t magic = in.U32();
  in.Seek(12);
  const uint32_t count = in.U32();
  if (magic != kMagic) {
    DebugTrace("Dialogue file %s has a wrong magic\n", path.c_str());
    return false;
  }
  const uint64_t indexEnd = kHeaderSize + static_cast<uint64_t>(count) * kIndexEntrySize;
  if (indexEnd > bytes.size()) {
    DebugTrace("Dialogue file %s: %u entries do not fit the file\n", path.c_str(), count);
    return false;
  }
  std::vector<Entry> entries(count);
  in.Seek(kHeaderSize);
  uint32_t previous = static_cast<uint32_t>(indexEnd);
  for (Entry& entry : entries) {
    entry.name = in.FixedString(12);
    entry.offset = in.U32();
    if (entry.offset < previous || entry.offset > bytes.size()) {
      DebugTrace("Dialogue file %s: entry %s has a bad offset\n", path.c_str(), entry.name.c_str());
      return false;
    }
    previous = entry.offset;
  }
  index = std::move(entries);
  bytes_ = std::move(bytes);
  open_ = true;
  return true;
}

void CDialogFile::Close() {
  index.clear();
  bytes_.clear();
  std::memset(header, 0, sizeof header);
  open_ = false;
}

int CDialogFile::Find(const char* name) const {
  if (!name) return -1;
  const std::string wanted = LookupName(name);
  for (size_t i = 0; i < index.size(); ++i)
    if (strncasecmp(LookupName(index[i].name.c_str()).c_str(), wanted.c_str(), 20) == 0) return static_cast<int>(i);
  return -1;
}

std::vector<uint8_t> CDialogFile::EntryText(int entry) const {
  if (entry < 0 || entry >= static_cast<int>(index.size())) return {};
  const uint32_t begin = index[entry].offset;
  const uint32_t end =
      entry + 1 < static_cast<int>(index.size()) ? index[entry + 1].offset : static_cast<uint32_t>(bytes_.size());
  return std::vector<uint8_t>(bytes_.begin() + begin, bytes_.begin() + end);
}
