#include "ui/am_wnd.h"

#include "ui/am_wnd_manager.h"

CAmWnd::CAmWnd(const char* imageName, int width, int height, int id, CAmObject* owner)
    : CAmObject(imageName, width, height, id, nullptr, 0) {
  if (g_amWndManager) g_amWndManager->RegisterWindow(this);
  if (auto* ownerWindow = dynamic_cast<CAmWnd*>(owner)) ownerWindow->OnChildWndOpen();
  AttachTo(owner, 1);
}

CAmWnd::~CAmWnd() {
  if (g_amWndManager) g_amWndManager->UnregisterWindow(this);
}

void CAmWnd::OnChildWndOpen() {}
void CAmWnd::OnChildWndClose() {}

void CAmWnd::Close() {
  if (auto* ownerWindow = dynamic_cast<CAmWnd*>(parent)) ownerWindow->OnChildWndClose();
  if (g_amWndManager) g_amWndManager->RequestClose(this);
}
