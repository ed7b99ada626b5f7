#include <gtest/gtest.h>

#include "components/sword_man.h"
#include "engine/core/engine_queries.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"
#include "tests/ui/menu_fixture.h"
#include "ui/main_wnd.h"
#include "ui/role_page.h"

namespace {

// A swordsman without a model: a bare root node, and its plays recorded.
class FakeHero : public CMSwordMan {
 public:
  FakeHero() {
    const VECTOR3 size{1, 1, 1};
    root = CreateDummyNode(0, &size);
  }
  ~FakeHero() override { DestroyNode(root); }

  HOBJECT FindPartNode(const char* name) override { return name ? 0 : root; }
  using CGCBMixCreature::PlayPose;
  int PlayPose(int pose, int mode, int startKind, int ignored) override {
    played.push_back({pose, mode, startKind, ignored});
    return 1;
  }
  int IsPlayDone() override { return done; }
  int Update(int) override { return ++updates; }
  int PostUpdate(int) override { return ++postUpdates; }
  void SetVisible(int flag) override { shown = flag; }

  HOBJECT root = 0;
  std::vector<std::array<int, 4>> played;
  int done = 0;
  int updates = 0;
  int postUpdates = 0;
  int shown = -1;
};

class RolePreviewTest : public uitest::MenuTest {
 protected:
  RolePreviewTest() {
    SetNodePosition(hero.root, 10, 20, 30, TRANSFORM_SET);
    SetScreenHero(&hero);
  }
  // The windows go while the hero still lives.
  ~RolePreviewTest() override {
    DestroyScreenManager();
    CRolePage::idleCountdown = 0;
  }

  CVekMainWnd* Open() {
    OpenMainWindow(0);
    UpdateScreens(1);
    return dynamic_cast<CVekMainWnd*>(GetTopWnd());
  }
  static VECTOR3 Position(HOBJECT node) {
    VECTOR3 p{0, 0, 0};
    GetNodeWorldVectors(node, &p, nullptr, nullptr);
    return p;
  }
  // A seed whose first value lies above half the range (or not).
  static unsigned SeedWithFirstAbove(bool above) {
    for (unsigned seed = 1;; ++seed) {
      plat::Srand(seed);
      if ((plat::Rand() > plat::kRandMax / 2) == above) return seed;
    }
  }

  FakeHero hero;
};

TEST_F(RolePreviewTest, TheModelIsShownAloneAndPutBackAfterTheWindow) {
  const HOBJECT fieldCamera = GetCurrentCamera();
  CVekMainWnd* window = Open();
  ASSERT_NE(window, nullptr);
  CRolePage* page = window->rolePage;
  ASSERT_NE(page->previewCamera, 0u);
  EXPECT_EQ(GetCurrentCamera(), page->previewCamera);
  EXPECT_EQ(hero.shown, 1);
  const VECTOR3 camera = Position(page->previewCamera);
  const VECTOR3 model = Position(hero.root);
  EXPECT_FLOAT_EQ(camera.z, 9999999.0f);
  EXPECT_NEAR(model.z - camera.z, 200.0f, 1.0f) << "in front of the camera";
  UpdateScreens(1);
  EXPECT_GT(hero.updates, 0);
  EXPECT_EQ(hero.updates, hero.postUpdates);

  KeyDown(plat::VK_ESCAPE);
  EXPECT_EQ(UpdateUntilClosed(), SR_RESUME);
  EXPECT_EQ(hero.shown, 0) << "hidden again";
  EXPECT_EQ(GetCurrentCamera(), fieldCamera);
  const VECTOR3 back = Position(hero.root);
  EXPECT_FLOAT_EQ(back.x, 10);
  EXPECT_FLOAT_EQ(back.y, 20);
  EXPECT_FLOAT_EQ(back.z, 30);
}

TEST_F(RolePreviewTest, TheIdleCountdownFollowsTheRandomValues) {
  CVekMainWnd* window = Open();
  ASSERT_NE(window, nullptr);
  // Counting down.
  CRolePage::idleCountdown = 5;
  UpdateScreens(1);
  EXPECT_EQ(CRolePage::idleCountdown, 4);

  // At 0, a value above half the range plays the idle action.
  const unsigned play = SeedWithFirstAbove(true);
  CRolePage::idleCountdown = 1;
  plat::Srand(play);
  UpdateScreens(1);
  ASSERT_EQ(hero.played.size(), 1u);
  EXPECT_EQ(hero.played[0], (std::array<int, 4>{12, 0, 16, 0}));
  EXPECT_EQ(CRolePage::idleCountdown, -1);
  UpdateScreens(1);
  EXPECT_EQ(CRolePage::idleCountdown, -1) << "until the action ends";
  // Its end waits 60 ticks and a random share of 300.
  plat::Srand(99);
  const int rest = 60 + plat::Rand() * 300 / plat::kRandMax;
  plat::Srand(99);
  hero.done = 1;
  UpdateScreens(1);
  EXPECT_EQ(CRolePage::idleCountdown, rest);

  // Otherwise a random wait.
  const unsigned wait = SeedWithFirstAbove(false);
  plat::Srand(wait);
  plat::Rand();
  const int expected = plat::Rand() * 300 / plat::kRandMax;
  CRolePage::idleCountdown = 1;
  plat::Srand(wait);
  UpdateScreens(1);
  EXPECT_EQ(hero.played.size(), 1u);
  EXPECT_EQ(CRolePage::idleCountdown, expected);
}

}  // namespace
