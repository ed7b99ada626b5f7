#pragma once
#include "ui/am_object.h"

// A window of the window manager's stack. It waits from its construction to
// the manager's next update, then sits on the stack until a close request
// for it or for a window below it is carried out at the end of an update.
// A window with an owner hangs under the owner and draws above the owner's
// whole subtree; without one it is a root.
class CAmWnd : public CAmObject {
 public:
  // Tells the owner (when it is a window) that it opened.
  CAmWnd(const char* imageName, int width, int height, int id, CAmObject* owner);
  // Leaves the manager when deleted by anyone but the manager.
  ~CAmWnd() override;

  // A window owned by this one has been built, or is closing.
  virtual void OnChildWndOpen();
  virtual void OnChildWndClose();

  // Tells the owner window, then asks the manager to delete this window and
  // every window above it at the end of its update.
  void Close();

  int stackIndex = 0;  // written by the manager; 0 is the bottom
};
