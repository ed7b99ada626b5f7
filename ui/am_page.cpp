#include "ui/am_page.h"

CAmPage::CAmPage(const char* imageName, int width, int height, CAmObject* owner)
    : CAmObject(imageName, width, height, 0, nullptr, 0), owner(owner) {
  Show(0);
}

void CAmPage::Open() {
  Show(1);
  AttachTo(owner, 0);
  ShowTree(1);
  if (built) return;
  Build();
  built = 1;
}

void CAmPage::Close() {
  Show(0);
  AttachTo(nullptr, 0);
  ShowTree(0);
}
