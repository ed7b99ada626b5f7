#include "engine/media/texture_source.h"

#include "engine/media/path_text.h"

namespace {
bool Is(const std::string& extension, const char* known) { return MatchText(extension.c_str(), known, 1) != 0; }
}  // namespace

HeaderResult ReadTextureSource(const std::vector<uint8_t>& file, size_t start, const std::string& extension,
                               bool checkQbiMagic, IMAGELAYOUT* layout) {
  if (Is(extension, ".qst")) {
    if (start > file.size() || file.size() - start < 4) return HeaderResult::Corrupt;
    const uint8_t* m = file.data() + start;
    if (m[0] == 'B' && m[1] == 'M') return ReadBmpHeader(file, start, layout);
    if (m[0] == 'Q' && m[1] == 'B' && m[2] == 'T' && m[3] == 0)
      return ReadQbiHeader(file, start, checkQbiMagic, layout);
    return HeaderResult::Foreign;
  }
  if (Is(extension, ".bmp")) return ReadBmpHeader(file, start, layout);
  if (Is(extension, ".qbt") || Is(extension, ".qbi")) return ReadQbiHeader(file, start, checkQbiMagic, layout);
  if (Is(extension, ".qbm")) {
    std::vector<QBMLEVEL> levels;
    return ReadQbmHeader(file, start, layout, &levels);
  }
  return HeaderResult::Foreign;
}

size_t FileStemStart(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? 0 : slash + 1;
}

std::string FileExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < FileStemStart(path)) return {};
  return path.substr(dot);
}
