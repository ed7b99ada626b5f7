#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/files.h"

// Package archives (".qxo"): one file holding many named entries, looked up
// by asset kind. File layout, little-endian:
//   header, 16 bytes: magic "qxo " and a zero byte, 7 bytes unused, uint32 entry count;
//   entries, 44 bytes each: 4 bytes unused, name[32] (lower case, NUL padded),
//   uint32 data offset from the file start, uint32 data size;
//   entries sorted by name in unsigned byte order (the lookup is a binary search).
// Every call does nothing, or answers -1 / false, while the engine is closed.

// What a lookup asks for; it decides the extensions tried for a bare name.
enum ASSETKIND {
  ASSET_TEXTURE = 0,         // ".qbt", ".bmp", ".qbm" (only ".qbt" loose files win)
  ASSET_IMAGE = 1,           // ".qbt", ".qbi", ".bmp"
  ASSET_MODEL = 2,           // ".qb3", ".qx3"
  ASSET_KIND3 = 3,           // ".qbc", ".qxc"
  ASSET_KIND4 = 4,           // ".qss", ".qsk"
  ASSET_KIND5 = 5,           // as models
  ASSET_KIND6 = 6,           // ".qmt"
  ASSET_MIPMAP_TEXTURE = 7,  // ".qbm"
};

constexpr size_t kPackageHeaderSize = 16;
constexpr size_t kPackageEntrySize = 44;
constexpr size_t kPackageNameField = 32;

struct PACKAGEHEADER {
  uint8_t magic[5] = {};
  uint32_t count = 0;
};

struct PACKAGEENTRY {
  std::string name;  // at most 32 bytes: the field needs no terminator
  uint32_t offset = 0;
  uint32_t size = 0;
};

struct PACKAGEDESC {
  std::unique_ptr<plat::File> file;  // null when the slot is closed
  int64_t fileSize = 0;
  std::string name;  // as given to the open call
  PACKAGEHEADER header;
  std::vector<PACKAGEENTRY> entries;
};

extern PACKAGEDESC g_texturePackage;
extern PACKAGEDESC g_imagePackage;
extern PACKAGEDESC g_modelPackage;
extern PACKAGEDESC g_kind3Package;
extern PACKAGEDESC g_kind4Package;

// Close the slot's package, then open the named one (".qxo" appended when the
// name lacks it; tried as given, then in the slot's directory). A null name
// only closes; a missing, foreign or corrupt file leaves the slot closed.
void OpenTexturePackage(const char* name);
void OpenImagePackage(const char* name);
void OpenModelPackage(const char* name);
void OpenKind3Package(const char* name);
void OpenKind4Package(const char* name);

// The open image package's name as given to its open call.
std::string GetImagePackageName();

// Empties the five slots (engine open).
void ResetPackages();
// Closes image, texture, model, kind 3 and kind 4 packages (engine close).
void CloseAllPackages();

// Index of the entry for name (any case; a directory part is ignored) and
// kind, with the matched extension (".qbt" ...) in extension and the package
// file positioned at the entry's data. -1 when the package is closed, the
// name exceeds 32 characters, a loose override file takes precedence, the
// entry's data lies outside the file, or nothing matches.
int FindPackageEntry(PACKAGEDESC* package, const char* name, std::string* extension, int kind);

// The data of entry index, whatever the file position; false for a closed
// package, a bad index or a read failure.
bool ReadPackageEntry(PACKAGEDESC* package, int index, std::vector<uint8_t>& bytes);
