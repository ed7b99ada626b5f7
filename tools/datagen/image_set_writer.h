#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/files.h"

// Image sets: ".qst" texture sets and ".qsi" image sets, little-endian:
//   4 bytes tag ("QST" or "QSI" and a zero byte; the readers do not check it);
//   uint32 entry count; count x uint32 entry offsets from the file start;
//   the entries, each a complete image file.
// Entry n of the set wall is asked for as wall07 for n = 7: the number is two
// decimal digits, so a set holds at most 100 entries. A texture-set entry is a
// Windows bitmap, a QBI image with the magic "QBT" or a QBM mip-mapped
// bitmap; an image-set entry is a QBI image.
namespace datagen {

enum class ImageSetKind { Texture, Image };

struct ImageSetDesc {
  ImageSetKind kind = ImageSetKind::Texture;
  std::vector<std::vector<uint8_t>> entries;  // written image files
};

constexpr size_t kMaxSetEntries = 100;

bool WriteImageSet(const ImageSetDesc& set, plat::ByteWriter& out, std::string& error);

}  // namespace datagen
