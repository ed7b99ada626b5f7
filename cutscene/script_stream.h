#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// A cut-scene script held in memory, read either as little-endian records
// (the binary form) or as text lines (the text form).
class SScriptStream {
 public:
  static constexpr size_t kMaxLineLength = 255;

  explicit SScriptStream(std::vector<uint8_t> bytes);
  SScriptStream(const SScriptStream&) = delete;
  SScriptStream& operator=(const SScriptStream&) = delete;

  plat::ByteReader& Binary() { return reader_; }

  // The next line without CR and LF. False at the end of the stream, and for
  // a line longer than kMaxLineLength, which fails the stream for good.
  bool ReadLine(std::string& line);
  bool LineTooLong() const { return lineTooLong_; }

 private:
  std::vector<uint8_t> bytes_;
  plat::ByteReader reader_;
  size_t linePos_ = 0;
  bool lineTooLong_ = false;
};

// A fixed-size name field: the text up to its first NUL, and never more than
// size - 1 characters, so a field without a terminator still ends.
std::string ReadNameField(plat::ByteReader& reader, size_t size);
