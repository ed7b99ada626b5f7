#include "platform/instance.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "platform/files.h"

namespace plat {
namespace {

// One file per kind and title in the user's runtime directory; characters
// that cannot stand in a file name are replaced, and a hash keeps distinct
// titles apart.
std::string LockPathFor(const char* kind, const std::string& title) {
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  std::filesystem::path dir = runtime && *runtime
                                  ? std::filesystem::path(runtime)
                                  : std::filesystem::temp_directory_path() / ("tarnwick-" + std::to_string(::getuid()));
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  std::string safe;
  for (unsigned char c : title) safe += (std::isalnum(c) || c == '.' || c == '-') ? char(c) : '_';
  if (safe.size() > 64) safe.resize(64);
  size_t hash = std::hash<std::string>{}(title);
  return (dir / (std::string(kind) + "-" + safe + "-" + std::to_string(hash) + ".lock")).string();
}

}  // namespace

bool FindWindowByTitle(const std::string& title) {
  int fd = OpenLockFile(LockPathFor("window", title), false);
  if (fd < 0) return false;
  // An exclusive lock is refused while any window holds its shared one;
  // flock locks belong to the open file, so this process's own windows count too.
  bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
  ::close(fd);
  return held;
}

int ClaimWindowTitle(const std::string& title) {
  const std::string path = LockPathFor("window", title);
  // A releasing window may remove the file between our open and our lock:
  // a claim counts only on the file that still stands at the path.
  for (int attempt = 0; attempt < 8; ++attempt) {
    int fd = OpenLockFile(path, true);
    if (fd < 0) return -1;
    if (::flock(fd, LOCK_SH) != 0) {
      ::close(fd);
      return -1;
    }
    struct stat held, named;
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino)
      return fd;
    ::close(fd);
  }
  return -1;
}

void ReleaseWindowTitle(int claim, const std::string& title) {
  if (claim < 0) return;
  // The last holder removes the file, so no lock file outlives its windows.
  if (::flock(claim, LOCK_EX | LOCK_NB) == 0) ::unlink(LockPathFor("window", title).c_str());
  ::close(claim);
}

int ClaimProgramCopy(const std::string& name) {
  // The file is never removed: a claim on a file that another copy is
  // about to unlink could not be told from a claim on the one that stays.
  const int fd = OpenLockFile(LockPathFor("copy", name), true);
  if (fd < 0) return kNoCopyLock;
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return fd;
  const bool held = errno == EWOULDBLOCK;
  ::close(fd);
  return held ? kCopyRunning : kNoCopyLock;
}

void ReleaseProgramCopy(int claim) {
  if (claim >= 0) ::close(claim);
}

}  // namespace plat
