#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/main_loop.h"
#include "engine/media/sprite_images.h"
#include "engine/media/sprites.h"
#include "platform/ime.h"
#include "platform/keys.h"
#include "platform/window.h"
#include "platform/window_simulate.h"
#include "tests/media2d/media2d_fixture.h"
#include "ui/am_ime_bar.h"
#include "ui/am_object.h"
#include "ui/am_text.h"
#include "ui/am_wnd.h"
#include "ui/am_wnd_manager.h"

namespace uitest {

struct Received {
  int id = 0;
  int a = 0;
  int b = 0;
  CAmObject* sender = nullptr;
  bool operator==(const Received&) const = default;
};

// A window that records every message reaching it and handles them all.
class RecordingWnd : public CAmWnd {
 public:
  RecordingWnd(int width, int height, CAmObject* owner = nullptr, const char* image = nullptr)
      : CAmWnd(image, width, height, 0, owner) {}
  int OnMessage(int id, int a, int b, CAmObject* sender) override {
    received.push_back({id, a, b, sender});
    return 1;
  }
  std::vector<Received> received;
};

// The widget framework as the screens see it: an open engine on a 5-6-5
// screen in a fresh working directory with a test clock, the magenta colour
// key, a window manager with its input hooks installed, and input arriving
// as window messages through the engine's real hooks. Every widget still
// alive is swept before the engine closes.
class UiTest : public media2dtest::Media2DTest {
 protected:
  UiTest() {
    OpenScreen();
    CAmObject::SetColorKey(255, 0, 255);
    g_amKeyConsumed = 0;
    g_amTextBudget = 2;
    SetDefaultFontName("");  // the font layer's own choice
    CreateWndManager();
    EnableWndInput(1);
  }
  ~UiTest() override {
    DestroyLiveWidgets();
    g_amFontNames.clear();
    CAmObject::SetColorKey(0, 0, 0);
    plat::SetTestInputMethodDescription("");
  }

  // One frame: the waiting input reaches the hooks, then the manager runs.
  void Update(int steps = 1) {
    PumpMessages();
    UpdateWndManager(steps);
  }
  // Several frames, the clock moving by seconds before each.
  void UpdateFor(int frames, double seconds = 1.0 / 30) {
    for (int i = 0; i < frames; ++i) {
      clock_->AdvanceSeconds(seconds);
      Update();
    }
  }

  void Mouse(uint32_t message, int x, int y) {
    Post(message, 0, plat::MakePointParam(x, y));
    PumpMessages();
  }
  void Press(int x, int y) { Mouse(plat::WM_LBUTTONDOWN, x, y); }
  void Release(int x, int y) { Mouse(plat::WM_LBUTTONUP, x, y); }
  void Click(int x, int y) {
    Press(x, y);
    Release(x, y);
  }
  void Move(int x, int y) { Mouse(plat::WM_MOUSEMOVE, x, y); }
  // A key press (a repeat when held before), without its release.
  void KeyDown(int vk, bool repeat = false) {
    Post(plat::WM_KEYDOWN, static_cast<plat::WParam>(vk), 1 | (repeat ? plat::kKeyWasDown : 0));
    PumpMessages();
  }
  void KeyUp(int vk) {
    Post(plat::WM_KEYUP, static_cast<plat::WParam>(vk), 1);
    PumpMessages();
  }
  void Char(int code) {
    Post(plat::WM_CHAR, static_cast<plat::WParam>(code), 1);
    PumpMessages();
  }
  // Text typed on the keyboard, as the system reports it.
  void Type(const std::string& utf8) {
    plat::SimulateText(GetMainWindow(), utf8);
    PumpMessages();
  }

  // A picture of columns x rows cells, each cell one colour: red = 40 x
  // column + 20, green = 40 x row + 20, blue 100.
  void WriteGrid(const std::string& name, int cellWidth, int cellHeight, int columns, int rows) {
    WriteQbi(name + ".qbi", cellWidth * columns, cellHeight * rows, [=](int x, int y) {
      return static_cast<uint32_t>((40 * (x / cellWidth) + 20) << 16 | (40 * (y / cellHeight) + 20) << 8 | 100);
    });
  }
  // The colour of a cell of WriteGrid's picture as a screen pixel.
  static uint16_t GridPixel(int column, int row) {
    return static_cast<uint16_t>(MapRGB(40 * column + 20, 40 * row + 20, 100));
  }

  // A pixel of a sprite's first frame; 0xDEAD when it cannot be read.
  static uint16_t SpritePixel(HOBJECT sprite, int x, int y) {
    auto* pixels = static_cast<uint8_t*>(LockSprite(sprite, 0));
    if (!pixels) return 0xDEAD;
    uint16_t p =
        static_cast<uint16_t>(pixels[y * g_spriteLockPitch + 2 * x] | pixels[y * g_spriteLockPitch + 2 * x + 1] << 8);
    UnlockSprite(sprite, 0);
    return p;
  }
  // Pixels of a sprite's first frame that are not the colour.
  static int CountNot(HOBJECT sprite, uint16_t colour, int left, int top, int right, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) count += SpritePixel(sprite, x, y) != colour;
    return count;
  }
  // A sprite of the named picture cut in cells; 0 when the picture does not
  // load, else its grid checked against columns x rows.
  static HOBJECT LoadGridPicture(const char* name, int cellWidth, int cellHeight, int columns, int rows) {
    BeginSprite(0);
    SetSpriteImage(name, 0, cellWidth, cellHeight);
    HOBJECT sprite = EndSprite(0);
    if (!LookupSprite(sprite) || !LookupSprite(sprite)->image) {
      ADD_FAILURE() << name << " does not load";
      if (LookupSprite(sprite)) DeleteSprite(sprite);
      return 0;
    }
    int frames = 0, gridColumns = 0, gridRows = 0;
    GetSpriteGrid(sprite, &frames, &gridColumns, &gridRows);
    EXPECT_EQ(gridColumns, columns) << name;
    EXPECT_EQ(gridRows, rows) << name;
    return sprite;
  }
  static int Layer(HOBJECT sprite) {
    int layer = -1;
    GetSpriteDepth(sprite, nullptr, nullptr, &layer);
    return layer;
  }
  static float Alpha(HOBJECT sprite) {
    SPRITEDESC* d = LookupSprite(sprite);
    return d ? d->alpha : -1.0f;
  }
  static int Row(HOBJECT sprite) {
    SPRITEDESC* d = LookupSprite(sprite);
    return d && d->image ? d->image->currentRow : -1;
  }
  static int Column(HOBJECT sprite) {
    SPRITEDESC* d = LookupSprite(sprite);
    return d && d->image ? d->image->currentColumn : -1;
  }
  static bool Shown(HOBJECT sprite) {
    SPRITEDESC* d = LookupSprite(sprite);
    return d && d->visible;
  }
};

}  // namespace uitest
