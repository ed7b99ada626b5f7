#include <gtest/gtest.h>

#include <string>

#include "tests/ui/menu_fixture.h"
#include "ui/am_button.h"
#include "ui/am_scroll_bar.h"
#include "ui/am_text_styles.h"
#include "ui/main_wnd.h"
#include "ui/menu_windows.h"
#include "ui/system_page.h"

namespace {

constexpr int kKeyButtonY[] = {145, 168, 189, 211};

class SystemPageTest : public uitest::MenuTest {
 protected:
  CSystemPage* Open() {
    OpenSystemWindow(&result, nullptr);
    UpdateScreens(1);
    auto* window = dynamic_cast<CVekMainWnd*>(GetTopWnd());
    return window ? window->systemPage : nullptr;
  }
  void ClickButton(CAmButton* button) {
    int x = 0, y = 0;
    button->GetPosition(&x, &y);
    ClickAndUpdate(x + 3, y + 3);
  }

  MENURESULTDESC result;
};

TEST_F(SystemPageTest, SlidersShowAndSetTheSettings) {
  config.musicVolume = 150;  // out of the bar's range: the last position
  config.soundVolume = 20;
  CSystemPage* page = Open();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->sliders[CSystemPage::kMusic]->position, 99);
  EXPECT_EQ(page->sliders[CSystemPage::kSound]->position, 20);
  EXPECT_EQ(page->sliders[CSystemPage::kView]->position, config.GetViewDistanceSlider());
  EXPECT_EQ(page->sliders[CSystemPage::kDetail]->position, config.GetDetailDistanceSlider());
  EXPECT_EQ(page->sliders[CSystemPage::kMusic]->count, 100);

  const int messages[] = {AMM_SCROLL_PREVSTEP, AMM_SCROLL_NEXTSTEP, AMM_SCROLLING, AMM_SCROLLING};
  const int positions[] = {40, 60, 25, 75};
  for (int i = 0; i < CSystemPage::kSliders; ++i) {
    CAmScrollBar* bar = page->sliders[static_cast<size_t>(i)];
    bar->PostMessage(messages[i], positions[i], 0, bar);
  }
  UpdateScreens(1);
  EXPECT_EQ(config.musicVolume, 40);
  EXPECT_EQ(config.soundVolume, 60);
  EXPECT_EQ(config.GetViewDistanceSlider(), 25);
  EXPECT_EQ(config.GetDetailDistanceSlider(), 75);

  // A step on the bar itself reaches the settings too (the bar stood at 20).
  ClickButton(page->sliders[CSystemPage::kSound]->forwardButton);
  for (int i = 0; i < 3; ++i) UpdateScreens(1);
  EXPECT_EQ(page->sliders[CSystemPage::kSound]->position, 21);
  EXPECT_EQ(config.soundVolume, 21);

  // Defaults, and the page shows them.
  ClickButton(page->defaultsButton);
  EXPECT_EQ(config.musicVolume, 30);
  EXPECT_EQ(page->sliders[CSystemPage::kMusic]->position, 30);
  EXPECT_EQ(page->sliders[CSystemPage::kView]->position, config.GetViewDistanceSlider());
}

TEST_F(SystemPageTest, OnOffPairsStoreTheirValue) {
  config.shadows = 1;
  config.effects = 0;
  CSystemPage* page = Open();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->shadowButtons[0]->pressed, 1);
  EXPECT_EQ(page->shadowButtons[1]->pressed, 0);
  EXPECT_EQ(page->effectButtons[0]->pressed, 0);
  EXPECT_EQ(page->effectButtons[1]->pressed, 1);

  ClickButton(page->shadowButtons[1]);
  EXPECT_EQ(config.shadows, 0);
  EXPECT_EQ(page->shadowButtons[1]->pressed, 1) << "acts on the press and stays down";
  EXPECT_EQ(page->shadowButtons[0]->pressed, 0);
  ClickButton(page->effectButtons[0]);
  EXPECT_EQ(config.effects, 1);
  EXPECT_EQ(page->effectButtons[1]->pressed, 0);
}

TEST_F(SystemPageTest, AKeyButtonTakesTheNextKey) {
  CSystemPage* page = Open();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->keyTexts[2]->text, "A");
  ClickAndUpdate(62 + 100, kKeyButtonY[2] + 5);
  EXPECT_EQ(page->waitingKey, 2);
  EXPECT_EQ(page->keyTexts[2]->pulsing, 1);
  EXPECT_EQ(page->keyButtons[2]->pressed, 1);

  // Escape keeps the old key, keeps waiting and does not close the window.
  KeyDown(plat::VK_ESCAPE);
  KeyUp(plat::VK_ESCAPE);
  EXPECT_EQ(UpdateScreens(1), SR_OPEN);
  EXPECT_EQ(page->waitingKey, 2);
  EXPECT_EQ(config.keyLeft, 'A');

  KeyDown('K');
  KeyUp('K');
  UpdateScreens(1);
  EXPECT_EQ(config.keyLeft, 'K');
  EXPECT_EQ(page->keyTexts[2]->text, "K");
  EXPECT_EQ(page->waitingKey, -1);
  EXPECT_EQ(page->keyTexts[2]->pulsing, 0);
  EXPECT_EQ(page->keyButtons[2]->pressed, 0);

  // A key with a name of its own shows it.
  ClickAndUpdate(62 + 100, kKeyButtonY[0] + 5);
  KeyDown(plat::VK_UP);
  UpdateScreens(1);
  EXPECT_EQ(config.keyForward, plat::VK_UP);
  EXPECT_EQ(page->keyTexts[0]->text, "m81");

  // A click elsewhere gives up the wait.
  ClickAndUpdate(62 + 100, kKeyButtonY[3] + 5);
  ASSERT_EQ(page->waitingKey, 3);
  ClickAndUpdate(600, 20);
  UpdateScreens(1);
  EXPECT_EQ(page->waitingKey, -1);
  EXPECT_EQ(page->keyButtons[3]->pressed, 0);
  EXPECT_EQ(page->keyTexts[3]->pulsing, 0);
  EXPECT_EQ(config.keyRight, 'D');
}

TEST_F(SystemPageTest, KeyNames) {
  struct Case {
    int key;
    const char* name;
  };
  const Case cases[] = {{8, "m90"},    {37, "m83"},   {40, "m82"}, {0x60, "m109"}, {0x69, "m118"},
                        {109, "m121"}, {222, "m104"}, {'K', "K"},  {'7', "7"},     {0x70, ""}};
  WriteResource({});
  for (const Case& c : cases) EXPECT_EQ(KeyName(c.key), c.name) << c.key;
  EXPECT_EQ(KeyNameMessage(108), 50);
  EXPECT_EQ(KeyNameMessage('K'), 0);
}

}  // namespace
