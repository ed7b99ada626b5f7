#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "database/game_resource.h"
#include "game/save_slots.h"
#include "game/save_thumbnail.h"
#include "tests/database/database_test_support.h"
#include "tests/ui/ui_fixture.h"
#include "tools/datagen/game_resource_writer.h"
#include "ui/am_button.h"
#include "ui/am_edit.h"
#include "ui/am_text_list.h"
#include "ui/menu_windows.h"
#include "ui/save_list.h"
#include "ui/screen_manager.h"

namespace {

// The slot files by slot number, kept in memory.
struct FakeSlots {
  static std::map<int, SAVESUMMARYDESC> disk;
  static std::vector<std::pair<int, std::string>> saved;
  static std::vector<int> deleted;
  static std::set<int> unloadable;
  static int saveAnswer;
  static int thumbnailSlot;

  static void Enumerate(std::vector<SAVESUMMARYDESC>& list, std::vector<int>& slots) {
    for (const auto& [slot, summary] : disk) {
      list.push_back(summary);
      slots.push_back(slot);
    }
  }
  static int Save(int slot, const char* name, std::vector<SAVESUMMARYDESC>&) {
    saved.emplace_back(slot, name);
    if (!saveAnswer) return 0;
    disk[slot] = Summary(name);
    return 1;
  }
  // As the game core does: the slots after it move down until the first gap.
  static int Remove(int slot) {
    deleted.push_back(slot);
    if (!disk.erase(slot)) return -1;
    for (int next = slot + 1; disk.count(next); ++next) {
      disk[next - 1] = disk[next];
      disk.erase(next);
    }
    return 0;
  }
  static std::string Thumbnail(int slot) {
    thumbnailSlot = slot;
    return "";
  }
  static int Loadable(int slot) { return disk.count(slot) && !unloadable.count(slot) ? 1 : 0; }

  static SAVESUMMARYDESC Summary(const std::string& name, int leader = 1, int map = 1, int frames = 0) {
    SAVESUMMARYDESC s;
    s.leader = static_cast<int16_t>(leader);
    s.mapIndex = static_cast<int16_t>(map);
    s.level = 4;
    s.value2 = frames;
    name.copy(s.name, SAVESUMMARYDESC::kNameSize);
    return s;
  }
  static void Fill(int n) {
    disk.clear();
    for (int i = 0; i < n; ++i) disk[i] = Summary("game " + std::to_string(i));
  }
};
std::map<int, SAVESUMMARYDESC> FakeSlots::disk;
std::vector<std::pair<int, std::string>> FakeSlots::saved;
std::vector<int> FakeSlots::deleted;
std::set<int> FakeSlots::unloadable;
int FakeSlots::saveAnswer = 1;
int FakeSlots::thumbnailSlot = -1;

// Points inside the list's buttons and its dialogs (all within a window at 0, 0).
constexpr int kSave[] = {34 + 5, 320 + 5};
constexpr int kDelete[] = {224 + 5, 320 + 5};
constexpr int kLoad[] = {129 + 5, 320 + 5};
constexpr int kNameOk[] = {200 + 68 + 5, 100 + 47 + 5};
constexpr int kNameCancel[] = {200 + 132 + 5, 100 + 47 + 5};
constexpr int kBoxOk[] = {226 + 41 + 5, 201 + 44 + 5};

class SaveListTest : public uitest::UiTest {
 protected:
  SaveListTest() {
    dbtest::ClearDatabase();
    CGDMainManSoul hero;
    hero.id = 1;
    hero.name = "Aldo";
    g_gameDataBase.heroes.push_back(hero);

    datagen::GameResourceData data;
    data.messages.assign(126, "");
    data.messages[124] = "New slot";
    data.messages[125] = "Slot";
    datagen::MapData village;
    village.caption = "Village";
    village.scene = "a001.SB";
    data.maps = {village};
    std::string error;
    EXPECT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
    resource.Open(nullptr);
    CreateScreenManager(nullptr, &resource, nullptr, nullptr, nullptr);

    for (const char* name : {"ifi0500", "ifi5600", "ifi5200", "ifi5500"}) WriteGrid(name, 640, 480, 1, 1);
    for (const char* name : {"if05b300", "if05b200", "if05b100"}) WriteGrid(name, 86, 21, 1, 3);
    WriteGrid("ifib1000", 96, 21, 1, 3);
    WriteGrid("ifbtn00", 38, 19, 1, 3);
    WriteGrid("ifbtn01", 38, 19, 1, 3);

    SAVESLOTPROCS& procs = SaveSlotProcedures();
    kept = procs;
    procs = {FakeSlots::Enumerate, FakeSlots::Save, FakeSlots::Remove, FakeSlots::Thumbnail, FakeSlots::Loadable};
    FakeSlots::saved.clear();
    FakeSlots::deleted.clear();
    FakeSlots::unloadable.clear();
    FakeSlots::saveAnswer = 1;
    owner = new uitest::RecordingWnd(640, 480);
  }
  ~SaveListTest() override {
    SaveSlotProcedures() = kept;
    DestroyScreenManager();
    dbtest::ClearDatabase();
  }

