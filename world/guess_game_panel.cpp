#include "world/guess_game_panel.h"

#include <cstdio>

#include "database/game_resource.h"
#include "engine/core/input_hooks.h"
#include "engine/core/math3d.h"
#include "engine/media/glyph_font.h"
#include "engine/media/sprites.h"
#include "platform/crt.h"
#include "platform/time.h"

namespace {

constexpr int kCaptionMessage = 130;  // captions of the buttons 1 to 10
constexpr int kWinMessage = 141;
constexpr int kResultMessage = 143;  // "%d %d": exact, total
constexpr int kRoundMessage = 144;
constexpr int kPickMessage = 145;  // the prompts after picks 1 to 3

constexpr int kVkControl = 17;
constexpr int kVkF12 = 123;

struct Rect {
  int left, top, right, bottom;
};
constexpr Rect kLabelRects[CGuessGamePanel::kLabels] = {{0, 0, 640, 120},  {0, 0, 0, 0},       {5, 0, 600, 20},
                                                        {10, 68, 130, 88}, {140, 68, 260, 88}, {270, 68, 380, 88},
                                                        {400, 68, 500, 88}};

const char* Message(int n) {
  const char* text = GetMessageString(n);
  return text ? text : "";
}

// The result line from its message: the first two "%d" take the numbers,
// any other '%' stays as it is (the text comes from a data file).
std::string FormatResult(const char* format, int exact, int total) {
  std::string line;
  int used = 0;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 'd' && used < 2) {
      line += std::to_string(used++ == 0 ? exact : total);
      ++p;
    } else {
      line += *p;
    }
  }
  return line;
}

}  // namespace

CGuessGamePanel::CGuessGamePanel() {
  for (int k = 0; k < kButtons; ++k) buttons[k].caption = Message(kCaptionMessage + k);
}

void CGuessGamePanel::LoadBackground(const char* directory, const char* name, int newWidth, int newHeight, int newX,
                                     int newY) {
  if (!name || !*name) return;
  backDirectory = directory ? directory : "";
  backName = name;
  backWidth = newWidth;
  backHeight = newHeight;
  backX = newX;
  backY = newY;
  SetDirectory(backDirectory.c_str());
  Load(backName.c_str(), backWidth, backHeight, 0);
  SetPosition(backX, backY);
  if (sprite) ShowSprite(sprite, 0);
  for (CTextLabel& label : labels) label.sprite = sprite;
  for (CTextButton& button : buttons) button.sprite = sprite;
}

void CGuessGamePanel::Reload() {
  if (sprite) ShowSprite(sprite, 0);
  Release();
  LoadBackground(backDirectory.c_str(), backName.c_str(), backWidth, backHeight, backX, backY);
  SetAlpha(0.5f);
  if (sprite) ShowSprite(sprite, 1);
}

void CGuessGamePanel::DrawSecret() {
  plat::Srand(static_cast<unsigned>(plat::QueryCounter()));
  for (int slot = 0; slot < kSlots;) {
    const int drawn = RandomInRange(1, 10, -1);
    bool known = false;
    for (int i = 0; i < slot; ++i) known = known || secret[i] == drawn;
    if (!known) secret[slot++] = drawn;
  }
}

void CGuessGamePanel::ResetRound() {
  for (int& pick : picks) pick = -1;
  pickIndex = 0;
  allPicked = 0;
  exact = 0;
  total = 0;
  resultShown = 0;
  state = kRunning;
  shownPicks = 0;
}

void CGuessGamePanel::NewGame() {
  ResetRound();
  for (int& number : secret) number = -1;
  DrawSecret();
  roundsLeft = kRounds;
  char text[64];
  std::snprintf(text, sizeof text, " %d %d %d %d ", secret[0], secret[1], secret[2], secret[3]);
  secretText = text;
  LayoutButtons();
  LayoutLabels();
}

void CGuessGamePanel::LayoutButtons() {
  for (int k = 0; k < kButtons; ++k) {
    const int row = k / 5;
    const int column = k % 5;
    CTextButton& button = buttons[k];
    button.SetRect(128 * column + 10, 20 + 20 * row, 128 * column + 128, 40 + 20 * row);
    button.enabled = 1;
    button.hitState = 0;
    button.DrawText(button.caption.c_str(), 0, 0, 0, button.fontName.c_str(), CTextLabel::kFontSize,
                    CTextLabel::kFontSize);
  }
}

