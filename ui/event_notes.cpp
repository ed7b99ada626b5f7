#include "ui/event_notes.h"

#include <algorithm>
#include <cstdio>

#include "database/game_resource.h"
#include "platform/files.h"
#include "ui/am_container.h"
#include "ui/am_text_list.h"
#include "ui/story_flags.h"

namespace {

constexpr int kNoteKind = 35;
constexpr int kTextKind = 36;
constexpr int kEntrySize = 6;  // end, visibility flag, done flag
constexpr int kSelectSound = 0;
constexpr int kHoverSound = 1;
const int kColumnWidths[] = {36, 210};

}  // namespace

void SplitEventNote(const std::string& text, std::string* title, std::string* body) {
  const size_t mark = text.find("$$");
  if (mark == std::string::npos) {
    *title = text;
    body->clear();
    return;
  }
  *title = text.substr(0, mark);
  size_t start = mark + 2;
  while (start < text.size() &&
         (text[start] == ' ' || text[start] == '\t' || text[start] == '\r' || text[start] == '\n'))
    ++start;
  *body = text.substr(start);
}

std::vector<EVENTNOTEDESC> ReadEventNotes(const CGameResource& resource, const IStoryFlags* flags) {
  std::vector<EVENTNOTEDESC> notes;
  std::span<const uint8_t> table = resource.Block(kNoteKind);
  std::span<const uint8_t> texts = resource.Block(kTextKind);
  const size_t count = std::min(static_cast<size_t>(std::max(0, resource.Count(kNoteKind))), table.size() / kEntrySize);
  plat::ByteReader r(table.data(), table.size());
  int previousEnd = 0;
  for (size_t i = 0; i < count; ++i) {
    const int end = r.I16();
    const int shownFlag = r.I16();
    const int doneFlag = r.I16();
    if (end < previousEnd || static_cast<size_t>(end) > texts.size()) continue;
    const int start = previousEnd;
    previousEnd = end;
    if (!flags || !flags->TestFlag(shownFlag)) continue;
    // Texts are NUL-ended in the file: a note stops at its first NUL.
    std::string text(reinterpret_cast<const char*>(texts.data()) + start, static_cast<size_t>(end - start));
    text.resize(std::min(text.size(), text.find('\0')));
    EVENTNOTEDESC note;
    SplitEventNote(text, &note.title, &note.body);
    note.done = flags->TestFlag(doneFlag) ? 1 : 0;
    notes.push_back(std::move(note));
  }
  return notes;
}

CEvtNoteListPage::CEvtNoteListPage(CGameResource* resource, IStoryFlags* storyFlags, CAmObject* owner)
    : CAmPage("ifi0200", 640, 357, owner), resource(resource), storyFlags(storyFlags) {}

CEvtNoteListPage::~CEvtNoteListPage() {
  delete list;
  delete view;
  delete agency;
}

void CEvtNoteListPage::Build() {
  agency = new CAmContainerAgency(0, this);
  list = new CAmTextListView(nullptr, 254, 290, 0, this);
  list->SetPosition(46, 53);
  list->SetView(0, 0, 254, 290);
  list->SetColumnWidths(2, kColumnWidths);
  view = new CAmTextView(nullptr, 250, 290, 0, this);
  view->SetPosition(330, 52);
  view->SetView(5, 5, 240, 280);
  if (resource) notes = ReadEventNotes(*resource, storyFlags);
  for (size_t i = 0; i < notes.size(); ++i) {
    char number[16];
    std::snprintf(number, sizeof(number), "%02d", static_cast<int>(i));
    list->AddRowColumn(0, number, -1, 1, 0);
    list->AddRowColumn(1, notes[i].title.c_str(), -1, 1, 0);
    if (notes[i].done) list->SetRowColours(static_cast<int>(i), kDoneRed, kDoneGreen, kDoneBlue);
  }
}

int CEvtNoteListPage::OnMessage(int id, int a, int b, CAmObject* sender) {
  auto* row = dynamic_cast<CAmMultiColText*>(sender);
  if (row && id == AMM_OBJ_SELECT) {
    const int index = row->rowIndex;
    if (index < 0 || index >= static_cast<int>(notes.size())) return 1;
    if (list && selected >= 0 && selected != index)
      if (CAmMultiColText* old = list->GetRow(selected)) old->Deselect();
    selected = index;
    const std::string& body = notes[static_cast<size_t>(index)].body;
    view->SetViewText(body.c_str(), static_cast<int>(body.size()));
    PlaySound(kSelectSound);
    return 1;
  }
  if (row && id == AMM_MOUSEHOVER) {
    PlaySound(kHoverSound);
    return 1;
  }
  return CAmPage::OnMessage(id, a, b, sender);
}
