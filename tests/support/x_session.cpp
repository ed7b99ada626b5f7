#include "tests/support/x_session.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace xtest {
namespace {

using Clock = std::chrono::steady_clock;

bool OnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::istringstream dirs(path ? path : "");
  for (std::string dir; std::getline(dirs, dir, ':');)
    if (!dir.empty() && ::access((std::filesystem::path(dir) / program).c_str(), X_OK) == 0) return true;
  return false;
}

// The caller's environment with the entries replaced or added; an entry
// "NAME=" alone (no value) drops NAME.
std::vector<std::string> MergedEnvironment(const std::vector<std::string>& changes) {
  auto nameOf = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
  std::vector<std::string> merged;
  for (char** e = environ; *e; ++e) {
    bool replaced = false;
    for (const std::string& c : changes) replaced = replaced || nameOf(c) == nameOf(*e);
    if (!replaced) merged.emplace_back(*e);
  }
  for (const std::string& c : changes)
    if (c.back() != '=') merged.push_back(c);
  return merged;
}

std::vector<char*> Pointers(std::vector<std::string>& strings) {
  std::vector<char*> pointers;
  for (std::string& s : strings) pointers.push_back(s.data());
  pointers.push_back(nullptr);
  return pointers;
}

pid_t Spawn(std::vector<std::string> command, const std::vector<std::string>& environment,
            posix_spawn_file_actions_t* actions) {
  std::vector<std::string> env = MergedEnvironment(environment);
  std::vector<char*> argv = Pointers(command);
  std::vector<char*> envp = Pointers(env);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), envp.data()) != 0) return -1;
  return pid;
}

uint32_t BigEndian32(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v = v << 8 | static_cast<uint8_t>(bytes[offset + i]);
  return v;
}

int LowestBit(uint32_t mask) {
  int shift = 0;
  while (mask && !(mask & 1)) mask >>= 1, ++shift;
  return shift;
}

}  // namespace

Picture Picture::Crop(int x, int y, int w, int h) const {
  Picture part;
  part.width = w;
  part.height = h;
  for (int row = y; row < y + h; ++row)
    for (int col = x; col < x + w; ++col)
      part.rgb.push_back(row >= 0 && row < height && col >= 0 && col < width ? At(col, row) : 0);
  return part;
}

std::vector<std::string> MissingXTools(bool windowManager) {
  std::vector<std::string> missing;
  for (const char* tool : {"Xvfb", "xdotool", "xwd", "xwininfo"})
    if (!OnPath(tool)) missing.emplace_back(tool);
  if (windowManager && !OnPath("openbox")) missing.emplace_back("openbox");
  return missing;
}

