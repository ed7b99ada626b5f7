#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/media/sprites.h"
#include "tests/ui/menu_fixture.h"
#include "ui/am_container.h"
#include "ui/am_edit.h"
#include "ui/am_text_list.h"
#include "ui/event_notes.h"
#include "ui/main_wnd.h"
#include "ui/menu_windows.h"

namespace {

using uitest::NoteSpec;

class EventNotesTest : public uitest::MenuTest {
 protected:
  // The main window opened on its notes page, built.
  CVekMainWnd* OpenNotes() {
    OpenMainWindow(1);
    UpdateScreens(1);
    auto* window = dynamic_cast<CVekMainWnd*>(GetTopWnd());
    EXPECT_NE(window, nullptr);
    if (window) EXPECT_TRUE(window->notePage->built);
    return window;
  }
};

TEST_F(EventNotesTest, NotesSplitAtTheFirstMark) {
  struct Case {
    const char* text;
    const char* title;
    const char* body;
  };
  const Case cases[] = {
      {"Title$$ \t body $$ more", "Title", "body $$ more"},
      {"Only a title", "Only a title", ""},
      {"$$body", "", "body"},
      {"Ends$$   ", "Ends", ""},
  };
  for (const Case& c : cases) {
    std::string title, body;
    SplitEventNote(c.text, &title, &body);
    EXPECT_EQ(title, c.title) << c.text;
    EXPECT_EQ(body, c.body) << c.text;
  }
}

TEST_F(EventNotesTest, OnlyShownNotesAreListedAndTheDoneOnesGreyed) {
  WriteResource({{"First$$ one", 101, 102}, {"Hidden$$ two", 103, 104}, {"Third$$ three", 105, 106}});
  runner.SetFlag(101, 1);
  runner.SetFlag(105, 1);
  runner.SetFlag(106, 1);
  std::vector<EVENTNOTEDESC> notes = ReadEventNotes(resource, &runner);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].title, "First");
  EXPECT_EQ(notes[0].body, "one");
  EXPECT_EQ(notes[0].done, 0);
  EXPECT_EQ(notes[1].title, "Third");
  EXPECT_EQ(notes[1].done, 1);
  EXPECT_TRUE(ReadEventNotes(resource, nullptr).empty()) << "no runner, no flag set";

  CVekMainWnd* window = OpenNotes();
  ASSERT_NE(window, nullptr);
  CEvtNoteListPage* page = window->notePage;
  ASSERT_EQ(page->list->rowCount, 2);
  // The hidden note takes no number.
  EXPECT_STREQ(page->list->GetRowColumnText(0, 0), "00");
  EXPECT_STREQ(page->list->GetRowColumnText(1, 0), "01");
  EXPECT_STREQ(page->list->GetRowColumnText(1, 1), "Third");
  CAmEdit* done = page->list->GetRow(1)->GetColumnWidget(1);
  EXPECT_EQ(done->red, CEvtNoteListPage::kDoneRed);
  EXPECT_EQ(done->green, CEvtNoteListPage::kDoneGreen);
  EXPECT_EQ(done->blue, CEvtNoteListPage::kDoneBlue);
  EXPECT_NE(page->list->GetRow(0)->GetColumnWidget(1)->blue, CEvtNoteListPage::kDoneBlue);

  // Selecting a row shows its body.
  int x = 0, y = 0;
  page->list->GetRow(1)->GetPosition(&x, &y);
  ClickAndUpdate(x + 40, y + 5);
  EXPECT_EQ(page->selected, 1);
  EXPECT_STREQ(page->view->GetRowColumnText(0, 0), "three");
}

TEST_F(EventNotesTest, ANoteReadAfterTheSaveListClosedHidesWithItsPage) {
  WriteResource({{"Short$$ a", 101, 0}, {"Long$$ " + std::string(200, 'b'), 102, 0}});
  runner.SetFlag(101, 1);
  runner.SetFlag(102, 1);
  CVekMainWnd* window = OpenNotes();
  ASSERT_NE(window, nullptr);
  CEvtNoteListPage* page = window->notePage;
  int x = 0, y = 0;
  page->list->GetRow(0)->GetPosition(&x, &y);
  ClickAndUpdate(x + 40, y + 5);
  const size_t rowsBefore = page->view->cells.size();

  // The save list opens over the menu and closes: its agency is gone.
  OpenSaveList(0, nullptr, &resource, window);
  UpdateScreens(1);
  CAmWnd* saves = GetTopWnd();
  ASSERT_NE(saves, window);
  saves->Close();
  UpdateScreens(1);
  ASSERT_EQ(GetTopWnd(), window);

  // The long note needs rows the short one never built.
  page->list->GetRow(1)->GetPosition(&x, &y);
  ClickAndUpdate(x + 40, y + 5);
  ASSERT_EQ(page->selected, 1);
  ASSERT_GT(page->view->cells.size(), rowsBefore);
  for (CAmContainer* cell : page->view->cells) EXPECT_EQ(cell->agency, page->agency);

  window->SelectPage(CVekMainWnd::kSystemPage);
  UpdateScreens(1);
  for (size_t i = 0; i < page->view->cells.size(); ++i) {
    const SPRITEDESC* text = LookupSprite(page->view->GetRow(static_cast<int>(i))->GetColumnWidget(0)->sprite);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->visible, 0) << "row " << i << " stays over the system page";
  }
}

TEST_F(EventNotesTest, NotesOutsideTheTextsAreDropped) {
  WriteResource({{"Good", 1, 0}, {"Next", 1, 0}});
  // The second entry claims to end past the texts, the third before the first.
  std::vector<uint8_t> table = {4, 0, 1, 0, 0, 0, 100, 0, 1, 0, 0, 0, 2, 0, 1, 0, 0, 0, 8, 0, 1, 0, 0, 0};
  datagen::GameResourceData data;
  data.messages = {"x"};
  data.raw = {{35, 4, table, {}}, {36, 0, {'G', 'o', 'o', 'd', 'N', 'e', 'x', 't'}, {}}};
  std::string error;
  ASSERT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
  resource.Open(nullptr);
  runner.SetFlag(1, 1);
  std::vector<EVENTNOTEDESC> notes = ReadEventNotes(resource, &runner);
  ASSERT_EQ(notes.size(), 2u);
  EXPECT_EQ(notes[0].title, "Good");
  EXPECT_EQ(notes[1].title, "Next");

  // A count beyond the table reads only what is there.
  data.raw[0].count = 30;
  ASSERT_TRUE(datagen::WriteGameResource("resource/Zudur.res", data, error)) << error;
  resource.Open(nullptr);
  EXPECT_EQ(ReadEventNotes(resource, &runner).size(), 2u);
}

}  // namespace
