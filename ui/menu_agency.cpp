#include "ui/menu_agency.h"

#include <algorithm>

#include "engine/media/sound_table.h"

CMenuAgency g_menuAgency;

namespace {

// The interface sounds every element may ask the root for, by key.
constexpr const char* kStandardSounds[] = {"MM_onbut", "MM_hover", "scrollhover", "MM_Useobj"};

int PackPoint(int x, int y) {
  return static_cast<int>((static_cast<uint32_t>(x) & 0xFFFF) | static_cast<uint32_t>(y) << 16);
}

}  // namespace

void CMenuAgency::PurgeFinishedSounds() {
  auto finished = [](HOBJECT sound) {
    if (IsSoundPlaying(sound)) return false;
    FreeSound(sound);
    return true;
  };
  oneShotSounds.erase(std::remove_if(oneShotSounds.begin(), oneShotSounds.end(), finished), oneShotSounds.end());
}

void CMenuAgency::ReleaseSounds() {
  for (HOBJECT sound : oneShotSounds) FreeSound(sound);
  oneShotSounds.clear();
  for (auto& [key, sound] : sounds) FreeSound(sound);
  sounds.clear();
}

int CMenuAgency::AddChild(CGMBase* element) {
  if (childCount >= kMaxChildren || !element || element->IsAttached()) return 0;
  element->index = childCount;
  children[childCount++] = element;
  return 1;
}

int CMenuAgency::RemoveChild(CGMBase* element) {
  if (!element || !element->IsAttached() || childCount == 0) return 0;
  const int k = element->index;
  // The element's own word is not enough: it must really sit at that place.
  if (k < 0 || k >= childCount || children[k] != element) return 0;
  CGMBase* last = children[childCount - 1];
  children[k] = last;
  last->index = k;
  children[--childCount] = nullptr;
  if (capture == element) capture = nullptr;
  return 1;
}

void CMenuAgency::RemoveAll() {
  while (childCount > 0) {
    CGMBase* first = children[0];
    RemoveChild(first);
    first->owner = nullptr;
  }
}

int CMenuAgency::SetExtraElement(CGMBase* element) {
  if (!element) return ClearExtraElement();
  extraElement = element;
  return 1;
}

int CMenuAgency::ClearExtraElement() {
  const int had = extraElement != nullptr;
  extraElement = nullptr;
  return had;
}

int CMenuAgency::RegisterSound(const char* name, int key) { return RegisterOverlaySound(sounds, name, key); }

int CMenuAgency::PlaySound(int key, int flags) {
  PurgeFinishedSounds();
  auto found = sounds.find(key);
  if (found == sounds.end()) {
    if (key < 0 || key >= static_cast<int>(std::size(kStandardSounds)) || !RegisterSound(kStandardSounds[key], key))
      return 0;
    found = sounds.find(key);
  }
  if (flags) return StartSound(found->second, flags);
  const HOBJECT copy = CloneSound(found->second);
  if (!copy) return 0;
  oneShotSounds.push_back(copy);
  return StartSound(copy, 0);
}

int CMenuAgency::StopSound(int key) { return StopOverlaySound(sounds, key); }

int CMenuAgency::Tick() {
  const int steps = timer.Tick();
  if (paused) return steps;
  return Update(steps);
}

int CMenuAgency::Update(int steps) {
  if (steps > 3) steps = 3;
  // An element may leave during its own update; the count is read afresh.
  for (int i = 0; i < childCount; ++i) {
    CGMBase* element = children[i];
    if (!element || element->suspended) continue;
    element->Update(steps);
    element->PostUpdate(steps);
  }
  if (extraElement && !extraElement->suspended) {
    extraElement->Update(steps);
    extraElement->PostUpdate(steps);
  }
  if (callback)
    for (int i = 0; i < queueCount; ++i) callback(queue[i].message, queue[i].a, queue[i].b, queue[i].c);
  queueCount = 0;
  return steps;
}

int CMenuAgency::SetPaused(int flag) {
  if (flag == paused) return 0;
  paused = flag;
  return 1;
}

void CMenuAgency::SetCapture(CGMBase* element) { capture = element; }

int CMenuAgency::CallCallback(int message, int a, int b, intptr_t c) {
  return callback ? callback(message, a, b, c) : 0;
}

void CMenuAgency::SetCallback(OverlayCallback procedure) { callback = procedure; }

int CMenuAgency::PostMessage(int message, int a, int b, int c) {
  if (queueCount >= kMaxQueued) return 0;
  queue[queueCount++] = {message, a, b, c};
  return 1;
}

bool CMenuAgency::Takes(CGMBase* element, Route route, int x, int y) {
  if (!element || element->suspended) return false;
  if (route == Route::kAny) return true;
  if (!element->inputEnabled) return false;
  return route == Route::kEnabled || element->HitTest(x, y);
}

int CMenuAgency::RouteMouse(Handler handler, Route arrayRoute, Route extraRoute, int message, int x, int y) {
  int result = 0;
  if (capture && arrayRoute == Route::kHit) {
    // Only a press on the pop-up reaches it, and that press closes it.
    CGMBase* popup = capture;
    if (popup->HitTest(x, y)) {
      result = (popup->*handler)(x, y);
      capture = nullptr;
      delete popup;
    }
  } else if (capture) {
    result = (capture->*handler)(x, y);
  } else {
    for (int i = 0; i < childCount; ++i) {
      CGMBase* element = children[i];
      if (Takes(element, arrayRoute, x, y)) result = (element->*handler)(x, y);
    }
  }
  if (Takes(extraElement, extraRoute, x, y)) result = (extraElement->*handler)(x, y);
  return callback ? callback(message, PackPoint(x, y), 0, 0) : result;
}

int CMenuAgency::OnLButtonDown(int x, int y) {
  return RouteMouse(&CGMBase::OnLButtonDown, Route::kHit, Route::kHit, kOverlayLButtonDown, x, y);
}

int CMenuAgency::OnLButtonUp(int x, int y) {
  return RouteMouse(&CGMBase::OnLButtonUp, Route::kEnabled, Route::kEnabled, kOverlayLButtonUp, x, y);
}

int CMenuAgency::OnRButtonDown(int x, int y) {
  return RouteMouse(&CGMBase::OnRButtonDown, Route::kEnabled, Route::kEnabled, kOverlayRButtonDown, x, y);
}

int CMenuAgency::OnMouseMove(int x, int y) {
  return RouteMouse(&CGMBase::OnMouseMove, Route::kAny, Route::kEnabled, kOverlayMouseMove, x, y);
}

int CMenuAgency::OnDrag(int x, int y) {
  return RouteMouse(&CGMBase::OnDrag, Route::kAny, Route::kEnabled, kOverlayDrag, x, y);
}

int CMenuAgency::OnKey(int key, int down) {
  int result = 0;
  for (int i = 0; i < childCount; ++i)
    if (children[i] && !children[i]->suspended) result = children[i]->OnKey(key, down);
  return callback ? callback(kOverlayKey, key, down, 0) : result;
}
