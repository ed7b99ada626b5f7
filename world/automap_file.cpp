// The ".map" file: every visited scene's explored cells beside a saved game.
//   0  float version 3.0;  4  int32 n;  8  64-byte tag (a Big5 text, a zero);
//   72 n directory entries of 60 bytes, in ascending order of the scene name:
//      32-byte name, zero-terminated; float originX, originY, scale;
//      int32 width, height, byteCount; uint32 offset of the bits in the file;
//   then each scene's bits, byteCount bytes, in directory order.
#include <cstring>

#include "base/debug_trace.h"
#include "platform/files.h"
#include "world/automap.h"

namespace {

constexpr float kVersion = 3.0f;
constexpr size_t kTagSize = 64;
constexpr size_t kHeaderSize = 8 + kTagSize;
constexpr size_t kEntrySize = 60;
constexpr size_t kNameSize = 32;
constexpr int kMaxMapSide = 1024;
constexpr size_t kMaxFileSize = 64u * 1024u * 1024u;
// "The file that stores the automap" in Big5.
constexpr uint8_t kTag[] = {0xa5, 0xce, 0xa8, 0xd3, 0xc0, 0x78, 0xa6, 0x73, 0xa6, 0xdb, 0xb0,
                            0xca, 0xa6, 0x61, 0xb9, 0xcf, 0xaa, 0xba, 0xc0, 0xc9, 0xae, 0xd7};

struct DirectoryEntry {
  std::string name;
  CExploredCells::Info info;
  uint32_t offset = 0;
};

// The entry's name, or nothing when its field holds no terminating zero.
bool ReadName(plat::ByteReader& in, std::string* name) {
  char field[kNameSize];
  in.Bytes(field, kNameSize);
  const void* end = std::memchr(field, 0, kNameSize);
  if (!end) return false;
  name->assign(field, static_cast<size_t>(static_cast<const char*>(end) - field));
  return true;
}

}  // namespace

int CAutomap::SaveFile(const char* path) {
  if (!path) return -1;
  plat::ByteWriter out;
  out.F32(kVersion);
  out.I32(static_cast<int32_t>(explored_.size()));
  out.Bytes(kTag, sizeof kTag);
  out.Zeros(kTagSize - sizeof kTag);
  uint32_t offset = static_cast<uint32_t>(kHeaderSize + kEntrySize * explored_.size());
  for (const auto& [key, cells] : explored_) {
    out.FixedString(key, kNameSize);
    CExploredCells::Info info = cells.GetInfo();
    out.F32(info.originX);
    out.F32(info.originY);
    out.F32(info.scale);
    out.I32(info.width);
    out.I32(info.height);
    out.I32(info.byteCount);
    out.U32(offset);
    offset += static_cast<uint32_t>(info.byteCount);
  }
  for (const auto& entry : explored_) out.Bytes(entry.second.Bits().data(), entry.second.Bits().size());
  return plat::WriteFileAtomic(path, out.Bytes().data(), out.Size()) ? 0 : -1;
}

int CAutomap::LoadFile(const char* path, const char* sceneName, HOBJECT terrain) {
  std::vector<uint8_t> bytes;
  if (!path || !plat::ReadWholeFile(path, bytes, kMaxFileSize)) return -1;
  plat::ByteReader in(bytes);
  in.F32();
  const int32_t count = in.I32();
  if (in.Failed() || count < 0 || !in.Skip(kTagSize) || static_cast<uint64_t>(count) * kEntrySize > in.Remaining())
    return -1;
  std::vector<DirectoryEntry> directory(static_cast<size_t>(count));
  std::vector<bool> named(directory.size());
  for (size_t i = 0; i < directory.size(); ++i) {
    DirectoryEntry& e = directory[i];
    named[i] = ReadName(in, &e.name);
    e.info.originX = in.F32();
    e.info.originY = in.F32();
    e.info.scale = in.F32();
    e.info.width = in.I32();
    e.info.height = in.I32();
    e.info.byteCount = in.I32();
    e.offset = in.U32();
  }
  explored_.clear();
  current_ = explored_.end();
  for (size_t i = 0; i < directory.size(); ++i) {
    const DirectoryEntry& e = directory[i];
    const CExploredCells::Info& info = e.info;
    if (!named[i]) {
      DebugTrace("automap: entry %zu has no terminated name, dropped\n", i);
      continue;
    }
    if (info.width < 1 || info.width > kMaxMapSide || info.height < 1 || info.height > kMaxMapSide) {
      DebugTrace("automap: %s has a map of %d x %d, dropped\n", e.name.c_str(), info.width, info.height);
      continue;
    }
    if (info.byteCount < CExploredCells::BytesFor(info.width, info.height, cellSize_)) {
      DebugTrace("automap: %s has %d bytes, fewer than its cells need, dropped\n", e.name.c_str(), info.byteCount);
      continue;
    }
    if (e.offset > bytes.size() || static_cast<size_t>(info.byteCount) > bytes.size() - e.offset) {
      DebugTrace("automap: %s has its cells beyond the file, dropped\n", e.name.c_str());
      continue;
    }
    explored_.emplace(SceneKey(e.name.c_str()),
                      CExploredCells(info.width, info.height, info.originX, info.originY, info.scale, cellSize_,
                                     bytes.data() + e.offset, info.byteCount));
  }
  BuildForScene(sceneName, terrain, explored_.count(SceneKey(sceneName)) ? 1 : 0);
  return 0;
}
