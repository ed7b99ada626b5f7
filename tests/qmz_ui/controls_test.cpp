// Controls: notifications to the parent, button images and check mode,
// the progress bar and the free cursor.
#include "tests/qmz_ui/qmz_fixture.h"
#include "ui/qmz/sp_button.h"
#include "ui/qmz/sp_cursor.h"
#include "ui/qmz/sp_progress_bar.h"
#include "ui/qmz/sprite_text.h"

namespace qmztest {
namespace {

using qmz::CSpButton;
using qmz::CSpriteWnd;

constexpr int kShown = CSpriteWnd::kStyleVisible;

class ControlsTest : public QmzTest {
 protected:
  ControlsTest() {
    for (int i = 0; i < 5; ++i) WriteImage("btn0" + std::to_string(i), 32, 16, 0x101010 * (i + 1));
    EXPECT_EQ(panel_.Create("", 0, 0, 200, 100, kShown, nullptr), 1);
  }
  // Which image a button shows: 0 main, 1 disabled, 2 hover, 3 pressed, -1 none.
  static int Shown(const CSpButton& button) {
    const HOBJECT surfaces[] = {button.MainSurface(), button.DisabledSurface(), button.HoverSurface(),
                                button.PressedSurface()};
    int shown = -1, count = 0;
    for (int i = 0; i < 4; ++i)
      if (surfaces[i] && Visible(surfaces[i])) {
        shown = i;
        ++count;
      }
    return count > 1 ? -2 : shown;
  }

