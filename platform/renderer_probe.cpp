#include "platform/renderer_probe.h"

#include <SDL.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <sstream>

#include "platform/files.h"
#include "platform/window_native.h"

namespace plat::native {
namespace {

// Loading a processor rasteriser on a busy machine can take seconds.
constexpr auto kAnswerTime = std::chrono::seconds(10);
constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

int g_answerFd = -1;
pid_t g_child = -1;
RendererKind g_answer = RendererKind::Unknown;
std::string g_answerText;
std::chrono::steady_clock::time_point g_deadline;

bool SingleThreaded() {
  std::string text;
  if (!ReadSmallTextFile("/proc/self/status", text)) return false;
  std::istringstream status(text);
  std::string key;
  int threads = 0;
  while (status >> key)
    if (key == "Threads:" && status >> threads) return threads == 1;
  return false;
}

// Unset, SDL picks a real display.
bool HeadlessEnvironment() {
  const char* driver = SDL_getenv("SDL_VIDEODRIVER");
  return driver && HeadlessDriver(driver);
}

// The child: its own connection to the display, a hidden window with a
// context, the renderer string down the pipe, and out without running any
// of the parent's exit handlers.
[[noreturn]] void AnswerInChild(int fd) {
  std::string renderer;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
    SDL_Window* window = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    using GetString = const unsigned char* (*)(unsigned);
    auto getString = context ? reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString")) : nullptr;
    const unsigned char* text = getString ? getString(kGlRenderer) : nullptr;
    if (text) renderer = reinterpret_cast<const char*>(text);
  }
  renderer += '\n';
  ssize_t written = write(fd, renderer.data(), renderer.size());
  _exit(written == static_cast<ssize_t>(renderer.size()) ? 0 : 1);
}

// What the child wrote so far; once a whole line is in, or the child is
// past its time, the child is reaped and the answer kept.
void TakeAnswer() {
  pollfd ready{g_answerFd, POLLIN, 0};
  char buffer[256];
  bool closed = false;
  while (g_answerText.find('\n') == std::string::npos && poll(&ready, 1, 0) > 0) {
    const ssize_t got = read(g_answerFd, buffer, sizeof buffer);
    if (got <= 0) {
      closed = true;
      break;
    }
    g_answerText.append(buffer, static_cast<size_t>(got));
  }
  const bool answered = g_answerText.find('\n') != std::string::npos;
  if (!answered && !closed && std::chrono::steady_clock::now() < g_deadline) return;
  if (!answered) kill(g_child, SIGKILL);
  waitpid(g_child, nullptr, 0);
  close(g_answerFd);
  g_answerFd = -1;
  g_child = -1;
  const std::string renderer = g_answerText.substr(0, g_answerText.find('\n'));
  if (!answered || renderer.empty()) g_answer = RendererKind::Unknown;
  else g_answer = IsSoftwareGlRenderer(renderer) ? RendererKind::Processor : RendererKind::Gpu;
}

}  // namespace

bool IsSoftwareGlRenderer(const std::string& renderer) {
  std::string lower = renderer;
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
  static const char* const kProcessorRasterisers[] = {"llvmpipe", "softpipe", "software rasterizer", "swrast",
                                                      "swr (",    "lavapipe", "basic render driver"};
  for (const char* name : kProcessorRasterisers)
    if (lower.find(name) != std::string::npos) return true;
  return false;
}

void StartRendererProbe() {
  if (g_child >= 0 || SDL_WasInit(SDL_INIT_VIDEO) || HeadlessEnvironment() || SDL_getenv("SDL_RENDER_DRIVER") ||
      !SingleThreaded())
    return;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    AnswerInChild(fds[1]);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    return;
  }
  g_child = child;
  g_answerFd = fds[0];
  g_deadline = std::chrono::steady_clock::now() + kAnswerTime;
}

RendererKind RendererProbeAnswer() {
  if (g_child >= 0) TakeAnswer();
  return g_child >= 0 ? RendererKind::Pending : g_answer;
}

}  // namespace plat::native