  CRecordWnd* Open(int saveMode) {
    Update();
    OpenSaveList(saveMode, nullptr, &resource, owner);
    Update();
    return dynamic_cast<CRecordWnd*>(GetTopWnd());
  }
  void ClickAt(const int* point) {
    Click(point[0], point[1]);
    Update();
  }
  void Select(CRecordWnd* list, int row) {
    CAmMultiColText* r = list->slotList->GetRow(row);
    ASSERT_NE(r, nullptr);
    r->PostMessage(AMM_OBJ_SELECT, 0, 0, r);
    Update();
  }
  // Deletes the row through its button and the confirmation box.
  void DeleteRow(CRecordWnd* list, int row) {
    Select(list, row);
    ClickAt(kDelete);
    ClickAt(kBoxOk);
  }
  static std::string Cell(CRecordWnd* list, int row, int column) {
    const char* text = list->slotList->GetRowColumnText(row, column);
    return text ? text : "<none>";
  }

  CGameResource resource;
  SAVESLOTPROCS kept;
  uitest::RecordingWnd* owner = nullptr;
};

TEST_F(SaveListTest, TheRowsAndLocksFollowTheModeAndTheSlotCount) {
  struct Case {
    int saveMode;
    int slots;
    int rows;
    int newRow;
  };
  for (const Case& c : {Case{0, 3, 3, 0}, Case{1, 3, 4, 1}, Case{1, 99, 100, 1}, Case{1, 100, 100, 0}}) {
    SCOPED_TRACE(testing::Message() << "save " << c.saveMode << ", slots " << c.slots);
    FakeSlots::Fill(c.slots);
    CRecordWnd* list = Open(c.saveMode);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->slotList->rowCount, c.rows);
    EXPECT_EQ(list->newRowShown, c.newRow);
    EXPECT_EQ(list->selected, c.rows - 1);  // the last row starts selected
    EXPECT_EQ(Cell(list, c.rows - 1, 0), (c.rows - 1 < 10 ? "0" : "") + std::to_string(c.rows - 1));
    if (c.newRow) {
      EXPECT_EQ(Cell(list, c.rows - 1, 1), "New slot");
    }
    // A used row: save only in save mode; delete and load always.
    Select(list, 0);
    EXPECT_EQ(list->saveButton->locked, c.saveMode ? 0 : 1);
    EXPECT_EQ(list->deleteButton->locked, 0);
    EXPECT_EQ(list->loadButton->locked, 0);
    if (c.newRow) {
      Select(list, c.rows - 1);
      EXPECT_EQ(list->saveButton->locked, 0);
      EXPECT_EQ(list->deleteButton->locked, 1);
      EXPECT_EQ(list->loadButton->locked, 1);
    }
    list->Close();
    Update();
  }
}