int RunTool(const std::vector<std::string>& command, const std::vector<std::string>& environment, std::string* output) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const pid_t pid = Spawn(command, environment, &actions);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  std::string out;
  char buffer[65536];
  for (ssize_t n; pid > 0 && (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
    out.append(buffer, static_cast<size_t>(n));
  ::close(pipeFds[0]);
  if (output) *output = std::move(out);
  if (pid <= 0) return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

pid_t StartProcess(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                   const std::string& directory, const std::string& log) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  const char* out = log.empty() ? "/dev/null" : log.c_str();
  posix_spawn_file_actions_addopen(&actions, 1, out, O_WRONLY | O_CREAT | O_APPEND, 0644);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  const pid_t pid = Spawn(command, environment, &actions);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

bool AwaitEnd(pid_t pid, double seconds, int* status) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    int raw = 0;
    const pid_t ended = ::waitpid(pid, &raw, WNOHANG);
    if (ended == pid || ended < 0) {
      *status = ended == pid && WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
      return true;
    }
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Process::Process(const std::vector<std::string>& command, const std::vector<std::string>& environment,
                 const std::string& directory, const std::string& log)
    : pid_(StartProcess(command, environment, directory, log)), log_(log) {}

Process::~Process() {
  if (!ended_) StopProcess(pid_);
}

bool Process::WaitForEnd(double seconds) {
  if (!ended_ && pid_ > 0) ended_ = AwaitEnd(pid_, seconds, &exitStatus_);
  return ended_;
}

std::string Process::Output() const {
  std::ifstream in(log_, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void StopProcess(pid_t pid) {
  if (pid <= 0) return;
  ::kill(pid, SIGTERM);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (::waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

XSession::XSession(bool windowManager) {
  // A display far above the ones people use; the server says through the
  // pipe which one it listens on once it is ready, or closes it on failure.
  const int first = 300 + static_cast<int>(::getpid() % 500);
  for (int number = first; number < first + 20 && display_.empty(); ++number) {
    int ready[2];
    if (::pipe(ready) != 0) break;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, ready[0]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const std::string screen = std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight) + "x24";
    server_ = Spawn({"Xvfb", ":" + std::to_string(number), "-displayfd", std::to_string(ready[1]), "-nolisten", "tcp",
                     "-screen", "0", screen},
                    {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ready[1]);
    std::string said;
    char buffer[32];
    pollfd p{ready[0], POLLIN, 0};
    while (server_ > 0 && ::poll(&p, 1, 20000) > 0) {
      const ssize_t n = ::read(ready[0], buffer, sizeof buffer);
      if (n <= 0) break;
      said.append(buffer, static_cast<size_t>(n));
      if (said.find('\n') != std::string::npos) break;
    }
    ::close(ready[0]);
    if (said.find('\n') != std::string::npos) {
      display_ = ":" + said.substr(0, said.find('\n'));
    } else {
      StopProcess(server_);
      server_ = -1;
    }
  }
  if (display_.empty()) {
    error_ = "Xvfb did not start on any of 20 displays";
    return;
  }
  if (!windowManager) return;
  // openbox runs its start-up command once it manages the screen.
  const std::string flag =
      (std::filesystem::temp_directory_path() / ("tarnwick-wm-" + std::to_string(::getpid()) + display_.substr(1)))
          .string();
  std::filesystem::remove(flag);
  windowManager_ =
      StartProcess({"openbox", "--sm-disable", "--startup", "touch " + flag}, {"DISPLAY=" + display_}, "", "");
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (!std::filesystem::exists(flag) && Clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  if (!std::filesystem::exists(flag)) error_ = "openbox did not start";
  std::filesystem::remove(flag);
}

XSession::~XSession() {
  StopProcess(windowManager_);
  StopProcess(server_);
}

bool XSession::Xdo(const std::vector<std::string>& arguments, std::string* output) const {
  std::vector<std::string> command = {"xdotool"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunTool(command, {"DISPLAY=" + display_}, output) == 0;
}

unsigned long XSession::FindWindow(const std::string& name) const {
  std::string out;
  if (!Xdo({"search", "--name", name}, &out)) return 0;
  return std::strtoul(out.c_str(), nullptr, 10);
}

namespace {

// The first window titled exactly name in xwininfo's tree, or 0.
unsigned long WindowNamed(const std::string& tree, const std::string& name) {
  std::istringstream lines(tree);
  for (std::string line; std::getline(lines, line);)
    if (line.find(" \"" + name + "\":") != std::string::npos) return std::strtoul(line.c_str(), nullptr, 0);
  return 0;
}

}  // namespace

std::string XSession::WindowTree() const {
  std::string tree;
  RunTool({"xwininfo", "-root", "-tree"}, {"DISPLAY=" + display_}, &tree);
  return tree;
}

bool XSession::HasWindow(const std::string& name) const { return WindowNamed(WindowTree(), name) != 0; }

unsigned long XSession::WaitForWindow(const std::string& name, double seconds) const {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  do {
    const unsigned long window = WindowNamed(WindowTree(), name);
    std::string state;
    if (window && RunTool({"xwininfo", "-id", std::to_string(window)}, {"DISPLAY=" + display_}, &state) == 0 &&
        state.find("IsViewable") != std::string::npos)
      return window;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  } while (Clock::now() < deadline);
  return 0;
}

bool XSession::Geometry(unsigned long window, int* x, int* y, int* width, int* height) const {
  std::string out;
  if (!Xdo({"getwindowgeometry", "--shell", std::to_string(window)}, &out)) return false;
  int found = 0;
  std::istringstream lines(out);
  for (std::string line; std::getline(lines, line);) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    const std::string key = line.substr(0, eq);
    const int value = std::atoi(line.c_str() + eq + 1);
    int* target = key == "X" ? x : key == "Y" ? y : key == "WIDTH" ? width : key == "HEIGHT" ? height : nullptr;
    if (target) *target = value, ++found;
  }
  return found == 4;
}

Picture XSession::Grab() const {
  std::string bytes;
  if (RunTool({"xwd", "-root", "-silent"}, {"DISPLAY=" + display_}, &bytes) != 0) return {};
  return DecodeXwd(bytes);
}

Picture DecodeXwd(const std::string& bytes) {
  // The header is 25 big-endian words; the colour map's 12-byte entries
  // follow the header (whose size counts the window's name), then the pixels.
  constexpr size_t kHeaderWords = 25;
  if (bytes.size() < kHeaderWords * 4) return {};
  auto word = [&](int i) { return BigEndian32(bytes, static_cast<size_t>(i) * 4); };
  const uint32_t headerSize = word(0), format = word(2), width = word(4), height = word(5), byteOrder = word(7),
                 bitsPerPixel = word(11), bytesPerLine = word(12), redMask = word(14), greenMask = word(15),
                 blueMask = word(16), colours = word(19);
  const bool packed = bitsPerPixel == 24 || bitsPerPixel == 32;
  if (format != 2 || !packed || width == 0 || height == 0 || width > 8192 || height > 8192) return {};
  const size_t start = headerSize + static_cast<size_t>(colours) * 12;
  const size_t step = bitsPerPixel / 8;
  if (bytesPerLine < width * step || start + static_cast<size_t>(bytesPerLine) * height > bytes.size()) return {};
  Picture picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.rgb.reserve(static_cast<size_t>(width) * height);
  auto channel = [](uint32_t pixel, uint32_t mask) { return (pixel & mask) >> LowestBit(mask) & 0xFF; };
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x) {
      const size_t at = start + static_cast<size_t>(y) * bytesPerLine + x * step;
      uint32_t pixel = 0;
      for (size_t b = 0; b < step; ++b) {
        const uint32_t byte = static_cast<uint8_t>(bytes[at + b]);
        pixel |= byteOrder == 0 ? byte << (8 * b) : byte << (8 * (step - 1 - b));
      }
      picture.rgb.push_back(channel(pixel, redMask) << 16 | channel(pixel, greenMask) << 8 | channel(pixel, blueMask));
    }
  return picture;
}

}  // namespace xtest
