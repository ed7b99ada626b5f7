// The built program as a newcomer starts it: without a display it says so
// on one line and ends with a failure status instead of running unseen.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProgramRun {
  int status = -1;  // the exit status, -1 when it had to be stopped
  std::string err;
};

// Runs the program with the environment less the given variables, giving up
// after a while (a program that hangs is a failure, not a hung test).
ProgramRun RunWithout(const std::vector<std::string>& dropped) {
  std::vector<std::string> kept;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    bool drop = false;
    for (const std::string& name : dropped) drop = drop || entry.rfind(name + "=", 0) == 0;
    if (!drop) kept.push_back(entry);
  }
  std::vector<char*> env;
  for (std::string& entry : kept) env.push_back(entry.data());
  env.push_back(nullptr);

  int pipeFds[2];
  ProgramRun run;
  if (::pipe(pipeFds) != 0) return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
  char program[] = TARNWICK_PROGRAM;
  char* argv[] = {program, nullptr};
  pid_t pid = 0;
  int spawned = posix_spawn(&pid, program, &actions, nullptr, argv, env.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeFds[1]);
  if (spawned != 0) {
    ::close(pipeFds[0]);
    return run;
  }
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  bool stopped = false;
  for (;;) {
    pollfd p{pipeFds[0], POLLIN, 0};
    if (::poll(&p, 1, 200) > 0) {
      char buffer[512];
      ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
      if (n <= 0) break;
      run.err.append(buffer, static_cast<size_t>(n));
    }
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      stopped = true;
      break;
    }
  }
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!stopped && WIFEXITED(status)) run.status = WEXITSTATUS(status);
  return run;
}

std::vector<std::string> LinesStartingWith(const std::string& text, const std::string& start) {
  std::vector<std::string> found;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    if (line.rfind(start, 0) == 0) found.push_back(line);
  return found;
}

TEST(FirstRun, WithoutADisplayTheProgramEndsAtOnceWithItsReason) {
  ProgramRun run = RunWithout({"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"});
  EXPECT_EQ(run.status, 1) << run.err;
  std::vector<std::string> ours = LinesStartingWith(run.err, "tarnwick: ");
  ASSERT_EQ(ours.size(), 1u) << run.err;
  EXPECT_NE(ours[0].find("cannot open a display"), std::string::npos) << ours[0];
  EXPECT_NE(ours[0].find("SDL_VIDEODRIVER=dummy"), std::string::npos) << ours[0];
}

}  // namespace
