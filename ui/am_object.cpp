#include "ui/am_object.h"

#include <algorithm>
#include <new>

#include "engine/media/sprites.h"
#include "ui/am_wnd_manager.h"

AMCOLORKEY g_amColorKey;
std::vector<CAmObject*> g_amObjects;
int g_amKeyConsumed = 0;

namespace {

struct Allocation {
  const char* begin;
  std::size_t size;
};
// Made by operator new, constructor not yet run.
std::vector<Allocation> g_unclaimed;

// A widget made with new joins the registry once its constructor runs; the
// check by address range holds wherever the widget part lies in the object.
void Register(CAmObject* widget) {
  auto p = reinterpret_cast<const char*>(widget);
  auto it = std::find_if(g_unclaimed.begin(), g_unclaimed.end(),
                         [p](const Allocation& a) { return p >= a.begin && p < a.begin + a.size; });
  if (it == g_unclaimed.end()) return;
  g_unclaimed.erase(it);
  g_amObjects.push_back(widget);
}

bool IsDeleted(const CAmObject* widget) { return g_amWndManager && g_amWndManager->IsDeleted(widget); }

void KeySprite(HOBJECT sprite) {
  if (sprite) SetSpriteColorKey(sprite, g_amColorKey.red, g_amColorKey.green, g_amColorKey.blue, 1);
}

}  // namespace

void* CAmObject::operator new(std::size_t size) {
  void* memory = ::operator new(size);
  g_unclaimed.push_back({static_cast<const char*>(memory), size});
  return memory;
}

void CAmObject::operator delete(void* memory) {
  // Only a constructor that threw leaves its allocation unclaimed.
  std::erase_if(g_unclaimed, [memory](const Allocation& a) { return a.begin == memory; });
  ::operator delete(memory);
}

CAmObject::CAmObject(int id) : id(id) {
  Register(this);
  timer.SetRate(10);
}

CAmObject::CAmObject(const char* imageName, int width, int height, int id, CAmObject* parent, int stackAbove)
    : CAmObject(id) {
  SetImage(imageName, width, height);
  AttachTo(parent, stackAbove);
}

CAmObject::CAmObject(int width, int height, int id, CAmObject* parent) : CAmObject(id) {
  SetBlankImage(g_amColorKey.red, g_amColorKey.green, g_amColorKey.blue, width, height);
  AttachTo(parent, 0);
}

CAmObject::CAmObject(int width, int height, int red, int green, int blue, CAmObject* parent) : CAmObject(0) {
  SetBlankImage(red, green, blue, width, height);
  AttachTo(parent, 0);
}

CAmObject::CAmObject(const CAmObject& other, CAmObject* parent) : CAmObject(other.id) {
  depth = other.depth;
  width = other.width;
  height = other.height;
  visible = other.visible;
  sprite = other.sprite ? CloneSprite(other.sprite) : 0;
  KeySprite(sprite);
  AttachTo(parent, 0);
}

CAmObject::~CAmObject() {
  if (g_amWndManager) g_amWndManager->AddDeleted(this);
  std::erase(g_amObjects, this);
  Detach();
  for (CAmObject* child : children) {
    child->parent = nullptr;
    if (child->sprite) SetSpriteParent(child->sprite, 0);
  }
  if (sprite) DeleteSprite(sprite);
}

int CAmObject::Show(int flag) {
  if (locked) return locked;
  if (sprite) ShowSprite(sprite, flag);
  visible = flag;
  return 1;
}

void CAmObject::SetClipRect(int left, int top, int right, int bottom) {
  int x = 0, y = 0;
  GetPosition(&x, &y);
  if (sprite) SetSpriteSourceRect(sprite, left - x, top - y, right - left + 1, bottom - top + 1);
}

void CAmObject::OnTick(int) {}
void CAmObject::OnLButtonDown(int, int) {}
void CAmObject::OnLButtonUp(int, int) {}
void CAmObject::OnRButtonDown(int, int) {}
void CAmObject::OnRButtonUp(int, int) {}
void CAmObject::OnMouseMove(int, int) {}
void CAmObject::OnLButtonDrag(int, int) {}
int CAmObject::OnKeyDown(int, int) { return 0; }
int CAmObject::OnChar(int) { return 0; }
int CAmObject::OnMessage(int, int, int, CAmObject*) { return 0; }

void CAmObject::Detach() {
  if (parent) std::erase(parent->children, this);
  parent = nullptr;
}

bool CAmObject::IsAncestorOrSelf(const CAmObject* node) const {
  for (; node; node = node->parent)
    if (node == this) return true;
  return false;
}

void CAmObject::SetParent(CAmObject* newParent, int stackAbove) {
  // A node cannot hang under itself or its own subtree.
  if (IsAncestorOrSelf(newParent)) return;
  Detach();
  int newDepth = 0;
  if (newParent) newDepth = stackAbove ? newParent->GetMaxDepth() + 1 : newParent->depth + 1;
  if (newParent) newParent->children.push_back(this);
  parent = newParent;
  SetDepth(newDepth);
}

