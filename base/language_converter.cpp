#include "base/language_converter.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "platform/environment.h"

namespace {

std::string TablePath(const std::string& directory, const char* name) {
  if (directory.empty() || !*name) return {};
  return directory + "\\" + name + ".bin";
}

// Replaces the pair at text[0..1] by the table's two bytes at offset, or
// leaves it when the table does not reach that far.
void ReplacePair(char* text, const std::vector<uint8_t>& table, size_t offset) {
  if (offset + 1 >= table.size()) return;
  text[0] = static_cast<char>(table[offset]);
  text[1] = static_cast<char>(table[offset + 1]);
}

}  // namespace

CLanguageConverter::CLanguageConverter() {
  std::error_code error;
  directory = std::filesystem::current_path(error).string();
  gbToBigPath = TablePath(directory, "GBTOBig");
  bigToGbPath = TablePath(directory, "BigTOGB");
}

void CLanguageConverter::Configure(int from, int to, std::vector<uint8_t> table) {
  source = from;
  target = to;
  if (from == kGb2312 && to == kBig5) gbToBig = std::move(table);
  if (from == kBig5 && to == kGb2312) bigToGb = std::move(table);
}

void CLanguageConverter::Convert(char* text) const {
  if (!text) return;
  const bool toBig = source == kGb2312 && target == kBig5;
  const bool toGb = source == kBig5 && target == kGb2312;
  if (!(toBig && !gbToBig.empty()) && !(toGb && !bigToGb.empty())) return;
  auto* bytes = reinterpret_cast<unsigned char*>(text);
  // Not the game's high-bit walk: a pair is one only where the tables have
  // rows for it (leads from 0xA1, each direction with its own trail floor).
  for (size_t i = 0; bytes[i];) {
    const unsigned lead = bytes[i];
    const unsigned trail = bytes[i + 1];
    const unsigned trailFloor = toBig ? 0xA1 : 0x40;
    if (lead < 0xA1 || trail < trailFloor) {
      ++i;
      continue;
    }
    if (toBig) {
      if (lead >= 0xA2 && lead <= 0xFE) {
        ReplacePair(text + i, gbToBig, 2 * (94 * (lead - 0xA1) + (trail - 0xA1)));
      }
    } else {
      ReplacePair(text + i, bigToGb, 2 * (191 * (lead - 0xA1) + (trail - 0x40)));
    }
    i += 2;
  }
}

CLanguageConverter* GetLanguageConverter() {
  static std::unique_ptr<CLanguageConverter> converter;
  if (!converter) converter = std::make_unique<CLanguageConverter>();
  return converter.get();
}

int GetSystemDefaultLanguage() { return plat::UserLocale().starts_with("zh_CN") ? 0x0804 : 0x0409; }
