#pragma once
#include <array>

#include "engine/core/math3d.h"
#include "ui/am_wnd.h"
#include "ui/screen_manager.h"

class CAmButton;
class CAmText;
class CEvtNoteListPage;
class CRolePage;
class CSystemPage;

// The in-game menu: a bottom panel with tabs for the character page, the
// event notes and the settings, a close button and hover help. Its outcome
// goes to the screen manager's menu record: resume, use an item carried out
// of the character page, quit to the title or load a slot.
class CVekMainWnd : public CAmWnd {
 public:
  enum Page : int { kRolePage = 0, kNotePage = 1, kSystemPage = 2, kClose = 3 };
  // Posted by the pages: quit to the title; load the slot in a; hover help of kind a.
  static constexpr int kQuitToTitle = 1;
  static constexpr int kLoadSlot = 3;
  static constexpr int kHoverHelp = 4;
  // The fly-out of an item taken out of the window to be used.
  static constexpr int kFlyOutStart = 29;
  static constexpr int kFlyOutEnd = 39;
  static constexpr int kFlyOutX = 296;
  static constexpr int kFlyOutY = 216;

  CVekMainWnd(const MAINWNDOPTIONS& options, MENURESULTDESC* result, CGameDataLoader* loader, CGameResource* resource,
              IStoryFlags* storyFlags, CGDItemPool* itemPool, CAmObject* owner);
  // Gives the hero's model its transform back.
  ~CVekMainWnd() override;

  // Closes the current page and opens page 0 to 2; kClose closes the window.
  void SelectPage(int page);

  void OnTick(int steps) override;
  void OnMouseMove(int x, int y) override;
  int OnKeyDown(int virtualKey, int down) override;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;
  // An owned window hides this one until it closes.
  void OnChildWndOpen() override;
  void OnChildWndClose() override;

  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  IStoryFlags* storyFlags = nullptr;
  CGDItemPool* itemPool = nullptr;
  int currentPage = kRolePage;
  std::array<CAmButton*, 3> tabs{};
  CAmButton* closeButton = nullptr;
  CRolePage* rolePage = nullptr;
  CEvtNoteListPage* notePage = nullptr;
  CSystemPage* systemPage = nullptr;
  CAmText* helpTitle = nullptr;
  CAmText* helpTitle2 = nullptr;
  CAmText* helpBody = nullptr;
  const CAmObject* hovered = nullptr;  // compared only, never followed
  int leaveSeen = 0;
  int useCountdown = 0;
  IBsCreature* hero = nullptr;
  MATRIX34 heroTransform{};
  int heroTransformSaved = 0;
  MENURESULTDESC* result = nullptr;
  int closingWithItem = 0;
  MAINWNDOPTIONS options;
  CAmObject* panel = nullptr;

 private:
  CAmObject* PageObject(int page) const;
  CTWItem* CarriedItem() const;
  void CloseWindow();
  void Finish();
  void StepFlyOut();
  void ShowHelp(const char* title, const char* title2, const char* body);
  void ShowHelpMessages(int titleMessage, int bodyMessage);
  void LockDuringDrag(int flag);

  int flyStartX = 0;
  int flyStartY = 0;
};
