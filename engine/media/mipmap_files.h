#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct TEXTUREDESC;

// Mip-mapped textures from ".qbm" files and QBM entries of ".qst" sets
// (Direct3D path only); LoadMipmapTexture (engine/media/texture_files.h)
// reads them through here. Level k of a QBM is (width >> k) x (height >> k);
// rows in file order, the first stored row at texture row 0.

// Reads the levels into a new system-memory texture of the record (a plain
// surface for one level, mipLevels 0; else a mip-mapped one, mipLevels =
// count). extension: ".qbm", or ".qst" for a set entry (its magic must be
// "QBM"). The number of levels read, 0 on failure.
int ReadMipmapImage(const std::vector<uint8_t>& file, size_t entryOffset, const std::string& extension,
                    TEXTUREDESC* texture, int firstLevel, int levelCount);