TEST_F(SaveListTest, ATypedNameIsSavedAndANewSlotRowFollows) {
  FakeSlots::Fill(3);
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->selected, 3);
  ClickAt(kSave);
  ASSERT_NE(list->nameDialog, nullptr);
  CSaveInputDlg* dialog = list->nameDialog;
  EXPECT_EQ(dialog->edit->text, "Slot 03");
  EXPECT_EQ(dialog->edit->editing, 1);

  // An empty name cannot be confirmed.
  for (int i = 0; i < 7; ++i) Char(8);
  Update();
  EXPECT_EQ(dialog->edit->text, "");
  EXPECT_EQ(dialog->firstButton->locked, 1);
  ClickAt(kNameOk);
  EXPECT_EQ(list->nameDialog, dialog);
  EXPECT_TRUE(FakeSlots::saved.empty());

  Click(240, 130);  // the press outside ended the typing; back into the field
  for (char c : std::string("Mine")) Char(c);
  Update();
  EXPECT_EQ(dialog->firstButton->locked, 0);
  ClickAt(kNameOk);
  ASSERT_EQ(FakeSlots::saved.size(), 1u);
  EXPECT_EQ(FakeSlots::saved[0], std::make_pair(3, std::string("Mine")));
  EXPECT_EQ(list->nameDialog, nullptr);
  EXPECT_EQ(Cell(list, 3, 1), "Mine");
  EXPECT_EQ(list->summaries.size(), 4u);
  EXPECT_EQ(list->slotList->rowCount, 5);
  EXPECT_EQ(Cell(list, 4, 0), "04");
  EXPECT_EQ(Cell(list, 4, 1), "New slot");
  EXPECT_EQ(list->selected, 3);
  EXPECT_EQ(list->deleteButton->locked, 0);

  // A used row offers its own name.
  ClickAt(kSave);
  ASSERT_NE(list->nameDialog, nullptr);
  EXPECT_EQ(list->nameDialog->edit->text, "Mine");
  ClickAt(kNameCancel);
  EXPECT_EQ(list->selected, -1);
  EXPECT_EQ(list->saveButton->locked, 1);
  EXPECT_EQ(list->deleteButton->locked, 1);
  EXPECT_EQ(list->loadButton->locked, 1);
}

TEST_F(SaveListTest, TheNameKeepsWholeCharactersWithinTwentyBytes) {
  struct Case {
    std::string stored;
    std::string offered;
  };
  const std::string big5 = "\xA4\xA4";  // one two-byte character
  const Case cases[] = {{std::string(25, 'a'), std::string(20, 'a')},
                        {std::string(19, 'a') + big5, std::string(19, 'a')},
                        {std::string(18, 'a') + big5, std::string(18, 'a') + big5}};
  for (const Case& c : cases) {
    CSaveInputDlg dialog(20, c.stored.c_str(), nullptr);
    EXPECT_EQ(dialog.edit->text, c.offered);
    EXPECT_EQ(dialog.GetText(), c.offered);
  }
  CSaveInputDlg dialog(20, "ab", nullptr);
  dialog.edit->OnChar(0xA4);  // a lead byte alone
  EXPECT_EQ(dialog.GetText(), "ab");
}

TEST_F(SaveListTest, AFailedSaveListsWhatIsOnDiskAndSaysSo) {
  FakeSlots::Fill(2);
  FakeSlots::saveAnswer = 0;
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->notice->text, "");
  ClickAt(kSave);
  ClickAt(kNameOk);
  ASSERT_EQ(FakeSlots::saved.size(), 1u);
  EXPECT_EQ(list->summaries.size(), 2u);
  EXPECT_EQ(list->slotList->rowCount, 3);
  EXPECT_EQ(Cell(list, 2, 1), "New slot");
  EXPECT_EQ(list->notice->text, CRecordWnd::kNotSavedNotice);
  EXPECT_EQ(list->selected, 2) << "the row stays chosen, to try again";
  // A save that works, and a new choice, clear the notice.
  FakeSlots::saveAnswer = 1;
  ClickAt(kSave);
  ClickAt(kNameOk);
  EXPECT_EQ(list->notice->text, "");
  EXPECT_EQ(Cell(list, 2, 0), "02");
  EXPECT_EQ(Cell(list, 3, 1), "New slot");
}

