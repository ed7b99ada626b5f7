// Saved games: writing a slot, loading one whole or not at all, and the slot files.
#include <strings.h>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "base/debug_trace.h"
#include "components/mix_creature.h"
#include "components/society_ext.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/item_pool.h"
#include "database/main_man_soul.h"
#include "database/save_records.h"
#include "database/scene_records.h"
#include "engine/core/frame_timers.h"
#include "game/event_runner.h"
#include "game/field_walker.h"
#include "game/game.h"
#include "game/map_special_events.h"
#include "game/save_slots.h"
#include "game/save_thumbnail.h"
#include "talk/talk_host.h"
#include "ui/bought_items.h"
#include "world/automap_panel.h"
#include "world/map_scene.h"
#include "world/object_state_memory.h"
#include "world/scene_content.h"
#include "world/scene_npc.h"

namespace {

constexpr size_t kDirectoryBytes = kSaveEntries * SAVECHUNKDESC::kSize;
constexpr size_t kBuildBuffer = 102400;
constexpr size_t kFirstFlagBytes = CEventRunner::kStoryFlags / 8;
constexpr size_t kSecondFlagBytes = CEventRunner::kNpcToggles / 8;
constexpr size_t kSnapshotBytes = 60;
// A .sav larger than this is not one of ours.
constexpr size_t kMaxSaveBytes = 64u << 20;

void WriteSnapshot(plat::ByteWriter& w, const NPCSNAPSHOTDESC& s) {
  for (int v : {s.flags, s.state, s.counter, s.waypoint, s.pose, s.posePlaying, s.direction}) w.I32(v);
  for (float v : s.position) w.F32(v);
  for (float v : s.facing) w.F32(v);
  for (int v : s.routine) w.I32(v);
}

void ReadSnapshot(plat::ByteReader& r, NPCSNAPSHOTDESC& s) {
  for (int* v : {&s.flags, &s.state, &s.counter, &s.waypoint, &s.pose, &s.posePlaying, &s.direction}) *v = r.I32();
  for (float& v : s.position) v = r.F32();
  for (float& v : s.facing) v = r.F32();
  for (int& v : s.routine) v = r.I32();
}

// The game core's chunks of a slot, checked and ready to apply.
struct StagedSlot {
  SAVESUMMARYDESC summary;
  std::optional<CParty> party;
  std::vector<CGDMainManSoul> heroes;
  bool hasHeroes = false;
  std::optional<std::array<uint8_t, kFirstFlagBytes>> firstFlags;
  std::array<uint8_t, kSecondFlagBytes> secondFlags{};
  std::vector<int> runCounts;
  std::unique_ptr<CObjectStateMemory> memory;
  std::optional<int32_t> timer;
  bool hasNpcs = false;
  std::vector<NPCVISIBILITYDESC> requests;
  std::vector<NPCSNAPSHOTDESC> snapshots;
  // Chunks their owners check and read: offset and length, length 0 when absent.
  size_t itemPoolAt = 0, itemPoolLength = 0, talkAt = 0, talkLength = 0, tradeAt = 0, tradeLength = 0;
};

// Copies bytes into an anonymous stream for the readers that take a std::FILE.
std::FILE* StreamOf(const uint8_t* data, size_t size) {
  std::FILE* f = std::tmpfile();
  if (!f) return nullptr;
  if ((size && std::fwrite(data, 1, size, f) != size) || std::fseek(f, 0, SEEK_SET) != 0) {
    std::fclose(f);
    return nullptr;
  }
  return f;
}

bool WriteAll(plat::File& file, const plat::ByteWriter& w) {
  return w.Size() == 0 || file.Write(w.Bytes().data(), w.Size()) == w.Size();
}

}  // namespace

void CGame::WriteNpcStates(plat::ByteWriter& out, int requestsOnly) const {
  out.I32(static_cast<int32_t>(pendingNpcVisibility.size()));
  for (const NPCVISIBILITYDESC& request : pendingNpcVisibility) {
    out.I32(request.npc);
    out.I32(request.show);
  }
  if (requestsOnly) return;
  out.I32(static_cast<int32_t>(npcSnapshots.size()));
  for (const NPCSNAPSHOTDESC& snapshot : npcSnapshots) WriteSnapshot(out, snapshot);
}

