#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "platform/instance.h"
#include "platform/keys.h"
#include "platform/test_caps.h"
#include "platform/window.h"
#include "platform/window_simulate.h"

namespace {

// USB keyboard usage codes, which is what the system's scancodes are.
enum Scancode {
  kA = 4,
  kX = 27,
  kZ = 29,
  k1 = 30,
  k9 = 38,
  k0 = 39,
  kReturn = 40,
  kEscape = 41,
  kBackspace = 42,
  kTab = 43,
  kSpace = 44,
  kLeftBracket = 47,
  kSemicolon = 51,
  kApostrophe = 52,
  kGrave = 53,
  kF1 = 58,
  kF12 = 69,
  kInsert = 73,
  kHome = 74,
  kPageUp = 75,
  kDelete = 76,
  kEnd = 77,
  kPageDown = 78,
  kLeft = 80,
  kDown = 81,
  kKeypadDivide = 84,
  kKeypad9 = 97,
  kKeypad0 = 98,
  kMute = 127,
  kLeftShift = 225,
  kRightCtrl = 228,
  kRightAlt = 230,
};

std::vector<plat::Message> g_seen;

plat::LResult RecordingProc(plat::WindowHandle window, uint32_t message, plat::WParam wparam, plat::LParam lparam) {
  g_seen.push_back({window, message, wparam, lparam});
  return plat::DefWindowProc(window, message, wparam, lparam);
}

class WindowTest : public ::testing::Test {
 protected:
  WindowTest() {
    g_seen.clear();
    plat::ClearMessageQueue();
    plat::RegisterWindowClass({"TestDouble", plat::CS_DBLCLKS, RecordingProc, 0});
    plat::RegisterWindowClass({"TestPlain", 0, RecordingProc, 0});
  }
  ~WindowTest() override {
    for (plat::WindowHandle w : windows_) plat::DestroyWindow(w);
    plat::ClearMessageQueue();
  }
  plat::WindowHandle Make(const char* cls = "TestDouble", const std::string& title = "window test") {
    plat::WindowHandle w = plat::CreateWindow(cls, title, plat::WS_POPUP, 0, 0, 64, 48);
    windows_.push_back(w);
    Drain();  // whatever the system said about the new window
    return w;
  }
  // The messages the system's events turned into, in order.
  std::vector<plat::Message> Drain() {
    std::vector<plat::Message> out;
    plat::Message m;
    while (plat::PeekMessage(m)) out.push_back(m);
    return out;
  }
  std::vector<plat::WindowHandle> windows_;
};

TEST(WindowKeys, ScancodesBecomeVirtualKeys) {
  struct Case {
    int scancode;
    uint32_t vk;
  } cases[] = {
      {kA, 0x41},
      {kZ, 0x5A},
      {k0, 0x30},
      {k1, 0x31},
      {k9, 0x39},
      {kF1, 0x70},
      {kF12, 0x7B},
      {kLeftShift, 0x10},
      {kRightCtrl, 0x11},
      {kRightAlt, 0x12},
      {kTab, 9},
      {kReturn, 0x0D},
      {kEscape, 0x1B},
      {kSpace, 0x20},
      {kBackspace, 8},
      {kLeft, 0x25},
      {kDown, 0x28},
      {kHome, 0x24},
      {kEnd, 0x23},
      {kInsert, 0x2D},
      {kDelete, 0x2E},
      {kPageUp, 0x21},
      {kPageDown, 0x22},
      {kKeypad0, 0x60},
      {kKeypad9, 0x69},
      {kKeypadDivide, 0x6F},
      {kSemicolon, 0xBA},
      {kGrave, 0xC0},
      {kLeftBracket, 0xDB},
      {kApostrophe, 0xDE},
      {kMute, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(plat::VirtualKeyFromScancode(c.scancode), c.vk) << c.scancode;
}

TEST_F(WindowTest, KeysBecomeKeyMessages) {
  plat::WindowHandle w = Make();
  plat::SimulateKey(w, kA, true);
  plat::SimulateKey(w, kA, true, true);
  plat::SimulateKey(w, kA, false);
  plat::SimulateKey(w, kX, true, false, true);
  plat::SimulateKey(w, kMute, true);
  auto messages = Drain();
  ASSERT_EQ(messages.size(), 4u);
  EXPECT_EQ(messages[0].message, plat::WM_KEYDOWN);
  EXPECT_EQ(messages[0].wparam, 0x41u);
  EXPECT_EQ(messages[0].lparam & plat::kKeyWasDown, 0);
  EXPECT_EQ(messages[1].message, plat::WM_KEYDOWN);
  EXPECT_NE(messages[1].lparam & plat::kKeyWasDown, 0);
  EXPECT_EQ(messages[2].message, plat::WM_KEYUP);
  EXPECT_EQ(messages[3].message, plat::WM_SYSKEYDOWN);  // with Alt held
  EXPECT_EQ(messages[3].wparam, 0x58u);
  for (const auto& m : messages) EXPECT_EQ(m.window, w);
}

TEST_F(WindowTest, TypedTextBecomesCharactersAndControlKeysTypeTheirCodes) {
  plat::WindowHandle w = Make();
  // A Chinese character comes as its two Big5 bytes, lead byte first; one
  // Big5 lacks is dropped.
  plat::SimulateText(w, "a\xE4\xB8\xAD\xF0\x9F\x98\x80!");
  auto messages = Drain();
  std::vector<plat::WParam> codes;
  for (const auto& m : messages) {
    EXPECT_EQ(m.message, plat::WM_CHAR);
    codes.push_back(m.wparam);
  }
  EXPECT_EQ(codes, (std::vector<plat::WParam>{'a', 0xA4, 0xA4, '!'}));

  struct Case {
    uint32_t vk;
    bool types;
  } cases[] = {{8, true}, {9, true}, {13, true}, {27, true}, {'A', false}, {0x25, false}};
  for (const Case& c : cases) {
    plat::PostMessage(w, plat::WM_KEYDOWN, c.vk, 1);
    plat::PostMessage(w, plat::WM_KEYUP, c.vk, 1);
    plat::Message m;
    ASSERT_TRUE(plat::PeekMessage(m));
    plat::TranslateMessage(m);
    ASSERT_TRUE(plat::PeekMessage(m));
    // The character comes straight after its key press.
    EXPECT_EQ(m.message, c.types ? plat::WM_CHAR : plat::WM_KEYUP) << c.vk;
    if (c.types) {
      EXPECT_EQ(m.wparam, c.vk);
    }
    plat::ClearMessageQueue();
  }
}

TEST_F(WindowTest, MouseEventsAndDoubleClicks) {
  struct Case {
    const char* cls;
    uint32_t secondPress;
  } cases[] = {{"TestDouble", plat::WM_LBUTTONDBLCLK}, {"TestPlain", plat::WM_LBUTTONDOWN}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls);
    plat::WindowHandle w = Make(c.cls);
    plat::SimulateMouseButton(w, 1, true, 1, 10, 20);
    plat::SimulateMouseButton(w, 1, false, 1, 10, 20);
    plat::SimulateMouseButton(w, 1, true, 2, 10, 20);
    plat::SimulateMouseMotion(w, -3, 7, true);
    plat::SimulateMouseButton(w, 3, true, 1, 1, 2);
    auto messages = Drain();
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].message, plat::WM_LBUTTONDOWN);
    EXPECT_EQ(messages[0].lparam, plat::MakePointParam(10, 20));
    EXPECT_EQ(messages[1].message, plat::WM_LBUTTONUP);
    EXPECT_EQ(messages[2].message, c.secondPress);
    EXPECT_EQ(messages[3].message, plat::WM_MOUSEMOVE);
    EXPECT_EQ(messages[3].lparam, static_cast<plat::LParam>(0x0007FFFDu));
    EXPECT_EQ(messages[3].wparam & plat::MK_LBUTTON, plat::MK_LBUTTON);
    EXPECT_EQ(messages[4].message, plat::WM_RBUTTONDOWN);
  }
}

