#include "engine/media/packages.h"

#include <cstring>

#include "engine/core/engine_state.h"
#include "engine/media/data_directories.h"
#include "engine/media/path_text.h"
#include "platform/debug_output.h"

PACKAGEDESC g_texturePackage;
PACKAGEDESC g_imagePackage;
PACKAGEDESC g_modelPackage;
PACKAGEDESC g_kind3Package;
PACKAGEDESC g_kind4Package;

namespace {

const uint8_t kMagic[5] = {'q', 'x', 'o', ' ', 0};

struct KindRule {
  std::vector<const char*> extensions;  // tried in order; also the explicit ones
  std::vector<const char*> looseFirst;  // override files that beat the package
};

const KindRule kKindRules[] = {
    {{".qbt", ".bmp", ".qbm"}, {".qbt"}},
    {{".qbt", ".qbi", ".bmp"}, {".qbt", ".qbi", ".bmp"}},
    {{".qb3", ".qx3"}, {".qb3", ".qx3"}},
    {{".qbc", ".qxc"}, {".qbc", ".qxc"}},
    {{".qss", ".qsk"}, {".qss", ".qsk"}},
    {{".qb3", ".qx3"}, {".qb3", ".qx3"}},
    {{".qmt"}, {".qmt"}},
    {{".qbm"}, {".qbm"}},
};

void Corrupt(const PACKAGEDESC& package, const char* what) {
  plat::DebugOutput("Corrupt package " + package.name + ": " + what);
}

bool EndsWithQxo(const std::string& name) {
  return name.size() >= 4 && MatchText(name.c_str() + name.size() - 4, ".qxo", 1);
}

void ClosePackage(PACKAGEDESC& package) { package = PACKAGEDESC(); }

bool ReadDirectory(PACKAGEDESC& package) {
  plat::File& file = *package.file;
  package.fileSize = file.Size();
  if (package.fileSize < 0) return false;
  uint8_t head[kPackageHeaderSize];
  if (file.Read(head, sizeof head) != sizeof head) {
    Corrupt(package, "truncated header");
    return false;
  }
  if (std::memcmp(head, kMagic, sizeof kMagic) != 0) return false;
  plat::ByteReader header(head, sizeof head);
  header.Bytes(package.header.magic, sizeof package.header.magic);
  header.Seek(12);
  package.header.count = header.U32();

  uint64_t directorySize = uint64_t{package.header.count} * kPackageEntrySize;
  if (kPackageHeaderSize + directorySize > static_cast<uint64_t>(package.fileSize)) {
    Corrupt(package, "entry count beyond the file");
    return false;
  }
  std::vector<uint8_t> bytes(directorySize);
  if (file.Read(bytes.data(), bytes.size()) != bytes.size()) {
    Corrupt(package, "truncated directory");
    return false;
  }
  plat::ByteReader directory(bytes);
  package.entries.resize(package.header.count);
  for (PACKAGEENTRY& entry : package.entries) {
    directory.Skip(4);
    entry.name = directory.FixedString(kPackageNameField);
    entry.offset = directory.U32();
    entry.size = directory.U32();
  }
  return true;
}

void OpenPackage(PACKAGEDESC& package, DATADIRECTORY directory, const char* name) {
  if (!g_engineOpen) return;
  ClosePackage(package);
  if (!name) return;
  std::string path = name;
  if (!EndsWithQxo(path)) path += ".qxo";
  std::unique_ptr<plat::File> file = plat::File::OpenRead(path);
  if (!file) file = plat::File::OpenRead(MakePath("", g_dataDirectories[directory], path, ""));
  if (!file) return;
  package.file = std::move(file);
  package.name = name;
  if (!ReadDirectory(package)) ClosePackage(package);
}

bool EntryInFile(const PACKAGEDESC& package, const PACKAGEENTRY& entry) {
  return uint64_t{entry.offset} + entry.size <= static_cast<uint64_t>(package.fileSize);
}

int SearchDirectory(PACKAGEDESC& package, const std::string& key, const char* matchedExtension,
                    std::string* extension) {
  if (key.size() > kPackageNameField) return -1;
  int low = 0;
  int high = static_cast<int>(package.entries.size()) - 1;
  while (low <= high) {
    int middle = low + (high - low) / 2;
    const PACKAGEENTRY& entry = package.entries[middle];
    // std::string compares bytes as unsigned, as the directory is sorted.
    int order = entry.name.compare(key);
    if (order > 0) {
      high = middle - 1;
    } else if (order < 0) {
      low = middle + 1;
    } else {
      if (!EntryInFile(package, entry)) {
        Corrupt(package, "entry data beyond the file");
        return -1;
      }
      if (!package.file->Seek(entry.offset)) return -1;
      if (extension) *extension = matchedExtension;
      return middle;
    }
  }
  return -1;
}

bool OverrideFileExists(const std::string& base, const char* ext) {
  return FileExists(MakePath("", g_dataDirectories[DATADIR_OVERRIDE], base, ext)) != 0;
}

}  // namespace

