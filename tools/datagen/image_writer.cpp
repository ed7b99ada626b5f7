#include "tools/datagen/image_writer.h"

namespace datagen {

bool WriteImage(const ImageDesc& image, plat::ByteWriter& out, std::string& error) {
  if (!CheckPixelRows(image.width, image.height, image.bitsPerPixel, image.pixels.size(), error)) return false;
  if (image.palette.size() > 256 || (image.bitsPerPixel == 24 && !image.palette.empty())) {
    error = "a palette belongs to 8-bit images and holds at most 256 colours";
    return false;
  }
  out.Bytes(image.magic == ImageMagic::Qbi ? "QBI" : "QBT", 4);
  out.U32(image.width);
  out.U32(image.height);
  out.U32(image.bitsPerPixel);
  if (image.bitsPerPixel == 8) WritePalette(image.palette, 256, out);
  out.Bytes(image.pixels.data(), image.pixels.size());
  return true;
}

}  // namespace datagen
