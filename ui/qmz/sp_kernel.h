#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "ui/qmz/base_list.h"

namespace qmz {

class CKeyCheat;
class CSpriteWnd;

// A font size known to the library; the name is kept, the face drawn with
// comes from the game's message table.
struct FONTDESC {
  std::string name;
  int width = 0;
  int height = 0;
};

// The kernel of the sprite-window library: the top-level windows with their
// stacking numbers, the mouse routed to the window under the pointer, the
// hovered top-level window, one pending notification, the font registry and
// the UI sounds. One static instance, g_spKernel, built without the engine.
class CSpKernel {
 public:
  struct SPAPPDESC {
    CSpriteWnd* window = nullptr;
    int z = 0;
  };
  struct PENDINGDESC {
    CSpriteWnd* window = nullptr;
    int code = 0;
    int a = 0;
    int b = 0;
  };
  struct SOUNDENTRY {
    int id = 0;
    HOBJECT sound = 0;
  };

  static constexpr int kTopmostZ = 112;

  CSpKernel();
  CSpKernel(const CSpKernel&) = delete;
  CSpKernel& operator=(const CSpKernel&) = delete;
  // Frees the records; the windows are not deleted, the sounds are left to
  // ReleaseSounds while the engine is open.
  ~CSpKernel();

  // A mouse event in screen pixels.
  void MouseEntry(int code, int x, int y);
  // Every top-level window's BroadcastTick, in registration order.
  void UpdateWindows(int steps);

  // 0 when already registered. A topmost window takes z 112, pushing an
  // earlier topmost one down to the top of the normal windows.
  int RegisterTopWindow(CSpriteWnd* window);
  // 0 when it was not registered; the normal windows above it close the gap.
  int UnregisterTopWindow(CSpriteWnd* window);
  int GetTopWindowZ(const CSpriteWnd* window, int* z) const;
  void SetTopZ(CSpriteWnd* window, int z);
  void SetPendingNotify(CSpriteWnd* window, int code, int a, int b);
  CSpriteWnd* GetPendingNotifyWindow() const { return pending_.window; }
  // A window being destroyed: neither the hover window nor the pending one.
  void ForgetWindow(const CSpriteWnd* window);
  // The entry of that name and size, else a new one.
  FONTDESC* FindOrAddFont(const char* name, int width, int height);

  // A failed load is kept as sound 0.
  void RegisterSound(const char* fileName, int id);
  // 0 when no entry has the id; otherwise stops the UI sound still playing
  // and starts this one.
  int PlaySound(int id, int flags);
  // Frees every UI sound (the engine must still be open).
  void ReleaseSounds();

  CSpriteWnd* HoverWindow() const { return hover_; }
  int ZCounter() const { return zCounter_; }
  int MouseX() const { return mouseX_; }
  int MouseY() const { return mouseY_; }
  int LastMouseCode() const { return lastCode_; }
  const CBaseList<SPAPPDESC*>& TopWindows() const { return topWindows_; }
  const CBaseList<FONTDESC*>& Fonts() const { return fonts_; }
  CKeyCheat* EntryWindow() const { return entryWindow_.get(); }

 private:
  SPAPPDESC* FindRecord(const CSpriteWnd* window) const;
  CSpriteWnd* WindowAt(int x, int y) const;
  void Restack(SPAPPDESC* record, int z);

  CBaseList<SPAPPDESC*> topWindows_;
  CBaseList<FONTDESC*> fonts_;
  CSpriteWnd* hover_ = nullptr;
  std::unique_ptr<CKeyCheat> entryWindow_;
  int zCounter_ = 0;
  int lastCode_ = 0;
  int mouseX_ = 0;
  int mouseY_ = 0;
  PENDINGDESC pending_;
  int lastSound_ = -1;
  std::vector<SOUNDENTRY> sounds_;
};

extern CSpKernel g_spKernel;

// The battle's view of the kernel.
void SendSpMouseMove(int x, int y);
void SendSpLButtonDown(int x, int y);
void SendSpLButtonUp(int x, int y);
void UpdateSpWindows(int steps);
void RegisterSpSound(const char* fileName, int id);
int PlaySpSound(int id, int flags);
void ReleaseSpSounds();

}  // namespace qmz
