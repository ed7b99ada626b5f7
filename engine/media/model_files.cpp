#include "engine/media/model_files.h"

#include <string>
#include <vector>

#include "engine/core/engine_state.h"
#include "engine/media/file_search.h"
#include "engine/media/model_binary.h"
#include "engine/media/model_text.h"
#include "engine/media/packages.h"
#include "engine/media/path_text.h"
#include "engine/media/texture_source.h"

HOBJECT LoadModel(HOBJECT parent, const char* name) {
  if (!g_engineOpen || !name) return 0;
  std::string extension;
  const int entry = FindPackageEntry(&g_modelPackage, name, &extension, ASSET_MODEL);
  if (entry >= 0) {
    std::vector<uint8_t> bytes;
    if (!ReadPackageEntry(&g_modelPackage, entry, bytes)) return 0;
    if (extension == ".qb3") return LoadModelBinaryEntry(parent, bytes);
    if (extension == ".qx3") return LoadModelTextEntry(parent, bytes);
    return 0;
  }
  std::string path;
  if (!FindModelFile(path, name)) return 0;
  const std::string found = FileExtension(path);
  if (MatchText(found.c_str(), ".qb3", 1)) return LoadModelBinaryFile(parent, path.c_str());
  if (MatchText(found.c_str(), ".qx3", 1)) return LoadModelTextFile(parent, path.c_str());
  return 0;
}
