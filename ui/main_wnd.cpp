#include "ui/main_wnd.h"

#include <cstdio>

#include "components/bs_creature.h"
#include "components/sword_man.h"
#include "database/game_resource.h"
#include "database/records.h"
#include "engine/core/node_transforms.h"
#include "platform/keys.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_text.h"
#include "ui/event_notes.h"
#include "ui/role_page.h"
#include "ui/system_page.h"
#include "ui/tw_item.h"

namespace {

constexpr int kOpenSound = 2;
constexpr int kTabPressSound = 0;
constexpr int kHoverSound = 1;
constexpr int kCloseSound = 5;
constexpr int kTabX = 510;
constexpr int kTabY[] = {11, 33, 55, 77};
constexpr const char* kTabImages[] = {"ifib0600", "ifib0700", "ifib0800", "ifib0900"};
constexpr int kFlyOutSteps = 9;

struct HelpPair {
  int title, body;
};
// By tab and close button, then by the help kinds the pages post.
constexpr HelpPair kTabHelp[] = {{52, 53}, {54, 55}, {56, 57}, {58, 59}};
constexpr HelpPair kKindHelp[] = {{62, 63}, {64, 65}, {66, 67}, {68, 69}, {78, 79}, {60, 61}, {76, 77}};

CAmText* HelpText(int width, int height, int x, int y, CAmObject* parent) {
  auto* text = new CAmText(width, height, 0, parent, nullptr);
  text->SetFont(nullptr, 14, 14, 0, 0, 10);
  text->smooth = 1;
  text->SetPosition(x, y);
  return text;
}

const char* Message(int n) {
  const char* text = GetMessageString(n);
  return text ? text : "";
}

}  // namespace

CVekMainWnd::CVekMainWnd(const MAINWNDOPTIONS& options, MENURESULTDESC* result, CGameDataLoader* loader,
                         CGameResource* resource, IStoryFlags* storyFlags, CGDItemPool* itemPool, CAmObject* owner)
    : CAmWnd(nullptr, 16, 16, 0, owner),
      loader(loader),
      resource(resource),
      storyFlags(storyFlags),
      itemPool(itemPool),
      hero(options.hero),
      result(result),
      options(options) {
  if (result) *result = {0, -1, nullptr};
  if (HOBJECT node = hero ? hero->FindPartNode(nullptr) : 0) {
    GetNodeMatrix(node, &heroTransform, 1);
    heroTransformSaved = 1;
  }
  currentPage = options.showRolePage ? kRolePage : options.showEventNotes ? kNotePage : kSystemPage;
  PlaySound(kOpenSound);

  if (options.showRolePage)
    rolePage = new CRolePage(options.battleItemMode, dynamic_cast<CMSwordMan*>(hero), loader, resource, itemPool, this);
  if (options.showEventNotes) notePage = new CEvtNoteListPage(resource, storyFlags, this);
  if (options.showSystemPage)
    systemPage =
        new CSystemPage(loader, resource, itemPool, options.allowSave, options.allowLoad, options.allowQuit, this);

  panel = new CAmObject("ifi0100b", 640, 123, 0, this, 0);
  panel->SetPosition(0, 357);
  const int shown[] = {options.showRolePage, options.showEventNotes, options.showSystemPage};
  for (int k = 0; k < 3; ++k) {
    if (!shown[k]) continue;
    tabs[static_cast<size_t>(k)] = new CAmButton(kTabImages[k], 96, 21, k, kTabPressSound, kHoverSound, panel);
    tabs[static_cast<size_t>(k)]->SetPosition(kTabX, kTabY[k]);
  }
  closeButton = new CAmButton(kTabImages[kClose], 96, 21, kClose, kCloseSound, kHoverSound, panel);
  closeButton->SetPosition(kTabX, kTabY[kClose]);
  helpTitle = HelpText(156, 18, 54, 13, panel);
  helpTitle2 = HelpText(156, 18, 229, 13, panel);
  helpBody = HelpText(440, 60, 36, 38, panel);

  if (auto* page = dynamic_cast<CAmPage*>(PageObject(currentPage))) page->Open();
  if (CAmButton* tab = tabs[static_cast<size_t>(currentPage)]) tab->SetLocked(1);
}

