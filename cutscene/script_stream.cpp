#include "cutscene/script_stream.h"

SScriptStream::SScriptStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)), reader_(bytes_) {}

bool SScriptStream::ReadLine(std::string& line) {
  line.clear();
  if (lineTooLong_ || linePos_ >= bytes_.size()) return false;
  while (linePos_ < bytes_.size()) {
    char c = static_cast<char>(bytes_[linePos_++]);
    if (c == '\n') break;
    if (c == '\r') continue;
    if (line.size() == kMaxLineLength) {
      lineTooLong_ = true;
      line.clear();
      return false;
    }
    line.push_back(c);
  }
  return true;
}

std::string ReadNameField(plat::ByteReader& reader, size_t size) {
  std::string name = reader.FixedString(size);
  if (size > 0 && name.size() > size - 1) name.resize(size - 1);
  return name;
}
