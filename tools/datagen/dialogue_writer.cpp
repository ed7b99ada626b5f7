#include "tools/datagen/dialogue_writer.h"

#include "platform/files.h"
#include "tools/datagen/output_file.h"

namespace datagen {

bool BuildDialogueFile(const std::vector<DialogueEntry>& entries, std::vector<uint8_t>& out, std::string& error) {
  plat::ByteWriter bytes;
  bytes.U32(kDialogueMagic);
  bytes.U32(0);
  bytes.U32(0);
  bytes.U32(static_cast<uint32_t>(entries.size()));
  bytes.U32(0);
  size_t offset = kDialogueHeaderSize + entries.size() * kDialogueIndexEntrySize;
  for (const DialogueEntry& entry : entries) {
    if (entry.name.size() > kDialogueNameMax) {
      error = "dialogue entry name too long: " + entry.name;
      return false;
    }
    bytes.FixedString(entry.name, 12);
    bytes.U32(static_cast<uint32_t>(offset));
    offset += entry.text.size();
  }
  for (const DialogueEntry& entry : entries)
    for (char c : entry.text) bytes.U8(static_cast<uint8_t>(c));
  out = bytes.Bytes();
  return true;
}

bool WriteDialogueFile(const std::string& path, const std::vector<DialogueEntry>& entries, std::string& error) {
  std::vector<uint8_t> bytes;
  return BuildDialogueFile(entries, bytes, error) && WriteOutputFile(path, bytes, error);
}

}  // namespace datagen