bool CGame::ReadNpcStates(plat::ByteReader& in, int requestsOnly, std::vector<NPCVISIBILITYDESC>& requests,
                          std::vector<NPCSNAPSHOTDESC>& snapshots) const {
  const int32_t n = in.I32();
  if (n < 0 || !in.CanRead(static_cast<size_t>(n) * 8)) return false;
  requests.resize(static_cast<size_t>(n));
  for (NPCVISIBILITYDESC& request : requests) {
    request.npc = in.I32();
    request.show = in.I32();
  }
  if (requestsOnly) return !in.Failed();
  const int32_t m = in.I32();
  if (m < 0 || !in.CanRead(static_cast<size_t>(m) * kSnapshotBytes)) return false;
  snapshots.resize(static_cast<size_t>(m));
  for (NPCSNAPSHOTDESC& snapshot : snapshots) ReadSnapshot(in, snapshot);
  return !in.Failed();
}

int CGame::IsSceneFileName(int mapRow, const char* name) const {
  if (!gameResource || mapRow < 0 || static_cast<size_t>(mapRow) >= gameResource->Maps().size()) return 1;
  const std::string file = gameResource->Maps()[static_cast<size_t>(mapRow)].SceneName() + ".SB";
  return name && strcasecmp(file.c_str(), name) == 0 ? 0 : 1;
}

int CGame::SaveGame(int slot, const SAVESUMMARYDESC& summary) {
  if (slot < 0 || slot >= kMaxSaveSlots) return 0;
  plat::CreateDirectories("save");
  plat::RemoveStaleTemporaries("save");
  // The automap and the thumbnail go first: a crash before the ".sav" is
  // replaced leaves the old slot loadable. Either not written (a full disk,
  // say) keeps the old ".sav" and reports the save failed.
  const char* unwritten = nullptr;
  if (scene && scene->automap && scene->automap->SaveFile(SaveSlotPath(slot, ".map").c_str()) != 0)
    unwritten = "automap";
  else if (menuShot && !menuShot->pixels.empty() && menuShot->WriteBmp(SaveSlotPath(slot, ".bmp").c_str()) != 0)
    unwritten = "thumbnail";
  if (unwritten) {
    DebugTrace(plat::DebugLevel::Error, "Save slot %d was not written: its %s was not", slot, unwritten);
    return 0;
  }

  std::unique_ptr<plat::File> file = plat::File::CreateWrite(SaveSlotPath(slot, ".sav"));
  if (!file) return 0;
  std::vector<SAVECHUNKDESC> directory;
  size_t offset = kDirectoryBytes;
  auto add = [&](SAVECHUNK type, size_t recordSize, size_t count, size_t length) {
    SAVECHUNKDESC d;
    d.type = type;
    d.recordSize = static_cast<uint16_t>(recordSize);
    d.recordCount = static_cast<int16_t>(count);
    d.length = static_cast<uint16_t>(length);
    d.offset = static_cast<int32_t>(offset);
    directory.push_back(d);
    offset += length;
  };
  bool ok = file->Write(std::vector<uint8_t>(kDirectoryBytes).data(), kDirectoryBytes) == kDirectoryBytes;

  plat::ByteWriter chunk;
  SAVESUMMARYDESC withWalker = summary;
  std::memcpy(withWalker.position, menuWalkerPos, sizeof withWalker.position);
  std::memcpy(withWalker.facing, menuWalkerDir, sizeof withWalker.facing);
  withWalker.Write(chunk);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_SUMMARY, SAVESUMMARYDESC::kSize, 1, chunk.Size());

  chunk = {};
  WritePartyChunk(g_gameDataBase.party, chunk);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_PARTY, chunk.Size(), 1, chunk.Size());

  chunk = {};
  for (size_t i = 0; i < g_gameDataBase.heroes.size(); ++i) {
    WriteCharacterRecord(g_gameDataBase.heroes[i], chunk);
    if (chunk.Size() > kBuildBuffer) DebugTrace("Man Soul Data Buffer Overflow %zu:%zu", i, chunk.Size());
  }
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_CHARACTERS, chunk.Size(), g_gameDataBase.heroes.size(), chunk.Size());

  chunk = {};
  chunk.Bytes(events->storyFlags.data(), kFirstFlagBytes);
  chunk.Bytes(events->npcToggles.data(), kSecondFlagBytes);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_FLAGS, chunk.Size(), 1, chunk.Size());

  chunk = {};
  WriteRunCounts(chunk, *this);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_EVENTS, 1, chunk.Size() - 4, chunk.Size());

  chunk = {};
  int blocks = 0;
  if (scene && scene->memory) {
    scene->memory->Write(chunk);
    blocks = scene->memory->MapCount();
  }
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_SCENE, chunk.Size(), blocks, chunk.Size());

  chunk = {};
  chunk.I32(g_mapTimerFrames);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_TIMERS, 4, 1, 4);

  const int64_t before = file->Tell();
  const int poolLength = itemPool ? itemPool->WriteBlock(*file) : 0;
  ok = ok && file->Tell() == before + poolLength;
  add(SAVECHUNK_ITEMPOOL, static_cast<size_t>(poolLength), 1, static_cast<size_t>(poolLength));

  chunk = {};
  WriteNpcStates(chunk, 0);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_NPCS, chunk.Size(), 1, chunk.Size());

  chunk = {};
  if (talk && talk->player) {
    if (std::FILE* stream = std::tmpfile()) {
      const int length = talk->player->WriteTalkData(stream);
      chunk.Bytes().resize(length > 0 ? static_cast<size_t>(length) : 0);
      ok = ok && std::fseek(stream, 0, SEEK_SET) == 0 &&
           std::fread(chunk.Bytes().data(), 1, chunk.Size(), stream) == chunk.Size();
      std::fclose(stream);
    } else {
      ok = false;
    }
  }
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_TALK, chunk.Size(), 1, chunk.Size());

  chunk = {};
  WriteBoughtItems(chunk);
  ok = ok && WriteAll(*file, chunk);
  add(SAVECHUNK_TRADE, chunk.Size(), 1, chunk.Size());

  chunk = {};
  for (const SAVECHUNKDESC& d : directory) d.Write(chunk);
  ok = ok && file->Seek(0) && WriteAll(*file, chunk) && file->Commit();
  if (!ok) DebugTrace(plat::DebugLevel::Error, "Save slot %d was not written", slot);
  return ok ? 1 : 0;
}

