#pragma once

// The battle's entry points for the game side.
// MINIMAL: procedures are kept but never called; pause and resume do nothing.
class CBattleInterface {
 public:
  using ItemMenuProc = void (*)();
  using GiveItemProc = void (*)(int id, int count, int type);

  void SetItemMenuProc(ItemMenuProc proc) { itemMenuProc = proc; }
  void SetGiveItemProc(GiveItemProc proc) { giveItemProc = proc; }
  void PauseBattle() {}
  void ResumeBattle() {}

  ItemMenuProc itemMenuProc = nullptr;
  GiveItemProc giveItemProc = nullptr;
};

extern CBattleInterface g_battleInterface;
