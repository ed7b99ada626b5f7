#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reads the blank-separated fields of one text line as the scripts' scan
// formats do: each field skips leading blanks; the first field that does not
// convert stops the scan, and every later field fails too.
class SLineScanner {
 public:
  explicit SLineScanner(std::string_view line) : rest_(line) {}

  // A run of non-blank characters. False when none is left, or when it is
  // longer than maxLength (TooLong() then tells the name must be refused).
  bool Word(std::string& out, size_t maxLength);
  // Decimal, optional sign; a value beyond 32 bits keeps its low 32 bits, so
  // a number written unsigned reads back as the same bits.
  bool Int(int32_t& out);
  bool Float(float& out);

  bool TooLong() const { return tooLong_; }

 private:
  void SkipBlanks();
  std::string_view NextToken() const;

  std::string_view rest_;
  bool stopped_ = false;
  bool tooLong_ = false;
};
