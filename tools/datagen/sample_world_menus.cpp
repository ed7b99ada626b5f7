// The sample world's menu screens: the pictures of the start menu, the main
// window and its pages, the item icons, the preview's floor texture, the
// menus' messages and the event notes.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/sample_world_ui.h"

namespace datagen {
namespace {

using namespace uiart;

uint8_t RowFace(int row) { return row == 0 ? kFace : row == 1 ? kHoverFace : kPressedFace; }

// A screen or dialog background: a framed sheet with a darker band at the top.
uint8_t Sheet(int x, int y, int width, int height, int) {
  if (y >= 4 && y < 8 && x >= 4 && x < width - 4) return kShade;
  return Bevel(x, y, width, height, kLight);
}

// A bevelled button (idle, hover, pressed by row) with an ink bar for its label.
uint8_t Button(int x, int y, int width, int height, int row) {
  const bool label = y >= height / 2 - 1 && y <= height / 2 + 1 && x >= width / 4 && x < width * 3 / 4;
  if (label) return kInk;
  return Bevel(x, y, width, height, RowFace(row));
}

// A grid cell: normal, source of the carried item, equipped.
uint8_t Cell(int x, int y, int width, int height, int row) {
  return Bevel(x, y, width, height, row == 0 ? kFace : row == 1 ? kShade : kGold);
}

// A hero portrait: a head and shoulders in ink over the button face.
uint8_t Portrait(int x, int y, int width, int height, int row) {
  const int dx = x - width / 2;
  const int dy = y - height / 3;
  if (dx * dx + dy * dy < (width / 6) * (width / 6)) return kInk;
  if (y > height / 2 && y < height - 8 && std::abs(dx) < width / 3) return kInk;
  return Bevel(x, y, width, height, RowFace(row));
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
bool Flask(int dx, int dy) { return (dy > -4 && dx * dx + (dy - 6) * (dy - 6) < 110) || (dy <= -4 && dy > -16 && std::abs(dx) < 4); }
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
    "Character", "Equipment, items and the hero's state.", "Event notes", "What has happened so far.",
    "System", "Sound, view, keys, saving and loading.", "Close", "Back to the game.", "Quit",
    "Leave the game for the title.",
    // 62 to 69: the equipment slots and the use area; 70 to 75 unused.
    "Weapon", "Drop a weapon here to wield it.", "Armour", "Drop armour here to wear it.", "Charm",
    "Drop a charm here to wear it.", "Use", "Drop a potion or herb on the hero to use it.", "", "", "", "", "", "",
    // 76 to 79: defaults, save and load; 80 the negative count.
    "Defaults", "Set every option back.", "Save / Load", "Keep or resume a journey.", "--",
    // 81 to 108: key names.
    "Up", "Down", "Left", "Right", "Shift", "Ctrl", "Alt", "Space", "", "Backspace", "", "Insert", "Delete",
    "Home", "End", "PgUp", "PgDn", "`", "-", "=", "[", "]", ";", "'", ",", ".", "/", "\\",
    // 109 to 123: the numeric pad.
    "Num 0", "Num 1", "Num 2", "Num 3", "Num 4", "Num 5", "Num 6", "Num 7", "Num 8", "Num 9", "Num .", "Num +",
    "Num -", "Num *", "Num /",
    // 124 belongs to the money label; 125 and 126: the save list's new slot and default name.
    nullptr, "(New journey)", "Journey",
};
constexpr int kFirstMessage = 52;

}  // namespace

std::vector<PictureSpec> SampleMenuPictures() {
  std::vector<PictureSpec> pictures = {
      // The start menu, the hero choice and the confirmation boxes.
      {"if_m00", 640, 480, 1, 1, Sheet},
      {"ifsr000", 300, 238, 1, 1, Sheet},
      {"ifsr001", 132, 163, 1, 3, Portrait},
      {"ifsr002", 112, 163, 1, 3, Portrait},
      {"ifsr003", 52, 29, 1, 3, Button},
      {"ifsr004", 52, 29, 1, 3, Button},
      {"ifbtn00", 38, 19, 1, 3, Button},
      {"ifbtn01", 38, 19, 1, 3, Button},
      // The main window's panel and tabs, the pages and their buttons.
      {"ifi0100b", 640, 123, 1, 1, Sheet},
      {"ifi0100", 640, 357, 1, 1, Sheet},
      {"ifi0200", 640, 357, 1, 1, Sheet},
      {"ifi0600", 640, 357, 1, 1, Sheet},
      {"ifnfee", 128, 20, 1, 1, Sheet},
      {"ifib05001", 49, 49, 1, 3, Cell},
      {"ifib0400", 20, 32, 1, 3, Button},
      {"if6b0100", 16, 15, 1, 3, Cell},
      // The item icons.
      {"it_sword", 46, 46, 1, 1, Icon(Blade)},
      {"it_vest", 46, 46, 1, 1, Icon(Vest)},
      {"it_charm", 46, 46, 1, 1, Icon(Knot)},
      {"it_potion", 46, 46, 1, 1, Icon(Flask)},
      {"it_herb", 46, 46, 1, 1, Icon(Leaf)},
      {"it_tonic", 46, 46, 1, 1, Icon(Flask)},
      {"it_knife", 46, 46, 1, 1, Icon(Blade)},
  };
  for (const char* name : {"if_mb0100", "if_mb0200", "if_mb0300", "if_mb0400"})
    pictures.push_back({name, 136, 30, 1, 3, Button});
  for (const char* name : {"ifi5100", "ifi5200", "ifi5300", "ifi5400", "ifi5500"})
    pictures.push_back({name, 188, 77, 1, 1, Sheet});
  for (const char* name : {"ifib0600", "ifib0700", "ifib0800", "ifib0900", "if6b0200", "if6b0300", "if6b0400"})
    pictures.push_back({name, 96, 21, 1, 3, Button});
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
