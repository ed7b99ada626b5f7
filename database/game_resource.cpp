#include "database/game_resource.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "base/debug_trace.h"
#include "platform/files.h"

CGameResource* g_gameResource = nullptr;

namespace {

const CGameResource* g_messageResource = nullptr;

constexpr int kHeaderCountOffset = 46;
constexpr int kEntriesOffset = 48;
constexpr int kEntrySize = 12;
constexpr int kIndexRecordSize = 12;
constexpr uint16_t kIndexedBit = 0x8000;

bool IsIndexedKind(int kind) { return kind == 8 || kind == 9 || kind == 21; }
bool IsBlockOnlyKind(int kind) {
  return kind == 26 || kind == 27 || kind == 32 || kind == 33 || kind == 34 || kind == 36;
}

std::string FieldString(const uint8_t* bytes, size_t size) { return plat::ByteReader(bytes, size).FixedString(size); }

int16_t FieldI16(const uint8_t* bytes) { return static_cast<int16_t>(bytes[0] | (bytes[1] << 8)); }

template <typename Row>
std::vector<Row> RawRows(std::span<const uint8_t> block, int count) {
  std::vector<Row> rows(static_cast<size_t>(count));
  for (size_t i = 0; i < rows.size(); ++i) std::memcpy(rows[i].bytes.data(), block.data() + i * Row::kSize, Row::kSize);
  return rows;
}

// Rows the block really holds, whatever the section claimed.
int RowsHeld(std::span<const uint8_t> block, int count, int rowSize) {
  return std::min(count, static_cast<int>(block.size() / static_cast<size_t>(rowSize)));
}

}  // namespace

std::string NPCDESC::Label() const { return FieldString(bytes.data(), 12); }
std::string NPCDESC::Model() const { return FieldString(bytes.data() + 12, 12); }
int16_t NPCDESC::TableIndex() const { return FieldI16(bytes.data() + 18); }
std::string NPCDESC::Name() const { return FieldString(bytes.data() + 24, 8); }
int16_t NPCDESC::Role() const { return FieldI16(bytes.data() + 38); }

std::string MAPDESC::Caption() const { return FieldString(bytes.data(), 12); }
std::string MAPDESC::SceneName() const { return FieldString(bytes.data() + 12, 12); }
int16_t MAPDESC::BattleScene(int i) const { return i == 0 || i == 1 ? FieldI16(bytes.data() + 28 + 4 * i) : 0; }
int16_t MAPDESC::BossScene() const { return FieldI16(bytes.data() + 36); }
int16_t MAPDESC::Enemy(int i) const { return i >= 0 && i < kEnemySlots ? FieldI16(bytes.data() + 44 + 2 * i) : 0; }

CGameResource::~CGameResource() {
  if (g_gameResource == this) g_gameResource = nullptr;
  if (g_messageResource == this) g_messageResource = nullptr;
}

std::string CGameResource::PathOf(const char* name) {
  return std::string(".\\Resource\\") + (name ? name : "Zudur.res");
}

void CGameResource::Open(const char* name) {
  Clear();
  const std::string path = PathOf(name);
  std::unique_ptr<plat::File> file = plat::File::OpenRead(path);
  if (file) {
    ReadSections(*file, path);
  } else {
    DebugTrace(plat::DebugLevel::Error, "Game resource %s not found\n", path.c_str());
  }
  ParseTables();
  g_gameResource = this;
}

void CGameResource::Clear() {
  for (Section& s : sections_) s = Section{};
  numbers_ = {};
  npcs_.clear();
  maps_.clear();
  events_.clear();
  actions_.clear();
  messageOffsets_.clear();
}

void CGameResource::ReadSections(plat::File& file, const std::string& path) {
  const int64_t fileSize = file.Size();
  uint8_t head[2] = {};
  if (!file.Seek(kHeaderCountOffset) || file.Read(head, 2) != 2) {
    DebugTrace("Game resource %s: no section count\n", path.c_str());
    return;
  }
  const int sectionCount = FieldI16(head);
  for (int i = 0; i < sectionCount; ++i) {
    uint8_t entry[kEntrySize];
    if (!file.Seek(kEntriesOffset + int64_t{i} * kEntrySize) || file.Read(entry, kEntrySize) != kEntrySize) {
      DebugTrace("Game resource %s: entry %d lies beyond the file\n", path.c_str(), i);
      return;
    }
    plat::ByteReader r(entry, kEntrySize);
    const uint16_t kindWord = r.U16();
    r.Skip(2);
    const int count = std::max<int>(0, r.I16());
    const uint16_t size = r.U16();
    const uint32_t offset = r.U32();
    const int kind = kindWord & ~kIndexedBit;
    if (kind == 0) return;
    if (kind > kKinds) continue;

    // Data beyond the file is not kept.
    size_t held = 0;
    if (offset < static_cast<uint64_t>(fileSize))
      held = static_cast<size_t>(std::min<int64_t>(size, fileSize - offset));
    if (held < size) DebugTrace("Game resource %s: section of kind %d is cut by the file's end\n", path.c_str(), kind);
    std::vector<uint8_t> bytes(held);
    if (held && (!file.Seek(offset) || file.Read(bytes.data(), held) != held)) bytes.clear();

    std::vector<uint8_t> index;
    if (kindWord & kIndexedBit) {
      size_t indexBytes = std::min(bytes.size(), static_cast<size_t>(count) * kIndexRecordSize);
      index.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(indexBytes));
      bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(indexBytes));
    }
    Store(kind, count, index, std::move(bytes));
  }
}