void CGuessGamePanel::LayoutLabels() {
  for (int i = 0; i < kLabels; ++i) {
    const Rect& r = kLabelRects[i];
    labels[i].SetRect(r.left, r.top, r.right, r.bottom);
  }
  DrawMessage(labels[2], kRoundMessage);
  if (sprite) ShowSprite(sprite, 1);
}

void CGuessGamePanel::DrawMessage(CTextLabel& label, int message) {
  label.DrawText(Message(message), 0, 0, 0, label.fontName.c_str(), CTextLabel::kFontSize, CTextLabel::kFontSize);
}

void CGuessGamePanel::DrawLine(int x, int y, const char* text, int r, int g, int b) {
  if (!sprite) return;
  SetTextFont(labels[0].fontName.c_str(), CTextLabel::kFontSize, CTextLabel::kFontSize);
  DrawSpriteText(sprite, 0, x, y, text, r, g, b);
}

void CGuessGamePanel::Refresh() {
  for (int k = 0; k < kButtons; ++k) {
    CTextButton& button = buttons[k];
    const char* font = button.fontName.c_str();
    if (button.enabled) {
      if (button.hitState == 1) {
        button.SetColor(0, 255, 0, font, CTextLabel::kFontSize, CTextLabel::kFontSize);
      } else {
        button.SetColor(0, 0, 0, font, CTextLabel::kFontSize, CTextLabel::kFontSize);
      }
      continue;
    }
    for (int pick : picks) {
      if (pick == k + 1) button.SetColor(255, 0, 0, font, CTextLabel::kFontSize, CTextLabel::kFontSize);
    }
  }
  if (IsKeyDown(kVkControl) && IsKeyDown(kVkF12)) DrawLine(530, 100, secretText.c_str(), 0, 0, 0);
}

void CGuessGamePanel::OnMouseMove(int mouseX, int mouseY) {
  for (CTextButton& button : buttons) button.HoverTest(mouseX, mouseY);
}

void CGuessGamePanel::Take(int k) {
  CTextButton& button = buttons[k];
  picks[pickIndex] = k + 1;
  button.SetColor(255, 0, 0, button.fontName.c_str(), CTextLabel::kFontSize, CTextLabel::kFontSize);
  button.enabled = 0;
  if (pickIndex < kSlots - 1) {
    Reload();
    DrawMessage(labels[2], kPickMessage + pickIndex);
    ++shownPicks;
  }
  for (int i = 0; i <= pickIndex; ++i) DrawMessage(labels[3 + i], kCaptionMessage + picks[i] - 1);
  if (++pickIndex == kSlots) {
    allPicked = 1;
    for (CTextButton& each : buttons) each.enabled = 0;
  }
}

void CGuessGamePanel::ShowResult() {
  exact = 0;
  total = 0;
  for (int i = 0; i < kSlots; ++i) {
    if (picks[i] == secret[i]) ++exact;
    for (int j = 0; j < kSlots; ++j) {
      if (picks[j] == secret[i]) ++total;
    }
  }
  if (exact == kSlots && total == kSlots) {
    DrawLine(10, 115, Message(kWinMessage), 0, 0, 255);
    state = kWon;
    return;
  }
  DrawLine(10, 115, FormatResult(Message(kResultMessage), exact, total).c_str(), 0, 0, 255);
  resultShown = 1;
}

void CGuessGamePanel::OnClick(int mouseX, int mouseY) {
  const bool onPanel = labels[0].PressTest(mouseX, mouseY) == 2;
  if (state == kWon) {
    Release();
    return;
  }
  // A shown result stays until the next click on the panel, which starts
  // the next round (or ends the game lost after the last).
  if (resultShown) {
    if (!onPanel) return;
    Reload();
    if (--roundsLeft > 0) {
      ResetRound();
      LayoutButtons();
      LayoutLabels();
    } else {
      state = kLost;
      Release();
    }
    return;
  }
  if (!allPicked) {
    for (int k = 0; k < kButtons; ++k) {
      if (buttons[k].enabled && buttons[k].PressTest(mouseX, mouseY) == 2) {
        Take(k);
        break;
      }
    }
  }
  if (allPicked) ShowResult();
}
