#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/menu_fixture.h"
#include "ui/am_edit.h"
#include "ui/am_text_list.h"
#include "ui/event_notes.h"
#include "ui/main_wnd.h"

namespace {

using uitest::NoteSpec;

class EventNotesTest : public uitest::MenuTest {};

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

  OpenMainWindow(1);
  UpdateScreens(1);
  auto* window = dynamic_cast<CVekMainWnd*>(GetTopWnd());
  ASSERT_NE(window, nullptr);
  CEvtNoteListPage* page = window->notePage;
  ASSERT_TRUE(page->built);
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
