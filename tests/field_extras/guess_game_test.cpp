#include <algorithm>
#include <cstring>
#include <set>

#include "platform/time.h"
#include "tests/field_extras/field_extras_fixture.h"
#include "ui/menu_agency.h"
#include "world/guess_game_panel.h"
#include "world/mini_game_host.h"
#include "world/text_label.h"

namespace fieldtest {
namespace {

class GuessGameTest : public FieldExtrasTest {
 protected:
  GuessGameTest() {
    plat::CreateDirectories("Image");
    WriteImage("Image/_back.bmp", 640, 120, 0x808080);
  }
  // A screen click on number n (1..10) of the panel at (0, 360).
  static void Pick(CGuessGamePanel& panel, int n) {
    const int k = n - 1;
    panel.OnClick(128 * (k % 5) + 20, 360 + 30 + 20 * (k / 5));
  }
  static void PickAll(CGuessGamePanel& panel, const int (&numbers)[4]) {
    for (int n : numbers) Pick(panel, n);
  }
  // A number not in the secret.
  static int Wrong(const CGuessGamePanel& panel) {
    for (int n = 1; n <= 10; ++n) {
      if (std::find(std::begin(panel.secret), std::end(panel.secret), n) == std::end(panel.secret)) return n;
    }
    return -1;
  }
};

TEST_F(GuessGameTest, SecretsAreFourDistinctNumbersFromOneToTen) {
  CGuessGamePanel panel;
  std::set<std::vector<int>> seen;
  for (int i = 0; i < 1000; ++i) {
    clock_->AdvanceSeconds(0.013);
    panel.NewGame();
    std::set<int> distinct(std::begin(panel.secret), std::end(panel.secret));
    ASSERT_EQ(distinct.size(), 4u);
    ASSERT_GE(*distinct.begin(), 1);
    ASSERT_LE(*distinct.rbegin(), 10);
    seen.insert({std::begin(panel.secret), std::end(panel.secret)});
  }
  EXPECT_GT(seen.size(), 100u) << "the clock reseeds each game";
}

TEST_F(GuessGameTest, PickingTheSecretInOrderWins) {
  CMiniGameHost host(&g_menuAgency);
  host.Start();
  CGuessGamePanel& panel = *host.panel;
  ASSERT_NE(panel.sprite, 0u) << "the background loads";
  const int secret[4] = {panel.secret[0], panel.secret[1], panel.secret[2], panel.secret[3]};
  for (int i = 0; i < 3; ++i) {
    Pick(panel, secret[i]);
    EXPECT_EQ(panel.pickIndex, i + 1);
    EXPECT_EQ(panel.shownPicks, i + 1);
    EXPECT_EQ(panel.labels[2].text, "next" + std::to_string(i + 1));
    EXPECT_EQ(panel.labels[3 + i].text, "N" + std::to_string(secret[i]));
    EXPECT_EQ(host.IsFinished(), 0);
  }
  Pick(panel, secret[3]);
  EXPECT_EQ(panel.allPicked, 1);
  EXPECT_EQ(panel.exact, 4);
  EXPECT_EQ(panel.total, 4);
  EXPECT_EQ(panel.state, CGuessGamePanel::kWon);
  EXPECT_EQ(host.IsFinished(), 1);
  panel.OnClick(600, 470);
  EXPECT_EQ(panel.sprite, 0u) << "the next click releases the image";
  EXPECT_EQ(host.IsFinished(), 1);
  EXPECT_EQ(host.lost, 0);
  host.Stop();
  EXPECT_EQ(host.panel, nullptr);
  EXPECT_EQ(host.IsFinished(), 1);
}

TEST_F(GuessGameTest, RoundsScoreAndEnd) {
  CGuessGamePanel panel;
  panel.LoadBackground("Image", "_back", 640, 120, 0, 360);
  panel.NewGame();
  const int* s = panel.secret;
  // The secret rotated: every number right, none in its place.
  PickAll(panel, {s[1], s[2], s[3], s[0]});
  EXPECT_EQ(panel.exact, 0);
  EXPECT_EQ(panel.total, 4);
  EXPECT_EQ(panel.resultShown, 1);
  EXPECT_EQ(panel.state, CGuessGamePanel::kRunning);
  EXPECT_EQ(panel.roundsLeft, 6) << "the result stays until the next click";

  panel.OnClick(600, 470);
  EXPECT_EQ(panel.roundsLeft, 5);
  EXPECT_EQ(panel.resultShown, 0);
  EXPECT_EQ(panel.pickIndex, 0);
  EXPECT_TRUE(std::all_of(std::begin(panel.buttons), std::end(panel.buttons),
                          [](const CTextButton& b) { return b.enabled == 1; }));

  const int wrong = Wrong(panel);
  PickAll(panel, {s[0], s[1], s[2], wrong});
  EXPECT_EQ(panel.exact, 3);
  EXPECT_EQ(panel.total, 3);
  for (int round = 2; round <= 6; ++round) {
    if (round > 2) PickAll(panel, {s[0], s[1], s[2], wrong});
    ASSERT_EQ(panel.state, CGuessGamePanel::kRunning);
    panel.OnClick(600, 470);
  }
  EXPECT_EQ(panel.state, CGuessGamePanel::kLost);
  EXPECT_EQ(panel.sprite, 0u);
}

TEST_F(GuessGameTest, ClicksThatHitNoEnabledButtonChangeNothing) {
  CGuessGamePanel panel;
  panel.LoadBackground("Image", "_back", 640, 120, 0, 360);
  panel.NewGame();
  Pick(panel, 3);
  ASSERT_EQ(panel.pickIndex, 1);
  struct Case {
    const char* what;
    int x, y;
  };
  const Case cases[] = {{"disabled button 3", 128 * 2 + 20, 390},
                        {"between buttons", 5, 390},
                        {"above the panel", 20, 100},
                        {"the label row", 20, 360 + 78}};
  for (const Case& c : cases) {
    panel.OnClick(c.x, c.y);
    EXPECT_EQ(panel.pickIndex, 1) << c.what;
    EXPECT_EQ(panel.picks[1], -1) << c.what;
    EXPECT_EQ(panel.resultShown, 0) << c.what;
  }
}

TEST_F(GuessGameTest, HoverAndRefreshColourTheButtons) {
  CGuessGamePanel panel;
  panel.LoadBackground("Image", "_back", 640, 120, 0, 360);
  panel.NewGame();
  Pick(panel, 1);
  panel.OnMouseMove(128 + 20, 390);  // over button 2
  panel.Refresh();
  EXPECT_EQ(panel.buttons[1].hitState, 1);
  EXPECT_EQ(panel.buttons[1].green, 255);
  EXPECT_EQ(panel.buttons[2].red + panel.buttons[2].green, 0);
  EXPECT_EQ(panel.buttons[0].red, 255) << "a picked number stays red";
}

TEST(TextCharsTest, CountAndCut) {
  EXPECT_EQ(CountTextChars("ab\xA4\xA4"
                           "c"),
            4);
  EXPECT_EQ(CountTextChars("\xA4"), 1) << "a lead byte at the end counts alone";
  EXPECT_EQ(CountTextChars("\xA0z\xA1z"), 3) << "counted by the standard rows: 0xA0 alone, 0xA1 leads a pair";
  struct Case {
    const char* text;
    int first, last;
    size_t size;
    const char* expected;
    int result;
  };
  const Case cases[] = {
      {"$FB12345678", 4, 7, 32, "1234", 5},
      {"$FB12345678", 4, -1, 32, "1", 2},
      {"abc", 1, 3, 32, "abc", 4},
      {"abc", 2, 9, 32, "bc", 3},
      {"a\xA4\xA4"
       "b",
       2, 2, 32, "\xA4\xA4", 3},
      {"$FB12345678", 4, 7, 3, "12", 3},
      {"a\xA4\xA4"
       "b",
       1, 2, 3, "a", 2},
  };
  for (const Case& c : cases) {
    char buffer[40];
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(CutTextByChars(buffer, c.size, c.text, c.first, c.last), c.result) << c.text << " " << c.first;
    EXPECT_STREQ(buffer, c.expected) << c.text << " " << c.first;
    EXPECT_EQ(buffer[c.size], '#') << "nothing past the buffer";
  }
  char buffer[8];
  EXPECT_EQ(CutTextByChars(buffer, sizeof buffer, "ab", 3, 3), -1);
  EXPECT_EQ(CutTextByChars(nullptr, 8, "ab", 1, 1), 0);
  EXPECT_EQ(CutTextByChars(buffer, sizeof buffer, nullptr, 1, 1), 0);
}

}  // namespace
}  // namespace fieldtest