TEST_F(WindowTest, WindowEventsAndLifetime) {
  plat::WindowHandle w = Make();
  EXPECT_EQ(g_seen.size(), 1u);
  EXPECT_EQ(g_seen[0].message, plat::WM_CREATE);
  plat::SimulateWindowEvent(w, plat::SimulatedWindowEvent::FocusLost);
  plat::SimulateWindowEvent(w, plat::SimulatedWindowEvent::FocusGained);
  plat::SimulateWindowEvent(w, plat::SimulatedWindowEvent::Moved, 12, 34);
  plat::SimulateWindowEvent(w, plat::SimulatedWindowEvent::Close);
  auto messages = Drain();
  std::vector<uint32_t> kinds;
  for (const auto& m : messages) kinds.push_back(m.message);
  EXPECT_EQ(kinds, (std::vector<uint32_t>{plat::WM_ACTIVATEAPP, plat::WM_KILLFOCUS, plat::WM_ACTIVATEAPP,
                                          plat::WM_SETFOCUS, plat::WM_MOVE, plat::WM_CLOSE}));
  EXPECT_EQ(messages[0].wparam, 0u);
  EXPECT_EQ(messages[2].wparam, 1u);
  EXPECT_EQ(messages[4].lparam, plat::MakePointParam(12, 34));

  // Default handling of a close destroys the window; its later messages are dropped.
  plat::PostMessage(w, 0x0400, 0, 0);
  plat::DispatchMessage(messages[5]);
  EXPECT_FALSE(plat::IsWindow(w));
  EXPECT_EQ(g_seen.back().message, plat::WM_DESTROY);
  size_t seen = g_seen.size();
  for (auto& m : Drain()) plat::DispatchMessage(m);
  EXPECT_EQ(g_seen.size(), seen);
}

