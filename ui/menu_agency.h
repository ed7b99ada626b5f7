#pragma once
#include <cstdint>
#include <map>
#include <vector>

#include "base/tick_timer.h"
#include "engine/core/handles.h"
#include "ui/gm_base.h"

// The owner's message procedure: (message, a, b, c). Input arrives as 16
// left press, 17 left release, 18 right press, 20 move, 21 drag (a = x | y <<
// 16) and 22 key (a = key, b = down); c carries the element for notices.
using OverlayCallback = int (*)(int message, int a, int b, intptr_t c);

// The root of the in-game overlay: up to 200 elements ticked at 30 steps a
// second, mouse and key input routed to them, a queue of posted messages for
// the owner's callback and the interface's named sounds. One instance,
// g_menuAgency, lives for the whole run; it holds its elements without
// owning them.
class CMenuAgency {
 public:
  static constexpr int kMaxChildren = 200;
  static constexpr int kMaxQueued = 200;

  struct QueuedMessage {
    int message;
    int a;
    int b;
    int c;
  };

  // Touches nothing of the engine, so it can be built before main.
  CMenuAgency() = default;
  // Frees memory only: sounds are released through ReleaseSounds while the
  // engine is still open.
  virtual ~CMenuAgency() = default;
  CMenuAgency(const CMenuAgency&) = delete;
  CMenuAgency& operator=(const CMenuAgency&) = delete;

  // Frees the one-shot copies that have stopped playing.
  virtual void PurgeFinishedSounds();
  // Frees every registered sound and every one-shot copy.
  void ReleaseSounds();
  // 0 when full, for null or for an element already attached.
  virtual int AddChild(CGMBase* element);
  // The last element moves into the gap; 0 unless the element is held here.
  virtual int RemoveChild(CGMBase* element);
  // Every element leaves; none of them counts as attached afterwards.
  virtual void RemoveAll();
  // The element outside the array (the cursor), updated and given input after
  // it; null clears it.
  virtual int SetExtraElement(CGMBase* element);
  // 1 when one was set.
  virtual int ClearExtraElement();
  virtual int RegisterSound(const char* name, int key);
  // Keys 0 to 3 are the interface's own sounds, loaded on first use. Flags 0
  // plays a copy so that the sound can overlap itself.
  virtual int PlaySound(int key, int flags);
  virtual int StopSound(int key);
  // The steps due on the root's timer; updates the elements unless paused.
  virtual int Tick();
  // Elements and extra element for at most 3 steps, then the queue to the
  // callback; the queue is emptied either way.
  virtual int Update(int steps);
  // 0 when unchanged.
  virtual int SetPaused(int flag);
  // A pop-up that takes the mouse instead of the array until a click hits it;
  // the root deletes it after that click.
  virtual void SetCapture(CGMBase* element);
  virtual int CallCallback(int message, int a, int b, intptr_t c);
  virtual void SetCallback(OverlayCallback procedure);
  // 0 when 200 messages wait.
  virtual int PostMessage(int message, int a, int b, int c);

  virtual int OnLButtonDown(int x, int y);
  virtual int OnRButtonDown(int x, int y);
  virtual int OnMouseMove(int x, int y);
  virtual int OnDrag(int x, int y);
  virtual int OnLButtonUp(int x, int y);
  virtual int OnKey(int key, int down);

  int childCount = 0;
  CGMBase* children[kMaxChildren] = {};
  QueuedMessage queue[kMaxQueued] = {};
  int queueCount = 0;
  int paused = 0;
  CGMBase* extraElement = nullptr;
  CGMBase* capture = nullptr;
  std::vector<HOBJECT> oneShotSounds;
  CTickTimer timer;
  OverlayCallback callback = nullptr;
  std::map<int, HOBJECT> sounds;

 private:
  // Which elements take a button press or release.
  enum class Route { kHit, kEnabled, kAny };
  using Handler = int (CGMBase::*)(int x, int y);
  // The capture element (for a press only when hit, and then deleted) or
  // the array, then the extra element, then the callback with message; the
  // callback's answer, else the last handler's.
  int RouteMouse(Handler handler, Route arrayRoute, Route extraRoute, int message, int x, int y);
  static bool Takes(CGMBase* element, Route route, int x, int y);
};

extern CMenuAgency g_menuAgency;

// Input messages the callback receives.
enum : int {
  kOverlayLButtonDown = 16,
  kOverlayLButtonUp = 17,
  kOverlayRButtonDown = 18,
  kOverlayMouseMove = 20,
  kOverlayDrag = 21,
  kOverlayKey = 22,
};
