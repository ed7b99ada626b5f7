#pragma once

// The battle's entry points for the game side.
// MINIMAL: procedures are kept but never called; pause and resume do nothing.
class CBattleInterface {
 public:
  using ItemMenuProc = void (*)();
  using GiveItemProc = void (*)(int id, int count, int type);
  using ItemCountProc = int (*)();
  using UseItemProc = void (*)(int n);
  using ItemIdProc = int (*)();
  static constexpr int kKeySlots = 4;

  void SetItemMenuProc(ItemMenuProc proc) { itemMenuProc = proc; }
  void SetGiveItemProc(GiveItemProc proc) { giveItemProc = proc; }
  // MINIMAL: the setters below only store; no battle reads them yet.
  void SetItemCountProc(ItemCountProc proc) { itemCountProc = proc; }
  void SetUseItemProc(UseItemProc proc) { useItemProc = proc; }
  void SetItemIdProc(ItemIdProc proc) { itemIdProc = proc; }
  void DefineBattleKey(int slot, int key) {
    if (slot >= 0 && slot < kKeySlots) keys[slot] = key;
  }
  void SetMousePrecision(int precision) { mousePrecision = precision; }
  void SetShadowMode(int mode) { shadowMode = mode; }
  void SetCdTrack(int track) { cdTrack = track; }
  void PauseBattle() {}
  void ResumeBattle() {}
  // MINIMAL: the battle's debug command set is missing; no line is a command.
  void DebugCommand(const char*) {}
  // MINIMAL: no battle diagnostics are drawn.
  void DrawDebug() {}

  ItemMenuProc itemMenuProc = nullptr;
  GiveItemProc giveItemProc = nullptr;
  ItemCountProc itemCountProc = nullptr;
  UseItemProc useItemProc = nullptr;
  ItemIdProc itemIdProc = nullptr;
  int keys[kKeySlots] = {};
  int mousePrecision = 0;
  int shadowMode = 0;
  int cdTrack = 0;
};

extern CBattleInterface g_battleInterface;
