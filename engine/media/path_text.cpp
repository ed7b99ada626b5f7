#include "engine/media/path_text.h"

#include "platform/files.h"

namespace {

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int MatchText(const char* a, const char* b, int ignoreCase) {
  if (!a || !b) return 0;
  for (;; ++a, ++b) {
    char ca = ignoreCase ? UpperAscii(*a) : *a;
    char cb = ignoreCase ? UpperAscii(*b) : *b;
    if (ca != cb) return 0;
    if (ca == '\0') return 1;
  }
}

void SplitPath(std::string_view path, std::string* drive, std::string* directory, std::string* baseName,
               std::string* extension) {
  size_t pos = 0;
  std::string_view drivePart;
  if (path.size() >= 2 && path[1] == ':') {
    drivePart = path.substr(0, 2);
    pos = 2;
  }
  size_t lastSlash = path.find_last_of('\\');
  std::string_view dirPart;
  if (lastSlash != std::string_view::npos && lastSlash >= pos) {
    dirPart = path.substr(pos, lastSlash + 1 - pos);
    pos = lastSlash + 1;
  }
  std::string_view rest = path.substr(pos);
  size_t dot = rest.find('.');
  std::string_view basePart = rest.substr(0, dot);
  std::string_view extPart = dot == std::string_view::npos ? std::string_view() : rest.substr(dot);
  if (drive) *drive = drivePart;
  if (directory) *directory = dirPart;
  if (baseName) *baseName = basePart;
  if (extension) *extension = extPart;
}

std::string MakePath(std::string_view drive, std::string_view directory, std::string_view baseName,
                     std::string_view extension) {
  std::string out;
  out.reserve(drive.size() + directory.size() + baseName.size() + extension.size());
  out.append(drive).append(directory).append(baseName).append(extension);
  return out;
}

int FileExists(std::string_view path) {
  if (path.empty()) return 0;
  return plat::File::OpenRead(path) ? 1 : 0;
}

void LowerCase(std::string& text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
}