// Before the game core installs its slot provider the list is empty: a
// save goes nowhere and says so, and there is nothing to delete or load.
TEST_F(SaveListTest, WithNoSlotProviderNothingListsAndNothingSaves) {
  FakeSlots::Fill(2);
  SaveSlotProcedures() = {};
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(list->summaries.empty());
  ASSERT_EQ(list->slotList->rowCount, 1);
  EXPECT_EQ(Cell(list, 0, 1), "New slot");
  EXPECT_EQ(list->deleteButton->locked, 1);
  EXPECT_EQ(list->loadButton->locked, 1);
  ClickAt(kSave);
  ClickAt(kNameOk);
  EXPECT_TRUE(FakeSlots::saved.empty());
  EXPECT_EQ(list->notice->text, CRecordWnd::kNotSavedNotice);
  EXPECT_EQ(list->slotList->rowCount, 1);
  EXPECT_EQ(GetTopWnd(), list);
}

// A slot that lists (its summary reads) but would not load is refused in
// the list, which stays open to choose another.
TEST_F(SaveListTest, ASlotThatWouldNotLoadIsRefusedAndTheListStays) {
  FakeSlots::Fill(2);
  FakeSlots::unloadable = {1};
  CRecordWnd* list = Open(0);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->selected, 1);
  ClickAt(kLoad);
  ClickAt(kBoxOk);
  EXPECT_EQ(GetTopWnd(), list);
  for (const uitest::Received& r : owner->received) EXPECT_NE(r.id, AMM_USER + CRecordWnd::kLoadSlot);
  EXPECT_EQ(list->notice->text, CRecordWnd::kNotLoadedNotice);
  Select(list, 0);
  EXPECT_EQ(list->notice->text, "");
  ClickAt(kLoad);
  ClickAt(kBoxOk);
  EXPECT_EQ(GetTopWnd(), owner);
  ASSERT_FALSE(owner->received.empty());
  EXPECT_EQ(owner->received.back().a, 0);
}

// With slots 0, 1 and 3 on disk, each row acts on its own slot.
TEST_F(SaveListTest, EachRowKeepsItsSlotNumberAcrossAGap) {
  FakeSlots::disk = {{0, FakeSlots::Summary("zero")}, {1, FakeSlots::Summary("one")}, {3, FakeSlots::Summary("three")}};
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->slotList->rowCount, 4);
  EXPECT_EQ(Cell(list, 2, 0), "03");
  EXPECT_EQ(Cell(list, 2, 1), "three");
  EXPECT_EQ(Cell(list, 3, 0), "04") << "a new slot follows the last";
  Select(list, 2);
  EXPECT_EQ(FakeSlots::thumbnailSlot, 3);
  ClickAt(kSave);
  ASSERT_NE(list->nameDialog, nullptr);
  ClickAt(kNameOk);
  ASSERT_EQ(FakeSlots::saved.size(), 1u);
  EXPECT_EQ(FakeSlots::saved[0], std::make_pair(3, std::string("three")));
  EXPECT_EQ(list->selected, 2);

  Select(list, 3);
  ClickAt(kSave);
  EXPECT_EQ(list->nameDialog->edit->text, "Slot 04");
  ClickAt(kNameOk);
  EXPECT_EQ(FakeSlots::saved.back().first, 4);
  EXPECT_EQ(list->selected, 3);
  EXPECT_EQ(Cell(list, 4, 0), "05");

  DeleteRow(list, 2);
  EXPECT_EQ(FakeSlots::deleted, std::vector<int>({3}));
  EXPECT_EQ(Cell(list, 2, 0), "03") << "slot 4 moved down into 3";
  EXPECT_EQ(Cell(list, 2, 1), "Slot 04");
  list->Close();
  Update();

  list = Open(0);
  Select(list, 2);
  ClickAt(kLoad);
  ClickAt(kBoxOk);
  ASSERT_FALSE(owner->received.empty());
  EXPECT_EQ(owner->received.back().a, 3);
}

