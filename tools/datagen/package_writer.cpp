#include "tools/datagen/package_writer.h"

#include <algorithm>

namespace datagen {
namespace {

const char* const kAssetExtensions[] = {".qbt", ".bmp", ".qbm", ".qbi", ".qb3", ".qx3",
                                        ".qbc", ".qxc", ".qss", ".qsk", ".qmt"};

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool CheckName(const std::string& name, std::string& error) {
  size_t dot = name.find('.');
  bool known = dot != std::string::npos && std::find(std::begin(kAssetExtensions), std::end(kAssetExtensions),
                                                     name.substr(dot)) != std::end(kAssetExtensions);
  if (name.size() > kMaxPackageName || dot == 0 || !known ||
      name.find_first_of(std::string("\\/\0", 3)) != std::string::npos) {
    error = "package entry name \"" + name + "\" is not a base name and asset extension of at most 31 characters";
    return false;
  }
  return true;
}

}  // namespace

bool WritePackage(const std::vector<PackageFile>& files, plat::ByteWriter& out, std::string& error) {
  struct Entry {
    std::string name;
    const std::vector<uint8_t>* data;
  };
  std::vector<Entry> entries;
  for (const PackageFile& file : files) {
    std::string name = Lower(file.name);
    if (!CheckName(name, error)) return false;
    entries.push_back({name, &file.data});
  }
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  for (size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].name == entries[i - 1].name) {
      error = "package entry \"" + entries[i].name + "\" appears twice";
      return false;
    }
  }
  uint64_t offset = kPackageHeaderBytes + kPackageEntryBytes * entries.size();
  plat::ByteWriter directory;
  for (const Entry& entry : entries) {
    if (offset + entry.data->size() > 0xFFFFFFFFu) {
      error = "package larger than 4 GiB";
      return false;
    }
    directory.U32(0);
    directory.FixedString(entry.name, 32);
    directory.U32(static_cast<uint32_t>(offset));
    directory.U32(static_cast<uint32_t>(entry.data->size()));
    offset += entry.data->size();
  }
  out.Bytes("qxo ", 5);
  out.Zeros(7);
  out.U32(static_cast<uint32_t>(entries.size()));
  out.Bytes(directory.Bytes().data(), directory.Size());
  for (const Entry& entry : entries) out.Bytes(entry.data->data(), entry.data->size());
  return true;
}

}  // namespace datagen
