#include "game/game_mouse.h"

#include "engine/core/engine_queries.h"
#include "engine/core/input_hooks.h"
#include "game/force_feedback_mouse.h"
#include "ui/gm_mouse.h"

CGameMouse::CGameMouse() : cursor(nullptr), forceFeedback(&g_forceFeedbackMouse) {
  forceFeedback->Init(GetMainWindow());
  forceFeedback->PlayPeriodic(50000, 100, 1000);
  cursor = new CGMMouse;
  SetShape(0);
  Show(0);
  Lock(1);
}

CGameMouse::~CGameMouse() { delete cursor; }

int CGameMouse::ShapeOfType(int cursorType) {
  static constexpr int kShapes[] = {0, 4, 1, 3, 2, 5, 1, 1, 2};
  if (cursorType < 0 || cursorType >= static_cast<int>(sizeof kShapes / sizeof kShapes[0])) return 0;
  return kShapes[cursorType];
}

void CGameMouse::SetShape(int cursorType) {
  type = cursorType;
  cursor->SetShape(ShapeOfType(cursorType));
}

void CGameMouse::SetPosition(int px, int py) {
  if (locked) return;
  x = px;
  y = py;
  cursor->Move(px, py);
}

void CGameMouse::Show(int on) { cursor->Show(on); }

void CGameMouse::Lock(int on) {
  on = on ? 1 : 0;
  if (on == locked) return;
  locked = on;
  if (on) Centre();
}

void CGameMouse::Centre() {
  cursor->Move(kCentreX, kCentreY);
  x = kCentreX;
  y = kCentreY;
  SetMousePosition(kCentreX, kCentreY);
}
