#pragma once
#include "ui/am_object.h"

// A widget the player picks up and moves within bounds. Mode 1: press, move
// with the button held, release to drop. Mode 2: click to pick up, the
// object follows the mouse, click again to drop. Mode 0 (rows of text lists)
// is hovered and selected only. Under a container agency its messages become
// drops between containers.
class CAmDragObj : public CAmObject {
 public:
  // No sprite.
  explicit CAmDragObj(int id);
  CAmDragObj(const char* imageName, int width, int height, int id, CAmObject* parent);
  // The base node cloned (no parent) with other's mode, lock use, bounds,
  // movable flags, fade flag, drag alpha and drop pending; not dragging,
  // not pressed, not hovered.
  explicit CAmDragObj(const CAmDragObj& other);
  // A lock-using object that is being dragged frees the drag lock, and no
  // agency keeps it as its dragged object.
  ~CAmDragObj() override;

  // Nothing calls it.
  virtual int Probe(int value);
  // A new copy of the object: every object dragged out of a container needs one.
  virtual CAmDragObj* CloneForGhost();
  // Whether other is the same kind of item.
  virtual int Matches(CAmDragObj* other);
  // Taken out of its container, put into one.
  virtual void OnTaken();
  virtual void OnPlaced();

  // An axis moves only when its minimum lies below its maximum; the object
  // then stays within [min, max - its size] relative to its parent sprite.
  void SetDragRange(int xMin, int xMax, int yMin, int yMax);
  // Refused (0) while another lock user drags, when locked, hidden, missed
  // or already dragging; else posts AMM_OBJ_DRAGGING and answers 1.
  int StartDrag(int x, int y);
  void FollowMouse(int x, int y);
  // 0 when not dragging; else posts AMM_OBJ_ENDDRAG; mode 1 ends the drag,
  // mode 2 waits for the agency (drop pending).
  int Drop();
  void EndDrag();
  // The sprite's position relative to its parent sprite.
  void GetParentRelativePosition(int* x, int* y) const;

  void OnLButtonDown(int x, int y) override;
  void OnLButtonUp(int x, int y) override;
  void OnRButtonDown(int x, int y) override;
  void OnMouseMove(int x, int y) override;
  void OnLButtonDrag(int x, int y) override;

  int usesDragLock = 1;
  int dragMode = 1;
  int dragging = 0;
  int dropPending = 0;
  int grabOffsetX = 0;  // sprite position minus mouse position at pick-up
  int grabOffsetY = 0;
  int xMinimum = -10000;
  int yMinimum = -10000;
  int xMaximum = 10000;  // already reduced by the width
  int yMaximum = 10000;
  int xMovable = 1;
  int yMovable = 1;
  int pressedOn = 0;
  int hover = 0;
  int hoverValue = -1;  // a of AMM_MOUSEHOVER
  int fadeWhileDragging = 0;
  float dragAlpha = 0.5f;
  int userValue = 0;  // for the owner

 protected:
  // Posts hover and leave as the pointer comes and goes (unlocked, visible
  // objects only); 1 when the hover state changed.
  int TrackHover(int x, int y);
};

// 1 while a lock-using object is being dragged.
extern int g_amDragLock;
