#include "tests/realplay/game_run.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace realplay {
namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictureWidth = 640;
constexpr int kPictureHeight = 480;

// A fresh state log in the world's folder.
std::string NewLog(const std::string& world) {
  const std::string path = (std::filesystem::path(world) / "state.log").string();
  std::filesystem::remove(path);
  return path;
}

std::vector<std::string> ProgramEnvironment(const XSession& x, const std::string& world, const std::string& log,
                                            bool windowed) {
  const std::string runtime = (std::filesystem::path(world) / "runtime").string();
  std::filesystem::create_directories(runtime);
  // In a sanitized build the leak check at the program's end now and then
  // fails inside the checker itself (its tracer faults while the program's
  // threads wind down); leaks are the in-process suites' to find.
  const char* asan = std::getenv("ASAN_OPTIONS");
  const std::string sanitizer =
      "ASAN_OPTIONS=" + std::string(asan && *asan ? asan + std::string(":") : "") + "detect_leaks=0";
  return {"DISPLAY=" + x.Display(),
          "SDL_VIDEODRIVER=",
          "SDL_AUDIODRIVER=dummy",
          "XDG_RUNTIME_DIR=" + runtime,
          "TARNWICK_STATE_LOG=" + log,
          windowed ? "TARNWICK_WINDOWED=1" : "TARNWICK_WINDOWED=",
          sanitizer};
}

}  // namespace

std::string GameState::Get(const std::string& name) const {
  auto found = values.find(name);
  return found == values.end() ? "" : found->second;
}

int GameState::Int(const std::string& name, int fallback) const {
  auto found = values.find(name);
  return found == values.end() ? fallback : std::atoi(found->second.c_str());
}

bool GameState::Pair(const std::string& name, int* a, int* b) const {
  const std::string value = Get(name);
  const size_t comma = value.find(',');
  if (comma == std::string::npos) return false;
  *a = std::atoi(value.c_str());
  *b = std::atoi(value.c_str() + comma + 1);
  return true;
}

GameState ParseStateLine(const std::string& line) {
  GameState state;
  std::istringstream words(line);
  for (std::string word; words >> word;) {
    const size_t eq = word.find('=');
    if (eq != std::string::npos) state.values[word.substr(0, eq)] = word.substr(eq + 1);
  }
  return state;
}

GameRun::GameRun(const XSession& x, const std::string& world, const std::string& renderPath, bool windowed)
    : x_(x),
      logPath_(NewLog(world)),
      program_({TARNWICK_PROGRAM, renderPath}, ProgramEnvironment(x, world, logPath_, windowed), world,
               (std::filesystem::path(world) / "program-output.txt").string()) {}

std::string GameRun::Output() const { return program_.Output(); }

void GameRun::ReadNewLines() {
  std::ifstream in(logPath_, std::ios::binary);
  if (!in) return;
  in.seekg(static_cast<std::streamoff>(logRead_));
  std::string more((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  logRead_ += more.size();
  partial_ += more;
  for (size_t end; (end = partial_.find('\n')) != std::string::npos;) {
    pending_.push_back(partial_.substr(0, end));
    partial_.erase(0, end + 1);
  }
}

bool GameRun::WaitFor(const std::function<bool(const GameState&)>& done, double seconds) {
  if (done(state_)) return true;
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  for (bool ended = false;;) {
    ReadNewLines();
    while (!pending_.empty()) {
      const std::string line = pending_.front();
      pending_.erase(pending_.begin());
      history_ += line + "\n";
      state_ = ParseStateLine(line);
      if (done(state_)) return true;
    }
    if (ended) return false;
    ended = !program_.Started() || program_.WaitForEnd(0);
    if (ended) continue;  // the lines it wrote last
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

bool GameRun::WaitForChange(double seconds) {
  bool first = true;
  return WaitFor([&](const GameState&) { return !std::exchange(first, false); }, seconds);
}

void GameRun::Pause(double seconds) {
  WaitFor([](const GameState&) { return false; }, seconds);
}

bool GameRun::FindWindow(double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  for (;;) {
    int x = 0, y = 0, width = 0, height = 0;
    const unsigned long window = x_.FindWindow("Tarnwick");
    if (window && x_.Geometry(window, &x, &y, &width, &height) && width >= kPictureWidth && height >= kPictureHeight) {
      scale_ = std::min(static_cast<double>(width) / kPictureWidth, static_cast<double>(height) / kPictureHeight);
      originX_ = x + static_cast<int>((width - kPictureWidth * scale_) / 2);
      originY_ = y + static_cast<int>((height - kPictureHeight * scale_) / 2);
      return true;
    }
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

void GameRun::ToScreen(int x, int y, int* sx, int* sy) const {
  *sx = originX_ + static_cast<int>((x + 0.5) * scale_);
  *sy = originY_ + static_cast<int>((y + 0.5) * scale_);
}

bool GameRun::MoveTo(int x, int y) const {
  int sx = 0, sy = 0;
  ToScreen(x, y, &sx, &sy);
  return x_.Xdo({"mousemove", std::to_string(sx), std::to_string(sy)});
}

bool GameRun::MoveBy(int dx, int dy) const {
  return x_.Xdo({"mousemove_relative", "--", std::to_string(dx), std::to_string(dy)});
}

bool GameRun::Click(int x, int y, int button) const {
  return MoveTo(x, y) && x_.Xdo({"click", std::to_string(button)});
}

bool GameRun::ClickHere(int button) const { return x_.Xdo({"click", std::to_string(button)}); }

bool GameRun::KeyDown(const std::string& key) const { return x_.Xdo({"keydown", key}); }
bool GameRun::KeyUp(const std::string& key) const { return x_.Xdo({"keyup", key}); }
bool GameRun::Key(const std::string& key) const { return x_.Xdo({"key", key}); }

Picture GameRun::Grab() const {
  const Picture screen = x_.Grab();
  if (screen.rgb.empty()) return {};
  Picture picture;
  picture.width = kPictureWidth;
  picture.height = kPictureHeight;
  picture.rgb.reserve(static_cast<size_t>(kPictureWidth) * kPictureHeight);
  for (int y = 0; y < kPictureHeight; ++y)
    for (int x = 0; x < kPictureWidth; ++x) {
      int sx = 0, sy = 0;
      ToScreen(x, y, &sx, &sy);
      const bool inside = sx >= 0 && sy >= 0 && sx < screen.width && sy < screen.height;
      picture.rgb.push_back(inside ? screen.At(sx, sy) : 0);
    }
  return picture;
}

int GameRun::WaitForEnd(double seconds) {
  program_.WaitForEnd(seconds);
  ReadNewLines();
  return program_.ExitStatus();
}

}  // namespace realplay
