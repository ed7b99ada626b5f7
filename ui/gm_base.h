#pragma once
#include <cstdint>
#include <map>

#include "base/tick_timer.h"
#include "engine/core/handles.h"

class CMenuAgency;
class CGMBoard;

// The named sounds of the overlay's elements and of its root, by key.
// Loads the wave under the key, freeing one held there before; 0 when it
// cannot be loaded.
int RegisterOverlaySound(std::map<int, HOBJECT>& sounds, const char* name, int key);
// 0 for a key not held.
int StopOverlaySound(const std::map<int, HOBJECT>& sounds, int key);

// An element of the in-game overlay: one engine sprite that the overlay root
// ticks at 30 steps a second and hands mouse and key input to. Elements are
// made and deleted by their users; they join a root with AttachTo and leave
// it with Detach (the destructor leaves too).
class CGMBase {
 public:
  explicit CGMBase(int groupId);
  // Leaves the owner and frees the element's own sounds.
  virtual ~CGMBase();
  CGMBase(const CGMBase&) = delete;
  CGMBase& operator=(const CGMBase&) = delete;

  virtual int Update(int steps) = 0;
  // Advances the slide; 1.
  virtual int PostUpdate(int steps);
  // The root's answer to AddChild (0 for a null root).
  virtual int AttachTo(CMenuAgency* agency);
  virtual int Detach();
  virtual int IsAttached() const;
  virtual void Show(int visible);
  // The sprite's position; 0 without a sprite.
  virtual int Move(int x, int y);
  virtual void SetSuspended(int flag);
  // Loads the wave under the key, freeing one held there before; 0 when it
  // cannot be loaded.
  virtual int RegisterSound(const char* name, int key);
  // A key the element does not hold goes to its owner, or to g_menuAgency
  // without one.
  virtual int PlaySound(int key, int flags);
  virtual int StopSound(int key);
  virtual void SetUserData(int value);
  virtual int HitTest(int x, int y);
  // Shows the sprite at (x, y) at once and brings it back to where it was over
  // steps ticks: mode 0 evenly, mode 1 slowing down. 0 for steps below 1.
  virtual int SlideTo(int mode, int x, int y, int steps);
  virtual int OnLButtonDown(int x, int y);
  virtual int OnLButtonUp(int x, int y);
  virtual int OnRButtonDown(int x, int y);
  virtual int OnMouseMove(int x, int y);
  virtual int OnDrag(int x, int y);
  virtual int OnKey(int key, int down);
  virtual void SetDepth(int x, int y, int layer);
  // Refused (0) for a board of the element's own group.
  virtual int SetBoard(CGMBoard* target);
  // SetBoard, then the sprite becomes a child of the board's sprite.
  virtual int LinkToBoard(CGMBoard* target);
  // To the board first, then to the owner's callback with the element as c.
  virtual int Notify(int a, int b, int c);
  // Queues a message at the owner; 0 without one.
  virtual int NotifyOwner(int message, int a, int b, int c);
  virtual int OnNotify(int a, int b, int c, CGMBase* sender);

  CMenuAgency* owner = nullptr;
  CGMBoard* board = nullptr;
  int userData = 0;
  HOBJECT sprite = 0;
  int index = 0;
  int suspended = 0;
  int inputEnabled = 1;  // clicks, right clicks and releases need it
  CTickTimer timer;      // 10 a second, for animation
  int groupId;
  std::map<int, HOBJECT> sounds;

  int sliding = 0;
  int slideMode = 0;
  int slideFromX = 0;
  int slideFromY = 0;
  int slideHomeX = 0;
  int slideHomeY = 0;
  int slideSteps = 0;
  int slideDone = 0;
};
