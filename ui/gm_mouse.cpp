#include "ui/gm_mouse.h"

#include "engine/media/sprites.h"
#include "ui/menu_agency.h"

CGMMouse::CGMMouse() : CGMBase(kGroupId) {
  BeginSprite(0);
  SetSpriteImage("TwCursor01", 0, 24, 24);
  sprite = EndSprite(0);
  SetSpriteColorKey(sprite, 0, 0, 255, 1);
  SetSpriteDepth(sprite, 1, 1, 9999);
}

CGMMouse::~CGMMouse() {
  Detach();
  if (sprite) DeleteSprite(sprite);
}

int CGMMouse::Update(int) {
  if (timer.Tick() > 0) StepSpriteColumn(sprite, 1, 1);
  return 1;
}

int CGMMouse::AttachTo(CMenuAgency* agency) {
  if (!agency || !agency->SetExtraElement(this)) return 0;
  owner = agency;
  return 1;
}

int CGMMouse::Detach() {
  if (!owner) return 0;
  if (owner->extraElement == this) owner->ClearExtraElement();
  owner = nullptr;
  return 1;
}

void CGMMouse::Show(int visible) { ShowSprite(sprite, visible); }

int CGMMouse::Move(int x, int y) { return CGMBase::Move(x - kHotSpots[shape][0], y - kHotSpots[shape][1]); }

int CGMMouse::OnMouseMove(int x, int y) { return Move(x, y); }

int CGMMouse::OnDrag(int x, int y) { return Move(x, y); }

int CGMMouse::SetShape(int value) {
  if (value < 0 || value >= kShapeCount) return 0;
  int step = value - shape;
  if (step < 0) step += kShapeCount;
  StepSpriteRow(sprite, step, 1);
  shape = value;
  return 1;
}
