// Two copies of the built program started at the same moment, as a double
// click on a launcher does: one plays, the other says on standard error that
// the game is already running and ends. Both share the save folder and the
// settings file, so both playing would overwrite each other's.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/program/sample_world_suite.h"

namespace {

namespace fs = std::filesystem;

struct Copy {
  pid_t pid = -1;
  int err = -1;  // the read end of its standard error
  std::string errText;
  int status = -1;  // once it has ended
  bool ended = false;
};

// Forks a copy that waits on the gate (a pipe) before it becomes the
// program, so that copies let through the same gate start together.
Copy Fork(const int gate[2], const fs::path& world, const fs::path& runtime) {
  Copy copy;
  int errPipe[2];
  if (::pipe(errPipe) != 0) return copy;
  copy.pid = ::fork();
  if (copy.pid == 0) {
    ::dup2(errPipe[1], 2);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, 1);
    ::close(gate[1]);
    char go;
    (void)!::read(gate[0], &go, 1);  // returns once the parent closes the writing end
    if (::chdir(world.c_str()) != 0) ::_exit(120);
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    ::setenv("TARNWICK_WINDOWED", "1", 1);
    char program[] = TARNWICK_PROGRAM;
    char* argv[] = {program, nullptr};
    ::execv(program, argv);
    ::_exit(121);
  }
  ::close(errPipe[1]);
  copy.err = errPipe[0];
  ::fcntl(copy.err, F_SETFL, O_NONBLOCK);
  return copy;
}

void Drain(Copy& copy) {
  char buffer[512];
  for (ssize_t n; (n = ::read(copy.err, buffer, sizeof buffer)) > 0;)
    copy.errText.append(buffer, static_cast<size_t>(n));
}

void Reap(Copy& copy, int options) {
  if (copy.ended || copy.pid <= 0) return;
  int status = 0;
  if (::waitpid(copy.pid, &status, options) == copy.pid) {
    copy.ended = true;
    copy.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
}

bool SaidRunning(const Copy& copy) { return copy.errText.find("already running") != std::string::npos; }

class SecondCopy : public programtest::SampleWorldSuite {};

TEST_F(SecondCopy, OfTwoCopiesStartedTogetherOnePlaysAndTheOtherSaysSo) {
  for (int pair = 0; pair < 3; ++pair) {
    SCOPED_TRACE(pair);
    // A runtime folder of the pair's own: no copy of an earlier pair counts.
    const fs::path runtime = World() / ("runtime" + std::to_string(pair));
    fs::create_directories(runtime);
    int gate[2];
    ASSERT_EQ(::pipe(gate), 0);
    std::array<Copy, 2> copies = {Fork(gate, World(), runtime), Fork(gate, World(), runtime)};
    ::close(gate[0]);
    ::close(gate[1]);  // both go
    ASSERT_GT(copies[0].pid, 0);
    ASSERT_GT(copies[1].pid, 0);

    // Until one has ended (a copy that hangs is a failure, not a hung test).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!copies[0].ended && !copies[1].ended && std::chrono::steady_clock::now() < deadline) {
      pollfd watch[2] = {{copies[0].err, POLLIN, 0}, {copies[1].err, POLLIN, 0}};
      ::poll(watch, 2, 100);
      for (Copy& c : copies) {
        Drain(c);
        Reap(c, WNOHANG);
      }
    }
    const int ended = copies[0].ended ? 0 : copies[1].ended ? 1 : -1;
    Copy& other = copies[ended == 1 ? 0 : 1];
    Reap(other, WNOHANG);
    const bool otherRunning = !other.ended;
    for (Copy& c : copies) {
      if (!c.ended) ::kill(c.pid, SIGKILL);
      Reap(c, 0);
      Drain(c);
      ::close(c.err);
    }
    ASSERT_NE(ended, -1) << "both copies ran\n" << copies[0].errText << copies[1].errText;
    const Copy& second = copies[static_cast<size_t>(ended)];
    EXPECT_EQ(second.status, 0) << second.errText;
    EXPECT_TRUE(SaidRunning(second)) << second.errText;
    EXPECT_TRUE(otherRunning) << "the copy that won ended too\n" << other.errText;
    EXPECT_FALSE(SaidRunning(other)) << other.errText;
  }
}

}  // namespace
