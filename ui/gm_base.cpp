#include "ui/gm_base.h"

#include <cmath>

#include "engine/media/sound_table.h"
#include "engine/media/sprites.h"
#include "ui/gm_board.h"
#include "ui/menu_agency.h"

int RegisterOverlaySound(std::map<int, HOBJECT>& sounds, const char* name, int key) {
  const HOBJECT sound = name ? LoadSound(name) : 0;
  if (!sound) return 0;
  auto found = sounds.find(key);
  if (found != sounds.end()) FreeSound(found->second);
  sounds[key] = sound;
  return 1;
}

int StopOverlaySound(const std::map<int, HOBJECT>& sounds, int key) {
  auto found = sounds.find(key);
  return found == sounds.end() ? 0 : StopSound(found->second);
}

CGMBase::CGMBase(int groupId) : groupId(groupId) { timer.SetRate(10.0); }

CGMBase::~CGMBase() {
  Detach();
  for (auto& [key, sound] : sounds) FreeSound(sound);
}

int CGMBase::PostUpdate(int steps) {
  if (!sliding) return 1;
  const float t = static_cast<float>(slideDone) / static_cast<float>(slideSteps);
  auto place = [&](int from, int home) {
    const float span = static_cast<float>(home - from);
    const float at = slideMode == 1 ? home - (1 - t) * (1 - t) * span : from + t * span;
    return static_cast<int>(std::lrintf(at));
  };
  SetSpritePosition(sprite, place(slideFromX, slideHomeX), place(slideFromY, slideHomeY));
  if (slideDone == slideSteps) {
    sliding = 0;
  } else {
    slideDone += steps;
    if (slideDone < 0) slideDone = 0;
    if (slideDone > slideSteps) slideDone = slideSteps;
  }
  return 1;
}

int CGMBase::AttachTo(CMenuAgency* agency) {
  if (!agency) return 0;
  const int accepted = agency->AddChild(this);
  if (accepted) owner = agency;
  return accepted;
}

int CGMBase::Detach() {
  if (!IsAttached()) return 0;
  if (!owner->RemoveChild(this)) return 0;
  owner = nullptr;
  return 1;
}

int CGMBase::IsAttached() const { return owner != nullptr; }

void CGMBase::Show(int) {}

int CGMBase::Move(int x, int y) {
  if (!sprite) return 0;
  SetSpritePosition(sprite, x, y);
  return 1;
}

void CGMBase::SetSuspended(int flag) { suspended = flag; }

int CGMBase::RegisterSound(const char* name, int key) { return RegisterOverlaySound(sounds, name, key); }

int CGMBase::PlaySound(int key, int flags) {
  auto found = sounds.find(key);
  if (found != sounds.end()) return StartSound(found->second, flags);
  return (owner ? owner : &g_menuAgency)->PlaySound(key, flags);
}

int CGMBase::StopSound(int key) { return StopOverlaySound(sounds, key); }

void CGMBase::SetUserData(int value) { userData = value; }

int CGMBase::HitTest(int, int) { return 0; }

int CGMBase::SlideTo(int mode, int x, int y, int steps) {
  if (steps <= 0) return 0;
  // Home is where the sprite stands now, in the coordinates Move uses.
  const SPRITEDESC* record = LookupSprite(sprite);
  if (!sprite || !record) return 0;
  slideMode = mode;
  slideFromX = x;
  slideFromY = y;
  slideHomeX = record->x;
  slideHomeY = record->y;
  slideSteps = steps;
  slideDone = 0;
  sliding = 1;
  SetSpritePosition(sprite, x, y);
  return 1;
}

int CGMBase::OnLButtonDown(int, int) { return 0; }
int CGMBase::OnLButtonUp(int, int) { return 0; }
int CGMBase::OnRButtonDown(int, int) { return 0; }
int CGMBase::OnMouseMove(int, int) { return 0; }
int CGMBase::OnDrag(int, int) { return 0; }
int CGMBase::OnKey(int, int) { return 0; }

void CGMBase::SetDepth(int x, int y, int layer) { SetSpriteDepth(sprite, x, y, layer); }

int CGMBase::SetBoard(CGMBoard* target) {
  if (target && target->groupId == groupId) return 0;
  board = target;
  return 1;
}

int CGMBase::LinkToBoard(CGMBoard* target) {
  if (!SetBoard(target)) return 0;
  if (target) SetSpriteParent(sprite, target->sprite);
  return 1;
}

int CGMBase::Notify(int a, int b, int c) {
  if (board) board->OnNotify(a, b, c, this);
  return owner ? owner->CallCallback(a, b, c, reinterpret_cast<intptr_t>(this)) : 0;
}

int CGMBase::NotifyOwner(int message, int a, int b, int c) { return owner ? owner->PostMessage(message, a, b, c) : 0; }

int CGMBase::OnNotify(int, int, int, CGMBase*) { return 0; }
