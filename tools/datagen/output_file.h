#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

// Writes bytes to path, creating its directory; an old file is replaced only
// once the new one is complete.
bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

}  // namespace datagen
