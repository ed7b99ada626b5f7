#pragma once
#include <map>
#include <memory>
#include <vector>

#include "engine/core/handles.h"
#include "ui/am_object.h"

class CAmWnd;
class CAmIMEBar;

// The one window manager of the widget framework: the stack of open windows
// (only the top one gets input and ticks), the queue of posted messages and
// their delivery, the widgets destroyed since the last update, the UI sounds
// by key, the cursor widget and the input-method bar. The engine's input
// hooks feed it; the screen manager updates it once per frame.
//
// Windows built between two updates wait in construction order and join the
// stack together at the next update.
class CAmWndManager {
 public:
  static constexpr int kQueueSize = 100;
  static constexpr int kMaxSteps = 3;

  // Switches the engine's input-language hook on and makes the bar, hidden.
  CAmWndManager();
  // Deletes every window from the bottom up, the cursor widget and the bar;
  // the sounds stay loaded until the engine frees them.
  ~CAmWndManager();
  CAmWndManager(const CAmWndManager&) = delete;
  CAmWndManager& operator=(const CAmWndManager&) = delete;

  // Every window's constructor: it waits for the next update.
  void RegisterWindow(CAmWnd* window);
  // A window deleted by someone else leaves the stack, the waiting list and the close mark.
  void UnregisterWindow(CAmWnd* window);
  // Marks the window for closing with every window above it, unless a
  // window at or below it is marked already.
  void RequestClose(CAmWnd* window);
  void AddDeleted(CAmObject* widget);
  bool IsDeleted(const CAmObject* widget) const;
  void PostMessage(int id, int a, int b, CAmObject* sender);
  // The top of the stack; with an empty stack the newest waiting window; else null.
  CAmWnd* GetTopWnd() const;
  void PlaySound(int key);
  // 0, changing nothing, when the wave file does not load; else the key's
  // sound (freeing an older one) and 1.
  int RegisterSound(int key, const char* fileName);
  // Shows the input method's description on the bar, or hides the bar when
  // the layout has none.
  void UpdateImeBar();

  // Nothing while no window is open; else the top window's fan-out, then the cursor's.
  void DispatchLButtonDown(int x, int y);
  void DispatchLButtonUp(int x, int y);
  void DispatchRButtonDown(int x, int y);
  void DispatchMouseMove(int x, int y);
  void DispatchLButtonDrag(int x, int y);
  void DispatchKeyDown(int virtualKey, int down);
  void DispatchChar(int code);

  // Once per frame: joins the waiting windows, ticks the top window and the
  // cursor, delivers the messages, carries out a close request and renews
  // the smoothed-text budget. Without an open window nothing happens and the
  // queue is kept.
  void Update(int steps);

  const std::vector<CAmWnd*>& Stack() const { return stack_; }
  const std::vector<AMMSGDESC>& Queue() const { return queue_; }
  CAmIMEBar* ImeBar() const { return imeBar_.get(); }
  // The key's sound, 0 when none is registered.
  HOBJECT Sound(int key) const;

  CAmObject* cursor = nullptr;  // the CAmMouse stores itself here

 private:
  template <typename Visit>
  void Dispatch(Visit visit);
  void JoinWaitingWindows();
  void DeliverMessages();
  void CloseMarked();
  void Renumber();
  void DeleteWindow(CAmWnd* window);

  std::vector<CAmWnd*> stack_;  // bottom first
  std::vector<AMMSGDESC> queue_;
  std::vector<CAmObject*> deleted_;
  std::map<int, HOBJECT> sounds_;
  std::unique_ptr<CAmIMEBar> imeBar_;
  std::vector<CAmWnd*> waiting_;  // built since the last update, oldest first
  CAmWnd* toClose_ = nullptr;
};

extern CAmWndManager* g_amWndManager;
// Smoothed text redraws still allowed before the next update.
extern int g_amTextBudget;

// The screen manager's view.
void CreateWndManager();
// Removes the input hooks first.
void DestroyWndManager();
void UpdateWndManager(int steps);
// Installs the framework's input hooks (flag nonzero) or removes them.
void EnableWndInput(int flag);
CAmObject* GetWndCursor();
CAmWnd* GetTopWnd();
int RegisterWndSound(int key, const char* fileName);
// With null: clears the left button, mouse-move, character hooks and the key
// hooks of the arrows, Delete, Insert, Esc and Enter; the right button, the
// input-language hook and the other keys stay for the game's own states.
void InstallWndHooks(CAmWndManager* manager);
