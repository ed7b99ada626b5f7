#pragma once
#include <cstdint>
#include <string>
#include <vector>

// A dialogue text file in memory: a 20-byte header (magic 0x1234 at 0, the
// entry count at 12), 16-byte index entries (a name of 12 bytes, the text's
// file offset at 12) and the entry texts, each running to the next entry's
// offset or, for the last, to the end of the file.
class CDialogFile {
 public:
  static constexpr uint32_t kMagic = 0x1234;
  static constexpr size_t kHeaderSize = 20;
  static constexpr size_t kIndexEntrySize = 16;

  struct Entry {
    std::string name;
    uint32_t offset = 0;
  };

  // Reads the file whole. False (with a diagnostic) for a missing file, a
  // wrong magic or an index that does not fit the file: a count beyond it,
  // offsets into the header or index, going backwards or past the end.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return open_; }

  // The first entry whose name matches on at most 20 characters without
  // regard to case, one trailing blank dropped from each name; -1 for none.
  int Find(const char* name) const;
  // The bytes of an entry's text; empty for an index out of range.
  std::vector<uint8_t> EntryText(int entry) const;

  uint8_t header[kHeaderSize] = {};
  std::vector<Entry> index;

 private:
  std::vector<uint8_t> bytes_;
  bool open_ = false;
};
