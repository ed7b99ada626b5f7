#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "talk/base_talk_player.h"
#include "talk/talk_sys_proc.h"

namespace talktest {

// Writes raw bytes (markup as the data would hold it), creating the folder.
inline void WriteRaw(const std::string& path, const std::string& bytes) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << bytes;
}

inline std::string CaptureStdout(const std::function<void()>& run) {
  testing::internal::CaptureStdout();
  run();
  return testing::internal::GetCapturedStdout();
}

inline void Declare(CBaseTalkPlayer& player, const std::string& name, int value) {
  auto variable = std::make_unique<CVarExpr>(name);
  variable->value = value;
  player.AddVariable(name, std::move(variable));
}

inline int ValueOf(const CBaseTalkPlayer& player, const std::string& name) {
  CVarExpr* v = player.FindVariable(name);
  EXPECT_NE(v, nullptr) << name;
  return v ? v->value : -999;
}

struct SysCall {
  int mode;
  std::string name;
  int argument;
  bool operator==(const SysCall& o) const { return mode == o.mode && name == o.name && argument == o.argument; }
};

inline std::ostream& operator<<(std::ostream& os, const SysCall& c) {
  return os << "{" << c.mode << ", " << c.name << ", " << c.argument << "}";
}

// Installs a sys procedure that records every call and answers from a table
// of names (0 for others); restores the default procedure afterwards.
class SysRecorder {
 public:
  SysRecorder() {
    active_ = this;
    SetTalkSysProc(&Proc);
  }
  ~SysRecorder() {
    SetTalkSysProc(DefaultTalkSysProc);
    active_ = nullptr;
  }
  std::vector<SysCall> calls;
  std::map<std::string, int> answers;

 private:
  static SYSRESULT Proc(SYSMODE mode, char* name, int argument) {
    active_->calls.push_back({mode, name, argument});
    auto it = active_->answers.find(name);
    return {0, it == active_->answers.end() ? 0 : it->second, 0};
  }
  static inline SysRecorder* active_ = nullptr;
};

}  // namespace talktest