TEST_F(SaveListTest, DeletingRenumbersAndSelectsTheRowInPlace) {
  FakeSlots::Fill(5);
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  DeleteRow(list, 3);
  EXPECT_EQ(FakeSlots::deleted, std::vector<int>({3}));
  ASSERT_EQ(list->slotList->rowCount, 5);
  EXPECT_EQ(Cell(list, 3, 0), "03");
  EXPECT_EQ(Cell(list, 3, 1), "game 4");
  EXPECT_EQ(Cell(list, 4, 0), "04");
  EXPECT_EQ(Cell(list, 4, 1), "New slot");
  EXPECT_EQ(list->selected, 3);
  list->Close();
  Update();

  // The last row gone: the one before it.
  FakeSlots::Fill(5);
  list = Open(0);
  ASSERT_NE(list, nullptr);
  DeleteRow(list, 4);
  ASSERT_EQ(list->slotList->rowCount, 4);
  EXPECT_EQ(list->selected, 3);
  EXPECT_EQ(Cell(list, 3, 1), "game 3");
  EXPECT_EQ(list->loadButton->locked, 0);
}

TEST_F(SaveListTest, DeletingFromAFullListBringsBackTheNewSlotRow) {
  FakeSlots::Fill(100);
  CRecordWnd* list = Open(1);
  ASSERT_NE(list, nullptr);
  DeleteRow(list, 0);
  EXPECT_EQ(list->slotList->rowCount, 100);
  EXPECT_EQ(list->newRowShown, 1);
  EXPECT_EQ(Cell(list, 0, 0), "00");
  EXPECT_EQ(Cell(list, 0, 1), "game 1");
  EXPECT_EQ(Cell(list, 99, 1), "New slot");
}

TEST_F(SaveListTest, TheDetailsShowHeroLevelPlayTimeAndPlace) {
  struct Case {
    int frames;
    int map;
    const char* time;
    const char* place;
  };
  for (const Case& c : {Case{111690, 1, " 1:02:03", "Village"}, Case{0, 0, " 0:00:00", ""},
                        Case{1800 * 59 + 30 * 59, 2, " 0:59:59", ""}, Case{108000 * 12, 7, "12:00:00", ""}}) {
    SCOPED_TRACE(c.frames);
    FakeSlots::disk = {{0, FakeSlots::Summary("a", 1, c.map, c.frames)}};
    CRecordWnd* list = Open(0);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->details[0]->text, "Aldo");
    EXPECT_EQ(list->details[1]->text, "4");
    EXPECT_EQ(list->details[2]->text, c.time);
    EXPECT_EQ(list->details[3]->text, c.place);
    list->Close();
    Update();
  }
}

TEST_F(SaveListTest, TheSelectedSlotsThumbnailIsReadFromItsFile) {
  SaveSlotProcedures().thumbnailPath = GetSaveThumbnailPath;
  std::filesystem::create_directories("save");
  CSaveThumbnail shot(220, 160);
  for (int i = 0; i < 220 * 160; ++i) shot.pixels.insert(shot.pixels.end(), {200, 100, 50});  // blue, green, red
  ASSERT_EQ(shot.WriteBmp(SaveSlotPath(1, ".bmp").c_str()), 0);
  FakeSlots::Fill(2);
  CRecordWnd* list = Open(0);
  ASSERT_NE(list, nullptr);
  ASSERT_NE(list->thumbnail, nullptr);
  EXPECT_EQ(SpritePixel(list->thumbnail->sprite, 10, 10), MapRGB(50, 100, 200));
  Select(list, 0);  // no file: nothing drawn, nothing breaks
  ASSERT_NE(list->thumbnail, nullptr);
  EXPECT_NE(SpritePixel(list->thumbnail->sprite, 10, 10), MapRGB(50, 100, 200));
}

TEST_F(SaveListTest, AConfirmedLoadGoesToTheOwnerAndCloses) {
  FakeSlots::Fill(4);
  CRecordWnd* list = Open(0);
  ASSERT_NE(list, nullptr);
  Select(list, 2);
  ClickAt(kLoad);
  ClickAt(kBoxOk);
  EXPECT_EQ(GetTopWnd(), owner);
  ASSERT_FALSE(owner->received.empty());
  EXPECT_EQ(owner->received.back().id, AMM_USER + CRecordWnd::kLoadSlot);
  EXPECT_EQ(owner->received.back().a, 2);
}

TEST_F(SaveListTest, EscapeCloses) {
  FakeSlots::Fill(1);
  ASSERT_NE(Open(0), nullptr);
  KeyDown(static_cast<int>(plat::VK_ESCAPE));
  Update();
  EXPECT_EQ(GetTopWnd(), owner);
}

}  // namespace
