#include "ui/am_button.h"

#include "engine/media/sprites.h"

namespace {

constexpr float kOneRowIdleAlpha = 0.5f;
constexpr int kRepeatDelay = 10;  // updates held before repeats begin

}  // namespace

CAmButton::CAmButton(const char* imageName, int width, int height, int id, int pressSound, int hoverSound,
                     CAmObject* parent)
    : CAmObject(imageName, width, height, id, parent, 0), pressSound(pressSound), hoverSound(hoverSound) {
  if (sprite) GetSpriteGrid(sprite, nullptr, &columns, &rows);
  if (rows == 1 && sprite) SetSpriteAlpha(sprite, kOneRowIdleAlpha);
}

void CAmButton::ShowRow(int row) {
  if (sprite) SetSpriteFrame(sprite, nullptr, nullptr, &row);
}

void CAmButton::ShowIdle() {
  ShowRow(0);
  if (rows == 1 && sprite) SetSpriteAlpha(sprite, kOneRowIdleAlpha);
}

int CAmButton::Press() {
  if (locked) return 0;
  pressed = 1;
  if (rows == 1) {
    if (sprite) SetSpriteAlpha(sprite, 1.0f);
  } else {
    ShowRow(rows == 2 ? 1 : 2);
  }
  return 1;
}

int CAmButton::Click() {
  if (!Press()) return 0;
  Release();
  return 1;
}

int CAmButton::Release() {
  if (!pressed) return 0;
  pressed = 0;
  repeatCount = 0;
  ShowIdle();
  return 1;
}

void CAmButton::ResetState() {
  pressed = 0;
  hover = 0;
  int zero = 0;
  if (sprite) SetSpriteFrame(sprite, &zero, &zero, &zero);
  if (rows == 1 && sprite) SetSpriteAlpha(sprite, kOneRowIdleAlpha);
}

void CAmButton::SetAutoRepeat(int mode, double rate) {
  if (mode != 1) return;
  autoRepeat = 1;
  repeatTimer.SetRate(rate);
}

void CAmButton::SetPressed(int flag) {
  if (flag) Press();
  else Release();
}

void CAmButton::OnTick(int steps) {
  if (timer.Tick() && !locked && columns > 1 && sprite) StepSpriteColumn(sprite, steps, 1);
  if (!autoRepeat) return;
  // A locked button stays deaf to its own repeats.
  if (repeatCount > kRepeatDelay && repeatTimer.Tick() && Press()) PostMessage(AMM_BUTTONDOWN, 0, 0, this);
  if (pressed) ++repeatCount;
}

void CAmButton::OnLButtonDown(int x, int y) {
  if (HitTest(x, y)) {
    if (!Press()) return;
    PostMessage(AMM_BUTTONDOWN, 0, 0, this);
    PlaySound(pressSound);
  } else if (pressed) {
    PostMessage(kAmmPressOutside, 0, 0, this);
  }
}

void CAmButton::OnLButtonUp(int, int) {
  // Not hit-tested: a press that ends anywhere counts.
  if (!locked && releaseEnabled && Release()) PostMessage(AMM_BUTTONUP, 0, 0, this);
}

void CAmButton::OnMouseMove(int x, int y) {
  if (pressed || locked) return;
  if (HitTest(x, y)) {
    if (hover) return;
    hover = 1;
    if (rows >= 3) {
      ShowRow(1);
      PlaySound(hoverSound);
    }
    PostMessage(AMM_MOUSEHOVER, hoverValue, 0, this);
    return;
  }
  if (hover) PostMessage(AMM_MOUSELEAVE, 0, 0, this);
  hover = 0;
  ShowRow(0);
}

void CAmButton::SetLocked(int flag) {
  CAmObject::SetLocked(flag);
  if (sprite) SetSpriteAlpha(sprite, flag ? 0.0f : 1.0f);
}
