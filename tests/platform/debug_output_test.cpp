#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/debug_output.h"
#include "tests/support/captures.h"

namespace {

using plat::DebugLevel;

// What the program writes to standard error while it lives.
class StderrCapture {
 public:
  StderrCapture() : file_(std::tmpfile()), saved_(::dup(2)) {
    std::fflush(stderr);
    ::dup2(::fileno(file_), 2);
  }
  ~StderrCapture() {
    Restore();
    std::fclose(file_);
  }
  std::string Text() {
    Restore();
    std::string text;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) text += static_cast<char>(c);
    return text;
  }

 private:
  void Restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  std::FILE* file_;
  int saved_;
};

void SayAtEveryLevel() {
  plat::DebugOutput(DebugLevel::Info, "scene loaded\n");
  plat::DebugOutput("record dropped");
  plat::DebugOutput(DebugLevel::Error, "save not written\n");
}

TEST(DebugOutput, TheSettingNamesTheLowestLevelPrinted) {
  const std::pair<const char*, std::optional<DebugLevel>> cases[] = {
      {nullptr, std::nullopt},      {"", std::nullopt},         {"0", std::nullopt},
      {"1", DebugLevel::Info},      {"info", DebugLevel::Info}, {"WARNING", DebugLevel::Warning},
      {"Error", DebugLevel::Error}, {"loud", DebugLevel::Info}, {"errors", DebugLevel::Info},
  };
  for (const auto& [value, lowest] : cases)
    EXPECT_EQ(plat::LowestPrintedLevel(value), lowest) << (value ? value : "unset");
}

TEST(DebugOutput, StandardErrorGetsTheLevelsTheEnvironmentAsksFor) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, ""},
      {"0", ""},
      {"1", "info: scene loaded\nwarning: record dropped\nerror: save not written\n"},
      {"warning", "warning: record dropped\nerror: save not written\n"},
      {"error", "error: save not written\n"},
  };
  for (const auto& [value, printed] : cases) {
    testsupport::ScopedEnv env("TARNWICK_DEBUG", value);
    StderrCapture err;
    SayAtEveryLevel();
    EXPECT_EQ(err.Text(), printed) << (value ? value : "unset");
  }
}

TEST(DebugOutput, ACaptureSeesEveryLevelWhateverIsPrinted) {
  for (const char* value : {static_cast<const char*>(nullptr), "error"}) {
    testsupport::ScopedEnv env("TARNWICK_DEBUG", value);
    std::vector<std::pair<DebugLevel, std::string>> seen;
    plat::DebugSink before =
        plat::SetDebugOutputSink([&](DebugLevel level, const std::string& text) { seen.emplace_back(level, text); });
    StderrCapture err;
    SayAtEveryLevel();
    err.Text();
    plat::SetDebugOutputSink(std::move(before));
    const std::vector<std::pair<DebugLevel, std::string>> expected = {{DebugLevel::Info, "scene loaded\n"},
                                                                      {DebugLevel::Warning, "record dropped"},
                                                                      {DebugLevel::Error, "save not written\n"}};
    EXPECT_EQ(seen, expected) << (value ? value : "unset");
  }
}

TEST(DebugOutput, NestedCapturesBothSeeAndTheOuterOneOutlivesTheInner) {
  testsupport::DebugOutputCapture outer;
  {
    testsupport::DebugOutputCapture inner;
    plat::DebugOutput("first");
    EXPECT_EQ(inner.Lines(), std::vector<std::string>{"first"});
  }
  plat::DebugOutput("second");
  EXPECT_EQ(outer.Lines(), (std::vector<std::string>{"first", "second"}));
}

}  // namespace
