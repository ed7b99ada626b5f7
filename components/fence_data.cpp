#include "components/fence_data.h"

#include <cstring>

#include "base/debug_trace.h"
#include "platform/files.h"

namespace {

// The smallest stored size of a fence entry and of a tree node, for checking
// counts against the bytes left.
constexpr size_t kFenceEntryBytes = 24;
constexpr size_t kTreeNodeBytes = 12;
constexpr size_t kMaxFenceFileBytes = 64u * 1024u * 1024u;
// About ten hours of frames: far beyond any move, far below an overflow.
constexpr int64_t kMaxFenceFrames = 1 << 20;

// Bytes of a compose frame beyond the stored size read as zero.
COMPOSEFRAMEDESC ParseComposeFrame(const uint8_t* record) {
  plat::ByteReader r(record, COMPOSEFRAMEDESC::kSize);
  COMPOSEFRAMEDESC cf;
  r.Skip(4);
  cf.pose = r.I32();
  cf.playMode = r.I32();
  cf.flags = r.U32();
  cf.frameCount = r.I32();
  for (float& v : cf.target) v = r.F32();
  for (float& v : cf.angles) v = r.F32();
  r.Skip(20);
  cf.startOffset = r.U8();
  cf.endMargin = r.U8();
  cf.afterimageRate = r.U8();
  cf.afterimageFade = r.U8();
  return cf;
}

bool ReadFence(plat::ByteReader& r, size_t frameSize, FENCEDESC& fence) {
  fence.id = r.I32();
  const int32_t frames = r.I32();
  fence.keptValue = r.I32();
  fence.flags = r.U32();
  fence.keptValue2 = r.I32();
  const int32_t hits = r.I32();
  if (r.Failed() || frames < 0 || hits < 0 || !r.CanRead(static_cast<size_t>(hits) * 4)) return false;
  fence.hits.resize(static_cast<size_t>(hits));
  for (uint32_t& hit : fence.hits) hit = r.U32();
  if (!r.CanRead(static_cast<size_t>(frames) * frameSize)) return false;
  fence.frames.reserve(static_cast<size_t>(frames));
  int64_t length = 0;
  for (int32_t i = 0; i < frames; ++i) {
    uint8_t record[COMPOSEFRAMEDESC::kSize] = {};
    if (!r.Bytes(record, frameSize)) return false;
    fence.frames.push_back(ParseComposeFrame(record));
    // The swordsman counts a fence's frames in an int, adding pose frames.
    const int32_t count = fence.frames.back().frameCount;
    length += count;
    if (count < 0 || length > kMaxFenceFrames) return false;
  }
  return !r.Failed();
}

std::unique_ptr<CFenceTree> ReadTree(plat::ByteReader& r, int depth) {
  if (depth > CFenceData::kMaxTreeDepth) return nullptr;
  const int32_t key = r.I32();
  const int32_t id = r.I32();
  const int32_t children = r.I32();
  if (r.Failed() || children < 0 || !r.CanRead(static_cast<size_t>(children) * kTreeNodeBytes)) return nullptr;
  auto tree = std::make_unique<CFenceTree>(key, id);
  for (int32_t i = 0; i < children; ++i) {
    std::unique_ptr<CFenceTree> child = ReadTree(r, depth + 1);
    if (!child) return nullptr;
    tree->AddChild(child.release());
  }
  return tree;
}

}  // namespace

int FENCEDESC::Length() const {
  int length = 0;
  for (const COMPOSEFRAMEDESC& cf : frames) length += cf.frameCount;
  return length;
}

int CFenceTree::AddChild(CFenceTree* tree) {
  children.emplace_back(tree);
  return 1;
}

int CFenceTree::RemoveChild(int index) {
  if (index < 0 || index >= ChildCount()) return 0;
  children.erase(children.begin() + index);
  return 1;
}

int CFenceTree::CollectIds(std::vector<int>* list) const {
  if (!list) return 0;
  if (id >= 0) list->push_back(id);
  for (const auto& child : children) child->CollectIds(list);
  return list->empty() ? 0 : 1;
}

CFenceTree* CFenceTree::Clone() const {
  auto* copy = new CFenceTree(key, id);
  for (const auto& child : children) copy->AddChild(child->Clone());
  return copy;
}

std::unique_ptr<CFenceData> CFenceData::Copy() const {
  auto copy = std::make_unique<CFenceData>();
  copy->groupCount = groupCount;
  copy->fenceCount = fenceCount;
  copy->groups = groups;
  copy->header = header;
  for (const auto& tree : trees) copy->trees.emplace_back(tree ? tree->Clone() : nullptr);
  return copy;
}

std::unique_ptr<CFenceData> ReadFenceFile(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!plat::FileExists(path) || !plat::ReadWholeFile(path, bytes, kMaxFenceFileBytes)) return nullptr;
  plat::ByteReader r(bytes);
  char magic[2] = {};
  if (!r.Bytes(magic, 2) || magic[0] != 'F' || magic[1] != 'H') return nullptr;
  if (r.U32() != CFenceData::kVersion) {
    DebugTrace("Fence File Version incorrect! :%s", path.c_str());
    return nullptr;
  }
  auto data = std::make_unique<CFenceData>();
  for (int32_t& v : data->header) v = r.I32();
  r.Skip(4);
  const int32_t frameSize = r.I32();
  data->groupCount = r.I32();
  data->fenceCount = r.I32();
  const auto refuse = [&path](const char* why) {
    DebugTrace("fence file %s refused: %s", path.c_str(), why);
    return nullptr;
  };
  if (r.Failed() || data->groupCount <= 0 || data->fenceCount <= 0) return refuse("no fences");
  if (frameSize <= 0 || frameSize > COMPOSEFRAMEDESC::kSize) return refuse("compose frame size");
  const size_t entries = static_cast<size_t>(data->groupCount) * static_cast<size_t>(data->fenceCount);
  if (entries > r.Remaining() / kFenceEntryBytes) return refuse("counts beyond the data");
  data->groups.resize(static_cast<size_t>(data->groupCount));
  for (std::vector<FENCEDESC>& group : data->groups) {
    group.resize(static_cast<size_t>(data->fenceCount));
    for (FENCEDESC& fence : group)
      if (!ReadFence(r, static_cast<size_t>(frameSize), fence)) return refuse("fence entry beyond the data");
  }
  if (static_cast<size_t>(data->fenceCount) > r.Remaining() / kTreeNodeBytes) return refuse("trees beyond the data");
  for (int32_t i = 0; i < data->fenceCount; ++i) {
    std::unique_ptr<CFenceTree> tree = ReadTree(r, 1);
    if (!tree) return refuse("follow-up tree");
    data->trees.push_back(std::move(tree));
  }
  return data;
}
