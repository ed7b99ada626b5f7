#include "ui/am_container.h"

#include <algorithm>
#include <cstdint>

#include "engine/media/sprites.h"
#include "ui/am_drag_obj.h"

CAmContainerAgency* g_amContainerAgency = nullptr;

namespace {

constexpr float kGhostAlpha = 0.5f;
constexpr int kLeastClipHeight = 4;

// Every agency alive, so that a deleted drag object can leave them all.
std::vector<CAmContainerAgency*> g_liveAgencies;

void Centre(CAmObject* object, const CAmObject* within) {
  object->SetPosition((within->width - object->width) / 2, (within->height - object->height) / 2);
}

}  // namespace

CAmContainer::CAmContainer(const char* imageName, int width, int height, int kind, int id)
    : CAmContainer(imageName, width, height, kind, id, g_amContainerAgency) {}

CAmContainer::CAmContainer(const char* imageName, int width, int height, int kind, int id, CAmContainerAgency* joined)
    : CAmObject(imageName, width, height, id, nullptr, 0), kind(kind) {
  if (sprite) GetSpriteGrid(sprite, nullptr, nullptr, &imageRows);
  if (CAmContainerAgency::IsLive(joined)) Join(joined);
}

CAmContainer::CAmContainer(const CAmContainer& templateCell, int kind, int id)
    : CAmObject(templateCell, nullptr), imageRows(templateCell.imageRows), kind(kind) {
  this->id = id;
  // A grid grown later must report where its first cells report, whatever
  // agency was built since.
  Join(templateCell.agency);
}

CAmContainer::~CAmContainer() {
  RemoveGhost();
  delete held;
  held = nullptr;
  if (agency) agency->Unregister(this);
}

void CAmContainer::Join(CAmContainerAgency* joined) {
  if (joined) joined->Register(this);
}

void CAmContainer::SetHighlight(int) {}

void CAmContainer::SetRow(int n) {
  currentRow = n;
  if (sprite) SetSpriteFrame(sprite, nullptr, nullptr, &n);
}

void CAmContainer::PutItem(CAmDragObj* object) {
  RemoveGhost();
  held = object;
  if (!object) return;
  object->AttachTo(this, 0);
  Centre(object, this);
  object->EndDrag();
  object->OnPlaced();
}

CAmDragObj* CAmContainer::TakeItem() {
  CAmDragObj* object = held;
  if (!object) return nullptr;
  int x = 0, y = 0;
  object->GetPosition(&x, &y);
  object->AttachTo(nullptr, 0);
  object->SetPosition(x, y);
  object->OnTaken();
  held = nullptr;
  return object;
}

void CAmContainer::MakeGhost(CAmDragObj* object) {
  RemoveGhost();
  if (!object) return;
  ghost = object->CloneForGhost();
  if (!ghost) return;
  ghost->SetTreeAlpha(kGhostAlpha);
  ghost->SetLocked(1);
  ghost->AttachTo(this, 0);
  Centre(ghost, this);
}

void CAmContainer::RemoveGhost() {
  CAmDragObj* old = ghost;
  ghost = nullptr;
  delete old;
}

void CAmContainer::ForgetObject(const CAmDragObj* object) {
  if (held == object) held = nullptr;
  if (ghost == object) ghost = nullptr;
}

int CAmContainer::OverlapTest(const CAmDragObj* object) const {
  if (!object || locked || visible != 1) return 0;
  AMRECT a, b;
  GetRect(&a);
  object->GetRect(&b);
  const int64_t across = std::min(a.right, b.right) - std::max(a.left, b.left);
  const int64_t down = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  if (across <= 0 || down <= 0) return 0;
  const int64_t smaller = std::min(int64_t{width} * height, int64_t{object->width} * object->height);
  // The covered area above 0.4 of the smaller rectangle.
  return across * down * 5 > smaller * 2 ? 1 : 0;
}

void CAmContainer::ClipTo(const AMRECT& rect) {
  AMRECT own;
  GetRect(&own);
  const int left = std::max(own.left, rect.left);
  const int right = std::min(own.right, rect.right);
  const int top = std::max(own.top, rect.top);
  const int bottom = std::min(own.bottom, rect.bottom);
  CAmDragObj* content = held ? held : ghost;
  if (right > left && bottom - top > kLeastClipHeight) {
    SetLocked(0);
    Show(1);
    SetClipRect(left, top, right - 1, bottom - 1);
    if (!content) return;
    content->SetLocked(0);
    content->Show(1);
    content->SetClipRect(left, top, right - 1, bottom - 1);
    // A ghost is only a picture: it stays locked so it can never be picked up.
    if (content == ghost) content->SetLocked(1);
    return;
  }
  Show(0);
  SetLocked(1);
  if (!content) return;
  content->SetLocked(0);
  content->Show(0);
  content->SetLocked(1);
}

