#pragma once

// Where the game core and the battle meet. The game sets its procedures, the
// shadow mode and the battle track before a battle; the battle reads them
// back. Requests of the game core go on to the running battle system.
// A procedure the game has not set is never called: the item count is then
// 0, the item id -1 and nothing is used or given.
class CBattleInterface {
 public:
  using ItemMenuProc = void (*)();
  using GiveItemProc = void (*)(int id, int count, int type);
  using ItemCountProc = int (*)();
  using ItemIdProc = int (*)();
  using UseItemProc = int (*)(int n);

  static CBattleInterface* Instance();
  // Clears every field (the singleton stays reachable through g_battleInterface).
  static void Destroy();

  void SetItemMenuProc(ItemMenuProc proc) { itemMenuProc = proc; }
  void SetGiveItemProc(GiveItemProc proc) { giveItemProc = proc; }
  void SetItemCountProc(ItemCountProc proc) { itemCountProc = proc; }
  void SetItemIdProc(ItemIdProc proc) { itemIdProc = proc; }
  void SetUseItemProc(UseItemProc proc) { useItemProc = proc; }
  void SetShadowMode(int mode) { shadowMode = mode; }
  int GetShadowMode() const { return shadowMode; }
  void SetBattleTrack(int track) { battleTrack = track; }
  int GetBattleTrack() const { return battleTrack; }

  void OpenItemMenu();
  // item: {id, count, type}.
  void GiveItem(const int* item);
  int GetItemCount();
  int GetItemId();
  int UseItem(int n);

  void PauseBattle();
  void ResumeBattle();
  // The orbit camera's precision becomes level x 0.2.
  void SetMousePrecision(int level);
  // Slot 0..3 of the combination input (left, right, back, forward).
  void DefineBattleKey(int slot, int key);
  // A developer-console line for the battle's debug commands; its answer.
  int DebugCommand(const char* line);
  // The debug texts, only while a battle runs.
  void DrawDebug(int arg);

  ItemMenuProc itemMenuProc = nullptr;
  GiveItemProc giveItemProc = nullptr;
  ItemCountProc itemCountProc = nullptr;
  ItemIdProc itemIdProc = nullptr;
  UseItemProc useItemProc = nullptr;
  int shadowMode = 0;
  int battleTrack = 0;
};

extern CBattleInterface g_battleInterface;