TEST_F(WindowTest, QuitMessagesRegisteredMessagesAndFailures) {
  plat::PostQuitMessage(3);
  plat::Message m;
  ASSERT_TRUE(plat::PeekMessage(m));
  EXPECT_EQ(m.message, plat::WM_QUIT);
  EXPECT_EQ(m.wparam, 3u);
  uint32_t id = plat::RegisterWindowMessage("QueryCancelAutoPlay");
  EXPECT_GE(id, 0xC000u);
  EXPECT_EQ(plat::RegisterWindowMessage("QueryCancelAutoPlay"), id);
  EXPECT_NE(plat::RegisterWindowMessage("Other"), id);

  EXPECT_EQ(plat::CreateWindow("NoSuchClass", "x", 0, 0, 0, 10, 10), 0u);
  plat::SetFailPoint(plat::FailPoint::CreateWindow);
  EXPECT_EQ(plat::CreateWindow("TestPlain", "x", 0, 0, 0, 10, 10), 0u);
  plat::ClearFailPoints();
  EXPECT_FALSE(plat::UnregisterWindowClass("NoSuchClass"));
}

TEST_F(WindowTest, CursorCountAndCapture) {
  int start = plat::ShowCursor(true) - 1;
  EXPECT_EQ(plat::ShowCursor(false), start);
  EXPECT_EQ(plat::ShowCursor(false), start - 1);
  EXPECT_EQ(plat::ShowCursor(true), start);
  plat::SetCursor(plat::LoadSystemCursor(plat::SystemCursor::Cross));
  EXPECT_EQ(plat::GetCursor(), static_cast<int>(plat::SystemCursor::Cross));
  plat::SetCursor(0);
  EXPECT_EQ(plat::GetCursor(), 0);

  plat::WindowHandle w = Make();
  plat::SetCapture(w);
  EXPECT_EQ(plat::GetCapture(), w);
  plat::DestroyWindow(w);
  EXPECT_EQ(plat::GetCapture(), 0u);
}

TEST_F(WindowTest, TitlesFindTheirWindowsAndTheLastOneTakesItsLockFileAlong) {
  // A runtime folder of the test's own, to see what stays behind in it.
  const std::filesystem::path runtime =
      std::filesystem::temp_directory_path() / ("tarnwick-runtime-test-" + std::to_string(::getpid()));
  std::filesystem::create_directories(runtime);
  const char* saved = std::getenv("XDG_RUNTIME_DIR");
  const std::string savedRuntime = saved ? saved : "";
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  auto lockFiles = [&] {
    return std::distance(std::filesystem::directory_iterator(runtime), std::filesystem::directory_iterator());
  };

  const std::string title = "Tarnwick window test";
  EXPECT_FALSE(plat::FindWindowByTitle(title));
  plat::WindowHandle first = Make("TestPlain", title);
  plat::WindowHandle second = Make("TestPlain", title);
  EXPECT_TRUE(plat::FindWindowByTitle(title));
  EXPECT_EQ(plat::GetWindowTitle(first), title);
  EXPECT_EQ(lockFiles(), 1);
  plat::DestroyWindow(first);
  EXPECT_TRUE(plat::FindWindowByTitle(title));
  EXPECT_EQ(lockFiles(), 1);
  plat::DestroyWindow(second);
  EXPECT_FALSE(plat::FindWindowByTitle(title));
  EXPECT_EQ(lockFiles(), 0);
  plat::WindowHandle again = Make("TestPlain", title);  // a new instance claims afresh
  EXPECT_TRUE(plat::FindWindowByTitle(title));
  plat::DestroyWindow(again);
  EXPECT_EQ(lockFiles(), 0);

  if (saved) ::setenv("XDG_RUNTIME_DIR", savedRuntime.c_str(), 1);
  else ::unsetenv("XDG_RUNTIME_DIR");
  std::filesystem::remove_all(runtime);
}

}  // namespace
