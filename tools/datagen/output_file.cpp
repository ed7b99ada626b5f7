#include "tools/datagen/output_file.h"

#include <filesystem>

#include "platform/files.h"

namespace datagen {

bool WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
  std::filesystem::path parent = std::filesystem::path(plat::NormalizePath(path)).parent_path();
  if (!parent.empty() && !plat::CreateDirectories(parent.string())) {
    error = "cannot create the directory of " + path;
    return false;
  }
  if (!plat::WriteFileAtomic(path, bytes.data(), bytes.size())) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace datagen