namespace {

// Reads and checks every chunk the game core owns; false (with a trace) when
// the file is damaged in any of them.
bool StageSlot(const CGame& game, const std::vector<uint8_t>& bytes, StagedSlot& staged) {
  plat::ByteReader r(bytes);
  std::array<SAVECHUNKDESC, kSaveEntries> directory;
  for (SAVECHUNKDESC& d : directory) d.Read(r);
  if (r.Failed()) return false;
  // A chunk ends where the next begins; the last one at the file's end.
  std::array<size_t, kSaveEntries> lengths{};
  for (size_t i = 0; i < kSaveEntries; ++i) {
    const size_t end = i + 1 < kSaveEntries ? static_cast<size_t>(directory[i + 1].offset) : bytes.size();
    if (directory[i].offset < static_cast<int32_t>(kDirectoryBytes) || static_cast<size_t>(directory[i].offset) > end ||
        end > bytes.size())
      return false;
    lengths[i] = end - static_cast<size_t>(directory[i].offset);
  }
  if (directory[0].type != SAVECHUNK_SUMMARY || lengths[0] != SAVESUMMARYDESC::kSize) {
    DebugTrace("Save file version no compatible!");
    return false;
  }
  const size_t eventCount = game.gameResource ? game.gameResource->Events().size() : 0;
  size_t entries = 1;
  for (size_t i = 0; i < entries; ++i) {
    const SAVECHUNKDESC& d = directory[i];
    const size_t length = lengths[i];
    // A record size of 0 marks an empty chunk, unless its 16 bits lost a length of 65,536.
    if (d.recordSize == 0 && length == 0) continue;
    plat::ByteReader chunk(bytes.data() + d.offset, length);
    switch (d.type) {
      case SAVECHUNK_SUMMARY:
        staged.summary.Read(chunk);
        if (staged.summary.entries < 1 || staged.summary.entries > kSaveEntries) return false;
        // Map index 0: a scene without a map record, whose scene stays.
        if (staged.summary.mapIndex < 0 ||
            (staged.summary.mapIndex > 0 &&
             (!game.gameResource || static_cast<size_t>(staged.summary.mapIndex) > game.gameResource->Maps().size())))
          return false;
        entries = static_cast<size_t>(staged.summary.entries);
        break;
      case SAVECHUNK_PARTY:
        staged.party.emplace();
        if (!ReadPartyChunk(chunk, *staged.party)) return false;
        break;
      case SAVECHUNK_CHARACTERS: {
        if (d.recordCount < 0) return false;
        CGameDataBase scratch;
        scratch.heroes = g_gameDataBase.heroes;
        if (!ReadCharacterRecords(chunk, static_cast<size_t>(d.recordCount), scratch)) return false;
        staged.heroes = std::move(scratch.heroes);
        staged.hasHeroes = true;
        break;
      }
      case SAVECHUNK_FLAGS:
        staged.firstFlags.emplace();
        if (!chunk.Bytes(staged.firstFlags->data(), kFirstFlagBytes)) return false;
        if (length > kFirstFlagBytes && !chunk.Bytes(staged.secondFlags.data(), kSecondFlagBytes)) return false;
        break;
      case SAVECHUNK_RUNCOUNTS:
        if (d.recordCount < 0 || static_cast<size_t>(d.recordCount) > length) return false;
        staged.runCounts.assign(eventCount, -1);
        for (size_t e = 0; e < static_cast<size_t>(d.recordCount); ++e) {
          const uint8_t count = chunk.U8();
          if (e < eventCount) staged.runCounts[e] = count;
        }
        break;
      case SAVECHUNK_EVENTS:
        if (length < 4) return false;
        staged.runCounts = ReadRunCounts(chunk, length, game.EventBase(), eventCount);
        break;
      case SAVECHUNK_SCENE:
        staged.memory = std::make_unique<CObjectStateMemory>();
        if (!staged.memory->Read(chunk)) return false;
        break;
      case SAVECHUNK_TIMERS:
        if (length < 4) return false;
        staged.timer = chunk.I32();
        break;
      case SAVECHUNK_NPCS:
        if (!game.ReadNpcStates(chunk, 0, staged.requests, staged.snapshots)) return false;
        staged.hasNpcs = true;
        break;
      case SAVECHUNK_ITEMPOOL:
        staged.itemPoolAt = static_cast<size_t>(d.offset);
        staged.itemPoolLength = length;
        break;
      case SAVECHUNK_TALK:
        staged.talkAt = static_cast<size_t>(d.offset);
        staged.talkLength = length;
        break;
      case SAVECHUNK_TRADE:
        staged.tradeAt = static_cast<size_t>(d.offset);
        staged.tradeLength = length;
        break;
      default: break;
    }
    if (chunk.Failed()) return false;
  }
  return true;
}

}  // namespace

