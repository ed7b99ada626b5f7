#pragma once
#include "ui/am_dlg.h"
#include "ui/screen_manager.h"

class CAmButton;
class CAmText;

// Which hero a new game starts with, when the super save allows both.
class TWSelHeroDlg : public CAmDlg {
 public:
  explicit TWSelHeroDlg(CAmObject* owner);
  ~TWSelHeroDlg() override;

  // A press on a hero button chooses it and shows it pressed, the other released.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CAmButton* firstHero = nullptr;
  CAmButton* secondHero = nullptr;
  int choice = 0;  // 0 first hero, 1 second
};

// The title screen's menu: new game, load, settings and quit. Its outcome
// goes to the screen manager's start record.
class CStartMenuWnd : public CAmWnd {
 public:
  enum : int { kNewGame = 1, kLoad, kSystem, kQuit };
  // A save-list message: load the slot in a.
  static constexpr int kLoadSlot = 3;

  CStartMenuWnd(int superSaveValid, STARTRESULTDESC* startResult, CGameDataLoader* loader, CGameResource* resource,
                CAmObject* owner);
  ~CStartMenuWnd() override;

  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CAmButton* newGameButton = nullptr;
  CAmButton* loadButton = nullptr;
  CAmButton* systemButton = nullptr;
  CAmButton* quitButton = nullptr;
  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  STARTRESULTDESC* startResult = nullptr;
  MENURESULTDESC systemResult{0, -1, nullptr};
  CAmText* versionText = nullptr;
  TWSelHeroDlg* heroDialog = nullptr;
  int superSaveValid = 0;

 private:
  void Finish(int hero, int action, int slot);
};
