#pragma once
#include <string>
#include <vector>

#include "ui/am_page.h"

class CAmContainerAgency;
class CAmTextListView;
class CAmTextView;
class CGameResource;
class IStoryFlags;

// A note of the event-note table as the list shows it.
struct EVENTNOTEDESC {
  std::string title;
  std::string body;
  int done = 0;
};

// The notes whose visibility flag is set, in table order. The table (kind
// 35) holds per note its end offset into the texts (kind 36), its
// visibility flag and its done flag; a note runs from the previous note's
// end. A note ending past the texts or before the previous end is dropped.
// Without flags none is set.
std::vector<EVENTNOTEDESC> ReadEventNotes(const CGameResource& resource, const IStoryFlags* flags);
// Splits at the first "$$": the title before, the body after without its
// leading blanks; without "$$" the whole text is the title.
void SplitEventNote(const std::string& text, std::string* title, std::string* body);

// The main window's page of event notes: a numbered list of the notes the
// story has shown, done ones greyed, and the selected note's text.
class CEvtNoteListPage : public CAmPage {
 public:
  static constexpr int kDoneRed = 100, kDoneGreen = 100, kDoneBlue = 140;

  CEvtNoteListPage(CGameResource* resource, IStoryFlags* storyFlags, CAmObject* owner);
  ~CEvtNoteListPage() override;

  // A row selected shows its note; a hovered one sounds.
  int OnMessage(int id, int a, int b, CAmObject* sender) override;

  CGameResource* resource = nullptr;
  IStoryFlags* storyFlags = nullptr;
  std::vector<EVENTNOTEDESC> notes;
  CAmTextListView* list = nullptr;
  CAmTextView* view = nullptr;
  int selected = -1;
  CAmContainerAgency* agency = nullptr;

 protected:
  void Build() override;
};