CVekMainWnd::~CVekMainWnd() {
  delete rolePage;
  delete notePage;
  delete systemPage;
  for (CAmButton* tab : tabs) delete tab;
  delete closeButton;
  delete helpTitle;
  delete helpTitle2;
  delete helpBody;
  delete panel;
  if (heroTransformSaved)
    if (HOBJECT node = hero->FindPartNode(nullptr)) SetNodeMatrix(node, &heroTransform, TRANSFORM_SET);
}

CAmObject* CVekMainWnd::PageObject(int page) const {
  switch (page) {
    case kRolePage: return rolePage;
    case kNotePage: return notePage;
    case kSystemPage: return systemPage;
    default: return nullptr;
  }
}

CTWItem* CVekMainWnd::CarriedItem() const {
  return currentPage == kRolePage && rolePage ? rolePage->GetCarriedItem() : nullptr;
}

void CVekMainWnd::SelectPage(int page) {
  if (page == kClose) {
    CloseWindow();
    return;
  }
  if (page < 0 || page > 2 || !PageObject(page) || page == currentPage) return;
  if (auto* old = dynamic_cast<CAmPage*>(PageObject(currentPage))) old->Close();
  if (CAmButton* tab = tabs[static_cast<size_t>(currentPage)]) tab->SetLocked(0);
  currentPage = page;
  static_cast<CAmPage*>(PageObject(page))->Open();
  if (CAmButton* tab = tabs[static_cast<size_t>(page)]) tab->SetLocked(1);
}

void CVekMainWnd::CloseWindow() {
  if (useCountdown >= kFlyOutStart) return;  // the fly-out closes the window itself
  if (CarriedItem() && result) {
    result->action = 1;
    closingWithItem = 1;
    useCountdown = kFlyOutStart;
    StepFlyOut();
    return;
  }
  if (rolePage) rolePage->RemovePreview();
  if (result) {
    result->action = 0;
    result->chosenItem = nullptr;
  }
  Finish();
}

void CVekMainWnd::Finish() {
  ShowTree(0);
  Close();
}

void CVekMainWnd::StepFlyOut() {
  if (useCountdown == kFlyOutStart) {
    CTWItem* icon = rolePage ? rolePage->TakeCarriedItem() : nullptr;
    if (!icon || !result) {
      // Nothing to hand over: the window simply resumes.
      useCountdown = 0;
      if (result) result->action = 0;
      delete icon;
      Finish();
      return;
    }
    CAmContainerAgency::ForgetObject(icon);
    icon->EndDrag();
    icon->GetPosition(&flyStartX, &flyStartY);
    icon->AttachTo(nullptr, 0);
    icon->SetPosition(flyStartX, flyStartY);
    icon->SetDepth(999);
    icon->SetCount(1);
    result->chosenItem = icon;
    rolePage->RemovePreview();
    ShowTree(0);
  } else if (useCountdown > kFlyOutStart && useCountdown < kFlyOutEnd) {
    if (CTWItem* icon = result ? result->chosenItem : nullptr) {
      const int k = useCountdown - kFlyOutStart;
      icon->SetPosition(flyStartX + k * (kFlyOutX - flyStartX) / kFlyOutSteps,
                        flyStartY + k * (kFlyOutY - flyStartY) / kFlyOutSteps);
    }
  } else if (useCountdown >= kFlyOutEnd) {
    useCountdown = 0;
    Close();
  }
}

void CVekMainWnd::OnTick(int steps) {
  if (!hovered && leaveSeen) {
    ShowHelp("", "", "");
    leaveSeen = 0;
  }
  if (useCountdown > 0) {
    ++useCountdown;
    if (useCountdown >= kFlyOutStart) StepFlyOut();
  }
  CAmWnd::OnTick(steps);
}

