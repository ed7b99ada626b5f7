#pragma once
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Files as the game's data expects them: names written with '\' and in any
// letter case (the data comes from a case-insensitive system) resolve against
// the real tree; writes go to a temporary name and are renamed over the old
// file so a crash mid-write never loses it. Paths are relative to the working
// directory; nothing here changes it.
namespace plat {

// '\' becomes '/'.
std::string NormalizePath(std::string_view path);
// The path as a person would look for it: absolute, '/' between names.
std::string FullPathText(std::string_view path);

// The existing file or directory whose components match case-insensitively
// (an exact match wins); nothing when there is none.
std::optional<std::filesystem::path> ResolvePath(std::string_view path);
// Where to write path: existing directories resolved case-insensitively, an
// existing file of any case reused, otherwise the last component as given.
std::filesystem::path ResolveForWrite(std::string_view path);

bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
bool CreateDirectories(std::string_view path);
bool RemoveFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);
// Size in bytes, or -1 when the file does not exist.
int64_t FileSize(std::string_view path);

// A descriptor open for reading on the regular file at path (not resolved),
// or -1. A named pipe, device or directory is refused at once, never waited on.
int OpenRegularFile(const std::filesystem::path& path);
// Reads a small text file (not resolved) to its end, for files that tell no
// size in advance as those under /proc; refuses more than maxBytes and
// anything but a regular file.
bool ReadSmallTextFile(const std::filesystem::path& path, std::string& out, size_t maxBytes = 64u * 1024u);
// Reads a whole file; refuses files larger than maxBytes and anything but a
// regular file.
bool ReadWholeFile(std::string_view path, std::vector<uint8_t>& out, size_t maxBytes = 512u * 1024u * 1024u);
// Splits a text file into lines with LF and CR removed.
bool ReadTextLines(std::string_view path, std::vector<std::string>& lines);
bool WriteFileAtomic(std::string_view path, const void* data, size_t size);
// A stream appending to the file at path (not resolved), made when missing;
// nullptr when it cannot be opened.
std::FILE* OpenAppendStream(const std::filesystem::path& path);
// A descriptor to hold a lock on with flock, or -1: with create, the file at
// path (not resolved) opened for writing and made, for its owner only, when
// missing; without, an existing file opened for reading.
int OpenLockFile(const std::filesystem::path& path, bool create);

// Removes from the directory the temporaries of writes that never finished
// ("<name>.tmp<pid>" of a process that has ended, as a crash leaves them);
// the number removed. Those of running processes stay.
int RemoveStaleTemporaries(std::string_view directory);

// '*' and '?' wildcards, ASCII case folded when ignoreCase.
bool MatchWildcard(std::string_view pattern, std::string_view name, bool ignoreCase = true);
// Names (not paths) of the regular files in the pattern's directory whose
// names match its last component, sorted.
std::vector<std::string> ListFiles(std::string_view pattern);

// Bounds-checked little-endian reader over a byte buffer. A read past the end
// yields zeros and sets the failure flag, which stays set.
class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  explicit ByteReader(const std::vector<uint8_t>& bytes) : ByteReader(bytes.data(), bytes.size()) {}

  uint8_t U8();
  int8_t I8() { return static_cast<int8_t>(U8()); }
  uint16_t U16();
  int16_t I16() { return static_cast<int16_t>(U16()); }
  uint32_t U32();
  int32_t I32() { return static_cast<int32_t>(U32()); }
  float F32();
  double F64();
  // Copies n bytes; false (and failure) when fewer remain.
  bool Bytes(void* out, size_t n);
  // A fixed-size name field: at most fieldSize bytes, cut at the first NUL.
  std::string FixedString(size_t fieldSize);
  bool Skip(size_t n);
  bool Seek(size_t offset);

  size_t Tell() const { return pos_; }
  size_t Size() const { return size_; }
  size_t Remaining() const { return pos_ <= size_ ? size_ - pos_ : 0; }
  bool CanRead(size_t n) const { return n <= Remaining(); }
  bool Failed() const { return failed_; }
  const uint8_t* Data() const { return data_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

// Little-endian appender, the writing twin of ByteReader.
class ByteWriter {
 public:
  void U8(uint8_t v) { bytes_.push_back(v); }
  void I8(int8_t v) { U8(static_cast<uint8_t>(v)); }
  void U16(uint16_t v);
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void F32(float v);
  void F64(double v);
  void Bytes(const void* data, size_t n);
  // Writes text into a field of fieldSize bytes, cut to fieldSize - 1 and NUL padded.
  void FixedString(std::string_view text, size_t fieldSize);
  void Zeros(size_t n) { bytes_.insert(bytes_.end(), n, 0); }
  // Overwrites 4 bytes at offset (for sizes known only later).
  void PatchU32(size_t offset, uint32_t v);

  size_t Size() const { return bytes_.size(); }
  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t>& Bytes() { return bytes_; }

 private:
  std::vector<uint8_t> bytes_;
};

// An open file for sequential reading or writing, as the save code uses it.
// A file opened for writing goes to a temporary name; Commit renames it over
// the target. Destroying it uncommitted removes the temporary and leaves the
// old file untouched.
class File {
 public:
  static std::unique_ptr<File> OpenRead(std::string_view path);
  static std::unique_ptr<File> CreateWrite(std::string_view path);
  ~File();
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  size_t Read(void* out, size_t n);
  size_t Write(const void* data, size_t n);
  bool Seek(int64_t offset);
  int64_t Tell() const;
  int64_t Size() const;
  bool Commit();

 private:
  File(std::FILE* f, std::filesystem::path target, std::filesystem::path temp);
  std::FILE* file_;
  std::filesystem::path target_;
  std::filesystem::path temp_;  // empty for a file opened for reading
};

}  // namespace plat
