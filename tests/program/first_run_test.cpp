// The built program as a newcomer starts it: without a display it says so
// on one line and ends with a failure status instead of running unseen.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/x_session.h"

namespace {

struct ProgramRun {
  int status = -1;  // the exit status, -1 when it had to be stopped
  std::string err;
};

// Runs the program with the environment less the given variables, giving up
// after a while (a program that hangs is a failure, not a hung test).
ProgramRun RunWithout(const std::vector<std::string>& dropped) {
  const std::string log =
      (std::filesystem::temp_directory_path() / ("tarnwick-first-run-" + std::to_string(::getpid()))).string();
  std::filesystem::remove(log);
  std::vector<std::string> environment;
  for (const std::string& name : dropped) environment.push_back(name + "=");
  ProgramRun run;
  {
    xtest::Process program({TARNWICK_PROGRAM}, environment, "", log);
    if (program.WaitForEnd(20)) run.status = program.ExitStatus();
    run.err = program.Output();
  }
  std::filesystem::remove(log);
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