void CVekMainWnd::OnMouseMove(int x, int y) {
  if (options.allowItemUse && !closingWithItem && useCountdown < kFlyOutStart && CarriedItem()) {
    if (x != 0) {
      useCountdown = 0;
    } else if (useCountdown == 0) {
      if (result) result->action = 1;
      useCountdown = 1;
    }
  }
  CAmWnd::OnMouseMove(x, y);
}

int CVekMainWnd::OnKeyDown(int virtualKey, int) {
  if (virtualKey != static_cast<int>(plat::VK_ESCAPE)) return 0;
  if (CarriedItem()) return 0;
  CloseWindow();
  return 1;
}

void CVekMainWnd::ShowHelp(const char* title, const char* title2, const char* body) {
  helpTitle->SetText(title);
  helpTitle2->SetText(title2);
  helpBody->SetText(body);
}

void CVekMainWnd::ShowHelpMessages(int titleMessage, int bodyMessage) {
  ShowHelp(Message(titleMessage), "", Message(bodyMessage));
}

void CVekMainWnd::LockDuringDrag(int flag) {
  if (tabs[kNotePage]) tabs[kNotePage]->SetLocked(flag);
  if (tabs[kSystemPage]) tabs[kSystemPage]->SetLocked(flag);
  if (!options.allowItemUse) closeButton->SetLocked(flag);
}

int CVekMainWnd::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (id == AMM_BUTTONUP) {
    for (int k = 0; k < 3; ++k)
      if (sender && sender == tabs[static_cast<size_t>(k)]) {
        SelectPage(k);
        return 1;
      }
    if (sender && sender == closeButton) {
      SelectPage(kClose);
      return 1;
    }
  }
  if (id == AMM_MOUSEHOVER) {
    for (int k = 0; k < 4; ++k) {
      CAmButton* button = k < 3 ? tabs[static_cast<size_t>(k)] : closeButton;
      if (sender && sender == button) {
        hovered = sender;
        ShowHelpMessages(kTabHelp[k].title, kTabHelp[k].body);
        return 1;
      }
    }
    if (auto* icon = dynamic_cast<CTWItem*>(sender)) {
      hovered = sender;
      char count[16];
      std::snprintf(count, sizeof(count), "%d", icon->count);
      ShowHelp(icon->record ? icon->record->name.c_str() : "", count,
               icon->record ? icon->record->description.c_str() : "");
      return 1;
    }
    return 0;
  }
  if (id == AMM_MOUSELEAVE) {
    // The pointer moving straight from one control to the next may report
    // the new hover before the old leave: that leave ends nothing.
    if (hovered && sender != hovered) return 1;
    hovered = nullptr;
    leaveSeen = 1;
    return 1;
  }
  if (id == AMM_USER + kHoverHelp) {
    if (a >= 0 && a < static_cast<int>(std::size(kKindHelp))) {
      hovered = sender;
      ShowHelpMessages(kKindHelp[a].title, kKindHelp[a].body);
    }
    return 1;
  }
  if (id == AMM_DRAGOBJ_CHECK || id == AMM_DROPOBJ_CHECK) {
    LockDuringDrag(id == AMM_DRAGOBJ_CHECK ? 1 : 0);
    return 1;
  }
  if (id == AMM_USER + kQuitToTitle) {
    if (rolePage) rolePage->RemovePreview();
    if (result) *result = {2, -1, nullptr};
    Finish();
    return 1;
  }
  if (id == AMM_USER + kLoadSlot) {
    if (rolePage) rolePage->RemovePreview();
    if (result) *result = {3, a, nullptr};
    Finish();
    return 1;
  }
  return CAmWnd::OnMessage(id, a, b, sender);
}

void CVekMainWnd::OnChildWndOpen() { ShowTree(0); }

void CVekMainWnd::OnChildWndClose() { ShowTree(1); }
