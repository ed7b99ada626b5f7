#include <string>
#include <vector>

#include "engine/core/input_hooks.h"
#include "engine/core/window_proc.h"
#include "platform/keys.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

std::vector<std::string> g_events;

void KeyEvent(int key, int state) { g_events.push_back("key " + std::to_string(key) + " " + std::to_string(state)); }

template <char Button, char What>
void MouseEvent(int x, int y) {
  g_events.push_back(std::string{Button, ' ', What, ' '} + std::to_string(x) + "," + std::to_string(y));
}

void MoveEvent(int x, int y) { g_events.push_back("move " + std::to_string(x) + "," + std::to_string(y)); }
void CharEvent(int c) { g_events.push_back("char " + std::to_string(c)); }
void LanguageEvent() { g_events.push_back("language"); }

class InputTest : public EngineTest {
 protected:
  InputTest() {
    g_events.clear();
    EXPECT_EQ(Open(), 1);
    SetMouseButtonHooks(0, MouseEvent<'L', 'p'>, MouseEvent<'L', 'd'>, MouseEvent<'L', 'r'>, MouseEvent<'L', '2'>);
    SetMouseButtonHooks(1, MouseEvent<'R', 'p'>, MouseEvent<'R', 'd'>, MouseEvent<'R', 'r'>, MouseEvent<'R', '2'>);
    SetMouseMoveHook(MoveEvent);
  }
  void Mouse(uint32_t message, int x, int y) { Post(message, 0, plat::MakePointParam(x, y)); }
};

using Events = std::vector<std::string>;

