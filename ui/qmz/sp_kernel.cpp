#include "ui/qmz/sp_kernel.h"

#include <cstring>

#include "engine/media/sound_table.h"
#include "ui/qmz/key_cheat.h"
#include "ui/qmz/sp_codes.h"
#include "ui/qmz/sprite_wnd.h"

namespace qmz {

CSpKernel g_spKernel;

CSpKernel::CSpKernel() : entryWindow_(std::make_unique<CKeyCheat>()) {}

CSpKernel::~CSpKernel() {
  entryWindow_.reset();
  for (SPAPPDESC* record : topWindows_) delete record;
  topWindows_.Clear();
  for (FONTDESC* font : fonts_) delete font;
  fonts_.Clear();
}

CSpKernel::SPAPPDESC* CSpKernel::FindRecord(const CSpriteWnd* window) const {
  for (SPAPPDESC* record : topWindows_)
    if (record->window == window) return record;
  return nullptr;
}

CSpriteWnd* CSpKernel::WindowAt(int x, int y) const {
  CSpriteWnd* target = nullptr;
  int targetZ = 0;
  for (SPAPPDESC* record : topWindows_) {
    CSpriteWnd* window = record->window;
    if (!(window->State() & CSpriteWnd::kVisible) || !window->HitTest(x, y)) continue;
    int z = window->CompositeZ();
    if (!target || z > targetZ) {
      target = window;
      targetZ = z;
    }
  }
  return target;
}

void CSpKernel::MouseEntry(int code, int x, int y) {
  mouseX_ = x;
  mouseY_ = y;
  CSpriteWnd* target = WindowAt(x, y);
  if (hover_ && hover_ != target && (hover_->State() & CSpriteWnd::kEnabled)) hover_->OnMessage(SPN_LEAVE, code, 0);
  if (pending_.window && pending_.code == code) {
    PENDINGDESC pending = pending_;
    pending.window->OnMessage(SPN_PENDING, pending.a, pending.b);
  }
  if (target) target->RouteMouse(code, x, y);
  // The event may have closed the window.
  hover_ = target && FindRecord(target) ? target : nullptr;
  lastCode_ = code;
}

void CSpKernel::UpdateWindows(int steps) {
  // A tick may open or close windows: visit the ones registered now.
  std::vector<CSpriteWnd*> windows;
  for (SPAPPDESC* record : topWindows_) windows.push_back(record->window);
  for (CSpriteWnd* window : windows)
    if (FindRecord(window)) window->BroadcastTick(steps);
}

void CSpKernel::Restack(SPAPPDESC* record, int z) {
  record->z = z;
  record->window->SetZ(z);
}

int CSpKernel::RegisterTopWindow(CSpriteWnd* window) {
  if (!window || FindRecord(window)) return 0;
  auto* record = new SPAPPDESC{window, 0};
  if (window->Style() & CSpriteWnd::kStyleTopmost) {
    for (SPAPPDESC* other : topWindows_)
      if (other->z == kTopmostZ) Restack(other, ++zCounter_);
    Restack(record, kTopmostZ);
  } else {
    Restack(record, ++zCounter_);
  }
  topWindows_.Append(record);
  return 1;
}

int CSpKernel::UnregisterTopWindow(CSpriteWnd* window) {
  SPAPPDESC* record = FindRecord(window);
  if (!record) return 0;
  // A topmost window lies above the counted ones: taking it away leaves no
  // gap among them.
  bool counted = record->z <= zCounter_;
  if (counted) SetTopZ(window, zCounter_);
  topWindows_.Remove(record);
  delete record;
  if (counted) --zCounter_;
  if (hover_ == window) hover_ = nullptr;
  return 1;
}

int CSpKernel::GetTopWindowZ(const CSpriteWnd* window, int* z) const {
  SPAPPDESC* record = FindRecord(window);
  if (!record) return 0;
  if (z) *z = record->z;
  return 1;
}

void CSpKernel::SetTopZ(CSpriteWnd* window, int z) {
  SPAPPDESC* moved = FindRecord(window);
  if (!moved) return;
  int old = moved->z;
  for (SPAPPDESC* other : topWindows_) {
    if (other == moved) continue;
    if (old < z && other->z > old && other->z <= z) Restack(other, other->z - 1);
    else if (z < old && other->z >= z && other->z < old) Restack(other, other->z + 1);
  }
  Restack(moved, z);
}

void CSpKernel::SetPendingNotify(CSpriteWnd* window, int code, int a, int b) { pending_ = {window, code, a, b}; }

void CSpKernel::ForgetWindow(const CSpriteWnd* window) {
  if (hover_ == window) hover_ = nullptr;
  if (pending_.window == window) pending_ = {};
}

FONTDESC* CSpKernel::FindOrAddFont(const char* name, int width, int height) {
  const char* wanted = name ? name : "";
  for (FONTDESC* font : fonts_)
    if (font->name == wanted && font->width == width && font->height == height) return font;
  auto* font = new FONTDESC{wanted, width, height};
  fonts_.Append(font);
  return font;
}

void CSpKernel::RegisterSound(const char* fileName, int id) {
  sounds_.push_back({id, fileName ? LoadSound(fileName) : 0});
}

int CSpKernel::PlaySound(int id, int flags) {
  int index = -1;
  for (size_t i = 0; i < sounds_.size() && index < 0; ++i)
    if (sounds_[i].id == id) index = static_cast<int>(i);
  if (index < 0) return 0;
  if (lastSound_ >= 0 && IsSoundPlaying(sounds_[lastSound_].sound)) {
    StopSound(sounds_[lastSound_].sound);
    lastSound_ = -1;
  }
  StartSound(sounds_[index].sound, flags);
  lastSound_ = index;
  return 1;
}

void CSpKernel::ReleaseSounds() {
  for (const SOUNDENTRY& entry : sounds_)
    if (entry.sound) FreeSound(entry.sound);
  sounds_.clear();
  lastSound_ = -1;
}

void SendSpMouseMove(int x, int y) { g_spKernel.MouseEntry(SPM_MOUSEMOVE, x, y); }
void SendSpLButtonDown(int x, int y) { g_spKernel.MouseEntry(SPM_LBUTTONDOWN, x, y); }
void SendSpLButtonUp(int x, int y) { g_spKernel.MouseEntry(SPM_LBUTTONUP, x, y); }
void UpdateSpWindows(int steps) { g_spKernel.UpdateWindows(steps); }
void RegisterSpSound(const char* fileName, int id) { g_spKernel.RegisterSound(fileName, id); }
int PlaySpSound(int id, int flags) { return g_spKernel.PlaySound(id, flags); }
void ReleaseSpSounds() { g_spKernel.ReleaseSounds(); }

}  // namespace qmz
