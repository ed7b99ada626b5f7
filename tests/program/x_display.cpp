#include "tests/program/x_display.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace programtest {
namespace {

namespace fs = std::filesystem;

// This process's environment with the given NAME=VALUE entries put over it.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& entries) {
  std::vector<std::string> out;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    bool replaced = false;
    for (const std::string& over : entries)
      replaced = replaced || entry.compare(0, over.find('=') + 1, over, 0, over.find('=') + 1) == 0;
    if (!replaced) out.push_back(entry);
  }
  out.insert(out.end(), entries.begin(), entries.end());
  return out;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> out;
  for (std::string& s : strings) out.push_back(s.data());
  out.push_back(nullptr);
  return out;
}

// Starts a program found on PATH; -1 when it cannot start.
pid_t Spawn(std::vector<std::string> argv, const std::vector<std::string>& environment,
            posix_spawn_file_actions_t* actions) {
  std::vector<std::string> env = EnvironmentWith(environment);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0].c_str(), actions, nullptr, Pointers(argv).data(), Pointers(env).data()) != 0)
    return -1;
  return pid;
}

void Stop(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  for (int i = 0; i < 50; ++i) {
    if (::waitpid(pid, nullptr, WNOHANG) == pid) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ::kill(pid, SIGKILL);
  ::waitpid(pid, nullptr, 0);
}

}  // namespace

std::vector<std::string> MissingTools(const std::vector<std::string>& tools) {
  std::vector<std::string> missing;
  const char* path = std::getenv("PATH");
  for (const std::string& tool : tools) {
    bool found = false;
    std::istringstream dirs(path ? path : "");
    for (std::string dir; !found && std::getline(dirs, dir, ':');)
      found = !dir.empty() && ::access((fs::path(dir) / tool).c_str(), X_OK) == 0;
    if (!found) missing.push_back(tool);
  }
  return missing;
}

std::optional<XDisplay> XDisplay::Start() {
  int fds[2];
  if (::pipe(fds) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const std::string screen = std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24";
  // The server picks a free display number and writes it to the pipe.
  const pid_t pid = Spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp"},
                          {}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  std::string number;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (pid > 0 && number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fds[0], POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char c[16];
    const ssize_t n = ::read(fds[0], c, sizeof c);
    if (n <= 0) break;
    number.append(c, static_cast<size_t>(n));
  }
  ::close(fds[0]);
  if (number.find('\n') == std::string::npos) {
    Stop(pid);
    return std::nullopt;
  }
  return XDisplay(pid, std::atoi(number.c_str()));
}

std::string XDisplay::Name() const {
  std::string name(":");
  name.append(std::to_string(number_));
  return name;
}

XDisplay::XDisplay(XDisplay&& other) noexcept
    : server_(other.server_), manager_(other.manager_), number_(other.number_) {
  other.server_ = -1;
  other.manager_ = -1;
}

XDisplay::~XDisplay() {
  Stop(manager_);
  Stop(server_);
}

bool XDisplay::StartWindowManager() {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  manager_ = Spawn({"openbox"}, {"DISPLAY=" + Name()}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  // A manager that keeps desktops is up once it answers which one shows.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (manager_ > 0 && std::chrono::steady_clock::now() < deadline) {
    if (!Run("xdotool", {"get_desktop"}).empty()) {
      // Still setting up then: a window mapped at once may go unmanaged.
      std::this_thread::sleep_for(std::chrono::seconds(1));
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return false;
}

std::string XDisplay::Run(const std::string& tool, const std::vector<std::string>& arguments) const {
  int fds[2];
  if (::pipe(fds) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
  posix_spawn_file_actions_addclose(&actions, fds[0]);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::vector<std::string> argv = {tool};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const pid_t pid = Spawn(argv, {"DISPLAY=" + Name()}, &actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(fds[1]);
  std::string out;
  char buffer[256];
  for (ssize_t n; pid > 0 && (n = ::read(fds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(n));
  ::close(fds[0]);
  if (pid > 0) ::waitpid(pid, nullptr, 0);
  return out;
}

namespace {

// The id of the first window of exactly that name in xwininfo's tree.
std::string WindowNamed(const std::string& tree, const std::string& name) {
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);) {
    const size_t at = line.find(" \"" + name + "\":");
    if (at == std::string::npos) continue;
    std::istringstream words(line);
    std::string id;
    words >> id;
    return id;
  }
  return {};
}

}  // namespace

bool XDisplay::HasWindow(const std::string& name) const {
  return !WindowNamed(Run("xwininfo", {"-root", "-tree"}), name).empty();
}

std::string XDisplay::WaitForWindow(const std::string& name, std::chrono::seconds deadline) const {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (std::chrono::steady_clock::now() < end) {
    const std::string id = WindowNamed(Run("xwininfo", {"-root", "-tree"}), name);
    if (!id.empty() && Run("xwininfo", {"-id", id}).find("IsViewable") != std::string::npos) return id;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return {};
}

Geometry WindowGeometry(const XDisplay& display, const std::string& window) {
  Geometry g;
  std::istringstream lines(display.Run("xwininfo", {"-id", window}));
  for (std::string line; std::getline(lines, line);) {
    const size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    const std::string name = line.substr(line.find_first_not_of(' '), colon - line.find_first_not_of(' '));
    const int value = std::atoi(line.c_str() + colon + 1);
    if (name == "Absolute upper-left X") g.x = value;
    if (name == "Absolute upper-left Y") g.y = value;
    if (name == "Width") g.width = value;
    if (name == "Height") g.height = value;
  }
  return g;
}

ProgramRun::ProgramRun(const fs::path& folder, const std::vector<std::string>& environment) {
  static int runs = 0;
  errorFile_ = fs::temp_directory_path() /
               ("tarnwick-run-" + std::to_string(::getpid()) + "-" + std::to_string(++runs) + ".err");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_ = Spawn({TARNWICK_PROGRAM}, environment, &actions);
  posix_spawn_file_actions_destroy(&actions);
}

ProgramRun::~ProgramRun() {
  if (!ended_) Stop(pid_);
  std::error_code ignored;
  fs::remove(errorFile_, ignored);
}

bool ProgramRun::WaitForEnd(std::chrono::seconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!ended_ && pid_ > 0) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      ended_ = true;
      status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() > end) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return ended_;
}

std::string ProgramRun::ErrorText() const {
  std::ifstream in(errorFile_);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace programtest
