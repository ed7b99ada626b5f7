#include "battle/battle_interface.h"

#include "battle/battle_sys.h"
#include "platform/qel/kbs_control.h"

CBattleInterface g_battleInterface;

CBattleInterface* CBattleInterface::Instance() { return &g_battleInterface; }

void CBattleInterface::Destroy() { g_battleInterface = CBattleInterface(); }

void CBattleInterface::OpenItemMenu() {
  if (itemMenuProc) itemMenuProc();
}

void CBattleInterface::GiveItem(const int* item) {
  if (giveItemProc && item) giveItemProc(item[0], item[1], item[2]);
}

int CBattleInterface::GetItemCount() { return itemCountProc ? itemCountProc() : 0; }

int CBattleInterface::GetItemId() { return itemIdProc ? itemIdProc() : -1; }

int CBattleInterface::UseItem(int n) { return useItemProc ? useItemProc(n) : 0; }

void CBattleInterface::PauseBattle() {
  if (g_battleSys) g_battleSys->Pause();
}

void CBattleInterface::ResumeBattle() {
  if (g_battleSys) g_battleSys->Resume();
}

void CBattleInterface::SetMousePrecision(int level) {
  if (g_battleSys) g_battleSys->SetMousePrecision(level);
}

void CBattleInterface::DefineBattleKey(int slot, int key) { qmz::CKBSControl::Instance()->DefineKeyBoard(slot, key); }

int CBattleInterface::DebugCommand(const char* line) { return g_battleSys ? g_battleSys->DebugCommand(line) : 0; }

void CBattleInterface::DrawDebug(int arg) {
  if (g_battleSys && g_battleSys->IsRunning(nullptr)) g_battleSys->DrawDebug(arg);
}
