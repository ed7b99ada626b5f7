#pragma once
#include <string>
#include <vector>

#include "database/save_summary.h"
#include "ui/am_dlg.h"

class CAmButton;
class CAmContainerAgency;
class CAmEdit;
class CAmText;
class CAmTextListView;
class CGameDataLoader;
class CGameResource;
class CGDItemPool;

// The game core's slot files as the save list reaches them: the game core
// installs its own at start-up, tests theirs. With none installed a list
// shows no slots and saves nothing.
struct SAVESLOTPROCS {
  void (*enumerate)(std::vector<SAVESUMMARYDESC>& list, std::vector<int>& slots) = nullptr;
  int (*save)(int slot, const char* name, std::vector<SAVESUMMARYDESC>& list) = nullptr;
  int (*remove)(int slot) = nullptr;
  std::string (*thumbnailPath)(int slot) = nullptr;
  int (*loadable)(int slot) = nullptr;
};
// The procedures a save list binds when it is built.
SAVESLOTPROCS& SaveSlotProcedures();

// The one-line name entry of a save; OK locks while the text is empty.
class CSaveInputDlg : public CAmDlg {
 public:
  // The initial text is cut to maxChars bytes (whole characters); typing starts at once.
  CSaveInputDlg(int maxChars, const char* initialText, CAmObject* owner);
  ~CSaveInputDlg() override;

  // At most maxChars bytes of the whole characters typed.
  std::string GetText() const;
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CAmEdit* edit = nullptr;
  int maxChars = 0;
};

// The list of saved games with the selected one's details and thumbnail:
// saves under a typed name, deletes or loads a slot. Each row keeps the
// number of its slot, which a slot that does not list leaves out. A
// confirmed load of a slot that would load goes to the owner as AMM_USER +
// kLoadSlot with the slot, and the list closes; a save that failed and a
// slot that would not load are told on the notice line, and the list stays.
class CRecordWnd : public CAmWnd {
 public:
  static constexpr int kLoadSlot = 3;
  static constexpr int kMaxRows = 100;
  static constexpr const char* kNotSavedNotice = "Not saved: the save folder cannot be written.";
  static constexpr const char* kNotLoadedNotice = "This saved game is damaged and cannot be loaded.";
  // What a confirmation answers.
  enum : int { kModeSave = 0, kModeDelete = 1, kModeLoad = 2 };
  enum : int { kSaveButton = 1, kLoadButton, kDeleteButton, kCloseButton };

  // Without saveMode there is no new-slot row and save stays locked.
  CRecordWnd(int saveMode, CGameDataLoader* loader, CGameResource* resource, CGDItemPool* itemPool, CAmObject* owner);
  ~CRecordWnd() override;

  // Makes the row the selection (-1: none) and shows its details.
  void SelectRow(int row);
  int OnMessage(int id, int a, int b, CAmObject* sender) override;
  int OnKeyDown(int virtualKey, int down) override;

  // Rows past the summaries: the new-slot row, in save mode only.
  bool IsNewSlotRow(int row) const;
  // The slot a row stands for (the new-slot row: the one after the last
  // listed); -1 for no row.
  int SlotOfRow(int row) const;

  std::vector<CAmText*> details;  // hero name, level, play time, place
  CAmButton* saveButton = nullptr;
  CAmButton* deleteButton = nullptr;
  CAmButton* loadButton = nullptr;
  CAmButton* closeButton = nullptr;
  CAmTextListView* slotList = nullptr;
  int mode = kModeSave;
  int selected = -1;
  CSaveInputDlg* nameDialog = nullptr;  // while open
  CGameDataLoader* loader = nullptr;
  CGameResource* resource = nullptr;
  CGDItemPool* itemPool = nullptr;
  int saveMode = 0;
  CAmObject* thumbnail = nullptr;
  std::vector<SAVESUMMARYDESC> summaries;
  std::vector<int> slots;  // the slot of each summary
  int newRowShown = 0;
  CAmText* notice = nullptr;  // under the buttons: what went wrong
  CAmContainerAgency* agency = nullptr;
  SAVESLOTPROCS procs;

 private:
  void ListSlots();
  void AppendNewSlotRow();
  void UpdateButtons();
  void ShowDetails();
  void ShowThumbnail(int slot);
  void Confirmed();
  void SaveSelected();
  void DeleteSelected();
  void LoadSelected();
  // Lists the slots again and selects the row of the slot (else the row at
  // the given index, else the last).
  void Relist(int slot, int row);
  int NewSlot() const;
};