void CGameResource::Store(int kind, int count, const std::vector<uint8_t>& index, std::vector<uint8_t> data) {
  if (kind == 28 || kind == 29) {
    std::array<uint8_t, kNumberBlockSize>& block = numbers_[kind - 28];
    block = {};
    if (!data.empty()) std::memcpy(block.data(), data.data(), std::min(data.size(), block.size()));
    return;
  }
  Section& s = sections_[kind];
  s = Section{};
  const size_t dataSize = data.size();
  s.data = std::move(data);
  s.data.push_back(0);  // texts stay NUL-ended even when the file's are not
  if (IsIndexedKind(kind)) {
    size_t records = std::min(index.size() / kIndexRecordSize, static_cast<size_t>(kMaxItems));
    if (index.size() / kIndexRecordSize > records)
      DebugTrace("Game resource: kind %d keeps %d of its items\n", kind, kMaxItems);
    plat::ByteReader r(index);
    size_t at = 0;
    for (size_t i = 0; i < records; ++i) {
      r.Seek(i * kIndexRecordSize + 4);
      Item item;
      item.value = r.I16();
      size_t length = r.U16();
      size_t start = std::min(at, dataSize);
      item.data = std::span<const uint8_t>(s.data.data() + start, std::min(length, dataSize - start));
      at += length;
      s.items.push_back(item);
    }
  } else if (!IsBlockOnlyKind(kind)) {
    s.count = std::min<size_t>(static_cast<size_t>(count), dataSize);
  }
}

void CGameResource::ParseTables() {
  npcs_ = RawRows<NPCDESC>(Block(6), RowsHeld(Block(6), Count(6), NPCDESC::kSize));
  maps_ = RawRows<MAPDESC>(Block(25), RowsHeld(Block(25), Count(25), MAPDESC::kSize));

  std::span<const uint8_t> events = Block(30);
  plat::ByteReader er(events.data(), events.size());
  events_.resize(static_cast<size_t>(RowsHeld(events, Count(30), EVENTDESC::kSize)));
  for (EVENTDESC& e : events_) {
    er.Bytes(e.name, sizeof e.name);
    e.name[sizeof e.name - 1] = 0;
    e.runCount = er.U8();
    e.conditionCount = er.U8();
    e.actionCount = er.U8();
    e.firstAction = er.I16();
  }

  std::span<const uint8_t> actions = Block(31);
  plat::ByteReader ar(actions.data(), actions.size());
  actions_.resize(static_cast<size_t>(RowsHeld(actions, Count(31), EVENTACTIONDESC::kSize)));
  for (EVENTACTIONDESC& a : actions_) {
    a.type = ar.U8();
    a.argument = ar.U8();
    a.value = ar.I16();
  }

  std::span<const uint8_t> offsets = Block(33);
  plat::ByteReader orr(offsets.data(), offsets.size());
  messageOffsets_.resize(offsets.size() / 2);
  for (int16_t& o : messageOffsets_) o = orr.I16();
}

const std::array<uint8_t, CGameResource::kNumberBlockSize>& CGameResource::NumberBlock(int kind) const {
  return numbers_[kind == 29 ? 1 : 0];
}

int16_t CGameResource::EventBase() const { return FieldI16(numbers_[0].data() + 2); }
int16_t CGameResource::TriggerBase() const { return FieldI16(numbers_[1].data() + 2); }

const char* CGameResource::MessageText(int n) const {
  const Section& texts = sections_[34];
  if (messageOffsets_.empty() || texts.data.empty()) return nullptr;
  int offset = 0;
  if (n >= 2) {
    if (static_cast<size_t>(n - 1) >= messageOffsets_.size()) return nullptr;
    offset = messageOffsets_[static_cast<size_t>(n - 1)];
  }
  if (offset < 0 || static_cast<size_t>(offset) >= texts.data.size() - 1) return nullptr;
  return reinterpret_cast<const char*>(texts.data.data() + offset);
}

int CGameResource::Count(int kind) const {
  return kind >= 1 && kind <= kKinds ? sections_[static_cast<size_t>(kind)].count : 0;
}

std::span<const uint8_t> CGameResource::Block(int kind) const {
  if (kind < 1 || kind > kKinds) return {};
  const std::vector<uint8_t>& data = sections_[static_cast<size_t>(kind)].data;
  return data.empty() ? std::span<const uint8_t>() : std::span<const uint8_t>(data.data(), data.size() - 1);
}

const std::vector<CGameResource::Item>& CGameResource::Items(int kind) const {
  static const std::vector<Item> none;
  return kind >= 1 && kind <= kKinds ? sections_[static_cast<size_t>(kind)].items : none;
}

void SetMessageResource(const CGameResource* resource) { g_messageResource = resource; }

const char* GetMessageString(int n) { return g_messageResource ? g_messageResource->MessageText(n) : nullptr; }
