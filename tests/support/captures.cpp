#include "tests/support/captures.h"

#include <unistd.h>
#include <atomic>
#include <cstdlib>

#include "platform/debug_output.h"
#include "platform/message_box.h"

namespace testsupport {
namespace {

bool AnyContains(const std::vector<std::string>& lines, const std::string& fragment) {
  for (const auto& l : lines)
    if (l.find(fragment) != std::string::npos) return true;
  return false;
}

}  // namespace

MessageBoxCapture::MessageBoxCapture() {
  plat::SetMessageBoxHook([this](const std::string& title, const std::string& text) {
    boxes_.push_back({title, text});
    return plat::kIdOk;
  });
}
MessageBoxCapture::~MessageBoxCapture() { plat::SetMessageBoxHook(nullptr); }

bool MessageBoxCapture::Contains(const std::string& title, const std::string& text) const {
  for (const auto& b : boxes_)
    if (b.title == title && b.text == text) return true;
  return false;
}

DebugOutputCapture::DebugOutputCapture() {
  previous_ = plat::SetDebugOutputSink([this](plat::DebugLevel level, const std::string& line) {
    lines_.push_back(line);
    if (previous_) previous_(level, line);
  });
}
DebugOutputCapture::~DebugOutputCapture() { plat::SetDebugOutputSink(std::move(previous_)); }
bool DebugOutputCapture::Contains(const std::string& fragment) const { return AnyContains(lines_, fragment); }

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
  if (const char* old = std::getenv(name)) old_ = old;
  if (value) ::setenv(name, value, 1);
  else ::unsetenv(name);
}
ScopedEnv::~ScopedEnv() {
  if (old_) ::setenv(name_.c_str(), old_->c_str(), 1);
  else ::unsetenv(name_.c_str());
}

ScopedTestClock::ScopedTestClock(uint64_t frequency) : clock_(frequency) { plat::SetClock(&clock_); }
ScopedTestClock::~ScopedTestClock() { plat::SetClock(nullptr); }

ScopedWorkDir::ScopedWorkDir() {
  static std::atomic<int> counter{0};
  previous_ = std::filesystem::current_path();
  dir_ = std::filesystem::temp_directory_path() /
         ("tarnwick-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(dir_);
  std::filesystem::create_directories(dir_);
  std::filesystem::current_path(dir_);
}

ScopedWorkDir::~ScopedWorkDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
  std::filesystem::remove_all(dir_, ec);
}

}  // namespace testsupport
