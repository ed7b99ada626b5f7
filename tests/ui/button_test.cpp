#include <string>
#include <vector>

#include "engine/media/sound_table.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/wave_writer.h"
#include "ui/am_button.h"
#include "ui/am_mouse.h"

namespace uitest {
namespace {

constexpr int kPressSound = 1;
constexpr int kHoverSound = 3;

class ButtonTest : public UiTest {
 protected:
  ButtonTest() {
    datagen::WaveSpec spec;
    spec.samples = datagen::ConstantSamples(22050, 1, 1000);
    EXPECT_TRUE(datagen::WriteWave("press.wav", spec));
    EXPECT_TRUE(datagen::WriteWave("hover.wav", spec));
    RegisterWndSound(kPressSound, "press");
    RegisterWndSound(kHoverSound, "hover");
    window = new RecordingWnd(640, 480);
  }

  // A button of rows x columns cells of 40 x 20 at (100, 100).
  CAmButton* MakeButton(int rows, int columns = 1) {
    std::string name = "button" + std::to_string(rows) + std::to_string(columns);
    WriteGrid(name, 40, 20, columns, rows);
    auto* button = new CAmButton(name.c_str(), 40, 20, 0, kPressSound, kHoverSound, window);
    button->SetPosition(100, 100);
    return button;
  }
  bool Playing(int key) { return IsSoundPlaying(g_amWndManager->Sound(key)) == 1; }
  std::vector<int> Ids() {
    std::vector<int> ids;
    for (const Received& r : window->received) ids.push_back(r.id);
    return ids;
  }

