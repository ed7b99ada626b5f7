#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/ui/ui_fixture.h"

namespace uitest {
namespace {

std::vector<std::string> g_log;

// A widget that logs its keys and characters, consuming them when told, and
// can run an action when a message reaches it.
class Probe : public CAmObject {
 public:
  Probe(const std::string& name, CAmObject* parent, int consume = 0)
      : CAmObject(10, 10, 0, parent), name(name), consume(consume) {}
  int OnKeyDown(int key, int down) override {
    g_log.push_back(name + " key " + std::to_string(key) + " " + std::to_string(down));
    return consume;
  }
  int OnChar(int code) override {
    g_log.push_back(name + " char " + std::to_string(code));
    return consume;
  }
  void OnLButtonDown(int x, int y) override {
    g_log.push_back(name + " down " + std::to_string(x) + "," + std::to_string(y));
  }
  void OnRButtonDown(int, int) override { g_log.push_back(name + " right"); }
  void OnMouseMove(int, int) override { g_log.push_back(name + " move"); }
  int OnMessage(int id, int a, int b, CAmObject* sender) override {
    if (onMessage) return onMessage(id, a, b, sender);
    return 0;
  }
  std::string name;
  int consume;
  std::function<int(int, int, int, CAmObject*)> onMessage;
};

class WidgetTreeTest : public UiTest {
 protected:
  WidgetTreeTest() { g_log.clear(); }
};

TEST_F(WidgetTreeTest, HitTestCountsBothEdgesAndNeverHitsWhileLocked) {
  auto* w = new CAmObject(10, 20, 0, nullptr);
  w->SetPosition(100, 50);
  struct Case {
    int x, y, hit;
  } cases[] = {
      {100, 50, 1}, {110, 70, 1},  // x = left + width, y = top + height
      {111, 60, 0}, {105, 71, 0}, {99, 60, 0}, {105, 49, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(w->HitTest(c.x, c.y), c.hit) << c.x << "," << c.y;
  w->SetLocked(1);
  EXPECT_EQ(w->HitTest(105, 60), 0);
  EXPECT_EQ(w->Show(0), 1) << "refused while locked, answering the locked value";
  EXPECT_EQ(w->visible, 1);
}

TEST_F(WidgetTreeTest, StackingAboveASubtreeGoesPastItsDeepestNode) {
  auto* root = new CAmObject(50, 50, 0, nullptr);
  CAmObject* chain = root;
  for (int i = 0; i < 7; ++i) chain = new CAmObject(5, 5, 0, chain);
  EXPECT_EQ(chain->depth, 7);
  EXPECT_EQ(root->GetMaxDepth(), 7);

  auto* node = new CAmObject(8, 8, 0, nullptr);
  auto* child = new CAmObject(4, 4, 0, node);
  node->AttachTo(root, 1);
  EXPECT_EQ(node->depth, 8);
  EXPECT_EQ(child->depth, 9);
  EXPECT_EQ(Layer(node->sprite), 8);
  EXPECT_EQ(Layer(child->sprite), 9);
  int depthX = 0, depthY = 0;
  GetSpriteDepth(node->sprite, &depthX, &depthY, nullptr);
  EXPECT_EQ(depthX, 4) << "the depth point is the centre";

  node->AttachTo(root, 0);
  EXPECT_EQ(node->depth, 1);
  EXPECT_EQ(child->depth, 2);

  // Hanging a node under its own subtree is refused.
  root->AttachTo(child, 0);
  EXPECT_EQ(root->parent, nullptr);
}

TEST_F(WidgetTreeTest, DeletingAParentLeavesItsChildrenAliveAndTopLevel) {
  auto* parent = new CAmObject(50, 50, 0, nullptr);
  parent->SetPosition(100, 100);
  auto* a = new CAmObject(10, 10, 0, parent);
  auto* b = new CAmObject(10, 10, 0, parent);
  a->SetPosition(5, 5);
  int x = 0, y = 0;
  a->GetPosition(&x, &y);
  EXPECT_EQ(x, 105);
  delete parent;
  for (CAmObject* child : {a, b}) {
    EXPECT_EQ(child->parent, nullptr);
    ASSERT_NE(LookupSprite(child->sprite), nullptr);
    EXPECT_EQ(LookupSprite(child->sprite)->parent, nullptr);
    EXPECT_NE(std::find(g_amObjects.begin(), g_amObjects.end(), child), g_amObjects.end());
  }
  a->GetPosition(&x, &y);
  EXPECT_EQ(x, 5);
}

TEST_F(WidgetTreeTest, ShowTreeKeepsHiddenNodesHidden) {
  auto* parent = new CAmObject(50, 50, 0, nullptr);
  auto* shown = new CAmObject(10, 10, 0, parent);
  auto* hidden = new CAmObject(10, 10, 0, parent);
  hidden->Show(0);
  parent->ShowTree(0);
  EXPECT_FALSE(Shown(parent->sprite) || Shown(shown->sprite) || Shown(hidden->sprite));
  parent->ShowTree(1);
  EXPECT_TRUE(Shown(parent->sprite));
  EXPECT_TRUE(Shown(shown->sprite));
  EXPECT_FALSE(Shown(hidden->sprite));
  EXPECT_EQ(hidden->visible, 0);
}

TEST_F(WidgetTreeTest, OnlyTheFirstHundredMessagesOfAnUpdateArriveInOrder) {
  auto* w = new RecordingWnd(100, 100);
  auto* sender = new Probe("s", w);
  for (int i = 0; i < 101; ++i) sender->PostMessage(AMM_USER + i, i, -i, sender);
  Update();
  ASSERT_EQ(w->received.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(w->received[i], (Received{AMM_USER + i, i, -i, sender}));
}

TEST_F(WidgetTreeTest, MessagesOfDeletedSendersAreSkipped) {
  auto* w = new RecordingWnd(100, 100);
  auto* parent = new Probe("p", w);
  auto* before = new Probe("before", parent);
  auto* trigger = new Probe("trigger", parent);
  auto* during = new Probe("during", parent);
  before->PostMessage(AMM_USER + 1, 0, 0, before);
  trigger->PostMessage(AMM_USER + 2, 0, 0, trigger);
  parent->PostMessage(AMM_USER + 3, 0, 0, parent);
  during->PostMessage(AMM_USER + 4, 0, 0, during);
  // A handler deletes a sender whose message is still queued.
  parent->onMessage = [&](int id, int, int, CAmObject*) {
    if (id == AMM_USER + 2) delete during;
    return 0;
  };
  delete before;
  Update();
  ASSERT_EQ(w->received.size(), 2u);
  EXPECT_EQ(w->received[0].id, AMM_USER + 2);
  EXPECT_EQ(w->received[1].id, AMM_USER + 3) << "the parent's own post still arrives";
}

TEST_F(WidgetTreeTest, MessagesPostedByHandlersArriveInTheSamePass) {
  auto* w = new RecordingWnd(100, 100);
  auto* middle = new Probe("m", w);
  auto* leaf = new Probe("leaf", middle);
  middle->onMessage = [&](int id, int, int, CAmObject*) {
    if (id == AMM_BUTTONUP) middle->PostMessage(AMM_USER, 7, 0, middle);
    return id == AMM_BUTTONUP;  // handled: stops there
  };
  leaf->PostMessage(AMM_BUTTONUP, 0, 0, leaf);
  Update();
  ASSERT_EQ(w->received.size(), 1u);
  EXPECT_EQ(w->received[0], (Received{AMM_USER, 7, 0, middle}));
  EXPECT_TRUE(g_amWndManager->Queue().empty());
}

TEST_F(WidgetTreeTest, OnlyTheInnerOfTwoNestedConsumersActs) {
  auto* w = new RecordingWnd(100, 100);
  auto* outer = new Probe("outer", w, 1);
  new Probe("inner", outer, 1);
  Update();
  KeyDown('A');
  Char('b');
  EXPECT_EQ(g_log, (std::vector<std::string>{"inner key 65 1", "inner char 98"}));
  EXPECT_EQ(g_amKeyConsumed, 0) << "cleared after each event";
}

TEST_F(WidgetTreeTest, KeyHooksIgnoreReleasesAndRepeatOnlyThePageKeys) {
  auto* w = new RecordingWnd(100, 100);
  new Probe("p", w);
  Update();
  KeyDown(plat::VK_NEXT);
  KeyDown(plat::VK_NEXT, true);
  KeyDown(plat::VK_NEXT, true);
  KeyUp(plat::VK_NEXT);
  KeyDown('Q');
  KeyDown('Q', true);
  KeyUp('Q');
  EXPECT_EQ(g_log, (std::vector<std::string>{"p key 34 1", "p key 34 1", "p key 34 1", "p key 81 1"}));
}

TEST_F(WidgetTreeTest, ADoubleClickReachesWidgetsAsAPress) {
  auto* w = new RecordingWnd(100, 100);
  new Probe("p", w);
  Update();
  Mouse(plat::WM_LBUTTONDBLCLK, 12, 34);
  EXPECT_EQ(g_log, (std::vector<std::string>{"p down 12,34"}));
}

TEST_F(WidgetTreeTest, RemovingTheHooksLeavesTheRightButtonLanguageAndOtherKeys) {
  auto* w = new RecordingWnd(100, 100);
  new Probe("p", w);
  Update();
  plat::SetTestInputMethodDescription("Pinyin");
  EnableWndInput(0);
  Press(5, 5);
  Release(5, 5);
  Move(6, 6);
  Char('x');
  for (int key : {plat::VK_LEFT, plat::VK_RIGHT, plat::VK_UP, plat::VK_DOWN, plat::VK_DELETE, plat::VK_INSERT,
                  plat::VK_ESCAPE, plat::VK_RETURN})
    KeyDown(key);
  EXPECT_TRUE(g_log.empty());
  Mouse(plat::WM_RBUTTONDOWN, 5, 5);
  KeyDown('A');
  KeyDown(plat::VK_SPACE);
  EXPECT_EQ(g_log, (std::vector<std::string>{"p right", "p key 65 1", "p key 32 1"}));
  EXPECT_FALSE(Shown(g_amWndManager->ImeBar()->sprite));
  Post(plat::WM_INPUTLANGCHANGEREQUEST);
  PumpMessages();
  EXPECT_TRUE(Shown(g_amWndManager->ImeBar()->sprite)) << "the language hook stays";
}

TEST_F(WidgetTreeTest, NothingHappensWithoutAnOpenWindowAndTheQueueIsKept) {
  auto* loose = new Probe("loose", nullptr);
  loose->PostMessage(AMM_USER + 5, 0, 0, loose);
  Press(5, 5);
  KeyDown('A');
  Update(3);
  EXPECT_TRUE(g_log.empty());
  EXPECT_EQ(g_amWndManager->Queue().size(), 1u);

  auto* w = new RecordingWnd(100, 100);
  loose->AttachTo(w, 0);
  Update();
  ASSERT_EQ(w->received.size(), 1u);
  EXPECT_EQ(w->received[0].id, AMM_USER + 5);
}

TEST_F(WidgetTreeTest, TheSweepDeletesEveryWidgetMadeWithNewOldestFirst) {
  struct Logged : CAmObject {
    explicit Logged(const std::string& name, CAmObject* parent = nullptr) : CAmObject(4, 4, 0, parent), name(name) {}
    ~Logged() override { g_log.push_back(name); }
    std::string name;
  };
  auto* window = new RecordingWnd(100, 100);
  new Logged("first", window);
  new Logged("second");
  Logged local("local");
  EXPECT_EQ(std::count(g_amObjects.begin(), g_amObjects.end(), &local), 0) << "only widgets made with new";
  EXPECT_EQ(g_amObjects.size(), 5u) << "the input-method bar and its text, the window and the two";
  DestroyLiveWidgets();
  EXPECT_EQ(g_amWndManager, nullptr);
  EXPECT_TRUE(g_amObjects.empty());
  EXPECT_EQ(g_log, (std::vector<std::string>{"first", "second"}));
}

}  // namespace
}  // namespace uitest
