#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Dialogue text file (".dlg"), little-endian:
//   offset 0: uint32 magic 0x1234;
//   offset 4: 8 bytes, written 0;
//   offset 12: uint32 entry count n;
//   offset 16: 4 bytes, written 0;
//   offset 20: n index entries of 16 bytes: the name, 12 bytes NUL-padded (at
//     most 11 characters), then uint32 the file offset of the entry's text;
//   then the entry texts in index order, each running to the next entry's
//     offset (the last to the end of the file); offsets therefore ascend.
// An entry text is Big5 bytes in pages, each "speaker:" then the text and
// '#'; '/' ends the entry. Within a page: line feed a new line, carriage
// return ignored, '$' cyan, '^' highlight on and off, '*' in a speaker
// name stands for the hero's name.
namespace datagen {

struct DialogueEntry {
  std::string name;
  std::string text;
};

constexpr uint32_t kDialogueMagic = 0x1234;
constexpr size_t kDialogueHeaderSize = 20;
constexpr size_t kDialogueIndexEntrySize = 16;
constexpr size_t kDialogueNameMax = 11;

// False for a name over 11 characters.
bool BuildDialogueFile(const std::vector<DialogueEntry>& entries, std::vector<uint8_t>& out, std::string& error);
bool WriteDialogueFile(const std::string& path, const std::vector<DialogueEntry>& entries, std::string& error);

}  // namespace datagen
