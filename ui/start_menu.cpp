#include "ui/start_menu.h"

#include "ui/am_button.h"
#include "ui/am_text.h"
#include "ui/confirm_dlg.h"
#include "ui/menu_windows.h"

namespace {

constexpr int kPressSound = 5;
constexpr int kHoverSound = 1;

CAmButton* MenuButton(const char* image, int id, int y, CAmObject* parent) {
  auto* button = new CAmButton(image, 136, 30, id, kPressSound, kHoverSound, parent);
  button->SetPosition(38, y);
  return button;
}

}  // namespace

TWSelHeroDlg::TWSelHeroDlg(CAmObject* owner) : CAmDlg("ifsr000", 300, 238, owner, kOkCancel) {
  SetPosition(170, 132);
  CreateFirstButton("ifsr003", 52, 29, 66, 193, kPressSound, kHoverSound);
  CreateSecondButton("ifsr004", 52, 29, 181, 193, kPressSound, kHoverSound);
  firstHero = new CAmButton("ifsr001", 132, 163, 1, kPressSound, kHoverSound, this);
  firstHero->SetPosition(26, 26);
  secondHero = new CAmButton("ifsr002", 112, 163, 2, kPressSound, kHoverSound, this);
  secondHero->SetPosition(166, 26);
  firstHero->releaseEnabled = 0;
  secondHero->releaseEnabled = 0;
  firstHero->SetPressed(1);
}

TWSelHeroDlg::~TWSelHeroDlg() {
  delete firstHero;
  delete secondHero;
}

int TWSelHeroDlg::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (id == AMM_BUTTONDOWN && (sender == firstHero || sender == secondHero)) {
    choice = sender == secondHero ? 1 : 0;
    CAmButton* chosen = choice ? secondHero : firstHero;
    CAmButton* other = choice ? firstHero : secondHero;
    chosen->SetPressed(1);
    other->SetPressed(0);
    return 1;
  }
  return CAmDlg::OnMessage(id, a, b, sender);
}

CStartMenuWnd::CStartMenuWnd(int superSaveValid, STARTRESULTDESC* startResult, CGameDataLoader* loader,
                             CGameResource* resource, CAmObject* owner)
    : CAmWnd("if_m00", 640, 480, 0, owner),
      loader(loader),
      resource(resource),
      startResult(startResult),
      superSaveValid(superSaveValid) {
  newGameButton = MenuButton("if_mb0100", kNewGame, 311, this);
  loadButton = MenuButton("if_mb0200", kLoad, 348, this);
  systemButton = MenuButton("if_mb0300", kSystem, 385, this);
  quitButton = MenuButton("if_mb0400", kQuit, 422, this);
  versionText = new CAmText(180, 18, 0, this, nullptr);
  versionText->SetFont(nullptr, 12, 12, 255, 255, 255);
  versionText->smooth = 1;
  versionText->SetPosition(560, 440);
  versionText->SetText("Vf 1.02");
}

CStartMenuWnd::~CStartMenuWnd() {
  delete newGameButton;
  delete loadButton;
  delete systemButton;
  delete quitButton;
  delete versionText;
}

void CStartMenuWnd::Finish(int hero, int action, int slot) {
  if (startResult) *startResult = {hero, action, slot};
  ShowTree(0);
  Close();
}

int CStartMenuWnd::OnMessage(int id, int a, int, CAmObject* sender) {
  if (id == AMM_BUTTONUP) {
    if (sender == newGameButton) {
      if (superSaveValid) heroDialog = new TWSelHeroDlg(this);
      else Finish(0, 0, -1);
    } else if (sender == loadButton) {
      OpenSaveList(0, loader, resource, this);
    } else if (sender == systemButton) {
      OpenSystemWindow(&systemResult, this);
    } else if (sender == quitButton) {
      new CTwConfirmDlg(CTwConfirmDlg::kQuit, this);
    } else {
      return 0;
    }
    return 1;
  }
  if (id == AMM_ONBUTTON_OK) {
    if (heroDialog) {
      const int hero = heroDialog->choice == 1 ? 1 : 0;
      heroDialog = nullptr;
      Finish(hero, 0, -1);
    } else {
      if (startResult) startResult->action = 2;
      Close();
    }
    return 1;
  }
  if (id == AMM_ONBUTTON_CANCEL) {
    heroDialog = nullptr;
    return 1;
  }
  if (id == AMM_USER + kLoadSlot) {
    Finish(startResult ? startResult->hero : 0, 1, a);
    return 1;
  }
  return 0;
}
