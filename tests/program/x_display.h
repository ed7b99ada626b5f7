#pragma once
// The program run as a person runs it, on a real X server of its own (Xvfb),
// with or without a window manager, and looked at with xdotool.
#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace programtest {

// The tools a run needs that are missing from PATH, by name; empty when all are there.
std::vector<std::string> MissingTools(const std::vector<std::string>& tools);

// An Xvfb server of its own display number, 1024 x 768, ended with the object.
class XDisplay {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  // Nothing when the server did not start.
  static std::optional<XDisplay> Start();
  XDisplay(XDisplay&& other) noexcept;
  XDisplay& operator=(XDisplay&&) = delete;
  ~XDisplay();

  // ":N"
  std::string Name() const;
  // Starts openbox on the display; false when it did not come up.
  bool StartWindowManager();
  // Runs an X client (xdotool, xwininfo) on the display; its standard output.
  std::string Run(const std::string& tool, const std::vector<std::string>& arguments) const;
  // The id of a window of exactly that name, once it shows before the
  // deadline; empty when none does.
  std::string WaitForWindow(const std::string& name, std::chrono::seconds deadline) const;
  // Whether a window of exactly that name exists, shown or not.
  bool HasWindow(const std::string& name) const;

 private:
  XDisplay(pid_t server, int number) : server_(server), number_(number) {}
  pid_t server_ = -1;
  pid_t manager_ = -1;
  int number_ = 0;
};

// A window's place and size on the screen.
struct Geometry {
  int x = -1, y = -1, width = 0, height = 0;
  bool operator==(const Geometry&) const = default;
};
Geometry WindowGeometry(const XDisplay& display, const std::string& window);

// The built program started in a folder with extra environment entries;
// its standard error goes to a file. Ended (killed) with the object when
// still running.
class ProgramRun {
 public:
  ProgramRun(const std::filesystem::path& folder, const std::vector<std::string>& environment);
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;
  ~ProgramRun();

  bool Started() const { return pid_ > 0; }
  // True once the program has ended, waiting up to the deadline.
  bool WaitForEnd(std::chrono::seconds deadline);
  int ExitStatus() const { return status_; }
  std::string ErrorText() const;

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = -1;
  std::filesystem::path errorFile_;
};

}  // namespace programtest
