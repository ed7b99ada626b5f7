#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TEXTUREDESC;

// Textures loaded from image files: ".qbt" and ".qbi" images, ".bmp", the
// first level of a ".qbm", and entries of ".qst" texture sets, from the
// texture package or from loose files (engine/media/file_search.h).
//
// Row order: the first stored row of a file becomes texture row 0, the top
// row of the surface (v = 0).
//
// A texture already loaded under the same base name is shared whatever the
// extension or key asked for: tree.bmp after tree.qbt answers the first
// texture with one more reference. Base names longer than 23 characters are
// cut in the record's name and so are never shared.

// A texture record with reference count 1 entered in the texture table, or
// null. The key colour is stored with the record; the Direct3D path keys the
// card copy with it, the software path keys the palette entry of that colour.
TEXTUREDESC* LoadTexture(const char* name, int keyFlag, int keyRed, int keyGreen, int keyBlue);

// Direct3D path (null on the software path): a mip-mapped texture from a
// ".qbm" or a QBM entry of a ".qst" set, shared by base name like
// LoadTexture; the texture package's entry first, then the loose file
// (engine/media/mipmap_files.h). The request is clamped to the file's levels:
// a first level beyond them becomes the last, a level count of 0 takes every
// level from the first, and the count never runs past the end.
TEXTUREDESC* LoadMipmapTexture(const char* name, int firstLevel, int levelCount, int keyFlag, int keyRed, int keyGreen,
                               int keyBlue);

// Readers below the loaders. Each takes the bytes of a whole file or package
// entry; the image starts at entryOffset. extension is the file's (".qbt",
// ".qbi", ".bmp", ".qbm" or ".qst"; any case); for ".qst" the entry is a
// bitmap, a "QBT" image or (mip-mapped loads) a QBM, told by its magic.
// 1 on success, 0 on failure.

// Direct3D path: fills the record's system-memory texture surface.
int ReadTextureImage(const std::vector<uint8_t>& file, size_t entryOffset, const std::string& extension,
                     TEXTUREDESC* texture);
// Software path: the shade table and the colour indices (palettised sources only).
int LoadSoftTextureFile(const char* path, TEXTUREDESC* texture);
int LoadSoftTextureFromPackage(const std::vector<uint8_t>& entry, const std::string& extension, TEXTUREDESC* texture);

// Where a found texture file's image starts: 0, or for a set path
// (...\wall07.qst) the bytes of the set file wall.qst with the offset of its
// entry 7. False when the file cannot be read or the entry does not exist.
// Enters a texture read from a file under its base name; a full table is
// reported on the debugger output, the record freed and null answered.
TEXTUREDESC* EnterFileTexture(std::unique_ptr<TEXTUREDESC> texture, const std::string& base);

bool OpenTextureFile(const std::string& path, std::vector<uint8_t>* bytes, size_t* entryOffset);
