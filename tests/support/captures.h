#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/debug_output.h"
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

// Records every message on the debugging channel, the engine's and the game
// side's, at every level. Captures nest: an inner one hands each message on
// to the one it replaced.
class DebugOutputCapture {
 public:
  DebugOutputCapture();
  ~DebugOutputCapture();
  const std::vector<std::string>& Lines() const { return lines_; }
  bool Contains(const std::string& fragment) const;

 private:
  std::vector<std::string> lines_;
  plat::DebugSink previous_;
};
// The name the game side's tests know it by.
using DebugTraceCapture = DebugOutputCapture;

// Sets an environment variable (nullptr unsets it) and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();

 private:
  std::string name_;
  std::optional<std::string> old_;
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
