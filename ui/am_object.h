#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/tick_timer.h"
#include "engine/core/handles.h"

class CAmObject;

// Messages widgets post to report what happened; the window manager delivers
// each from the sender's parent up to the root until an owner handles it.
enum : int32_t {
  AMM_BUTTONDOWN = 1,
  AMM_BUTTONUP = 2,
  AMM_MOUSEHOVER = 3,  // a: the widget's hover value
  AMM_MOUSELEAVE = 4,
  AMM_SCROLL_PREVSTEP = 5,  // a: position, b: sub-position
  AMM_SCROLL_NEXTSTEP = 6,
  AMM_SCROLLING = 7,
  AMM_OBJ_DRAGGING = 8,
  AMM_OBJ_ENDDRAG = 9,
  AMM_DRAGOBJ_CHECK = 10,  // a: the drop record, or 0
  AMM_DROPOBJ_CHECK = 11,
  AMM_DRAGOBJ_CANCEL = 12,
  AMM_OBJ_SELECT = 13,
  AMM_ONBUTTON_OK = 14,
  AMM_ONBUTTON_CANCEL = 15,
  AMM_ONBUTTON_YES = 16,
  AMM_ONBUTTON_NO = 17,
  AMM_USER = static_cast<int32_t>(0xFF000000u),  // a screen's own: AMM_USER + n
};
// Unnamed ones: a press outside a button still held, and each character an edit takes.
constexpr int32_t kAmmPressOutside = 18;
constexpr int32_t kAmmEditChar = 19;

struct AMMSGDESC {
  int32_t id = 0;
  int32_t a = 0;
  int32_t b = 0;
  CAmObject* sender = nullptr;
};

struct AMRECT {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

// The node of the widget tree every menu screen is built of. A node owns at
// most one engine sprite, has one parent and an ordered list of children
// (not owned: whoever creates a widget deletes it), gets input and ticks by
// fan-out from the window manager, and reports only by posted messages.
//
// Widgets are made with new: the class's allocation operators keep every
// live one in g_amObjects, so DestroyLiveWidgets can sweep the leftovers.
class CAmObject {
 public:
  // No sprite, size 0 x 0.
  explicit CAmObject(int id = 0);
  // A sprite of the named picture (null: none) with cells of width x height.
  CAmObject(const char* imageName, int width, int height, int id, CAmObject* parent, int stackAbove);
  // A one-frame surface transparent until drawn on.
  CAmObject(int width, int height, int id, CAmObject* parent);
  // A one-frame surface filled with the colour.
  CAmObject(int width, int height, int red, int green, int blue, CAmObject* parent);
  // A clone of other's sprite with its id, depth, size and visible flag.
  CAmObject(const CAmObject& other, CAmObject* parent);
  CAmObject(const CAmObject&) = delete;
  CAmObject& operator=(const CAmObject&) = delete;

  // Leaves the parent, orphans the children (their sprites become top-level)
  // and deletes the sprite; children are not deleted.
  virtual ~CAmObject();

  // Refused while locked (answers the locked value); else 1.
  virtual int Show(int flag);
  // Screen coordinates, both edges inclusive: only that part of the sprite is drawn.
  virtual void SetClipRect(int left, int top, int right, int bottom);
  virtual void OnTick(int steps);
  virtual void OnLButtonDown(int x, int y);
  virtual void OnLButtonUp(int x, int y);
  virtual void OnRButtonDown(int x, int y);
  // No input path calls it: the manager hooks no right-button release.
  virtual void OnRButtonUp(int x, int y);
  virtual void OnMouseMove(int x, int y);
  // Moves while the left button is held.
  virtual void OnLButtonDrag(int x, int y);
  // Nonzero when consumed, which ends the fan-out of the key or character.
  virtual int OnKeyDown(int virtualKey, int down);
  virtual int OnChar(int code);
  // Moves the node under parent (null: a root) and sets the depths of its
  // subtree: 0 for a root, the parent's + 1, or with stackAbove above
  // everything already under the parent. The sprite stays where it hangs.
  virtual void SetParent(CAmObject* parent, int stackAbove);
  // SetParent, and the sprite hangs under the parent's sprite too.
  virtual void AttachTo(CAmObject* parent, int stackAbove);
  // While locked the node refuses Show and never hits.
  virtual void SetLocked(int flag);
  // Nonzero when handled, which stops the message.
  virtual int OnMessage(int id, int a, int b, CAmObject* sender);

  // A new sprite (the old one is kept: for nodes without one).
  void SetImage(const char* name, int width, int height);
  void SetBlankImage(int red, int green, int blue, int width, int height);
  // Relative to the parent's sprite when attached; 0 without a sprite.
  int SetPosition(int x, int y);
  // The sprite's place on the screen.
  void GetPosition(int* x, int* y) const;
  // right = left + width, bottom = top + height.
  void GetRect(AMRECT* rect) const;
  // Both edges count; 0 while locked.
  int HitTest(int x, int y) const;
  // Queues for the manager's next update; lost when 100 are queued.
  void PostMessage(int id, int a, int b, CAmObject* sender);
  // Asks the parent, then each further ancestor, until one handles it.
  void BubbleMessage(int id, int a, int b, CAmObject* sender);
  void PlaySound(int key);
  // Children first; the node's sprite shows only when flag and visible are set.
  void ShowTree(int flag);
  void SetTreeAlpha(float alpha);
  int GetMaxDepth() const;
  // Children get depth + 1 (theirs + 2, ...); the depth point is the sprite's centre.
  void SetDepth(int depth);
  // The key of the framework's blank and cloned surfaces.
  static void SetColorKey(int red, int green, int blue);

  // Post-order fan-outs: each child's subtree before the child, the node last.
  void DispatchLButtonDown(int x, int y);
  void DispatchLButtonUp(int x, int y);
  void DispatchRButtonDown(int x, int y);
  void DispatchMouseMove(int x, int y);
  void DispatchLButtonDrag(int x, int y);
  void DispatchKeyDown(int virtualKey, int down);
  void DispatchChar(int code);
  void DispatchTick(int steps);

  static void* operator new(std::size_t size);
  static void operator delete(void* memory);

  CAmObject* parent = nullptr;
  std::vector<CAmObject*> children;  // attach order
  CTickTimer timer;                  // 10 per second; for frame animation
  int width = 0;                     // for hit tests and layout
  int height = 0;
  int locked = 0;
  int visible = 1;  // the last value Show accepted
  int depth = 0;    // the sprite's layer
  HOBJECT sprite = 0;
  int id = 0;  // tells siblings apart in OnMessage

 private:
  void Detach();
  bool IsAncestorOrSelf(const CAmObject* node) const;
  template <typename Visit>
  void FanOut(Visit visit);
};

struct AMCOLORKEY {
  int red = 0;
  int green = 0;
  int blue = 0;
};
extern AMCOLORKEY g_amColorKey;
// Every live widget made with new, in construction order.
extern std::vector<CAmObject*> g_amObjects;
// Set once a handler consumed the key or character being fanned out.
extern int g_amKeyConsumed;

// Deletes the window manager and then every widget still alive, oldest
// first. The screen manager calls it while the engine is still open, so no
// widget outlives the sprites it holds.
void DestroyLiveWidgets();
