#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "platform/time.h"

// Scoped test fixtures shared by every suite. Each installs itself on
// construction and restores the previous state on destruction.
namespace testsupport {

struct CapturedBox {
  std::string title;
  std::string text;
};

// Records message boxes instead of showing them; they return OK at once.
class MessageBoxCapture {
 public:
  MessageBoxCapture();
  ~MessageBoxCapture();
  const std::vector<CapturedBox>& Boxes() const { return boxes_; }
  bool Contains(const std::string& title, const std::string& text) const;

 private:
  std::vector<CapturedBox> boxes_;
};

// Records DebugTrace lines of the game side.
class DebugTraceCapture {
 public:
  DebugTraceCapture();
  ~DebugTraceCapture();
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Contains(const std::string& fragment) const;

 private:
  std::vector<std::string> lines_;
};

// Records the engine's debugger-output messages.
class DebugOutputCapture {
 public:
  DebugOutputCapture();
  ~DebugOutputCapture();
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Contains(const std::string& fragment) const;

 private:
  std::vector<std::string> lines_;
};

// Makes a TestClock the process clock.
class ScopedTestClock {
 public:
  explicit ScopedTestClock(uint64_t frequency = 1000000000ull);
  ~ScopedTestClock();
  plat::TestClock& operator*() { return clock_; }
  plat::TestClock* operator->() { return &clock_; }

 private:
  plat::TestClock clock_;
};

// A fresh empty directory made the working directory for the test's life,
// since the game reads and writes its data relative to the working directory.
class ScopedWorkDir {
 public:
  ScopedWorkDir();
  ~ScopedWorkDir();
  const std::filesystem::path& Path() const { return dir_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path dir_;
};

}  // namespace testsupport
