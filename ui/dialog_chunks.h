#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One page of a dialogue entry as parsing found it.
struct DIALOGPAGEDESC {
  std::string speaker;      // at most 32 bytes
  uint32_t textStart = 0;   // just after the speaker's ':'
  int32_t textEnd = -1;     // the byte before the page's '#'
  int controlBytes = 0;     // line feeds, carriage returns, '$' and '^'
  int doubleByteChars = 0;  // after the ':'
  int longestLine = 0;      // in characters
  int lines = 0;
};

// The text of the dialogue entry in use, with a read position.
class CGDialogChunks {
 public:
  explicit CGDialogChunks(std::vector<uint8_t> bytes) : buffer(std::move(bytes)) {}

  // One character: a byte of 0x80 or more takes the next byte with it (a lead
  // byte at the very end is read alone). 0, or -1 at the end.
  int ReadChar(uint8_t out[2], int* length);
  // 0 at or past the end.
  int Seek(uint32_t position);
  uint32_t Size() const { return static_cast<uint32_t>(buffer.size()); }
  // The read position moves with the text behind it.
  void Insert(uint32_t at, const uint8_t* bytes, uint32_t n);
  void Cut(uint32_t at, uint32_t n);

  std::vector<uint8_t> buffer;
  std::vector<DIALOGPAGEDESC> pages;
  uint32_t position = 0;
};
