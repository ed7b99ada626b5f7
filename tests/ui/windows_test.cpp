#include <algorithm>
#include <string>
#include <vector>

#include "engine/media/sound_table.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/wave_writer.h"
#include "ui/am_button.h"
#include "ui/am_dlg.h"
#include "ui/am_mouse.h"
#include "ui/am_page.h"

namespace uitest {
namespace {

std::vector<std::string> g_deleted;
int g_okCalls = 0;

class NamedWnd : public RecordingWnd {
 public:
  NamedWnd(const std::string& name, CAmObject* owner = nullptr) : RecordingWnd(200, 100, owner), name(name) {}
  ~NamedWnd() override { g_deleted.push_back(name); }
  void OnChildWndOpen() override { ++childOpened; }
  void OnChildWndClose() override { ++childClosed; }
  std::string name;
  int childOpened = 0;
  int childClosed = 0;
};

class CountingDlg : public CAmDlg {
 public:
  CountingDlg(CAmObject* owner, int kind) : CAmDlg(nullptr, 200, 100, owner, kind) {}
  void OnOK() override { ++g_okCalls; }
};

class CountingPage : public CAmPage {
 public:
  explicit CountingPage(CAmObject* owner) : CAmPage(nullptr, 100, 100, owner) {}
  int builds = 0;