TEST_F(InputTest, KeyHookSeesHeldKeysOnceUnlessAutoRepeating) {
  struct Case {
    int autoRepeat;
    Events expected;
  } cases[] = {
      {0, {"key 65 1", "key 65 0"}},
      {1, {"key 65 1", "key 65 1", "key 65 1", "key 65 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.autoRepeat);
    g_events.clear();
    SetKeyHook('A', KeyEvent, c.autoRepeat);
    Post(plat::WM_KEYDOWN, 'A', 1);
    Post(plat::WM_KEYDOWN, 'A', 1 | plat::kKeyWasDown);
    Post(plat::WM_KEYDOWN, 'A', 1 | plat::kKeyWasDown);
    PumpMessages();
    EXPECT_EQ(IsKeyDown('A'), 1);
    Post(plat::WM_KEYUP, 'A');
    PumpMessages();
    EXPECT_EQ(g_events, c.expected);
    EXPECT_EQ(IsKeyDown('A'), 0);
  }
}

TEST_F(InputTest, KeysWithoutCallbackOrHook) {
  SetKeyHook(0x141, nullptr, 0);  // taken modulo 256: the hook of 'A'
  Post(plat::WM_SYSKEYDOWN, 'A');
  Post(plat::WM_KEYDOWN, 'B');
  PumpMessages();
  EXPECT_EQ(IsKeyDown('A'), 1);
  EXPECT_EQ(IsKeyDown('B'), 0);
  Post(plat::WM_SYSKEYUP, 'A');
  PumpMessages();
  EXPECT_EQ(IsKeyDown('A'), 0);
  EXPECT_TRUE(g_events.empty());
}

TEST_F(InputTest, ButtonPressMoveReleaseReachOneButtonsHooks) {
  struct Case {
    uint32_t down, up;
    Events expected;
  } cases[] = {
      {plat::WM_LBUTTONDOWN, plat::WM_LBUTTONUP, {"L p 10,20", "L d 30,40", "L r 31,41", "move 50,60"}},
      {plat::WM_RBUTTONDOWN, plat::WM_RBUTTONUP, {"R p 10,20", "R d 30,40", "R r 31,41", "move 50,60"}},
  };
  for (const Case& c : cases) {
    g_events.clear();
    Mouse(c.down, 10, 20);
    PumpMessages();
    EXPECT_EQ(plat::GetCapture(), GetMainWindow());
    Mouse(plat::WM_MOUSEMOVE, 30, 40);
    Mouse(c.up, 31, 41);
    Mouse(plat::WM_MOUSEMOVE, 50, 60);
    PumpMessages();
    EXPECT_EQ(g_events, c.expected);
    EXPECT_EQ(plat::GetCapture(), 0u);
  }
}

TEST_F(InputTest, DoubleClickIsAPressOnlyWhenAsked) {
  struct Case {
    int asPress;
    Events expected;
  } cases[] = {
      {0, {"L 2 5,5", "move 6,6", "L r 7,7"}},
      {1, {"L 2 5,5", "L d 6,6", "L r 7,7"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.asPress);
    g_events.clear();
    SetDoubleClickAsPress(c.asPress);
    Mouse(plat::WM_LBUTTONDBLCLK, 5, 5);
    Mouse(plat::WM_MOUSEMOVE, 6, 6);
    Mouse(plat::WM_LBUTTONUP, 7, 7);
    PumpMessages();
    EXPECT_EQ(g_events, c.expected);
  }
}

TEST_F(InputTest, MousePointIsTwoSignedHalves) {
  Post(plat::WM_MOUSEMOVE, 0, static_cast<plat::LParam>(0xFFFF0005u));
  PumpMessages();
  int x = 0, y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(g_events, Events{"move 5,-1"});
}

TEST_F(InputTest, CharactersGoToTheCharHook) {
  SetCharHook(CharEvent);
  Post(plat::WM_CHAR, 'x');
  Post(plat::WM_KEYDOWN, plat::VK_RETURN);  // the press also types 13
  Post(plat::WM_KEYUP, plat::VK_RETURN);
  PumpMessages();
  EXPECT_EQ(g_events, (Events{"char 120", "char 13"}));
}

TEST_F(InputTest, LanguageChangesReachTheHookOnlyWhenEnabled) {
  SetInputLanguageHook(LanguageEvent);
  plat::SendMessage(GetMainWindow(), plat::WM_INPUTLANGCHANGEREQUEST, 0, 0);
  EXPECT_TRUE(g_events.empty());
  EnableInputLanguageHook(1);
  plat::SendMessage(GetMainWindow(), plat::WM_INPUTLANGCHANGEREQUEST, 0, 0);
  EXPECT_EQ(g_events, Events{"language"});
}

TEST_F(InputTest, HookSettersIgnoreBadButtonsAndClosedEngine) {
  SetMouseButtonHooks(2, MouseEvent<'X', 'p'>, nullptr, nullptr, nullptr);
  Mouse(plat::WM_LBUTTONDOWN, 1, 1);
  Mouse(plat::WM_RBUTTONDOWN, 2, 2);
  PumpMessages();
  EXPECT_EQ(g_events, (Events{"L p 1,1", "R p 2,2"}));
  CloseEngine(0);
  SetKeyHook('A', KeyEvent, 0);
  EXPECT_EQ(IsKeyDown('A'), 0);
}

TEST_F(InputTest, CursorShapes) {
  SetCursorShape(1);
  EXPECT_EQ(plat::GetCursor(), g_waitCursor);
  SetCursorShape(7);
  EXPECT_EQ(plat::GetCursor(), g_waitCursor);
  EXPECT_EQ(GetCursorShape(), 7);
  SetCursorShape(3);
  EXPECT_EQ(plat::GetCursor(), 0);

  SetMousePosition(33, 44);
  int x = 0, y = 0;
  GetMousePosition(&x, &y);
  EXPECT_EQ(x, 33);
  EXPECT_EQ(y, 44);
}

TEST_F(InputTest, ClosingTheWindowClosesTheEngine) {
  plat::WindowHandle window = GetMainWindow();
  // While the engine destroys its own window, close messages are ignored.
  g_windowBeingDestroyed = 1;
  plat::SendMessage(window, plat::WM_CLOSE, 0, 0);
  EXPECT_EQ(g_engineOpen, 1);
  g_windowBeingDestroyed = 0;

  Post(plat::WM_CLOSE);
  PumpMessages();
  EXPECT_EQ(g_engineOpen, 0);
  EXPECT_EQ(IsQuitRequested(), 1);
  EXPECT_FALSE(plat::IsWindow(window));
  EXPECT_EQ(Open(), 0);  // a quit was requested
}

TEST_F(InputTest, MovesOfTheWindowAreKept) {
  Post(plat::WM_MOVE, 0, plat::MakePointParam(120, 45));
  PumpMessages();
  EXPECT_EQ(g_gameWorld->x, 120);
  EXPECT_EQ(g_gameWorld->y, 45);
}

}  // namespace
}  // namespace enginetest