  RecordingWnd* window;
};

TEST_F(ButtonTest, LooksFollowTheNumberOfRows) {
  struct Case {
    int rows;
    float idleAlpha;
    int hoverRow;
    bool hoverSound;
    int pressedRow;
  } cases[] = {
      {1, 0.5f, 0, false, 0},
      {2, 1.0f, 0, false, 1},
      {3, 1.0f, 1, true, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rows);
    CAmButton* button = MakeButton(c.rows);
    Update();
    EXPECT_EQ(button->rows, c.rows);
    EXPECT_FLOAT_EQ(Alpha(button->sprite), c.idleAlpha);
    Move(110, 110);
    EXPECT_EQ(Row(button->sprite), c.hoverRow);
    EXPECT_EQ(Playing(kHoverSound), c.hoverSound);
    Press(110, 110);
    EXPECT_EQ(Row(button->sprite), c.pressedRow);
    EXPECT_FLOAT_EQ(Alpha(button->sprite), 1.0f);
    EXPECT_TRUE(Playing(kPressSound));
    Release(110, 110);
    EXPECT_EQ(Row(button->sprite), 0);
    EXPECT_FLOAT_EQ(Alpha(button->sprite), c.idleAlpha);
    Update();
    EXPECT_EQ(Ids(), (std::vector<int>{AMM_MOUSEHOVER, AMM_BUTTONDOWN, AMM_BUTTONUP}));
    EXPECT_EQ(window->received[0].a, -1) << "the hover value";
    window->received.clear();
    StopSound(g_amWndManager->Sound(kPressSound));
    StopSound(g_amWndManager->Sound(kHoverSound));
    delete button;
  }
}

TEST_F(ButtonTest, APressEndsWithTheReleaseWhereverItHappens) {
  CAmButton* button = MakeButton(3);
  Update();
  Press(110, 110);
  Move(300, 300);
  Mouse(plat::WM_MOUSEMOVE, 300, 300);
  Release(300, 300);
  Update();
  EXPECT_EQ(Ids(), (std::vector<int>{AMM_BUTTONDOWN, AMM_BUTTONUP}));
  EXPECT_EQ(window->received[0].sender, button);
}

TEST_F(ButtonTest, APressOutsideWhileHeldPostsMessage18AndKeepsItPressed) {
  CAmButton* button = MakeButton(2);
  Update();
  Press(110, 110);
  Press(300, 300);
  Update();
  EXPECT_EQ(Ids(), (std::vector<int>{AMM_BUTTONDOWN, kAmmPressOutside}));
  EXPECT_EQ(button->pressed, 1);
  EXPECT_EQ(Row(button->sprite), 1);
}

TEST_F(ButtonTest, ALockedButtonIsInvisibleAndDeaf) {
  CAmButton* button = MakeButton(3);
  button->SetLocked(1);
  Update();
  EXPECT_FLOAT_EQ(Alpha(button->sprite), 0.0f);
  Move(110, 110);
  Click(110, 110);
  Update();
  EXPECT_TRUE(window->received.empty());
  EXPECT_EQ(button->Press(), 0);
  EXPECT_EQ(button->Show(1), 1) << "answers the locked value";
  button->SetLocked(0);
  EXPECT_FLOAT_EQ(Alpha(button->sprite), 1.0f);
  Click(110, 110);
  Update();
  EXPECT_EQ(Ids(), (std::vector<int>{AMM_BUTTONDOWN, AMM_BUTTONUP}));
}

TEST_F(ButtonTest, AHeldAutoRepeatButtonRepeatsAfterElevenUpdates) {
  CAmButton* button = MakeButton(2);
  button->SetAutoRepeat(1, 10);
  Update();
  Press(110, 110);
  std::vector<int> repeatsAt;
  for (int update = 1; update <= 18; ++update) {
    size_t before = window->received.size();
    UpdateFor(1, 0.05);
    for (size_t i = before; i < window->received.size(); ++i)
      if (window->received[i].id == AMM_BUTTONDOWN) repeatsAt.push_back(update);
  }
  // The press itself arrives with the first update; then every other update
  // at ten repeats a second and twenty updates a second.
  EXPECT_EQ(repeatsAt, (std::vector<int>{1, 12, 14, 16, 18}));
  Release(110, 110);
  size_t before = window->received.size();
  UpdateFor(20, 0.05);
  EXPECT_EQ(window->received.size(), before + 1) << "only the release";
}

TEST_F(ButtonTest, IdleColumnsAnimateAndOtherAutoRepeatModesDoNothing) {
  CAmButton* button = MakeButton(1, 3);
  button->SetAutoRepeat(0, 30);
  EXPECT_EQ(button->autoRepeat, 0);
  Update();
  int first = Column(button->sprite);
  UpdateFor(1, 0.1);
  EXPECT_EQ(Column(button->sprite), (first + 1) % 3);
  button->ResetState();
  EXPECT_EQ(Column(button->sprite), 0);
}

TEST_F(ButtonTest, TheCursorTakesShapesByRowAndColumnAboveEveryWindow) {
  WriteGrid("cursor", 24, 24, 5, 2);
  auto* cursor = new CAmMouse("cursor", 24, 24, 10, 5);
  EXPECT_EQ(GetWndCursor(), cursor);
  EXPECT_EQ(Layer(cursor->sprite), CAmMouse::kLayer);
  struct Case {
    int shape, row, column;
  } cases[] = {{0, 0, 0}, {4, 0, 4}, {7, 1, 2}};
  for (const Case& c : cases) {
    cursor->SetShape(c.shape);
    EXPECT_EQ(Row(cursor->sprite), c.row) << c.shape;
    EXPECT_EQ(Column(cursor->sprite), c.column) << c.shape;
  }
  Update();
  UpdateFor(3, 0.1);
  EXPECT_EQ(Column(cursor->sprite), 2) << "as many shapes per row as columns: still";
  Move(33, 44);
  int x = 0, y = 0;
  cursor->GetPosition(&x, &y);
  EXPECT_EQ(x, 33);
  EXPECT_EQ(y, 44);
  cursor->SetLocked(1);
  cursor->Show(0);
  EXPECT_FALSE(Shown(cursor->sprite)) << "shown or hidden, locked or not";
  delete cursor;
  EXPECT_EQ(GetWndCursor(), nullptr);
}

TEST_F(ButtonTest, ACursorWithFewerShapesPerRowThanColumnsAnimates) {
  WriteGrid("wait", 24, 24, 4, 1);
  auto* cursor = new CAmMouse("wait", 24, 24, 1, 1);
  Update();
  std::vector<int> columns;
  for (int i = 0; i < 5; ++i) {
    UpdateFor(1, 0.1);
    columns.push_back(Column(cursor->sprite));
  }
  EXPECT_EQ(columns, (std::vector<int>{1, 2, 3, 0, 1}));
}

}  // namespace
}  // namespace uitest