 protected:
  void Build() override {
    ++builds;
    new CAmObject(10, 10, 0, this);
  }
};

bool Alive(const CAmObject* widget) {
  return std::find(g_amObjects.begin(), g_amObjects.end(), widget) != g_amObjects.end();
}

class WindowsTest : public UiTest {
 protected:
  WindowsTest() { g_deleted.clear(); }
  std::vector<std::string> StackNames() {
    std::vector<std::string> names;
    for (CAmWnd* w : g_amWndManager->Stack()) names.push_back(static_cast<NamedWnd*>(w)->name);
    return names;
  }
};

TEST_F(WindowsTest, ClosingAWindowDeletesItAndEveryWindowAboveLowestFirst) {
  struct Case {
    const char* name;
    std::vector<int> closes;  // stack positions, in the order Close is called
    std::vector<std::string> deleted;
  } cases[] = {
      {"lowest of three", {1}, {"b", "c", "d"}},
      {"top, then a lower one", {3, 2}, {"c", "d"}},
      {"lower, then the top", {2, 3}, {"c", "d"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    g_deleted.clear();
    std::vector<NamedWnd*> windows;
    for (const char* name : {"a", "b", "c", "d"}) windows.push_back(new NamedWnd(name));
    Update();
    for (int position : c.closes) windows[position]->Close();
    Update();
    EXPECT_EQ(g_deleted, c.deleted);
    EXPECT_EQ(g_amWndManager->Stack().size(), 4 - c.deleted.size());
    for (size_t i = 0; i < 4 - c.deleted.size(); ++i) delete windows[i];
    EXPECT_TRUE(g_amWndManager->Stack().empty()) << "a window deleted outside the manager leaves its stack";
  }
}

TEST_F(WindowsTest, WindowsBuiltBetweenTwoUpdatesAllJoinTheStack) {
  new NamedWnd("items");
  new NamedWnd("hint");
  EXPECT_EQ(static_cast<NamedWnd*>(GetTopWnd())->name, "hint") << "the newest waiting window";
  EXPECT_TRUE(g_amWndManager->Stack().empty());
  Update();
  EXPECT_EQ(StackNames(), (std::vector<std::string>{"items", "hint"}));
  EXPECT_EQ(g_amWndManager->Stack()[1]->stackIndex, 1);
  // Both close and are deleted: none is left behind.
  g_amWndManager->Stack()[0]->Close();
  Update();
  EXPECT_EQ(g_deleted, (std::vector<std::string>{"items", "hint"}));
}

TEST_F(WindowsTest, OnlyTheTopWindowGetsInputAndTicks) {
  auto* lower = new NamedWnd("lower");
  auto* lowerButton = new CAmButton(nullptr, 50, 50, 0, 0, 0, lower);
  auto* upper = new NamedWnd("upper");
  auto* upperButton = new CAmButton(nullptr, 50, 50, 0, 0, 0, upper);
  Update();
  Press(10, 10);
  EXPECT_EQ(upperButton->pressed, 1);
  EXPECT_EQ(lowerButton->pressed, 0);
}

TEST_F(WindowsTest, AnOwnedWindowDrawsAboveTheOwnersEarlierChildWindows) {
  auto* owner = new NamedWnd("owner");
  auto* first = new NamedWnd("first", owner);
  auto* inner = new CAmObject(10, 10, 0, first);
  auto* second = new NamedWnd("second", owner);
  EXPECT_EQ(owner->childOpened, 2);
  EXPECT_EQ(second->parent, owner);
  EXPECT_GT(Layer(second->sprite), Layer(inner->sprite));
  EXPECT_GT(Layer(second->sprite), Layer(first->sprite));
  Update();
  second->Close();
  EXPECT_EQ(owner->childClosed, 1);
}

TEST_F(WindowsTest, DialogButtonsAnswerTheOwnerAndCloseTheDialog) {
  WriteGrid("btn", 40, 20, 1, 3);
  struct Case {
    int kind;
    bool first;
    int answer;
    int okCalls;
  } cases[] = {
      {CAmDlg::kYesNo, true, AMM_ONBUTTON_YES, 1},
      {CAmDlg::kYesNo, false, AMM_ONBUTTON_NO, 0},
      {CAmDlg::kOkCancel, true, AMM_ONBUTTON_OK, 1},
      {CAmDlg::kOkCancel, false, AMM_ONBUTTON_CANCEL, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    g_okCalls = 0;
    auto* owner = new NamedWnd("owner");
    auto* dialog = new CountingDlg(owner, c.kind);
    dialog->CreateFirstButton("btn", 40, 20, 10, 10, 0, 0);
    dialog->CreateSecondButton("btn", 40, 20, 100, 10, 0, 0);
    CAmButton* firstButton = dialog->firstButton;
    Update();
    int x = c.first ? 20 : 110;
    Press(x, 20);
    Release(x, 20);
    Update();
    auto answered = std::find(owner->received.begin(), owner->received.end(), Received{c.answer, 0, 0, dialog});
    EXPECT_NE(answered, owner->received.end());
    EXPECT_EQ(g_okCalls, c.okCalls);
    EXPECT_FALSE(Alive(dialog));
    EXPECT_FALSE(Alive(firstButton)) << "the dialog deletes its buttons";
    EXPECT_EQ(StackNames(), (std::vector<std::string>{"owner"}));
    delete owner;
  }
}

TEST_F(WindowsTest, AReleaseFromAnotherChildOfADialogBubblesOn) {
  auto* owner = new NamedWnd("owner");
  auto* dialog = new CountingDlg(owner, CAmDlg::kYesNo);
  auto* other = new CAmButton(nullptr, 30, 30, 0, 0, 0, dialog);
  Update();
  Click(5, 5);
  Update();
  EXPECT_NE(std::find(owner->received.begin(), owner->received.end(), Received{AMM_BUTTONUP, 0, 0, other}),
            owner->received.end());
  EXPECT_TRUE(Alive(dialog));
}

TEST_F(WindowsTest, APageIsBuiltAtItsFirstOpeningOnly) {
  auto* owner = new NamedWnd("owner");
  auto* page = new CountingPage(owner);
  EXPECT_EQ(page->parent, nullptr);
  EXPECT_FALSE(Shown(page->sprite));
  page->Open();
  EXPECT_EQ(page->parent, owner);
  EXPECT_TRUE(Shown(page->sprite));
  page->Close();
  EXPECT_EQ(page->parent, nullptr);
  EXPECT_FALSE(Shown(page->sprite));
  ASSERT_EQ(page->children.size(), 1u);
  EXPECT_FALSE(Shown(page->children[0]->sprite));
  page->Open();
  EXPECT_EQ(page->builds, 1);
  EXPECT_TRUE(Shown(page->children[0]->sprite));
}

TEST_F(WindowsTest, ASoundThatDoesNotLoadKeepsTheOldOne) {
  datagen::WaveSpec spec;
  spec.samples = datagen::ConstantSamples(2205, 1, 1000);
  ASSERT_TRUE(datagen::WriteWave("a.wav", spec));
  ASSERT_TRUE(datagen::WriteWave("b.wav", spec));
  EXPECT_EQ(RegisterWndSound(2, "a"), 1);
  HOBJECT first = g_amWndManager->Sound(2);
  ASSERT_NE(first, 0u);
  EXPECT_EQ(RegisterWndSound(2, "missing"), 0);
  EXPECT_EQ(g_amWndManager->Sound(2), first);
  EXPECT_EQ(RegisterWndSound(2, "b"), 1);
  HOBJECT second = g_amWndManager->Sound(2);
  EXPECT_NE(second, first);
  EXPECT_EQ(LookupSound(first), nullptr) << "the old sound is freed";
  auto* w = new NamedWnd("w");
  w->PlaySound(2);
  EXPECT_EQ(IsSoundPlaying(second), 1);
  w->PlaySound(9);  // no sound under that key: nothing
}

TEST_F(WindowsTest, TheInputMethodBarShowsADescriptionCutToItsBuffer) {
  struct Case {
    std::string description;
    bool shown;
    std::string text;
  } cases[] = {
      {"", false, ""},
      {"Pinyin", true, "Pinyin"},
      {std::string(300, 'x'), true, std::string(255, 'x')},
  };
  CAmIMEBar* bar = g_amWndManager->ImeBar();
  int x = 0, y = 0;
  bar->GetPosition(&x, &y);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 450);
  EXPECT_EQ(Layer(bar->sprite), 9999);
  EXPECT_FALSE(Shown(bar->sprite));
  for (const Case& c : cases) {
    plat::SetTestInputMethodDescription(c.description);
    g_amWndManager->UpdateImeBar();
    EXPECT_EQ(Shown(bar->sprite), c.shown) << c.description.size();
    if (c.shown) {
      EXPECT_EQ(bar->Label()->text, c.text);
    }
  }
}

TEST_F(WindowsTest, AnUpdateWithoutACursorWidgetStillRuns) {
  auto* w = new NamedWnd("w");
  auto* button = new CAmButton(nullptr, 50, 50, 0, 0, 0, w);
  Update();
  EXPECT_EQ(GetWndCursor(), nullptr);
  Click(10, 10);
  Update();
  EXPECT_NE(std::find(w->received.begin(), w->received.end(), Received{AMM_BUTTONUP, 0, 0, button}), w->received.end());
}

TEST_F(WindowsTest, DestroyingTheManagerDeletesItsWindowsAndCursor) {
  auto* lower = new NamedWnd("lower");
  new NamedWnd("owned", lower);
  Update();
  new NamedWnd("waiting");
  auto* cursor = new CAmMouse(nullptr, 24, 24, 3, 5);
  EXPECT_EQ(GetWndCursor(), cursor);
  DestroyWndManager();
  EXPECT_EQ(g_deleted, (std::vector<std::string>{"lower", "owned", "waiting"}));
  EXPECT_FALSE(Alive(cursor));
  EXPECT_EQ(g_amWndManager, nullptr);
}

}  // namespace
}  // namespace uitest
