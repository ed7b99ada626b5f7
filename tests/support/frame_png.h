#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/display.h"

// Presented frames as pictures a reviewer can open: 8-bit RGB PNG files with
// stored (uncompressed) deflate blocks, so no compression library is needed.
namespace testsupport {

// 0x00RRGGBB per pixel, row by row; empty for a palettised or empty frame.
std::vector<uint32_t> FrameToRgb(const plat::PresentedFrame& frame);

// Writes width x height pixels of 0x00RRGGBB; false when the file cannot be written.
bool WritePng(const std::string& path, int width, int height, const std::vector<uint32_t>& rgb);

}  // namespace testsupport
