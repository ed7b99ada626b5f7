// The "Talk Data" block of a saved game: the values of the talk variables.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "base/debug_trace.h"
#include "talk/base_talk_player.h"

namespace {

constexpr char kMagic[10] = "Talk Data";  // with its zero byte
constexpr size_t kMaxNameLength = 255;

void PutInt32(std::vector<uint8_t>& out, int32_t value) {
  auto u = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

bool ReadBytes(std::FILE* file, void* into, size_t count) { return std::fread(into, 1, count, file) == count; }

bool ReadInt32(std::FILE* file, int32_t& value) {
  uint8_t b[4];
  if (!ReadBytes(file, b, 4)) return false;
  value = static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                               static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
  return true;
}

}  // namespace

int CBaseTalkPlayer::WriteTalkData(std::FILE* file) {
  std::vector<uint8_t> block(kMagic, kMagic + sizeof kMagic);
  PutInt32(block, 0);
  int32_t count = 0;
  for (const auto& [name, variable] : variables) {
    if (name.size() > kMaxNameLength) {
      DebugTrace("talk variable \"%.32s...\" has a name too long to save; left out\n", name.c_str());
      continue;
    }
    block.push_back(static_cast<uint8_t>(name.size()));
    block.insert(block.end(), name.begin(), name.end());
    PutInt32(block, variable->value);
    ++count;
  }
  // The count goes in front of the records it counts.
  for (int i = 0; i < 4; ++i) block[sizeof kMagic + i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
  if (!file || std::fwrite(block.data(), 1, block.size(), file) != block.size()) return 0;
  return static_cast<int>(block.size());
}

int CBaseTalkPlayer::ReadTalkData(std::FILE* file) {
  if (!file) return 0;
  char magic[sizeof kMagic];
  if (!ReadBytes(file, magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof kMagic) != 0) return 0;

  // The whole block is read before anything changes, so a short or damaged
  // block leaves the variables as they were.
  int32_t count = 0;
  if (!ReadInt32(file, count) || count < 0) return 0;
  std::vector<std::pair<std::string, int32_t>> records;
  int length = static_cast<int>(sizeof kMagic) + 4;
  for (int32_t i = 0; i < count; ++i) {
    uint8_t nameLength = 0;
    if (!ReadBytes(file, &nameLength, 1)) return 0;
    std::string name(nameLength, '\0');
    int32_t value = 0;
    if (!ReadBytes(file, name.data(), nameLength) || !ReadInt32(file, value)) return 0;
    records.emplace_back(std::move(name), value);
    length += 5 + nameLength;
  }

  for (auto& [name, value] : records) {
    CVarExpr* variable = FindVariable(name);
    if (!variable) {
      AddVariable(name, std::make_unique<CVarExpr>(name));
      variable = FindVariable(name);
    }
    variable->value = value;
  }
  return length;
}