int CGame::CanLoadGame(int slot) const {
  std::vector<uint8_t> bytes;
  StagedSlot staged;
  return plat::ReadWholeFile(SaveSlotPath(slot, ".sav"), bytes, kMaxSaveBytes) && StageSlot(*this, bytes, staged);
}

int CGame::LoadGame(int slot) {
  const std::string path = SaveSlotPath(slot, ".sav");
  std::vector<uint8_t> bytes;
  StagedSlot staged;
  if (!plat::ReadWholeFile(path, bytes, kMaxSaveBytes) || !StageSlot(*this, bytes, staged)) {
    DebugTrace(plat::DebugLevel::Error, "Save slot %d cannot be loaded", slot);
    return 0;
  }

  state = GS_SETTLE;
  if (talk) talk->Load("talk.pt");
  // The scene first: opening it resets the events the slot then restores.
  if (staged.summary.mapIndex > 0) {
    OpenScene((gameResource->Maps()[static_cast<size_t>(staged.summary.mapIndex - 1)].SceneName() + ".SB").c_str());
  }
  // Entries apply in directory order: the party chunk's header, when there
  // is one, replaces the money and value the summary gave.
  CParty& party = g_gameDataBase.party;
  party.header[CParty::kMoney] = staged.summary.money;
  party.header[CParty::kSummaryValue] = staged.summary.value2;
  if (staged.party) party = std::move(*staged.party);
  // Element by element, so pointers to the heroes stay valid.
  if (staged.hasHeroes)
    for (size_t i = 0; i < staged.heroes.size(); ++i) g_gameDataBase.heroes[i] = std::move(staged.heroes[i]);
  if (staged.firstFlags) {
    events->storyFlags = *staged.firstFlags;
    std::memcpy(events->npcToggles.data(), staged.secondFlags.data(), kSecondFlagBytes);
  }
  ApplyRunCounts(*this, staged.runCounts);
  if (scene && staged.memory) scene->memory = std::move(staged.memory);
  if (staged.timer) g_mapTimerFrames = *staged.timer;
  if (staged.hasNpcs) {
    pendingNpcVisibility = std::move(staged.requests);
    npcSnapshots = std::move(staged.snapshots);
  }
  if (!itemPool) itemPool = new CGDItemPool(&g_gameDataBase);
  if (staged.itemPoolLength) {
    std::unique_ptr<plat::File> file = plat::File::OpenRead(path);
    if (file && file->Seek(static_cast<int64_t>(staged.itemPoolAt))) itemPool->ReadBlock(*file);
  }
  if (staged.talkLength && talk && talk->player) {
    if (std::FILE* stream = StreamOf(bytes.data() + staged.talkAt, staged.talkLength)) {
      talk->player->ReadTalkData(stream);
      std::fclose(stream);
    }
  }
  if (staged.tradeLength) {
    plat::ByteReader trade(bytes.data() + staged.tradeAt, staged.tradeLength);
    ReadBoughtItems(trade);
  }
  party.members.assign(1, staged.summary.leader);

  SetupWalker();
  ReattachSceneObjects();
  RestoreNpcSnapshots();
  UpdateMapSpecialEvents(staged.summary.mapIndex, 0);
  if (scene && scene->memory) scene->memory->Restore(*scene);
  const VECTOR3 position{staged.summary.position[0], staged.summary.position[1], staged.summary.position[2]};
  const VECTOR3 facing{staged.summary.facing[0], staged.summary.facing[1], staged.summary.facing[2]};
  PlaceWalker(&position, &facing, scene ? scene->GetTerrain() : 0);
  // The camera was placed for the scene's start: it must stand behind the
  // walker where the slot put it, or the field shows wherever that was.
  FollowWalker();
  ApplyDisplaySettings();
  returnState = GS_FIELD;
  if (scene && scene->automap)
    scene->automap->LoadFile(SaveSlotPath(slot, ".map").c_str(), (scene->sceneName + ".sb").c_str(),
                             scene->GetTerrain());
  SetFrameTimer(0, 30.0f, OnGameFrame, 1);
  return 1;
}

