#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/media/image_headers.h"

// What a texture reader finds at an image's start, told by the file's
// extension: ".qbt" and ".qbi" QBI images, ".bmp" bitmaps, the first level of
// a ".qbm", and for ".qst" sets the entry's own magic ("BM" a bitmap, "QBT" a
// QBI image). checkQbiMagic: the QBI magic must be "QBI" or "QBT" (the
// software path does not check it).
HeaderResult ReadTextureSource(const std::vector<uint8_t>& file, size_t start, const std::string& extension,
                               bool checkQbiMagic, IMAGELAYOUT* layout);

// The extension of a path's last component, from its last '.' (empty when
// none); '\' and '/' both separate directories.
std::string FileExtension(const std::string& path);
// Where a path's last component starts.
size_t FileStemStart(const std::string& path);
