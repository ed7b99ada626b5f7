#pragma once
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

// A private X server (Xvfb, optionally with the openbox window manager) that
// a test drives as a person would: the pointer and keys go in through XTEST
// (xdotool), pictures come out through xwd. Nothing here sleeps to wait: the
// server is ready once a client can talk to it.
namespace xtest {

// Screen pixels, 0x00RRGGBB row by row.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> rgb;

  uint32_t At(int x, int y) const {
    return rgb[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
  }
  Picture Crop(int x, int y, int w, int h) const;
};

// The programs a session needs that are not on PATH; empty when all are.
std::vector<std::string> MissingXTools(bool windowManager);

class XSession {
 public:
  static constexpr int kScreenWidth = 1024;
  static constexpr int kScreenHeight = 768;

  // Starts the server on a free display, and the window manager when asked.
  explicit XSession(bool windowManager);
  // Ends the window manager and the server.
  ~XSession();
  XSession(const XSession&) = delete;
  XSession& operator=(const XSession&) = delete;

  // Empty once the server (and window manager) run; else why not.
  const std::string& Error() const { return error_; }
  // ":N".
  const std::string& Display() const { return display_; }

  // Runs xdotool with the arguments; its standard output, and whether it ended well.
  bool Xdo(const std::vector<std::string>& arguments, std::string* output = nullptr) const;
  // The first window whose title holds name, or 0.
  unsigned long FindWindow(const std::string& name) const;
  // A window titled exactly name once it shows, waiting up to seconds; 0
  // when none does.
  unsigned long WaitForWindow(const std::string& name, double seconds) const;
  // Whether a window titled exactly name exists, shown or not.
  bool HasWindow(const std::string& name) const;
  // xwininfo's view of every window, for failure messages.
  std::string WindowTree() const;
  // The window's place on the screen and its size; false when unknown.
  bool Geometry(unsigned long window, int* x, int* y, int* width, int* height) const;
  // The whole screen as it shows now; empty when it cannot be read.
  Picture Grab() const;

 private:
  std::string display_;
  pid_t server_ = -1;
  pid_t windowManager_ = -1;
  std::string error_;
};

// Runs program with arguments and extra environment entries (NAME=value),
// its standard output kept; the exit status, -1 when it did not run or end.
int RunTool(const std::vector<std::string>& command, const std::vector<std::string>& environment, std::string* output);
// Starts program without waiting; its standard output and error go to log
// (or are dropped when empty). The process id, -1 when it did not start.
pid_t StartProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                   const std::string& directory, const std::string& log);
// Ends a started process: SIGTERM, then SIGKILL when it lingers.
void StopProcess(pid_t pid);
// Waits up to seconds for the process to end, leaving it running when it
// does not; true once it ended, its exit status in *status (-1 by a signal).
bool AwaitEnd(pid_t pid, double seconds, int* status);

// A process started as StartProcess starts it, stopped with the object when
// still running.
class Process {
 public:
  Process(const std::vector<std::string>& command, const std::vector<std::string>& environment,
          const std::string& directory, const std::string& log);
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Started() const { return pid_ > 0; }
  // True once the process has ended, waiting up to seconds.
  bool WaitForEnd(double seconds);
  // Its exit status once ended; -1 before, or when a signal ended it.
  int ExitStatus() const { return exitStatus_; }
  // What it wrote to its log so far.
  std::string Output() const;

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
  int exitStatus_ = -1;
  std::string log_;
};

// Decodes an X window dump (xwd's format, 24 or 32 bits a pixel).
Picture DecodeXwd(const std::string& bytes);

}  // namespace xtest
