// The test-side input script: its text form and what reaches a window.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_simulate.h"
#include "tests/support/input_script.h"

namespace {

using testsupport::InputLine;

TEST(InputScript, MalformedLinesAreNamed) {
  struct Case {
    const char* text;
    const char* error;
  } const cases[] = {
      {"x key W", "line 1: bad frame count 'x'"},  {"# only a comment\n-1 key W", "line 2: bad frame count '-1'"},
      {"0 jump", "line 1: unknown event 'jump'"},  {"0 key", "line 1: bad key ''"},
      {"0 key 0x1FF", "line 1: bad key '0x1FF'"},  {"0 key 0xFF", "line 1: no keyboard key gives 0xFF"},
      {"0 move 10", "line 1: bad position"},       {"0 lclick 10 20 30", "line 1: unexpected '30'"},
      {"0 check", "line 1: check without a name"}, {"5", "line 1: no event"},
  };
  for (const Case& c : cases) {
    std::vector<InputLine> lines;
    std::string error;
    EXPECT_FALSE(testsupport::ParseInputScript(c.text, &lines, &error)) << c.text;
    EXPECT_EQ(error, c.error) << c.text;
  }
}

TEST(InputScript, KeysAndClicksTakeASecondPassForTheirRelease) {
  std::vector<InputLine> lines;
  std::string error;
  ASSERT_TRUE(testsupport::ParseInputScript(
      "# title\n\n3 key w; move 5 6 # walk\n0 lclick 10 20\n2 down 0x10; check field\n", &lines, &error))
      << error;
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].lineNumber, 3);
  EXPECT_EQ(lines[0].waitFrames, 3);
  ASSERT_EQ(lines[0].passes.size(), 2u);
  EXPECT_EQ(lines[0].passes[0][0].code, 'W');
  EXPECT_EQ(lines[0].passes[1][0].kind, testsupport::InputEvent::KeyUp);
  // The move joins the pass after the key's release.
  EXPECT_EQ(lines[0].passes[1][1].kind, testsupport::InputEvent::MouseMove);
  ASSERT_EQ(lines[1].passes.size(), 2u);
  EXPECT_EQ(lines[1].passes[1][0].kind, testsupport::InputEvent::ButtonUp);
  EXPECT_EQ(lines[1].passes[1][0].x, 10);
  ASSERT_EQ(lines[2].passes.size(), 1u);
  EXPECT_EQ(lines[2].passes[0][1].name, "field");
}

std::vector<plat::Message> g_seen;

plat::LResult Recording(plat::WindowHandle w, uint32_t message, plat::WParam wp, plat::LParam lp) {
  g_seen.push_back({w, message, wp, lp});
  return plat::DefWindowProc(w, message, wp, lp);
}

// One pass of a main loop: hands what the system queued to the window and
// answers what the window was handed.
std::vector<plat::Message> DispatchQueued() {
  plat::Message m;
  g_seen.clear();
  while (plat::PeekMessage(m)) plat::DispatchMessage(m);
  return g_seen;
}

TEST(InputScript, PlaysThroughThePlatformsInputOnePassAtATime) {
  g_seen.clear();
  plat::ClearMessageQueue();
  plat::RegisterWindowClass({"ScriptTest", 0, Recording, 0});
  plat::WindowHandle w = plat::CreateWindow("ScriptTest", "script", plat::WS_POPUP, 0, 0, 64, 48);
  ASSERT_NE(w, 0u);
  std::vector<InputLine> lines;
  std::string error;
  ASSERT_TRUE(testsupport::ParseInputScript("2 key A\n0 check one; lclick 7 8\n1 close\n", &lines, &error));

  struct Seen {
    int pass;
    uint32_t message;
    plat::WParam wparam;
  };
  std::vector<Seen> seen;
  std::vector<std::string> checks;
  int pass = 0;
  auto runPass = [&] {
    for (const plat::Message& s : DispatchQueued())
      if (s.message == plat::WM_KEYDOWN || s.message == plat::WM_KEYUP || s.message == plat::WM_LBUTTONDOWN ||
          s.message == plat::WM_LBUTTONUP || s.message == plat::WM_CLOSE)
        seen.push_back({pass, s.message, s.wparam});
    ++pass;
  };
  int played = testsupport::PlayInputScript(
      w, lines, runPass, [&](const std::string& n) { checks.push_back(n + "@" + std::to_string(pass)); });

  EXPECT_EQ(played, 8);
  EXPECT_EQ(checks, std::vector<std::string>{"one@4"});
  std::vector<std::string> got;
  for (const Seen& s : seen) got.push_back(std::to_string(s.pass) + ":" + std::to_string(s.message));
  const std::vector<std::string> want = {
      "2:" + std::to_string(plat::WM_KEYDOWN),     "3:" + std::to_string(plat::WM_KEYUP),
      "4:" + std::to_string(plat::WM_LBUTTONDOWN), "5:" + std::to_string(plat::WM_LBUTTONUP),
      "7:" + std::to_string(plat::WM_CLOSE),
  };
  EXPECT_EQ(got, want);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen[0].wparam, static_cast<plat::WParam>('A'));
  if (plat::IsWindow(w)) plat::DestroyWindow(w);
  plat::ClearMessageQueue();
}

// Mouse look warps the pointer back after each move; where the system refuses
// warps, the next move is reported from the warp by its motion, so each
// scripted move must carry its motion from the point before it.
TEST(InputScript, MovesCarryTheirMotionFromTheLastPoint) {
  g_seen.clear();
  plat::ClearMessageQueue();
  plat::SimulateRefusedWarps(1);
  plat::RegisterWindowClass({"ScriptMoves", 0, Recording, 0});
  plat::WindowHandle w = plat::CreateWindow("ScriptMoves", "moves", plat::WS_POPUP, 0, 0, 64, 48);
  ASSERT_NE(w, 0u);
  std::vector<InputLine> lines;
  std::string error;
  ASSERT_TRUE(testsupport::ParseInputScript("0 move 30 20\n1 move 40 25\n", &lines, &error)) << error;

  std::vector<std::pair<int, int>> moves;
  int pass = 0;
  auto runPass = [&] {
    for (const plat::Message& s : DispatchQueued())
      if (s.message == plat::WM_MOUSEMOVE)
        moves.emplace_back(static_cast<int16_t>(s.lparam & 0xFFFF), static_cast<int16_t>((s.lparam >> 16) & 0xFFFF));
    // After the first move the program warps the pointer to (10, 10).
    if (pass++ == 0) plat::SetCursorPos(w, 10, 10);
  };
  testsupport::PlayInputScript(w, lines, runPass, [](const std::string&) {});

  const std::vector<std::pair<int, int>> want = {{30, 20}, {20, 15}};
  EXPECT_EQ(moves, want);
  plat::SimulateRefusedWarps(-1);
  if (plat::IsWindow(w)) plat::DestroyWindow(w);
  plat::ClearMessageQueue();
}

}  // namespace
