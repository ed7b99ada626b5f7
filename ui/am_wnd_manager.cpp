#include "ui/am_wnd_manager.h"

#include <algorithm>

#include "engine/core/engine_queries.h"
#include "engine/media/sound_table.h"
#include "platform/ime.h"
#include "ui/am_ime_bar.h"
#include "ui/am_wnd.h"

CAmWndManager* g_amWndManager = nullptr;
int g_amTextBudget = 2;

CAmWndManager::CAmWndManager() {
  queue_.reserve(kQueueSize);
  imeBar_ = std::make_unique<CAmIMEBar>();
  EnableInputLanguageHook(1);
}

CAmWndManager::~CAmWndManager() {
  toClose_ = nullptr;
  while (!stack_.empty()) DeleteWindow(stack_.front());
  while (!waiting_.empty()) DeleteWindow(waiting_.front());
  delete cursor;
  cursor = nullptr;
  imeBar_.reset();
  sounds_.clear();
}

void CAmWndManager::RegisterWindow(CAmWnd* window) {
  window->stackIndex = static_cast<int>(stack_.size() + waiting_.size());
  waiting_.push_back(window);
}

void CAmWndManager::UnregisterWindow(CAmWnd* window) {
  std::erase(waiting_, window);
  if (std::erase(stack_, window)) Renumber();
  if (toClose_ == window) toClose_ = nullptr;
}

void CAmWndManager::DeleteWindow(CAmWnd* window) {
  // A window's destructor leaves the stack itself, and so do the windows it
  // deletes with it; the erase covers a window deleted while no manager was set.
  delete window;
  UnregisterWindow(window);
}

void CAmWndManager::RequestClose(CAmWnd* window) {
  if (!toClose_ || window->stackIndex < toClose_->stackIndex) toClose_ = window;
}

void CAmWndManager::AddDeleted(CAmObject* widget) { deleted_.push_back(widget); }

bool CAmWndManager::IsDeleted(const CAmObject* widget) const {
  return std::find(deleted_.begin(), deleted_.end(), widget) != deleted_.end();
}

void CAmWndManager::PostMessage(int id, int a, int b, CAmObject* sender) {
  if (queue_.size() < kQueueSize) queue_.push_back({id, a, b, sender});
}

CAmWnd* CAmWndManager::GetTopWnd() const {
  if (!stack_.empty()) return stack_.back();
  return waiting_.empty() ? nullptr : waiting_.back();
}

void CAmWndManager::PlaySound(int key) {
  auto it = sounds_.find(key);
  if (it != sounds_.end()) StartSound(it->second, 0);
}

int CAmWndManager::RegisterSound(int key, const char* fileName) {
  HOBJECT sound = fileName ? LoadSound(fileName) : 0;
  if (!sound) return 0;
  auto [it, inserted] = sounds_.try_emplace(key, sound);
  if (!inserted) {
    FreeSound(it->second);
    it->second = sound;
  }
  return 1;
}

HOBJECT CAmWndManager::Sound(int key) const {
  auto it = sounds_.find(key);
  return it == sounds_.end() ? 0 : it->second;
}

void CAmWndManager::UpdateImeBar() {
  if (plat::GetInputMethodDescription(nullptr, 0) <= 0) {
    imeBar_->ShowTree(0);
    return;
  }
  char description[256];
  // Room is kept for the terminator.
  int length = plat::GetInputMethodDescription(description, static_cast<int>(sizeof(description)) - 1);
  description[std::clamp(length, 0, static_cast<int>(sizeof(description)) - 1)] = '\0';
  imeBar_->SetDescription(description);
  imeBar_->ShowTree(1);
}

template <typename Visit>
void CAmWndManager::Dispatch(Visit visit) {
  if (stack_.empty()) return;
  visit(stack_.back());
  if (cursor && !IsDeleted(cursor)) visit(cursor);
}

