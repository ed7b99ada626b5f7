#pragma once
// Saved games: numbered slots of three files in "save" ("TWSave%02d.sav" with
// the game state as a directory of chunks, ".map" with the automap, ".bmp"
// with a thumbnail), and the slot provider the save and load screens use.
#include <cstdint>
#include <string>
#include <vector>

#include "database/save_summary.h"
#include "platform/files.h"

enum SAVECHUNK : int16_t {
  SAVECHUNK_MAGIC = 0,
  SAVECHUNK_SUMMARY = 1,
  SAVECHUNK_PARTY = 2,
  SAVECHUNK_CHARACTERS = 3,
  SAVECHUNK_FLAGS = 4,
  SAVECHUNK_RUNCOUNTS = 5,
  SAVECHUNK_SCENE = 6,
  SAVECHUNK_TIMERS = 7,
  SAVECHUNK_ITEMPOOL = 8,
  SAVECHUNK_NPCS = 9,
  SAVECHUNK_TALK = 10,
  SAVECHUNK_EVENTS = 11,
  SAVECHUNK_TRADE = 12,
};

// A directory entry, 12 bytes. The two 16-bit lengths are written but never
// trusted: a chunk's length is where the next one (or the file) begins.
struct SAVECHUNKDESC {
  static constexpr size_t kSize = 12;
  int16_t type = 0;
  uint16_t recordSize = 0;
  int16_t recordCount = 0;
  uint16_t length = 0;
  int32_t offset = 0;

  void Write(plat::ByteWriter& w) const;
  void Read(plat::ByteReader& r);
};

class CGame;

// The events chunk: the event base, then one run-count byte per event.
void WriteRunCounts(plat::ByteWriter& w, const CGame& game);
// The counts of an events chunk of length bytes by event table index (-1
// keeps an event's count): the first savedBase bytes count events from 0, the
// rest events from currentBase.
std::vector<int> ReadRunCounts(plat::ByteReader& r, size_t length, int currentBase, size_t events);
void ApplyRunCounts(CGame& game, const std::vector<int>& counts);

constexpr int kSaveVersion = 100;
constexpr int kSaveEntries = 11;

// "save\TWSave%02d" + extension (".sav", ".map" or ".bmp").
std::string SaveSlotPath(int slot, const char* extension);

// The slot provider.
// The summaries of every slot from 0 below one more than the highest slot
// number found whose ".sav" opens, and in slots the number of each (a slot
// that is missing or does not open leaves a gap in them); only "TWSave"
// names with 2 or 3 digits below 400 count.
void EnumerateSaveSlots(std::vector<SAVESUMMARYDESC>& list, std::vector<int>& slots);
// Saves the running game to slot under name and stores its summary at
// list[slot] (appended when the list is shorter); 1 when the ".sav" was
// written whole.
int SaveToSlot(int slot, const char* name, std::vector<SAVESUMMARYDESC>& list);
int DeleteSaveSlot(int slot);
// 1 when the slot would load: its ".sav" reads whole and every chunk the
// game core checks is sound. A slot cut after its summary lists but is 0.
int CanLoadSaveSlot(int slot);
std::string GetSaveThumbnailPath(int slot);
// "Tarnwick Save File Ver %d.%02d" of version / 100 and version % 100.
std::string GetSaveTitleText(int version);
// The screen size thumbnails were taken from: 640 x 480.
void GetThumbnailSourceSize(int* width, int* height);
void GetSlotThumbnailSourceSize(int slot, int* width, int* height);
// The current scene's area (the map row's area number), 0 without a scene.
int GetCurrentSceneArea();
// Gives the save list the slot provider and the character page the scene's area.
void InstallSaveSlotProcedures();
