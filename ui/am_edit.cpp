#include "ui/am_edit.h"

#include "platform/big5.h"

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

bool CanTrail(int code) { return (code >= 0x40 && code <= 0x7E) || (code >= 0xA1 && code <= 0xFE); }

}  // namespace

CAmEdit::CAmEdit(int width, int height, CAmObject* parent) : CAmText(width, height, 0, parent, nullptr) {}

void CAmEdit::BeginEdit() {
  editing = 1;
  Refresh(1);
}

void CAmEdit::Refresh(int nowEditing) {
  const Colour& c = nowEditing ? editingColour : idleColour;
  SetColour(c.red, c.green, c.blue);
  smooth = nowEditing ? 0 : 1;
  Redraw(nowEditing ? text + "_" : text);
}

void CAmEdit::OnLButtonDown(int x, int y) {
  if (!enabled) return;
  if (HitTest(x, y)) {
    BeginEdit();
  } else if (editing) {
    Refresh(0);
    editing = 0;
  }
}

int CAmEdit::Room() const { return 2 * columns * lines - static_cast<int>(text.size()) - 2; }

void CAmEdit::DropPending() {
  if (!pending) return;
  text.pop_back();
  pending = 0;
}

void CAmEdit::RemoveLastCharacter() {
  // Trail bytes may lack the high bit, so characters are found from the start.
  size_t last = 0;
  for (size_t i = 0; i < text.size(); i += plat::Big5CharLength(text, i)) last = i;
  text.erase(last);
}

void CAmEdit::TakeByte(int code) {
  if (plat::IsBig5Lead(static_cast<char>(code))) {
    if (Room() > 1) {
      text += static_cast<char>(code);
      pending = 1;
    }
  } else if (Room() > 0) {
    text += static_cast<char>(code);
    Refresh(1);
  }
}

int CAmEdit::OnChar(int code) {
  if (!enabled || !editing) return 0;
  if (code == kBackspace) {
    DropPending();
    if (!text.empty()) {
      RemoveLastCharacter();
      Refresh(1);
    }
  } else if (code == kEnter) {
    DropPending();
    Refresh(0);
    editing = 0;
  } else if (code > 0 && code <= 0xFF) {
    if (pending && CanTrail(code)) {
      text += static_cast<char>(code);
      pending = 0;
      Refresh(1);
    } else {
      DropPending();
      TakeByte(code);
    }
  }
  PostMessage(kAmmEditChar, 0, 0, this);
  return 1;
}
