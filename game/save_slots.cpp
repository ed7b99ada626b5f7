#include "game/save_slots.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/main_man_soul.h"
#include "game/game.h"
#include "ui/role_page.h"
#include "ui/save_list.h"
#include "world/map_scene.h"

void SAVECHUNKDESC::Write(plat::ByteWriter& w) const {
  w.I16(type);
  w.U16(recordSize);
  w.I16(recordCount);
  w.U16(length);
  w.I32(offset);
}

void SAVECHUNKDESC::Read(plat::ByteReader& r) {
  type = r.I16();
  recordSize = r.U16();
  recordCount = r.I16();
  length = r.U16();
  offset = r.I32();
}

std::string SaveSlotPath(int slot, const char* extension) {
  char path[32];
  std::snprintf(path, sizeof path, "save\\TWSave%02d%s", slot, extension);
  return path;
}

namespace {

// The slot number of a "TWSave<2 or 3 digits>.sav" name, -1 for any other.
int SlotOfFileName(const std::string& name) {
  constexpr size_t kPrefix = 6;
  const size_t dot = name.find('.');
  if (dot == std::string::npos || dot < kPrefix + 2 || dot > kPrefix + 3) return -1;
  if (strncasecmp(name.c_str(), "TWSave", kPrefix) != 0) return -1;
  int slot = 0;
  for (size_t i = kPrefix; i < dot; ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    slot = slot * 10 + (name[i] - '0');
  }
  return slot < kMaxSaveSlots ? slot : -1;
}

}  // namespace

void EnumerateSaveSlots(std::vector<SAVESUMMARYDESC>& list, std::vector<int>& slots) {
  int count = 0;
  for (const std::string& name : plat::ListFiles("save\\*.sav")) {
    const int slot = SlotOfFileName(name);
    if (slot + 1 > count) count = slot + 1;
  }
  for (int slot = 0; slot < count; ++slot) {
    uint8_t bytes[SAVESUMMARYDESC::kSize];
    if (!g_game || !g_game->ReadSlotSummary(bytes, slot)) continue;
    plat::ByteReader r(bytes, sizeof bytes);
    list.emplace_back().Read(r);
    slots.push_back(slot);
  }
}

int SaveToSlot(int slot, const char* name, std::vector<SAVESUMMARYDESC>& list) {
  if (!g_game || slot < 0 || slot >= kMaxSaveSlots) return 0;
  SAVESUMMARYDESC summary;
  std::snprintf(summary.header, sizeof summary.header, "%s", GetSaveTitleText(kSaveVersion).c_str());
  summary.version = kSaveVersion;
  summary.entries = kSaveEntries;
  const CParty& party = g_gameDataBase.party;
  if (!party.members.empty()) {
    summary.leader = static_cast<int16_t>(party.members[0]);
    if (const CGDMainManSoul* leader = party.FindMember(party.members[0]))
      summary.level = static_cast<int16_t>(leader->GetAttribute(1));
  }
  if (g_game->scene) summary.mapIndex = static_cast<int16_t>(g_game->scene->mapIndex);
  summary.value2 = party.header[CParty::kSummaryValue];
  summary.money = party.header[CParty::kMoney];
  if (name) std::memcpy(summary.name, name, strnlen(name, sizeof summary.name));
  const int written = g_game->SaveGame(slot, summary);
  if (static_cast<size_t>(slot) < list.size()) list[static_cast<size_t>(slot)] = summary;
  else list.push_back(summary);
  return written;
}

int DeleteSaveSlot(int slot) { return g_game ? g_game->DeleteSaveFiles(slot) : -1; }

int CanLoadSaveSlot(int slot) { return g_game ? g_game->CanLoadGame(slot) : 0; }

std::string GetSaveThumbnailPath(int slot) { return ".\\" + SaveSlotPath(slot, ".bmp"); }

std::string GetSaveTitleText(int version) {
  char text[48];
  std::snprintf(text, sizeof text, "Tarnwick Save File Ver %d.%02d", version / 100, version % 100);
  return text;
}

void GetThumbnailSourceSize(int* width, int* height) {
  if (width) *width = 640;
  if (height) *height = 480;
}

void GetSlotThumbnailSourceSize(int, int* width, int* height) { GetThumbnailSourceSize(width, height); }

int GetCurrentSceneArea() { return g_game && g_game->scene ? g_game->scene->mapIndex : 0; }

void InstallSaveSlotProcedures() {
  SaveSlotProcedures() = {EnumerateSaveSlots, SaveToSlot, DeleteSaveSlot, GetSaveThumbnailPath, CanLoadSaveSlot};
  SetSceneAreaProc(GetCurrentSceneArea);
}

void WriteRunCounts(plat::ByteWriter& w, const CGame& game) {
  w.I32(game.EventBase());
  if (!game.gameResource) return;
  for (const EVENTDESC& e : game.gameResource->Events()) w.U8(e.runCount);
}

std::vector<int> ReadRunCounts(plat::ByteReader& r, size_t length, int currentBase, size_t events) {
  std::vector<int> counts(events, -1);
  const int32_t savedBase = r.I32();
  for (size_t i = 0; i + 4 < length; ++i) {
    const uint8_t count = r.U8();
    const int64_t target = static_cast<int64_t>(i) < savedBase ? static_cast<int64_t>(i)
                                                               : currentBase + (static_cast<int64_t>(i) - savedBase);
    if (target >= 0 && static_cast<size_t>(target) < events) counts[static_cast<size_t>(target)] = count;
  }
  return counts;
}

void ApplyRunCounts(CGame& game, const std::vector<int>& counts) {
  if (!game.gameResource) return;
  std::vector<EVENTDESC>& events = game.gameResource->Events();
  for (size_t i = 0; i < counts.size() && i < events.size(); ++i)
    if (counts[i] >= 0) events[i].runCount = static_cast<uint8_t>(counts[i]);
}