void CAmContainer::OnMouseMove(int x, int y) {
  if (held || ghost) return;
  const int inside = HitTest(x, y);
  if (inside == hover) return;
  hover = inside;
  PostMessage(inside ? AMM_MOUSEHOVER : AMM_MOUSELEAVE, 0, 0, this);
}

CAmContainerAgency::CAmContainerAgency(int id, CAmObject* parent) : CAmObject(id) {
  g_liveAgencies.push_back(this);
  g_amContainerAgency = this;
  AttachTo(parent, 0);
}

CAmContainerAgency::~CAmContainerAgency() {
  if (g_amContainerAgency == this) g_amContainerAgency = nullptr;
  std::erase(g_liveAgencies, this);
  for (CAmContainer* container : containers) container->agency = nullptr;
  // A drag cut short by the screen closing must not block every later drag.
  if (dragged) g_amDragLock = 0;
}

void CAmContainerAgency::Register(CAmContainer* container) {
  containers.push_back(container);
  container->agency = this;
  container->AttachTo(this, 0);
}

void CAmContainerAgency::Unregister(CAmContainer* container) {
  std::erase(containers, container);
  container->agency = nullptr;
  if (target == container) target = nullptr;
  if (source == container) source = nullptr;
  if (drop.source == container) drop.source = nullptr;
  if (drop.target == container) drop.target = nullptr;
}

void CAmContainerAgency::ForgetObject(const CAmDragObj* object) {
  for (CAmContainerAgency* agency : g_liveAgencies) {
    if (agency->dragged == object) {
      if (agency->target) agency->target->SetHighlight(0);
      agency->ClearDrag();
    }
    if (agency->drop.object == object) agency->drop.object = nullptr;
    if (agency->drop.targetHeld == object) agency->drop.targetHeld = nullptr;
  }
}

bool CAmContainerAgency::IsLive(const CAmContainerAgency* agency) {
  return agency && std::find(g_liveAgencies.begin(), g_liveAgencies.end(), agency) != g_liveAgencies.end();
}

const AMDROPDESC* CAmContainerAgency::DropRecord(int a, const CAmObject* sender) {
  auto* agency = dynamic_cast<const CAmContainerAgency*>(sender);
  return a && agency ? &agency->drop : nullptr;
}

int CAmContainerAgency::OnMessage(int id, int, int, CAmObject* sender) {
  if (id != AMM_OBJ_DRAGGING && id != AMM_OBJ_ENDDRAG && id != AMM_DRAGOBJ_CANCEL) return 0;
  auto* object = dynamic_cast<CAmDragObj*>(sender);
  if (!object) return 1;
  if (id == AMM_OBJ_DRAGGING) DragStep(object);
  else if (id == AMM_OBJ_ENDDRAG) DropObject(object);
  else Cancel(object);
  return 1;
}

void CAmContainerAgency::DragStep(CAmDragObj* object) {
  if (dragged && object != dragged) return;
  if (!dragged) {
    dragged = object;
    source = dynamic_cast<CAmContainer*>(object->parent);
    if (source && source->held == object) {
      source->TakeItem();
      source->MakeGhost(object);
    } else {
      source = nullptr;
    }
    // Above every container while it moves.
    object->SetParent(this, 1);
  }
  CAmContainer* found = nullptr;
  for (CAmContainer* container : containers)
    if (container->OverlapTest(object)) {
      found = container;
      break;
    }
  if (found) drop = {source, object, found, found->held};
  if (found == target) return;
  PostMessage(AMM_DRAGOBJ_CHECK, found ? 1 : 0, 0, this);
  if (target) target->SetHighlight(0);
  if (found) found->SetHighlight(1);
  target = found;
}

void CAmContainerAgency::DropObject(CAmDragObj* object) {
  if (!dragged || object != dragged) return;
  if (target) {
    target->SetHighlight(0);
    drop = {source, object, target, target->held};
    PostMessage(AMM_DROPOBJ_CHECK, 1, 0, this);
  } else if (object->dragMode == 2) {
    object->dropPending = 0;
    return;
  } else if (source) {
    source->PutItem(object);
  }
  ClearDrag();
}

void CAmContainerAgency::Cancel(CAmDragObj* object) {
  if (!dragged || object != dragged) return;
  if (target) target->SetHighlight(0);
  object->EndDrag();
  if (source) source->PutItem(object);
  PostMessage(AMM_DROPOBJ_CHECK, 0, 0, this);
  ClearDrag();
}

void CAmContainerAgency::ClearDrag() {
  dragged = nullptr;
  source = nullptr;
  target = nullptr;
  g_amDragLock = 0;
}