int CGame::ReadSlotSummary(uint8_t* buffer, int slot) {
  std::memset(buffer, 0, SAVESUMMARYDESC::kSize);
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(SaveSlotPath(slot, ".sav"), bytes, kMaxSaveBytes)) return 0;
  plat::ByteReader r(bytes);
  SAVECHUNKDESC first;
  first.Read(r);
  if (r.Failed() || first.offset < 0 || !r.Seek(static_cast<size_t>(first.offset))) return 0;
  r.Bytes(buffer, std::min(SAVESUMMARYDESC::kSize, r.Remaining()));
  return 1;
}

int CGame::DeleteSaveFiles(int slot) {
  static const char* const kExtensions[] = {".sav", ".map", ".bmp"};
  if (slot < 0 || slot >= kMaxSaveSlots || !plat::FileExists(SaveSlotPath(slot, ".sav"))) return -1;
  for (const char* extension : kExtensions) plat::RemoveFile(SaveSlotPath(slot, extension));
  for (int next = slot + 1; next < kMaxSaveSlots && plat::FileExists(SaveSlotPath(next, ".sav")); ++next) {
    for (const char* extension : kExtensions) {
      const std::string from = SaveSlotPath(next, extension);
      if (plat::FileExists(from)) plat::RenameFile(from, SaveSlotPath(next - 1, extension));
    }
  }
  return 0;
}

void CGame::ReattachSceneObjects() {
  if (!scene || !scene->content) return;
  for (std::unique_ptr<CSceneNpc>& npc : scene->content->people) {
    if (society && npc->creature && !npc->creature->IsAttached()) npc->creature->Attach(society);
    if (events->TestNpcToggle(npc->person.npcId)) {
      if ((npc->flags & 0x1001) && !(npc->flags & NPC_HIDDEN)) npc->flags |= NPC_HIDDEN;
      else npc->flags &= ~(NPC_ALWAYS | NPC_HIDDEN);
    }
    const bool visible = (npc->flags & 0x1001) && !(npc->flags & NPC_HIDDEN);
    scene->content->ShowNpc(npc->person.npcId, visible ? 1 : 0);
  }
  ApplyPendingNpcVisibility();
}
