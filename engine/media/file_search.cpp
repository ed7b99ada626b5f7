#include "engine/media/file_search.h"

#include <initializer_list>

#include "engine/core/engine_state.h"
#include "engine/media/data_directories.h"
#include "engine/media/path_text.h"

namespace {

using Extensions = std::initializer_list<const char*>;

struct SplitName {
  std::string drive, directory, base, extension;
  bool HasPath() const { return !drive.empty() || !directory.empty(); }
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool HasSetNumber(const std::string& base) {
  size_t n = base.size();
  return n >= 3 && IsDigit(base[n - 2]) && IsDigit(base[n - 1]);
}

// dir + base without its number + setExt must exist; the answer keeps the number.
bool TrySet(const std::string& dir, const std::string& base, const char* setExt, std::string& out) {
  if (!HasSetNumber(base)) return false;
  if (!FileExists(MakePath("", dir, base.substr(0, base.size() - 2), setExt))) return false;
  out = MakePath("", dir, base, setExt);
  return true;
}

bool TryExtensions(const std::string& dir, const std::string& base, Extensions extensions, std::string& out) {
  for (const char* ext : extensions) {
    std::string candidate = MakePath("", dir, base, ext);
    if (FileExists(candidate)) {
      out = candidate;
      return true;
    }
  }
  return false;
}

bool TryPlace(const std::string& dir, const std::string& base, const char* setExt, Extensions extensions,
              std::string& out) {
  return (setExt && TrySet(dir, base, setExt, out)) || TryExtensions(dir, base, extensions, out);
}

// 1: the name as given exists; 0: nothing to search; -1: search on, split filled.
int StartSearch(std::string& path, const char* name, SplitName& split) {
  if (!g_engineOpen || !name || !*name) return 0;
  if (FileExists(name)) {
    path = name;
    return 1;
  }
  SplitPath(name, &split.drive, &split.directory, &split.base, &split.extension);
  return -1;
}

const std::string& Dir(DATADIRECTORY slot) { return g_dataDirectories[slot]; }

// The common shape of the texture and model searches.
int SearchKind(std::string& path, const char* name, DATADIRECTORY kindDir, const char* setExt, Extensions extensions) {
  SplitName s;
  int start = StartSearch(path, name, s);
  if (start >= 0) return start;
  std::string found;
  bool ok = false;
  if (s.extension.empty()) {
    if (s.HasPath()) {
      ok = TryPlace(s.drive + s.directory, s.base, setExt, extensions, found);
    } else {
      ok = TryPlace(Dir(DATADIR_OVERRIDE), s.base, setExt, extensions, found) ||
           TryPlace(Dir(kindDir), s.base, setExt, extensions, found);
    }
  } else if (!s.HasPath()) {
    ok = TryExtensions(Dir(DATADIR_OVERRIDE), s.base, {s.extension.c_str()}, found) ||
         TryExtensions(Dir(kindDir), s.base, {s.extension.c_str()}, found);
  }
  if (ok) path = found;
  return ok ? 1 : 0;
}

}  // namespace

int FindTextureFile(std::string& path, const char* name) {
  return SearchKind(path, name, DATADIR_TEXTURE, ".qst", {".qbt", ".bmp", ".qbm"});
}

int FindMipmapTextureFile(std::string& path, const char* name) {
  return SearchKind(path, name, DATADIR_TEXTURE, ".qst", {".qbm"});
}

int FindModelFile(std::string& path, const char* name) {
  return SearchKind(path, name, DATADIR_MODEL, nullptr, {".qb3", ".qx3"});
}

int FindImageFile(std::string& path, const char* name) {
  SplitName s;
  int start = StartSearch(path, name, s);
  if (start >= 0) return start;
  std::string found;
  bool ok = false;
  const Extensions extensions = {".qbi", ".bmp"};
  if (s.extension.empty()) {
    if (s.HasPath()) {
      ok = TryPlace(s.drive + s.directory, s.base, ".qsi", extensions, found);
    } else {
      // Image sets are never taken from the override directory.
      ok = TrySet(Dir(DATADIR_IMAGE), s.base, ".qsi", found) ||
           TryExtensions(Dir(DATADIR_OVERRIDE), s.base, extensions, found) ||
           TryExtensions(Dir(DATADIR_IMAGE), s.base, extensions, found);
    }
  } else if (!s.HasPath()) {
    ok = TryExtensions(Dir(DATADIR_OVERRIDE), s.base, {s.extension.c_str()}, found) ||
         TryExtensions(Dir(DATADIR_IMAGE), s.base, {s.extension.c_str()}, found);
  }
  if (ok) path = found;
  return ok ? 1 : 0;
}
