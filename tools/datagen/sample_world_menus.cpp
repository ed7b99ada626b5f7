// The sample world's menu screens: the pictures of the start menu, the main
// window and its pages, the item icons, the preview's floor texture, the
// menus' messages and the event notes.
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"

namespace datagen {
namespace {

using namespace uiart;

// The title: the game's name over the sheet, and a dark plate under the
// version text, which is drawn in white.
uint8_t TitleSheet(int x, int y, int width, int height, int row) {
  if (x >= 552 && x < 632 && y >= 436 && y < 462) return kEdge;
  return Sheet(x, y, width, height, row);
}

// A grid cell: normal, source of the carried item, equipped.
uint8_t Cell(int x, int y, int width, int height, int row) {
  return Bevel(x, y, width, height, row == 0 ? kLight : row == 1 ? kShade : kGold);
}

// A hero portrait: a head and shoulders in ink over the button face, the
// hero's name below.
uint8_t Portrait(int x, int y, int width, int height, int row) {
  const int dx = x - width / 2;
  const int dy = y - height / 3;
  if (dx * dx + dy * dy < (width / 6) * (width / 6)) return kInk;
  if (y > height / 2 && y < height - 32 && std::abs(dx) < width / 3) return kInk;
  return ButtonFace(x, y, width, height, row);
}

PictureSpec PortraitOf(const char* name, int width, const char* hero) {
  return {name, width, 163, 1, 3, Portrait, {Centred(hero, 0, 134, width, 22, 14)}};
}

// A confirmation box: its question over the yes and no buttons.
PictureSpec Question(const char* name, const char* question) {
  return {name, 188, 77, 1, 1, Sheet, {Centred(question, 6, 12, 176, 26, 13)}};
}

// The bottom panel: the dim places of the tabs, seen where a tab is locked
// (the current page) or absent.
PictureSpec Panel() {
  std::vector<Frame> frames;
  std::vector<Label> labels;
  AddGhostButton(frames, labels, "Character", 510, 11, 96, 21, 13);
  AddGhostButton(frames, labels, "Event notes", 510, 33, 96, 21, 13);
  AddGhostButton(frames, labels, "System", 510, 55, 96, 21, 13);
  return {"ifi0100b", 640, 123, 1, 1, FramedSheet(std::move(frames)), std::move(labels)};
}

// The character page: the words of its figures, its grid and its slots.
PictureSpec RolePage() {
  std::vector<Label> labels = {
      LeftAligned("Items", 28, 30, 150, 20, 14),
      Centred("Weapon", 288, 281, 49, 15, 11),
      Centred("Armour", 338, 281, 49, 15, 11),
      Centred("Charm", 388, 281, 49, 15, 11),
  };
  const std::pair<const char*, int> figures[] = {
      {"Level", 63},    {"Experience", 84}, {"Next level", 105}, {"HP", 135},      {"MP", 156},
      {"Special", 177}, {"Skill", 198},     {"Attack", 219},     {"Defence", 260}, {"Money", 323},
  };
  for (const auto& [word, y] : figures) labels.push_back(LeftAligned(word, 446, y, 70, 15, 12));
  return {"ifi0100", 640, 357, 1, 1, Sheet, std::move(labels)};
}

// The event-note page: the list of notes and the chosen note's text.
PictureSpec NotesPage() {
  return {"ifi0200",
          640,
          357,
          1,
          1,
          FramedSheet({{45, 52, 256, 292, kShade}, {329, 51, 252, 292, kShade}}),
          {LeftAligned("Event notes", 46, 26, 254, 22, 16)}};
}

// The system page: the words of its sliders, switches and keys, and the
// places of the buttons only some windows have.
PictureSpec SystemPage() {
  std::vector<Frame> frames;
  std::vector<Label> labels = {
      LeftAligned("Music", 20, 33, 60, 18, 13),           LeftAligned("Sound", 20, 68, 60, 18, 13),
      LeftAligned("View distance", 20, 233, 116, 18, 13), LeftAligned("Detail", 380, 100, 62, 18, 13),
      LeftAligned("Shadows", 380, 57, 90, 15, 13),        LeftAligned("Effects", 380, 79, 90, 15, 13),
      LeftAligned("Walk keys", 62, 122, 200, 18, 14),
  };
  for (int y : {57, 79}) {
    labels.push_back(LeftAligned("On", 495, y, 30, 15, 12));
    labels.push_back(LeftAligned("Off", 563, y, 30, 15, 12));
  }
  const std::pair<const char*, int> keys[] = {{"Forward", 145}, {"Back", 168}, {"Left", 189}, {"Right", 211}};
  for (const auto& [word, y] : keys) labels.push_back(LeftAligned(word, 66, y, 140, 16, 13));
  AddGhostButton(frames, labels, "Save / Load", 509, 285, 96, 21, 13);
  AddGhostButton(frames, labels, "Quit", 509, 311, 96, 21, 13);
  return {"ifi0600", 640, 357, 1, 1, FramedSheet(std::move(frames)), std::move(labels)};
}

// An item icon: a framed square around a shape of its own.
Painter Icon(bool (*shape)(int dx, int dy)) {
  return [shape](int x, int y, int width, int height, int) -> uint8_t {
    if (shape(x - width / 2, y - height / 2)) return static_cast<uint8_t>(kInk);
    return Bevel(x, y, width, height, kHoverFace);
  };
}
bool Blade(int dx, int dy) { return std::abs(dx + dy) <= 2 && std::abs(dx) < 16; }
bool Vest(int dx, int dy) { return dy > -12 && dy < 14 && std::abs(dx) < 12 && !(dy < 0 && std::abs(dx) < 4); }
bool Knot(int dx, int dy) { return std::abs(dx * dx + dy * dy - 100) < 24; }
bool Flask(int dx, int dy) {
  return (dy > -4 && dx * dx + (dy - 6) * (dy - 6) < 110) || (dy <= -4 && dy > -16 && std::abs(dx) < 4);
}
bool Leaf(int dx, int dy) { return dx * dx / 2 + dy * dy < 120 && std::abs(dx - dy) > 1; }

// The character page's floor under the model: a soft gold disc.
constexpr int kFloorSide = 16;
uint8_t Floor(int x, int y) {
  const int dx = 2 * x + 1 - kFloorSide;
  const int dy = 2 * y + 1 - kFloorSide;
  return dx * dx + dy * dy < kFloorSide * kFloorSide ? 1 : 0;
}

struct NoteText {
  const char* text;
  int16_t shownFlag;
  int16_t doneFlag;
};
// The villager's talk sets flag 101; flag 103 comes later in the story.
constexpr NoteText kNotes[] = {
    {"The letter$$ The villager asked me to carry a letter to the mill past the stone bridge.", 101, 102},
    {"Wolves$$ Wolves roam past the stone bridge. I should keep a potion at hand.", 103, 104},
};

// Messages 52 to 126 from 52 on; 124 is the money label of another part.
const char* const kMessages[] = {
    // 52 to 61: the tabs and the close and quit buttons.
    "Character",
    "Equipment, items and the hero's state.",
    "Event notes",
    "What has happened so far.",
    "System",
    "Sound, view, keys, saving and loading.",
    "Close",
    "Back to the game.",
    "Quit",
    "Leave the game for the title.",
    // 62 to 69: the equipment slots and the use area; 70 to 75: the trade window's buttons.
    "Weapon",
    "Drop a weapon here to wield it.",
    "Armour",
    "Drop armour here to wear it.",
    "Charm",
    "Drop a charm here to wear it.",
    "Use",
    "Drop a potion or herb on the hero to use it.",
    "Trade",
    "Sell what lies in the upper basket and buy what lies in the lower one.",
    "Cancel",
    "Put everything back where it came from.",
    "Leave",
    "Put everything back and leave the shop.",
    // 76 to 79: defaults, save and load; 80 the negative count.
    "Defaults",
    "Set every option back.",
    "Save / Load",
    "Keep or resume a journey.",
    "--",
    // 81 to 108: key names.
    "Up",
    "Down",
    "Left",
    "Right",
    "Shift",
    "Ctrl",
    "Alt",
    "Space",
    "",
    "Backspace",
    "",
    "Insert",
    "Delete",
    "Home",
    "End",
    "PgUp",
    "PgDn",
    "`",
    "-",
    "=",
    "[",
    "]",
    ";",
    "'",
    ",",
    ".",
    "/",
    "\\",
    // 109 to 123: the numeric pad.
    "Num 0",
    "Num 1",
    "Num 2",
    "Num 3",
    "Num 4",
    "Num 5",
    "Num 6",
    "Num 7",
    "Num 8",
    "Num 9",
    "Num .",
    "Num +",
    "Num -",
    "Num *",
    "Num /",
    // 124 belongs to the money label; 125 and 126: the save list's new slot and default name.
    nullptr,
    "(New journey)",
    "Journey",
};
constexpr int kFirstMessage = 52;

}  // namespace

std::vector<PictureSpec> SampleMenuPictures() {
  using namespace sample;
  std::vector<PictureSpec> pictures = {
      // The start menu, the hero choice and the confirmation boxes.
      {"if_m00",
       640,
       480,
       1,
       1,
       TitleSheet,
       {Centred("Tarnwick", 0, 100, 640, 80, 64), Centred("A sample world", 0, 184, 640, 26, 18)}},
      LabelledButton("if_mb0100", 136, 30, "New game", 16),
      LabelledButton("if_mb0200", 136, 30, "Load", 16),
      LabelledButton("if_mb0300", 136, 30, "System", 16),
      LabelledButton("if_mb0400", 136, 30, "Quit", 16),
      {"ifsr000", 300, 238, 1, 1, Sheet, {Centred("Choose your hero", 0, 8, 300, 18, 14)}},
      PortraitOf("ifsr001", 132, kFirstHeroName),
      PortraitOf("ifsr002", 112, kSecondHeroName),
      LabelledButton("ifsr003", 52, 29, "OK", 13),
      LabelledButton("ifsr004", 52, 29, "Cancel", 13),
      Question("ifi5100", "Really quit?"),
      Question("ifi5200", "Load this journey?"),
      Question("ifi5300", "Are you sure?"),
      Question("ifi5400", "Are you sure?"),
      Question("ifi5500", "Delete this journey?"),
      LabelledButton("ifbtn00", 38, 19, "No", 12),
      LabelledButton("ifbtn01", 38, 19, "Yes", 12),
      // The main window's panel and tabs, the pages and their buttons.
      Panel(),
      LabelledButton("ifib0600", 96, 21, "Character", 13),
      LabelledButton("ifib0700", 96, 21, "Event notes", 13),
      LabelledButton("ifib0800", 96, 21, "System", 13),
      LabelledButton("ifib0900", 96, 21, "Close", 13),
      RolePage(),
      NotesPage(),
      SystemPage(),
      {"ifnfee", 128, 20, 1, 1, Sheet, {Centred(kSecondHeroName, 0, 2, 128, 18, 13)}},
      {"ifib05001", 49, 49, 1, 3, Cell},
      // The sort button: A over Z.
      {"ifib0400", 20, 32, 1, 3, ButtonFace, {Centred("A", 0, 2, 20, 14, 11), Centred("Z", 0, 16, 20, 14, 11)}},
      {"if6b0100", 16, 15, 1, 3, Cell},
      LabelledButton("if6b0200", 96, 21, "Defaults", 13),
      LabelledButton("if6b0300", 96, 21, "Save / Load", 13),
      LabelledButton("if6b0400", 96, 21, "Quit", 13),
      // The item icons.
      {"it_sword", 46, 46, 1, 1, Icon(Blade)},
      {"it_vest", 46, 46, 1, 1, Icon(Vest)},
      {"it_charm", 46, 46, 1, 1, Icon(Knot)},
      {"it_potion", 46, 46, 1, 1, Icon(Flask)},
      {"it_herb", 46, 46, 1, 1, Icon(Leaf)},
      {"it_tonic", 46, 46, 1, 1, Icon(Flask)},
      {"it_knife", 46, 46, 1, 1, Icon(Blade)},
  };
  return pictures;
}

void AddSampleMenuMessages(std::vector<std::string>& messages) {
  const size_t last = kFirstMessage + std::size(kMessages) - 1;
  if (messages.size() < last) messages.resize(last);
  for (size_t i = 0; i < std::size(kMessages); ++i)
    if (kMessages[i]) messages[kFirstMessage - 1 + i] = kMessages[i];
}

void AddSampleEventNotes(GameResourceData& r) {
  ResourceSectionData table;
  table.kind = 35;
  table.count = static_cast<int16_t>(std::size(kNotes));
  ResourceSectionData texts;
  texts.kind = 36;
  plat::ByteWriter entries;
  for (const NoteText& note : kNotes) {
    const std::string text = note.text;
    texts.data.insert(texts.data.end(), text.begin(), text.end());
    entries.I16(static_cast<int16_t>(texts.data.size()));
    entries.I16(note.shownFlag);
    entries.I16(note.doneFlag);
  }
  table.data = entries.Bytes();
  r.raw.push_back(table);
  r.raw.push_back(texts);
}

bool WriteSampleMenuTextures(const std::string& root, std::string& error) {
  ImageDesc image;
  image.magic = ImageMagic::Qbt;
  image.width = kFloorSide;
  image.height = kFloorSide;
  image.palette = {{90, 70, 40}, {230, 190, 90}};
  for (int y = 0; y < kFloorSide; ++y)
    for (int x = 0; x < kFloorSide; ++x) image.pixels.push_back(Floor(x, y));
  plat::ByteWriter bytes;
  return WriteImage(image, bytes, error) && WriteOutputFile(root + "texture/ifi0100_t.qbt", bytes.Bytes(), error);
}

}  // namespace datagen
