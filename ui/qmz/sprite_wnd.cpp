#include "ui/qmz/sprite_wnd.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/media/sprites.h"
#include "ui/qmz/sp_kernel.h"
#include "ui/qmz/sprite_text.h"

namespace qmz {

CSpriteWnd::CSpriteWnd() = default;

CSpriteWnd::~CSpriteWnd() { Destroy(); }

void CSpriteWnd::SetStateBits(int bits, int on) {
  if (on) state_ |= bits;
  else state_ &= ~bits;
}

int CSpriteWnd::InitWindow(int x, int y, int width, int height, int style, CSpriteWnd* parent) {
  if (x < 0 || y < 0 || width < 0 || height < 0) return 0;
  if (parent) {
    if (parent->width_ < x + width || parent->height_ < y + height) return 0;
    // The layer gives each level one byte; a fourth level below the top has none.
    if (parent->level_ >= kDeepestLevel) return 0;
  }
  x_ = x;
  y_ = y;
  width_ = width;
  height_ = height;
  id_ = 0x10001;
  childCounter_ = 1;
  style_ = style;
  SetStateBits(kVisible, style & kStyleVisible);
  if (parent) {
    parent->AddChild(this);
  } else {
    level_ = 0;
    g_spKernel.RegisterTopWindow(this);
  }
  return 1;
}

void CSpriteWnd::AddChild(CSpriteWnd* child) {
  if (!child || child == this || children_.Contains(child)) return;
  children_.Append(child);
  child->level_ = level_ + 1;
  child->parent_ = this;
  child->SetZ(++childCounter_);
}

int CSpriteWnd::RemoveChild(CSpriteWnd* child) {
  if (!children_.Contains(child)) return 0;
  // Its siblings above it close the gap, so the next child's z is free.
  BringChildToTop(child);
  children_.Remove(child);
  --childCounter_;
  if (hoveredChild_ == child) hoveredChild_ = nullptr;
  child->parent_ = nullptr;
  return 1;
}

void CSpriteWnd::BringChildToTop(CSpriteWnd* child) {
  if (!children_.Contains(child)) return;
  for (CSpriteWnd* other : children_)
    if (other != child && other->z_ > child->z_) other->SetZ(other->z_ - 1);
  child->SetZ(childCounter_);
}

int CSpriteWnd::Create(const char* imageName, int x, int y, int width, int height, int style, CSpriteWnd* parent) {
  if (!InitWindow(x, y, width, height, style, parent)) return 0;
  if (!imageName) return 1;
  AddSurface(&mainSurface_, imageName, 0);
  if (!*imageName && mainSurface_) {
    SPRGB key = SplitColour(colorKey_);
    SetSpriteColorKey(mainSurface_, key.red, key.green, key.blue, 1);
  }
  UpdatePosition();
  if (mainSurface_) ShowSprite(mainSurface_, (state_ & kVisible) != 0);
  return 1;
}

void CSpriteWnd::AddSurface(HOBJECT* handle, const char* imageName, int32_t colour) {
  if (!handle || !imageName) return;
  BeginSprite(1);
  if (*imageName) SetSpriteImage(imageName, 0, width_, height_);
  else SetSpriteBlankImage(1, 1, 1, width_, height_);
  HOBJECT sprite = EndSprite(0);
  if (!sprite) return;  // the sprite table is full
  if (!*imageName) {
    SPRGB fill = SplitColour(colour);
    FillSprite(sprite, 0, fill.red, fill.green, fill.blue);
  }
  SetSpriteDepth(sprite, 0, 0, CompositeZ());
  *handle = sprite;
  if (!surfaces_.Contains(handle)) surfaces_.Append(handle);
}

void CSpriteWnd::DeleteSurfaces() {
  for (HOBJECT* handle : surfaces_) {
    if (*handle) DeleteSprite(*handle);
    *handle = 0;
  }
  surfaces_.Clear();
}

void CSpriteWnd::Destroy() {
  if (parent_) parent_->RemoveChild(this);
  std::vector<CSpriteWnd*> children(children_.begin(), children_.end());
  for (CSpriteWnd* child : children) child->Destroy();
  g_spKernel.UnregisterTopWindow(this);
  g_spKernel.ForgetWindow(this);
  DestroyContents();
}

void CSpriteWnd::DestroyContents() {
  DeleteSurfaces();
  for (CSpriteText* text : textSurfaces_) delete text;
  textSurfaces_.Clear();
  Reset();
}

void CSpriteWnd::Reset() {
  state_ &= kEnabled | kVisible;
  mainSurface_ = 0;
  id_ = style_ = 0;
  x_ = y_ = width_ = height_ = 0;
  level_ = z_ = childCounter_ = 0;
  parent_ = hoveredChild_ = nullptr;
  timelineState_ = kTimelineIdle;
  currentTimeline_ = nullptr;
  timelineFrame_ = 0;
  timelines_.clear();
  children_.Clear();
}

int CSpriteWnd::CompositeZ() const {
  // Unsigned so that a z beyond a byte wraps instead of overflowing.
  uint32_t own = static_cast<uint32_t>(z_) << (24 - 8 * level_);
  return static_cast<int>(own + (parent_ ? static_cast<uint32_t>(parent_->CompositeZ()) : 0u));
}

int CSpriteWnd::TextLayer() const {
  // One unit of the next level; the deepest level has none below it.
  uint32_t step = level_ < kDeepestLevel ? 1u << (8 * (2 - level_)) : 1u;
  return static_cast<int>(static_cast<uint32_t>(CompositeZ()) + step);
}

void CSpriteWnd::ApplyLayer() {
  int layer = CompositeZ();
  for (HOBJECT* handle : surfaces_)
    if (*handle) SetSpriteDepth(*handle, 0, 0, layer);
  int textLayer = TextLayer();
  for (CSpriteText* text : textSurfaces_) text->SetLayer(textLayer);
}

void CSpriteWnd::SetZ(int z) {
  z_ = z;
  ApplyLayer();
  for (CSpriteWnd* child : children_) child->SetZ(child->z_);
}

int CSpriteWnd::HitTest(int x, int y) const {
  return x >= x_ && x <= x_ + width_ - 1 && y >= y_ && y <= y_ + height_ - 1;
}

void CSpriteWnd::GetAbsolutePosition(int* x, int* y) const {
  int ax = 0, ay = 0;
  for (const CSpriteWnd* w = this; w; w = w->parent_) {
    ax += w->x_;
    ay += w->y_;
  }
  if (x) *x = ax;
  if (y) *y = ay;
}

void CSpriteWnd::UpdatePosition() {
  int ax = 0, ay = 0;
  GetAbsolutePosition(&ax, &ay);
  for (HOBJECT* handle : surfaces_)
    if (*handle) SetSpritePosition(*handle, ax, ay);
  for (CSpriteText* text : textSurfaces_) text->Place(ax, ay);
  for (CSpriteWnd* child : children_) child->UpdatePosition();
}

void CSpriteWnd::Move(int x, int y) {
  x_ = x;
  y_ = y;
  UpdatePosition();
}

void CSpriteWnd::SetParentWnd(CSpriteWnd* parent) { parent_ = parent; }

void CSpriteWnd::Show(int flag) {
  if (mainSurface_) {
    SetStateBits(kVisible, flag);
    ShowSprite(mainSurface_, flag ? 1 : 0);
  }
  for (CSpriteText* text : textSurfaces_) text->Show(flag);
  for (CSpriteWnd* child : children_) child->Show(flag);
}

void CSpriteWnd::Enable(int flag) {
  if (!mainSurface_ || ((state_ & kEnabled) != 0) == (flag != 0)) return;
  SetStateBits(kEnabled, flag);
  for (CSpriteText* text : textSurfaces_) text->Redraw(flag ? 0 : 1);
  for (CSpriteWnd* child : children_) child->Enable(flag);
}

void CSpriteWnd::SetColorKey(int32_t colourKey, int use) {
  if (!mainSurface_) return;
  colorKey_ = colourKey;
  SPRGB key = SplitColour(colourKey);
  SetSpriteColorKey(mainSurface_, key.red, key.green, key.blue, use);
}

void CSpriteWnd::SetImage(const char* name) {
  char formatted[32];
  if (!name || std::snprintf(formatted, sizeof formatted, "%s00", name) >= static_cast<int>(sizeof formatted)) return;
  DeleteSurfaces();
  AddSurface(&mainSurface_, formatted, 0);
  UpdatePosition();
  if (mainSurface_) ShowSprite(mainSurface_, (state_ & kVisible) != 0);
}

CSpriteText* CSpriteWnd::AddSpriteText(int x, int y, int width, int height) {
  auto* text = new CSpriteText;
  if (!text->SetRect(x, y, width, height, this)) {
    delete text;
    return nullptr;
  }
  textSurfaces_.Append(text);
  return text;
}

void CSpriteWnd::AddTextItem(CSpriteText* surface, int id) {
  if (surface && textSurfaces_.Contains(surface)) surface->AddItem(id);
}

CSpriteText* CSpriteWnd::FindTextSurface(int id) {
  for (CSpriteText* text : textSurfaces_)
    if (id == -1 ? !text->Items().IsEmpty() : text->HasItem(id)) return text;
  return nullptr;
}

int CSpriteWnd::SetTextDesc(const char* text, const SPTEXTPARAM& param) {
  CSpriteText* surface = FindTextSurface(param.id);
  return surface ? surface->SetItemDesc(text, param) : 0;
}

int CSpriteWnd::SetText(const char* text, int id) {
  CSpriteText* surface = FindTextSurface(id);
  return surface ? surface->SetItemText(text, id) : 0;
}

}  // namespace qmz