  ParentControl panel_;
};

TEST_F(ControlsTest, AButtonShowsTheImageOfItsState) {
  CSpButton button;
  ASSERT_EQ(button.Create("btn", CSpButton::kImageMain | CSpButton::kImageHover, 10, 10, 32, 16, kShown, 7, &panel_),
            1);
  EXPECT_EQ(button.Id(), 7);
  EXPECT_EQ(button.DisabledSurface(), 0u);
  EXPECT_EQ(Shown(button), 0);
  qmz::SendSpMouseMove(20, 15);
  EXPECT_EQ(Shown(button), 2) << "hovered";
  qmz::SendSpLButtonDown(20, 15);
  EXPECT_EQ(Shown(button), 0) << "pressed while hovered, without a pressed image";
  qmz::SendSpLButtonUp(20, 15);
  EXPECT_EQ(Shown(button), 2);
  qmz::SendSpMouseMove(150, 80);
  EXPECT_EQ(Shown(button), 0) << "left";
  button.Show(0);
  EXPECT_EQ(Shown(button), -1);
  button.Show(1);
  EXPECT_EQ(Shown(button), 0);

  CSpButton full;
  ASSERT_EQ(full.Create("btn", 0x1F, 60, 10, 32, 16, kShown, 8, &panel_), 1);
  EXPECT_NE(full.ExtraSurface(), 0u);
  EXPECT_FALSE(Visible(full.ExtraSurface())) << "loaded, never shown";
  qmz::SendSpMouseMove(70, 15);
  qmz::SendSpLButtonDown(70, 15);
  EXPECT_EQ(Shown(full), 3);
  full.EnableButton(0);
  EXPECT_EQ(Shown(full), 1);
}

TEST_F(ControlsTest, ADisabledButtonWithoutItsImageShowsMainAndIgnoresPresses) {
  CSpButton button;
  ASSERT_EQ(button.Create("btn", CSpButton::kImageMain | CSpButton::kImageHover | CSpButton::kImagePressed, 10, 10, 32,
                          16, kShown, 7, &panel_),
            1);
  qmz::SendSpMouseMove(20, 15);
  button.EnableButton(0);
  EXPECT_EQ(button.State() & (CSpriteWnd::kEnabled | CSpriteWnd::kHovered), 0);
  EXPECT_EQ(Shown(button), 0);
  qmz::SendSpLButtonDown(20, 15);
  qmz::SendSpLButtonUp(20, 15);
  EXPECT_EQ(button.State() & CSpriteWnd::kPressed, 0);
  EXPECT_EQ(Shown(button), 0);
  using Log = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(panel_.log, (Log{{"up", 7}})) << "no press, no click; the release is still reported";
}

TEST_F(ControlsTest, CreateRefusesASiblingsIdAndANameThatDoesNotFit) {
  CSpButton first, second, third, longName;
  ASSERT_EQ(first.Create("btn", 1, 0, 0, 32, 16, kShown, 5, &panel_), 1);
  EXPECT_EQ(second.Create("btn", 1, 40, 0, 32, 16, kShown, 5, &panel_), 0);
  EXPECT_EQ(second.Parent(), nullptr);
  EXPECT_EQ(panel_.Children().Count(), 1u);
  EXPECT_EQ(third.Create(nullptr, 1, 40, 0, 32, 16, kShown, 6, &panel_), 0);
  EXPECT_EQ(longName.Create(std::string(62, 'b').c_str(), 1, 40, 0, 32, 16, kShown, 6, &panel_), 0)
      << "62 characters and \"00\" do not fit 64 bytes";
  EXPECT_EQ(longName.Create(std::string(61, 'b').c_str(), 1, 40, 0, 32, 16, kShown, 6, &panel_), 1);
  // SetImage keeps the surfaces when the new name does not fit.
  HOBJECT main = first.MainSurface();
  first.SetImage(std::string(62, 'b').c_str(), 1);
  EXPECT_EQ(first.MainSurface(), main);
}

TEST_F(ControlsTest, NotificationsReachTheParentsHandlersWithTheSendersId) {
  CSpButton button;
  ASSERT_EQ(button.Create("btn", 1, 10, 10, 32, 16, kShown, 42, &panel_), 1);
  std::vector<int> seen;
  panel_.SetNotifyCallback([&](int code, qmz::SPARG, qmz::SPARG) { seen.push_back(code); });
  qmz::SendSpMouseMove(20, 15);
  qmz::SendSpLButtonDown(20, 15);
  qmz::SendSpLButtonUp(20, 15);
  using Log = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(panel_.log, (Log{{"down", 42}, {"click", 42}, {"up", 42}}));
  EXPECT_EQ(seen, (std::vector<int>{qmz::SPN_CHILD_DOWN, qmz::SPN_CHILD_CLICK, qmz::SPN_CHILD_UP}));

  // A press that leaves the button and is released elsewhere only reports the press.
  panel_.log.clear();
  qmz::SendSpLButtonDown(20, 15);
  qmz::SendSpMouseMove(150, 80);
  qmz::SendSpLButtonUp(150, 80);
  EXPECT_EQ(panel_.log, (Log{{"down", 42}}));
}

TEST_F(ControlsTest, EachCodeReachesItsHandler) {
  struct Case {
    int code;
    const char* handler;
  };
  const Case ownCodes[] = {
      {qmz::SPN_CHILD_OWNER_0C, "0C"},       {qmz::SPN_CHILD_SPARE, "spare"}, {qmz::SPN_CHILD_OWNER_11, "11"},
      {qmz::SPN_CHILD_OWNER_12, "12"},       {qmz::SPN_CHILD_OWNER_13, "13"}, {qmz::SPN_CHILD_OWNER_14, "14"},
      {qmz::SPN_CHILD_OWNER_18000, "18000"},
  };
  for (const Case& c : ownCodes) {
    SCOPED_TRACE(c.handler);
    panel_.log.clear();
    EXPECT_EQ(panel_.OnMessage(c.code, 11, 0), 1);
    EXPECT_EQ(panel_.log, (std::vector<std::pair<std::string, int>>{{c.handler, 11}}));
  }
  // What a control turns into a notification for its parent.
  CSpButton button;
  ASSERT_EQ(button.Create("btn", 1, 10, 10, 32, 16, kShown, 12, &panel_), 1);
  const Case sent[] = {{qmz::SPM_AFTER_LBUTTONUP, "after up"}, {qmz::SPN_AFTER_CLICK, "after click"}};
  for (const Case& c : sent) {
    SCOPED_TRACE(c.handler);
    panel_.log.clear();
    EXPECT_EQ(button.OnMessage(c.code, 0, 0), 1);
    EXPECT_EQ(panel_.log, (std::vector<std::pair<std::string, int>>{{c.handler, 12}}));
  }
  EXPECT_EQ(panel_.OnMessage(0x12345, 0, 0), 0) << "an unknown code";
  EXPECT_EQ(panel_.QueryChild(1, 2), 0);
}

TEST_F(ControlsTest, ACheckButtonReportsAndWaitsForItsOwner) {
  CSpButton check;
  ASSERT_EQ(check.Create("btn", CSpButton::kImageMain | CSpButton::kImagePressed, 10, 10, 32, 16,
                         kShown | CSpriteWnd::kStyleCheck, 3, &panel_),
            1);
  qmz::SendSpMouseMove(20, 15);
  qmz::SendSpLButtonDown(20, 15);
  qmz::SendSpLButtonUp(20, 15);
  using Log = std::vector<std::pair<std::string, int>>;
  EXPECT_EQ(panel_.log, (Log{{"down", 3}, {"click", 3}, {"check", 3}, {"up", 3}}));
  EXPECT_EQ(check.IsChecked(), 0) << "the owner answers with SetChecked";
  EXPECT_EQ(Shown(check), 0);
  check.SetChecked(1);
  EXPECT_EQ(check.IsChecked(), 1);
  EXPECT_EQ(Shown(check), 3) << "checked shows the pressed image";
  panel_.log.clear();
  qmz::SendSpLButtonDown(20, 15);
  qmz::SendSpLButtonUp(20, 15);
  EXPECT_EQ(panel_.log, (Log{{"up", 3}})) << "a checked button ignores presses";

  CSpButton plain;
  ASSERT_EQ(plain.Create("btn", 1, 60, 10, 32, 16, kShown, 4, &panel_), 1);
  plain.SetChecked(1);
  EXPECT_EQ(plain.IsChecked(), 0) << "only in check mode";
}

TEST_F(ControlsTest, TheCaptionFollowsTheButtonsState) {
  CSpButton button;
  ASSERT_EQ(button.Create("btn", 1, 10, 10, 64, 24, kShown, 9, &panel_), 1);
  qmz::CSpriteText* caption = button.AddSpriteText(0, 0, 64, 24);
  ASSERT_NE(caption, nullptr);
  button.AddTextItem(caption, 1);
  qmz::SPTEXTPARAM param;
  param.id = 1;
  param.width = 64;
  param.height = 20;
  param.fontWidth = param.fontHeight = 16;
  const int32_t colours[5] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF};
  for (int i = 0; i < 5; ++i) param.colours[i] = colours[i];
  ASSERT_EQ(button.SetTextDesc("OK", param), 1);
  button.SetCaption(caption);
  auto has = [&](int32_t c) {
    qmz::SPRGB rgb = qmz::SplitColour(c);
    return CountPixels(caption->Sprite(), static_cast<uint16_t>(MapRGB(rgb.red, rgb.green, rgb.blue))) > 0;
  };
  ASSERT_TRUE(has(colours[0]));
  qmz::SendSpMouseMove(20, 15);
  EXPECT_TRUE(has(colours[2])) << "hover";
  qmz::SendSpLButtonDown(20, 15);
  EXPECT_TRUE(has(colours[3])) << "pressed";
  qmz::SendSpLButtonUp(20, 15);
  EXPECT_TRUE(has(colours[2])) << "released: the hover colour drawn over the click's";
  button.OnMessage(qmz::SPN_CLICK, 0, 0);
  EXPECT_TRUE(has(colours[4])) << "clicked";
  button.EnableButton(0);
  EXPECT_TRUE(has(colours[1])) << "disabled";
}

TEST_F(QmzTest, AProgressBarShowsItsPercentOfTheWidth) {
  WriteImage("bar00", 120, 8, 0x00FF00);
  qmz::CSpProgressBar bar;
  ASSERT_EQ(bar.Create("bar00", 0, 0, 120, 8, kShown, nullptr, 3), 1);
  EXPECT_EQ(bar.StyleValue(), 3);
  auto source = [&] { return LookupSprite(bar.MainSurface())->image->sourceRight; };
  bar.SetPercent(50);
  EXPECT_EQ(source(), 60);
  EXPECT_TRUE(Visible(bar.MainSurface()));
  for (int ignored : {101, -1}) {
    bar.SetPercent(ignored);
    EXPECT_EQ(bar.Percent(), 50);
    EXPECT_EQ(source(), 60);
  }
  bar.SetPercent(100);
  EXPECT_EQ(bar.IsFull(), 1);
  EXPECT_EQ(source(), 120);
  bar.SetPercent(0);
  EXPECT_EQ(bar.IsFull(), 0);
  EXPECT_FALSE(Visible(bar.MainSurface()));
  bar.Show(1);
  EXPECT_FALSE(Visible(bar.MainSurface())) << "showing at 0 percent keeps it hidden";
  bar.Show(0);
  bar.SetPercent(30);
  EXPECT_FALSE(Visible(bar.MainSurface())) << "a hidden bar stays hidden";
}

TEST_F(QmzTest, ACentringCursorKeepsItsPointAcrossFrameChanges) {
  WriteImage("cursor00", 64, 32, 0xFFFFFF);
  qmz::CSpCursor cursor;
  EXPECT_EQ(cursor.Create("", 32, 32, 0, 0), 0);
  EXPECT_EQ(cursor.Create(std::string(32, 'c').c_str(), 32, 32, 0, 0), 0);
  ASSERT_EQ(cursor.Create("cursor00", 32, 32, 0, 0), 1);
  EXPECT_EQ(Layer(cursor.Sprite()), 2147483647);
  EXPECT_FALSE(Visible(cursor.Sprite()));
  cursor.SetCentring(1);
  cursor.SetVisible(1);
  cursor.SetPosition(100, 100);
  cursor.Update();
  EXPECT_FALSE(Visible(cursor.Sprite())) << "no frame selected yet";
  cursor.SetFrame(0);
  cursor.Update();
  EXPECT_TRUE(Visible(cursor.Sprite()));
  EXPECT_EQ(Position(cursor.Sprite()), std::make_pair(84, 84));
  cursor.SetFrame(1);  // column 1, row 0
  cursor.Update();
  EXPECT_EQ(Position(cursor.Sprite()), std::make_pair(84, 84));
  EXPECT_EQ(LookupSprite(cursor.Sprite())->image->currentColumn, 1);
  cursor.LockPosition(1);
  cursor.MoveTo(10, 10);
  cursor.Update();
  EXPECT_EQ(Position(cursor.Sprite()), std::make_pair(84, 84)) << "locked";
  cursor.SetFrame(-1);
  cursor.Update();
  EXPECT_FALSE(Visible(cursor.Sprite()));
}

}  // namespace
}  // namespace qmztest
