#include "ui/save_list.h"

#include <algorithm>
#include <cstdio>

#include "base/text_convert.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "engine/media/packages.h"
#include "platform/keys.h"
#include "ui/am_button.h"
#include "ui/am_container.h"
#include "ui/am_edit.h"
#include "ui/am_text.h"
#include "ui/am_text_list.h"
#include "ui/confirm_dlg.h"
#include "ui/screen_manager.h"

namespace {

constexpr int kPressSound = 0;
constexpr int kHoverSound = 1;
constexpr int kNewSlotMessage = 125;
constexpr int kDefaultNameMessage = 126;
constexpr int kFramesPerSecond = 30;
constexpr int kNameChars = static_cast<int>(SAVESUMMARYDESC::kNameSize) - 1;
enum : int { kHeroText, kLevelText, kTimeText, kPlaceText };

std::string Number(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

// At most maxBytes bytes, never ending inside a two-byte character.
std::string CutText(const std::string& text, int maxBytes) {
  return text.substr(0, Big5PrefixLength(text.c_str(), static_cast<size_t>(std::max(maxBytes, 0))));
}

std::string MessageOr(int n, const char* fallback) {
  const char* text = GetMessageString(n);
  return text ? text : fallback;
}

}  // namespace

SAVESLOTPROCS& SaveSlotProcedures() {
  static SAVESLOTPROCS procs;
  return procs;
}

CSaveInputDlg::CSaveInputDlg(int maxChars, const char* initialText, CAmObject* owner)
    : CAmDlg("ifi5600", 240, 82, owner, kOkCancel), maxChars(maxChars) {
  SetPosition(200, 100);
  CreateFirstButton("ifbtn01", 38, 19, 68, 47, kPressSound, kHoverSound);
  CreateSecondButton("ifbtn00", 38, 19, 132, 47, kPressSound, kHoverSound);
  edit = new CAmEdit(190, 18, this);
  edit->SetFont(nullptr, 15, 15, 0, 0, 10);
  edit->smooth = 1;
  edit->SetColumns(10);
  edit->SetPosition(28, 24);
  const std::string initial = initialText ? initialText : "";
  edit->SetTextRaw(CutText(initial, maxChars).c_str(), 0);
  edit->BeginEdit();
  firstButton->SetLocked(edit->text.empty() ? 1 : 0);
}

CSaveInputDlg::~CSaveInputDlg() { delete edit; }

std::string CSaveInputDlg::GetText() const {
  // A lead byte still waiting for its trail byte is no character yet.
  const size_t typed = edit->text.size() - (edit->pending && !edit->text.empty() ? 1 : 0);
  return CutText(edit->text.substr(0, typed), maxChars);
}

int CSaveInputDlg::OnMessage(int id, int a, int b, CAmObject* sender) {
  if (id == kAmmEditChar && sender == edit) {
    firstButton->SetLocked(edit->text.empty() ? 1 : 0);
    return 1;
  }
  return CAmDlg::OnMessage(id, a, b, sender);
}

CRecordWnd::CRecordWnd(int saveMode, CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool,
                       CAmObject* owner)
    : CAmWnd("ifi0500", 640, 480, 0, owner),
      loader(loader),
      resource(resource),
      itemPool(itemPool),
      saveMode(saveMode),
      procs(SaveSlotProcedures()) {
  auto button = [this](const char* image, int w, int id, int x, int y) {
    auto* b = new CAmButton(image, w, 21, id, kPressSound, kHoverSound, this);
    b->SetPosition(x, y);
    return b;
  };
  saveButton = button("if05b300", 86, kSaveButton, 34, 320);
  loadButton = button("if05b200", 86, kLoadButton, 129, 320);
  deleteButton = button("if05b100", 86, kDeleteButton, 224, 320);
  closeButton = button("ifib1000", 96, kCloseButton, 510, 434);

  agency = new CAmContainerAgency(0, this);
  slotList = new CAmTextListView(nullptr, 254, 260, 0, this);
  slotList->SetPosition(27, 54);
  slotList->SetView(0, 0, 254, 260);
  const int widths[] = {36, 190};
  slotList->SetColumnWidths(2, widths);
  slotList->CreateScrollBar(0, 269, -2, 187);

  struct Place {
    int width, x, y;
  };
  for (const Place& p : {Place{100, 362, 248}, Place{100, 423, 272}, Place{160, 423, 296}, Place{250, 423, 320}}) {
    auto* text = new CAmText(p.width, 18, 0, this, nullptr);
    text->SetPosition(p.x, p.y);
    details.push_back(text);
  }
  notice = new CAmText(580, 18, 0, this, nullptr);
  notice->SetPosition(34, 350);
  ListSlots();
  SelectRow(slotList->rowCount - 1);
  slotList->ScrollToEnd();
}

CRecordWnd::~CRecordWnd() {
  for (CAmText* text : details) delete text;
  delete notice;
  delete thumbnail;
  delete slotList;
  delete agency;
  delete saveButton;
  delete deleteButton;
  delete loadButton;
  delete closeButton;
}

bool CRecordWnd::IsNewSlotRow(int row) const { return newRowShown && row == static_cast<int>(summaries.size()); }

int CRecordWnd::NewSlot() const { return slots.empty() ? 0 : slots.back() + 1; }

int CRecordWnd::SlotOfRow(int row) const {
  if (row >= 0 && row < static_cast<int>(slots.size())) return slots[static_cast<size_t>(row)];
  return IsNewSlotRow(row) ? NewSlot() : -1;
}

void CRecordWnd::AppendNewSlotRow() {
  const int count = static_cast<int>(summaries.size());
  if (!saveMode || newRowShown || count >= kMaxRows || NewSlot() >= kMaxSaveSlots) return;
  const std::string number = Number(NewSlot());
  slotList->AddRowColumn(0, number.c_str(), 0, 1, 0);
  slotList->AddRowColumn(1, MessageOr(kNewSlotMessage, "").c_str(), 0, 1, 0);
  newRowShown = 1;
}

void CRecordWnd::ListSlots() {
  while (slotList->rowCount > 0) slotList->RemoveRow(slotList->rowCount - 1);
  summaries.clear();
  slots.clear();
  newRowShown = 0;
  if (procs.enumerate) procs.enumerate(summaries, slots);
  slots.resize(summaries.size(), -1);
  for (size_t i = 0; i < summaries.size(); ++i) {
    const std::string number = Number(slots[i]);
    slotList->AddRowColumn(0, number.c_str(), 0, 1, 0);
    slotList->AddRowColumn(1, summaries[i].Name().c_str(), 0, 1, 0);
  }
  AppendNewSlotRow();
}

void CRecordWnd::SelectRow(int row) {
  if (row < 0 || row >= slotList->rowCount) row = -1;
  for (int i = 0; i < slotList->rowCount; ++i)
    if (CAmMultiColText* r = slotList->GetRow(i)) {
      if (i == row && !r->selected) r->Select();
      else if (i != row && r->selected) r->Deselect();
    }
  selected = row;
  notice->SetText("");
  UpdateButtons();
  ShowDetails();
}

void CRecordWnd::Relist(int slot, int row) {
  ListSlots();
  for (size_t i = 0; i < slots.size(); ++i)
    if (slots[i] == slot) row = static_cast<int>(i);
  SelectRow(row < slotList->rowCount ? row : slotList->rowCount - 1);
}

void CRecordWnd::UpdateButtons() {
  const bool used = selected >= 0 && selected < static_cast<int>(summaries.size());
  const bool fresh = selected >= 0 && IsNewSlotRow(selected);
  saveButton->SetLocked(saveMode && (used || fresh) ? 0 : 1);
  deleteButton->SetLocked(used ? 0 : 1);
  loadButton->SetLocked(used ? 0 : 1);
}

void CRecordWnd::ShowThumbnail(int slot) {
  delete thumbnail;
  thumbnail = nullptr;
  if (slot < 0) return;
  // The thumbnail is a loose file: the interface package would be searched first.
  const std::string package = GetImagePackageName();
  OpenImagePackage(nullptr);
  const std::string path = procs.thumbnailPath ? procs.thumbnailPath(slot) : std::string();
  thumbnail = new CAmObject(path.empty() ? nullptr : path.c_str(), 220, 160, 0, this, 0);
  thumbnail->SetPosition(363, 61);
  if (!package.empty()) OpenImagePackage(package.c_str());
}

void CRecordWnd::ShowDetails() {
  const bool used = selected >= 0 && selected < static_cast<int>(summaries.size());
  if (!used) {
    for (CAmText* text : details) text->SetText("");
    ShowThumbnail(-1);
    return;
  }
  const SAVESUMMARYDESC& s = summaries[static_cast<size_t>(selected)];
  ShowThumbnail(SlotOfRow(selected));
  const CGDMainManSoul* hero = g_gameDataBase.FindHero(s.leader);
  details[kHeroText]->SetText(hero ? hero->name.c_str() : "");
  details[kLevelText]->SetNumber(s.level, "%d");
  const int frames = s.value2;
  const int hours = frames / 108000;
  const int minutes = frames % 108000 / 1800;
  const int seconds = frames / kFramesPerSecond - 3600 * hours - 60 * minutes;
  char time[32];
  std::snprintf(time, sizeof time, "%2d:%02d:%02d", hours, minutes, seconds);
  details[kTimeText]->SetText(time);
  // The scene number counts map records from 1; an unknown one names no place.
  std::string place;
  if (resource && s.mapIndex >= 1 && static_cast<size_t>(s.mapIndex) <= resource->Maps().size())
    place = resource->Maps()[static_cast<size_t>(s.mapIndex - 1)].Caption();
  details[kPlaceText]->SetText(place.c_str());
}

void CRecordWnd::SaveSelected() {
  if (!nameDialog || selected < 0) return;
  const std::string name = nameDialog->GetText();
  nameDialog = nullptr;
  const int slot = SlotOfRow(selected);
  if (name.empty() || slot < 0) return;
  const int written = procs.save ? procs.save(slot, name.c_str(), summaries) : 0;
  // What is on disk now decides the rows, whatever the save answered.
  Relist(slot, selected);
  if (!written) notice->SetText(kNotSavedNotice);
}

void CRecordWnd::DeleteSelected() {
  const int row = selected;
  if (row < 0 || row >= static_cast<int>(summaries.size())) return;
  // The game core renumbers the slots after it: the rows come from disk
  // again, and the row that moved into place (or the one before, when the
  // last went) is selected.
  if (procs.remove) procs.remove(SlotOfRow(row));
  Relist(-1, row);
}

void CRecordWnd::LoadSelected() {
  const int slot = selected < static_cast<int>(summaries.size()) ? SlotOfRow(selected) : -1;
  if (slot < 0) return;
  // A slot cut after its summary lists well but would not load.
  if (procs.loadable && !procs.loadable(slot)) {
    notice->SetText(kNotLoadedNotice);
    return;
  }
  PostMessage(AMM_USER + kLoadSlot, slot, 0, this);
  Close();
}

void CRecordWnd::Confirmed() {
  switch (mode) {
    case kModeSave: SaveSelected(); break;
    case kModeDelete: DeleteSelected(); break;
    case kModeLoad: LoadSelected(); break;
    default: break;
  }
}

int CRecordWnd::OnMessage(int id, int, int, CAmObject* sender) {
  if (id == AMM_OBJ_SELECT) {
    if (auto* row = dynamic_cast<CAmMultiColText*>(sender)) {
      PlaySound(kPressSound);
      SelectRow(row->rowIndex);
    }
    return 1;
  }
  if (id == AMM_BUTTONUP) {
    if (sender == saveButton && selected >= 0) {
      mode = kModeSave;
      std::string initial;
      if (IsNewSlotRow(selected)) {
        char text[64];
        std::snprintf(text, sizeof text, "%s %02d", MessageOr(kDefaultNameMessage, "").c_str(), SlotOfRow(selected));
        initial = text;
      } else {
        initial = summaries[static_cast<size_t>(selected)].Name();
      }
      nameDialog = new CSaveInputDlg(kNameChars, initial.c_str(), this);
    } else if (sender == deleteButton) {
      mode = kModeDelete;
      new CTwConfirmDlg(CTwConfirmDlg::kDelete, this);
    } else if (sender == loadButton) {
      mode = kModeLoad;
      new CTwConfirmDlg(CTwConfirmDlg::kLoad, this);
    } else if (sender == closeButton) {
      Close();
    }
    return 1;
  }
  if (id == AMM_MOUSEHOVER) {
    if (sender != saveButton && sender != deleteButton && sender != loadButton && sender != closeButton)
      PlaySound(kHoverSound);
    return 1;
  }
  if (id == AMM_ONBUTTON_OK) {
    Confirmed();
    return 1;
  }
  if (id == AMM_ONBUTTON_CANCEL) {
    nameDialog = nullptr;
    SelectRow(-1);
    return 1;
  }
  return 0;
}

int CRecordWnd::OnKeyDown(int virtualKey, int down) {
  if (virtualKey != static_cast<int>(plat::VK_ESCAPE) || !down) return 0;
  Close();
  return 1;
}
