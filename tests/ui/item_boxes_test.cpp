#include "ui/item_boxes.h"
#include "database/records.h"
#include "engine/core/input_hooks.h"
#include "engine/core/world.h"
#include "tests/ui/screen_fixture.h"
#include "ui/am_text.h"

namespace uitest {
namespace {

void GameMouseMove(int, int) {}

class ItemBoxTest : public ScreenTest {
 protected:
  ItemBoxTest() {
    WriteGrid("ifi6100", 240, 144, 1, 1);
    WriteGrid("p087", 48, 48, 1, 1);
    sword.name = "Sword";
    potion.name = "Potion";
    twoAndMoney.items = {&sword, &potion, nullptr};
    twoAndMoney.counts = {1, 3, 0};
    twoAndMoney.money = 50;
    oneItem.items = {&potion, nullptr, nullptr};
    oneItem.counts = {2, 0, 0};
  }

  TwGetItemInfoDlg* Box() { return Manager().itemInfoBox; }
  int Stacked() { return static_cast<int>(g_amWndManager->Stack().size()); }

  ITEMDESC sword;
  ITEMDESC potion;
  ITEMINFODESC twoAndMoney;
  ITEMINFODESC oneItem;
};

TEST_F(ItemBoxTest, LinesForItemsAndMoney) {
  ShowItemInfo(&twoAndMoney);
  ASSERT_NE(Box(), nullptr);
  ASSERT_NE(Box()->lines[2], nullptr);
  EXPECT_EQ(Box()->lines[0]->text, "Sword x 1");
  EXPECT_EQ(Box()->lines[1]->text, "Potion x 3");
  EXPECT_EQ(Box()->lines[2]->text, "Money 50 gold");
  EXPECT_EQ(Box()->lines[3], nullptr);
  int x = 0, y = 0;
  Box()->GetPosition(&x, &y);
  EXPECT_EQ(x, 200);
  EXPECT_EQ(y, 100);
  EXPECT_EQ(Layer(Box()->sprite), 10);

  ShowItemInfo(&oneItem);
  EXPECT_EQ(Box()->lines[0]->text, "Potion x 2");
  EXPECT_EQ(Box()->lines[1]->text, "") << "lines of the longer record go blank";

  ShowNewHint();
  UpdateScreens(1);
  ASSERT_EQ(Stacked(), 2);
  auto* hint = dynamic_cast<TwGetNewHintDlg*>(g_amWndManager->Stack().back());
  ASSERT_NE(hint, nullptr);
  hint->GetPosition(&x, &y);
  EXPECT_EQ(x, 580);
  EXPECT_EQ(y, 20);
}

TEST_F(ItemBoxTest, FadesInStaysFadesOutAndClosesWithoutTouchingHooks) {
  EnableWndInput(0);
  SetMouseMoveHook(GameMouseMove);
  ShowItemInfo(&twoAndMoney);
  TwGetItemInfoDlg* box = Box();
  EXPECT_FLOAT_EQ(Alpha(box->sprite), 0.0f);
  for (int clock = 1; clock < 50; ++clock) {
    SCOPED_TRACE(clock);
    ASSERT_EQ(UpdateScreens(1), SR_OPEN);
    const float expected = clock <= 10 ? 0.1f * clock : clock <= 40 ? 1.0f : 0.1f * (50 - clock);
    EXPECT_NEAR(Alpha(box->sprite), expected, 1e-5);
    EXPECT_NEAR(Alpha(box->lines[2]->sprite), expected, 1e-5) << "the lines fade with the box";
  }
  EXPECT_EQ(UpdateScreens(1), SR_INFO_CLOSED);
  EXPECT_EQ(Box(), nullptr);
  EXPECT_EQ(g_gameWorld->mouseMoveHook, GameMouseMove);
  EXPECT_EQ(UpdateScreens(1), SR_NOTHING_OPEN);

  ShowNewHint();
  EXPECT_EQ(UpdateUntilClosed(), SR_INFO_CLOSED);
  EXPECT_EQ(g_gameWorld->mouseMoveHook, GameMouseMove);
}

TEST_F(ItemBoxTest, OpacityStaysWithinZeroAndOne) {
  for (int clock : {-5, 0, 10, 11, 40, 41, 49, 50, 80}) {
    const float opacity = CTwFadingBox::Opacity(clock);
    EXPECT_GE(opacity, 0.0f) << clock;
    EXPECT_LE(opacity, 1.0f) << clock;
  }
}

TEST_F(ItemBoxTest, ASecondItemRefillsTheOpenBox) {
  ShowItemInfo(&twoAndMoney);
  TwGetItemInfoDlg* box = Box();
  ShowItemInfo(&oneItem);
  EXPECT_EQ(Box(), box);
  EXPECT_EQ(box->clock, 20);
  UpdateScreens(1);
  EXPECT_EQ(Stacked(), 1);
  while (box->clock < 45) ASSERT_EQ(UpdateScreens(1), SR_OPEN);
  EXPECT_LT(Alpha(box->sprite), 1.0f);
  ShowItemInfo(&twoAndMoney);
  EXPECT_EQ(box->clock, 20);
  EXPECT_FLOAT_EQ(Alpha(box->sprite), 1.0f);
  for (int i = 1; i < 30; ++i) ASSERT_EQ(UpdateScreens(1), SR_OPEN) << i;
  EXPECT_EQ(UpdateScreens(1), SR_INFO_CLOSED);
  ShowItemInfo(&oneItem);
  EXPECT_NE(Box(), nullptr) << "after it closed the next item makes a new box";
}

TEST_F(ItemBoxTest, ABoxClosedUnderATradeWindowIsForgotten) {
  ShowItemInfo(&twoAndMoney);
  UpdateScreens(1);
  RecordingWnd* trade = nullptr;
  ::OpenScreen(kScreenTrade, 1, [&trade]() -> CAmWnd* { return trade = new RecordingWnd(100, 100); });
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  trade->Close();
  EXPECT_EQ(UpdateScreens(1), SR_OPEN) << "the box is still there";
  EXPECT_EQ(UpdateUntilClosed(), SR_RESUME) << "the trade window's outcome";
  EXPECT_EQ(Box(), nullptr);
  ShowItemInfo(&oneItem);
  ASSERT_NE(Box(), nullptr);
  UpdateScreens(1);
  EXPECT_EQ(Stacked(), 1);
  EXPECT_EQ(Box()->clock, 1) << "a new box, not a refill of the deleted one";
}

}  // namespace
}  // namespace uitest