void CAmObject::AttachTo(CAmObject* newParent, int stackAbove) {
  if (IsAncestorOrSelf(newParent)) return;
  SetParent(newParent, stackAbove);
  if (sprite) SetSpriteParent(sprite, newParent ? newParent->sprite : 0);
}

void CAmObject::SetLocked(int flag) { locked = flag; }

void CAmObject::SetImage(const char* name, int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  BeginSprite(0);
  if (name) SetSpriteImage(name, 0, newWidth, newHeight);
  sprite = EndSprite(0);
  KeySprite(sprite);
}

void CAmObject::SetBlankImage(int red, int green, int blue, int newWidth, int newHeight) {
  width = newWidth;
  height = newHeight;
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, newWidth, newHeight);
  sprite = EndSprite(0);
  if (sprite) FillSprite(sprite, 0, red, green, blue);
  KeySprite(sprite);
}

int CAmObject::SetPosition(int x, int y) {
  if (!sprite) return 0;
  SetSpritePosition(sprite, x, y);
  return 1;
}

void CAmObject::GetPosition(int* x, int* y) const {
  *x = *y = 0;
  if (sprite) GetSpritePosition(sprite, x, y);
}

void CAmObject::GetRect(AMRECT* rect) const {
  GetPosition(&rect->left, &rect->top);
  rect->right = rect->left + width;
  rect->bottom = rect->top + height;
}

int CAmObject::HitTest(int x, int y) const {
  if (locked) return 0;
  AMRECT r;
  GetRect(&r);
  return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom ? 1 : 0;
}

void CAmObject::PostMessage(int messageId, int a, int b, CAmObject* sender) {
  if (g_amWndManager) g_amWndManager->PostMessage(messageId, a, b, sender);
}

void CAmObject::BubbleMessage(int messageId, int a, int b, CAmObject* sender) {
  // A handler may delete its own widgets; a deleted node ends the climb
  // (a deleted parent has already cut its children loose).
  for (CAmObject* node = parent; node && !IsDeleted(node); node = node->parent)
    if (node->OnMessage(messageId, a, b, sender) || IsDeleted(node)) return;
}

void CAmObject::PlaySound(int key) {
  if (g_amWndManager) g_amWndManager->PlaySound(key);
}

void CAmObject::ShowTree(int flag) {
  for (CAmObject* child : children) child->ShowTree(flag);
  if (sprite) ShowSprite(sprite, flag && visible == 1 ? 1 : 0);
}

void CAmObject::SetTreeAlpha(float alpha) {
  for (CAmObject* child : children) child->SetTreeAlpha(alpha);
  if (sprite) SetSpriteAlpha(sprite, alpha);
}

int CAmObject::GetMaxDepth() const {
  int deepest = depth;
  for (const CAmObject* child : children) deepest = std::max(deepest, child->GetMaxDepth());
  return deepest;
}

void CAmObject::SetDepth(int newDepth) {
  for (CAmObject* child : children) child->SetDepth(newDepth + 1);
  depth = newDepth;
  if (sprite) SetSpriteDepth(sprite, width / 2, height / 2, depth);
}

void CAmObject::SetColorKey(int red, int green, int blue) { g_amColorKey = {red, green, blue}; }

template <typename Visit>
void CAmObject::FanOut(Visit visit) {
  // Handlers may add or delete widgets: walk a copy and skip the deleted.
  std::vector<CAmObject*> snapshot = children;
  for (CAmObject* child : snapshot) {
    if (IsDeleted(this)) return;
    if (!IsDeleted(child) && child->parent == this) child->FanOut(visit);
  }
  if (!IsDeleted(this)) visit(this);
}

void CAmObject::DispatchLButtonDown(int x, int y) {
  FanOut([x, y](CAmObject* node) { node->OnLButtonDown(x, y); });
}

void CAmObject::DispatchLButtonUp(int x, int y) {
  FanOut([x, y](CAmObject* node) { node->OnLButtonUp(x, y); });
}

void CAmObject::DispatchRButtonDown(int x, int y) {
  FanOut([x, y](CAmObject* node) { node->OnRButtonDown(x, y); });
}

void CAmObject::DispatchMouseMove(int x, int y) {
  FanOut([x, y](CAmObject* node) { node->OnMouseMove(x, y); });
}

void CAmObject::DispatchLButtonDrag(int x, int y) {
  FanOut([x, y](CAmObject* node) { node->OnLButtonDrag(x, y); });
}

void CAmObject::DispatchKeyDown(int virtualKey, int down) {
  FanOut([virtualKey, down](CAmObject* node) {
    if (!g_amKeyConsumed && node->OnKeyDown(virtualKey, down)) g_amKeyConsumed = 1;
  });
}

void CAmObject::DispatchChar(int code) {
  FanOut([code](CAmObject* node) {
    if (!g_amKeyConsumed && node->OnChar(code)) g_amKeyConsumed = 1;
  });
}

void CAmObject::DispatchTick(int steps) {
  FanOut([steps](CAmObject* node) { node->OnTick(steps); });
}

void DestroyLiveWidgets() {
  DestroyWndManager();
  while (!g_amObjects.empty()) delete g_amObjects.front();
}
