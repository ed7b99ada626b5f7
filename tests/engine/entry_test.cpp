// The engine's entry runs whichever game's main it is handed.
#include <string>
#include <vector>

#include "engine/core/entry.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

std::vector<std::string> g_received;
bool g_tableEnds = false;

int RecordingMain(int argc, char** argv) {
  g_received.assign(argv, argv + argc);
  g_tableEnds = argv[argc] == nullptr;
  return 7;
}

TEST_F(EngineTest, TheEntryHandsTheArgumentTableToTheGamesMain) {
  std::string words[] = {"/games/tarnwick", "-w two", "x"};
  char* argv[] = {words[0].data(), words[1].data(), words[2].data(), nullptr};
  g_received.clear();
  EXPECT_EQ(WinMain(3, argv, RecordingMain), 0);
  EXPECT_EQ(g_received, (std::vector<std::string>{"/games/tarnwick", "-w", "two", "x"}));
  EXPECT_TRUE(g_tableEnds);

  g_received.clear();
  EXPECT_EQ(WinMain(3, argv, nullptr), 0) << "without a game nothing runs";
  EXPECT_TRUE(g_received.empty());
}

}  // namespace
}  // namespace enginetest