void OpenTexturePackage(const char* name) { OpenPackage(g_texturePackage, DATADIR_TEXTURE, name); }
void OpenImagePackage(const char* name) { OpenPackage(g_imagePackage, DATADIR_IMAGE, name); }
void OpenModelPackage(const char* name) { OpenPackage(g_modelPackage, DATADIR_MODEL, name); }
void OpenKind3Package(const char* name) { OpenPackage(g_kind3Package, DATADIR_CREATURE, name); }
void OpenKind4Package(const char* name) { OpenPackage(g_kind4Package, DATADIR_CREATURE, name); }

std::string GetImagePackageName() { return g_engineOpen ? g_imagePackage.name : std::string(); }

void ResetPackages() {
  if (!g_engineOpen) return;
  for (PACKAGEDESC* package : {&g_texturePackage, &g_imagePackage, &g_modelPackage, &g_kind3Package, &g_kind4Package})
    ClosePackage(*package);
}

void CloseAllPackages() {
  if (!g_engineOpen) return;
  for (PACKAGEDESC* package : {&g_imagePackage, &g_texturePackage, &g_modelPackage, &g_kind3Package, &g_kind4Package})
    ClosePackage(*package);
}

int FindPackageEntry(PACKAGEDESC* package, const char* name, std::string* extension, int kind) {
  if (!g_engineOpen || !package || !package->file || !name) return -1;
  if (kind < ASSET_TEXTURE || kind > ASSET_MIPMAP_TEXTURE) return -1;
  if (std::strlen(name) > kPackageNameField) return -1;
  std::string lower = name;
  LowerCase(lower);
  std::string base, ext;
  SplitPath(lower, nullptr, nullptr, &base, &ext);
  const KindRule& rule = kKindRules[kind];

  for (const char* known : rule.extensions) {
    if (ext != known) continue;
    if (g_looseFilesFirst && OverrideFileExists(base, known)) return -1;
    return SearchDirectory(*package, base + ext, known, extension);
  }
  // Any other extension counts as none: the kind's own are tried on the base name.
  if (g_looseFilesFirst) {
    for (const char* loose : rule.looseFirst)
      if (OverrideFileExists(base, loose)) return -1;
  }
  for (const char* tried : rule.extensions) {
    int index = SearchDirectory(*package, base + tried, tried, extension);
    if (index >= 0) return index;
  }
  return -1;
}

bool ReadPackageEntry(PACKAGEDESC* package, int index, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (!g_engineOpen || !package || !package->file) return false;
  if (index < 0 || static_cast<size_t>(index) >= package->entries.size()) return false;
  const PACKAGEENTRY& entry = package->entries[index];
  if (!EntryInFile(*package, entry) || !package->file->Seek(entry.offset)) return false;
  bytes.resize(entry.size);
  if (package->file->Read(bytes.data(), bytes.size()) != bytes.size()) {
    bytes.clear();
    return false;
  }
  return true;
}
