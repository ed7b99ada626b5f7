#include "platform/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/ascii_case.h"
#include "platform/file_sync.h"
#include "platform/test_caps.h"

namespace fs = std::filesystem;

namespace plat {
namespace {

// A file being written is "<target>.tmp<pid of the writer>" until it is
// renamed over the target.
constexpr std::string_view kTemporaryMark = ".tmp";

std::atomic<bool> g_syncOnCommit{true};

// Finds the entry of dir named like name, exact spelling first.
std::optional<fs::path> FindEntry(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  fs::path exact = dir / name;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string entry = it->path().filename().string();
    if (EqualsNoCase(entry, name)) return dir / entry;
  }
  return std::nullopt;
}

std::vector<std::string> SplitComponents(const std::string& path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Resolves every component but the last `keep` ones; false when one is missing.
bool ResolveComponents(std::string_view raw, size_t keep, fs::path& out, std::vector<std::string>& rest) {
  std::string path = NormalizePath(raw);
  out = (!path.empty() && path[0] == '/') ? fs::path("/") : fs::path();
  std::vector<std::string> parts = SplitComponents(path);
  size_t resolveCount = parts.size() >= keep ? parts.size() - keep : 0;
  for (size_t i = 0; i < parts.size(); ++i) {
    const std::string& part = parts[i];
    if (i >= resolveCount) {
      rest.push_back(part);
      continue;
    }
    if (part == "." || part == "..") {
      out /= part;
      continue;
    }
    auto found = FindEntry(out, part);
    if (!found) return false;
    out = *found;
  }
  return true;
}

}  // namespace

std::string NormalizePath(std::string_view path) {
  std::string s(path);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

std::string FullPathText(std::string_view path) {
  std::error_code ignored;
  std::string full = fs::absolute(NormalizePath(path), ignored).lexically_normal().string();
  if (full.size() > 1 && full.back() == '/') full.pop_back();
  return full;
}

std::optional<fs::path> ResolvePath(std::string_view path) {
  if (path.empty()) return std::nullopt;
  fs::path out;
  std::vector<std::string> rest;
  if (!ResolveComponents(path, 0, out, rest)) return std::nullopt;
  std::error_code ec;
  if (!fs::exists(out, ec)) return std::nullopt;
  return out;
}

fs::path ResolveForWrite(std::string_view path) {
  if (auto existing = ResolvePath(path)) return *existing;
  fs::path dir;
  std::vector<std::string> rest;
  if (!ResolveComponents(path, 1, dir, rest)) return fs::path(NormalizePath(path));
  return rest.empty() ? dir : dir / rest.back();
}

bool FileExists(std::string_view path) {
  auto p = ResolvePath(path);
  std::error_code ec;
  return p && fs::is_regular_file(*p, ec);
}

bool DirectoryExists(std::string_view path) {
  auto p = ResolvePath(path);
  std::error_code ec;
  return p && fs::is_directory(*p, ec);
}

bool CreateDirectories(std::string_view path) {
  if (DirectoryExists(path)) return true;
  std::error_code ec;
  fs::create_directories(ResolveForWrite(path), ec);
  return !ec;
}

bool RemoveFile(std::string_view path) {
  auto p = ResolvePath(path);
  std::error_code ec;
  return p && fs::remove(*p, ec);
}

bool RenameFile(std::string_view from, std::string_view to) {
  auto src = ResolvePath(from);
  if (!src) return false;
  std::error_code ec;
  fs::rename(*src, ResolveForWrite(to), ec);
  return !ec;
}

int64_t FileSize(std::string_view path) {
  auto p = ResolvePath(path);
  std::error_code ec;
  if (!p || !fs::is_regular_file(*p, ec)) return -1;
  auto size = fs::file_size(*p, ec);
  return ec ? -1 : static_cast<int64_t>(size);
}

int OpenRegularFile(const fs::path& path) {
  // Without O_NONBLOCK, opening a named pipe waits for a writer for ever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

namespace {

std::FILE* OpenRegularStream(const fs::path& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "rb");
  if (!f) ::close(fd);
  return f;
}

}  // namespace

bool ReadWholeFile(std::string_view path, std::vector<uint8_t>& out, size_t maxBytes) {
  out.clear();
  auto p = ResolvePath(path);
  if (!p) return false;
  std::FILE* f = OpenRegularStream(*p);
  if (!f) return false;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long size = ok ? std::ftell(f) : -1;
  ok = ok && size >= 0 && static_cast<size_t>(size) <= maxBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    out.resize(static_cast<size_t>(size));
    ok = out.empty() || std::fread(out.data(), 1, out.size(), f) == out.size();
  }
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool ReadSmallTextFile(const fs::path& path, std::string& out, size_t maxBytes) {
  out.clear();
  std::FILE* f = OpenRegularStream(path);
  if (!f) return false;
  char buffer[4096];
  bool ok = true;
  for (size_t got; ok && (got = std::fread(buffer, 1, sizeof buffer, f)) > 0;) {
    ok = out.size() + got <= maxBytes;
    if (ok) out.append(buffer, got);
  }
  ok = ok && !std::ferror(f);
  std::fclose(f);
  if (!ok) out.clear();
  return ok;
}

bool ReadTextLines(std::string_view path, std::vector<std::string>& lines) {
  lines.clear();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  std::string line;
  for (uint8_t b : bytes) {
    if (b == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (b != '\r') {
      line.push_back(static_cast<char>(b));
    }
  }
  if (!line.empty()) lines.push_back(line);
  return true;
}

void SetSyncOnCommit(bool on) { g_syncOnCommit = on; }

bool WriteFileAtomic(std::string_view path, const void* data, size_t size) {
  auto f = File::CreateWrite(path);
  if (!f) return false;
  if (size && f->Write(data, size) != size) return false;
  return f->Commit();
}

std::FILE* OpenAppendStream(const fs::path& path) { return std::fopen(path.c_str(), "a"); }

int OpenLockFile(const fs::path& path, bool create) {
  return create ? ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600) : ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

bool MatchWildcard(std::string_view pattern, std::string_view name, bool ignoreCase) {
  // Iterative matcher with single-star backtracking: linear in practice, never recursive.
  size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  auto same = [&](char a, char b) { return ignoreCase ? FoldAscii(a) == FoldAscii(b) : a == b; };
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

std::vector<std::string> ListFiles(std::string_view pattern) {
  std::vector<std::string> names;
  fs::path dir;
  std::vector<std::string> rest;
  if (!ResolveComponents(pattern, 1, dir, rest) || rest.empty()) return names;
  std::error_code ec;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    std::string name = it->path().filename().string();
    if (MatchWildcard(rest.back(), name)) names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

int RemoveStaleTemporaries(std::string_view directory) {
  const std::optional<fs::path> dir = ResolvePath(directory);
  int removed = 0;
  std::error_code ec;
  if (!dir || !fs::is_directory(*dir, ec)) return removed;
  for (fs::directory_iterator it(*dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (!it->is_regular_file(ec2)) continue;
    const std::string name = it->path().filename().string();
    const size_t at = name.rfind(kTemporaryMark);
    const std::string digits = at == std::string::npos ? "" : name.substr(at + kTemporaryMark.size());
    if (at == 0 || digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
      continue;
    // A writer still running (this process, or another copy) keeps its file.
    const pid_t pid = static_cast<pid_t>(std::stol(digits));
    if (pid == ::getpid() || pid <= 0 || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    removed += fs::remove(it->path(), ec2) ? 1 : 0;
  }
  return removed;
}

// ---- ByteReader ----

uint8_t ByteReader::U8() {
  if (!CanRead(1)) {
    failed_ = true;
    return 0;
  }
  return data_[pos_++];
}

uint16_t ByteReader::U16() {
  if (!CanRead(2)) {
    failed_ = true;
    pos_ = size_;
    return 0;
  }
  uint16_t v = static_cast<uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
  pos_ += 2;
  return v;
}

uint32_t ByteReader::U32() {
  if (!CanRead(4)) {
    failed_ = true;
    pos_ = size_;
    return 0;
  }
  uint32_t v = static_cast<uint32_t>(data_[pos_]) | (static_cast<uint32_t>(data_[pos_ + 1]) << 8) |
               (static_cast<uint32_t>(data_[pos_ + 2]) << 16) | (static_cast<uint32_t>(data_[pos_ + 3]) << 24);
  pos_ += 4;
  return v;
}

float ByteReader::F32() {
  uint32_t bits = U32();
  float f;
  std::memcpy(&f, &bits, sizeof f);
  return f;
}

double ByteReader::F64() {
  uint64_t lo = U32();
  uint64_t hi = U32();
  uint64_t bits = lo | (hi << 32);
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

bool ByteReader::Bytes(void* out, size_t n) {
  if (!CanRead(n)) {
    failed_ = true;
    pos_ = size_;
    return false;
  }
  if (n) std::memcpy(out, data_ + pos_, n);
  pos_ += n;
  return true;
}

std::string ByteReader::FixedString(size_t fieldSize) {
  if (!CanRead(fieldSize)) {
    failed_ = true;
    pos_ = size_;
    return {};
  }
  const char* start = reinterpret_cast<const char*>(data_ + pos_);
  size_t len = 0;
  while (len < fieldSize && start[len] != '\0') ++len;
  pos_ += fieldSize;
  return std::string(start, len);
}

bool ByteReader::Skip(size_t n) {
  if (!CanRead(n)) {
    failed_ = true;
    pos_ = size_;
    return false;
  }
  pos_ += n;
  return true;
}

bool ByteReader::Seek(size_t offset) {
  if (offset > size_) {
    failed_ = true;
    return false;
  }
  pos_ = offset;
  return true;
}

// ---- ByteWriter ----

void ByteWriter::U16(uint16_t v) {
  bytes_.push_back(static_cast<uint8_t>(v));
  bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::F32(float v) {
  uint32_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  U32(bits);
}

void ByteWriter::F64(double v) {
  uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  U32(static_cast<uint32_t>(bits));
  U32(static_cast<uint32_t>(bits >> 32));
}

void ByteWriter::Bytes(const void* data, size_t n) {
  const uint8_t* p = static_cast<const uint8_t*>(data);
  bytes_.insert(bytes_.end(), p, p + n);
}

void ByteWriter::FixedString(std::string_view text, size_t fieldSize) {
  if (fieldSize == 0) return;
  size_t n = std::min(text.size(), fieldSize - 1);
  Bytes(text.data(), n);
  Zeros(fieldSize - n);
}

void ByteWriter::PatchU32(size_t offset, uint32_t v) {
  if (offset + 4 > bytes_.size()) return;
  for (int i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

// ---- File ----

File::File(std::FILE* f, fs::path target, fs::path temp)
    : file_(f), target_(std::move(target)), temp_(std::move(temp)) {}

File::~File() {
  if (file_) std::fclose(file_);
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
  }
}

std::unique_ptr<File> File::OpenRead(std::string_view path) {
  auto p = ResolvePath(path);
  std::FILE* f = p ? OpenRegularStream(*p) : nullptr;
  if (!f) return nullptr;
  return std::unique_ptr<File>(new File(f, *p, {}));
}

std::unique_ptr<File> File::CreateWrite(std::string_view path) {
  fs::path target = ResolveForWrite(path);
  fs::path temp = target;
  temp += std::string(kTemporaryMark) + std::to_string(::getpid());
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return nullptr;
  return std::unique_ptr<File>(new File(f, target, temp));
}

size_t File::Read(void* out, size_t n) { return (file_ && n) ? std::fread(out, 1, n, file_) : 0; }

size_t File::Write(const void* data, size_t n) {
  if (!file_ || temp_.empty() || !n || ShouldFail(FailPoint::WriteFile)) return 0;
  return std::fwrite(data, 1, n, file_);
}

bool File::Seek(int64_t offset) {
  return file_ && offset >= 0 && std::fseek(file_, static_cast<long>(offset), SEEK_SET) == 0;
}

int64_t File::Tell() const { return file_ ? std::ftell(file_) : -1; }

int64_t File::Size() const {
  if (!file_) return -1;
  long here = std::ftell(file_);
  if (std::fseek(file_, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(file_);
  std::fseek(file_, here, SEEK_SET);
  return size;
}

bool File::Commit() {
  if (!file_ || temp_.empty()) return false;
  bool ok = std::fflush(file_) == 0 && (!g_syncOnCommit || ::fsync(fileno(file_)) == 0);
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  std::error_code ec;
  if (ok) fs::rename(temp_, target_, ec);
  if (!ok || ec) {
    fs::remove(temp_, ec);
    temp_.clear();
    return false;
  }
  temp_.clear();
  return true;
}

}  // namespace plat