void CAmWndManager::DispatchLButtonDown(int x, int y) {
  Dispatch([x, y](CAmObject* w) { w->DispatchLButtonDown(x, y); });
}

void CAmWndManager::DispatchLButtonUp(int x, int y) {
  Dispatch([x, y](CAmObject* w) { w->DispatchLButtonUp(x, y); });
}

void CAmWndManager::DispatchRButtonDown(int x, int y) {
  Dispatch([x, y](CAmObject* w) { w->DispatchRButtonDown(x, y); });
}

void CAmWndManager::DispatchMouseMove(int x, int y) {
  Dispatch([x, y](CAmObject* w) { w->DispatchMouseMove(x, y); });
}

void CAmWndManager::DispatchLButtonDrag(int x, int y) {
  Dispatch([x, y](CAmObject* w) { w->DispatchLButtonDrag(x, y); });
}

void CAmWndManager::DispatchKeyDown(int virtualKey, int down) {
  Dispatch([virtualKey, down](CAmObject* w) { w->DispatchKeyDown(virtualKey, down); });
}

void CAmWndManager::DispatchChar(int code) {
  Dispatch([code](CAmObject* w) { w->DispatchChar(code); });
}

void CAmWndManager::Renumber() {
  for (size_t i = 0; i < stack_.size(); ++i) stack_[i]->stackIndex = static_cast<int>(i);
}

void CAmWndManager::JoinWaitingWindows() {
  if (waiting_.empty()) return;
  stack_.insert(stack_.end(), waiting_.begin(), waiting_.end());
  waiting_.clear();
  Renumber();
}

void CAmWndManager::DeliverMessages() {
  // Handlers may post more: they join this pass (the queue may grow while it is walked).
  for (size_t i = 0; i < queue_.size(); ++i) {
    AMMSGDESC message = queue_[i];
    if (!message.sender || IsDeleted(message.sender)) continue;
    message.sender->BubbleMessage(message.id, message.a, message.b, message.sender);
  }
  queue_.clear();
  deleted_.clear();
}

void CAmWndManager::CloseMarked() {
  CAmWnd* marked = toClose_;
  toClose_ = nullptr;
  auto it = std::find(stack_.begin(), stack_.end(), marked);
  if (it == stack_.end()) return;
  auto lowest = static_cast<size_t>(it - stack_.begin());
  while (stack_.size() > lowest) DeleteWindow(stack_[lowest]);
  // Nothing can be queued from them any more; keeping their addresses
  // would silence new widgets that take the same memory.
  deleted_.clear();
}

void CAmWndManager::Update(int steps) {
  steps = std::min(steps, kMaxSteps);
  JoinWaitingWindows();
  if (stack_.empty()) return;
  stack_.back()->DispatchTick(steps);
  // A window can be open without a cursor widget (built later, or deleted).
  if (cursor && !IsDeleted(cursor)) cursor->OnTick(steps);
  DeliverMessages();
  if (toClose_) CloseMarked();
  g_amTextBudget = 2;
}

void CreateWndManager() {
  if (g_amWndManager) return;
  g_amWndManager = new CAmWndManager;
}

void DestroyWndManager() {
  InstallWndHooks(nullptr);
  // Published while it is taken down, so the windows leave it as they go.
  delete g_amWndManager;
  g_amWndManager = nullptr;
}

void UpdateWndManager(int steps) {
  if (g_amWndManager) g_amWndManager->Update(steps);
}

void EnableWndInput(int flag) { InstallWndHooks(flag ? g_amWndManager : nullptr); }

CAmObject* GetWndCursor() { return g_amWndManager ? g_amWndManager->cursor : nullptr; }

CAmWnd* GetTopWnd() { return g_amWndManager ? g_amWndManager->GetTopWnd() : nullptr; }

int RegisterWndSound(int key, const char* fileName) {
  return g_amWndManager ? g_amWndManager->RegisterSound(key, fileName) : 0;
}
