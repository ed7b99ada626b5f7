#pragma once
#include "ui/am_object.h"

// A page a window shows and hides inside itself. Its widgets are built at
// the first Open and kept while it is closed (detached and hidden).
class CAmPage : public CAmObject {
 public:
  // Starts detached and hidden.
  CAmPage(const char* imageName, int width, int height, CAmObject* owner);

  // Hangs the page under its owner and shows it; the first time builds it.
  void Open();
  void Close();

  int built = 0;
  CAmObject* owner = nullptr;

 protected:
  // Creates the page's widgets, once.
  virtual void Build() = 0;
};
