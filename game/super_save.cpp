// The super save: the first hero's story flags, run counts and NPC requests,
// carried into the second hero's new game.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>

#include "base/debug_trace.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "database/main_man_soul.h"
#include "game/event_runner.h"
#include "game/game.h"
#include "game/save_slots.h"
#include "world/map_scene.h"

namespace {

constexpr const char* kSuperSavePath = ".\\save\\TWSSave00.sav";
constexpr int kSuperEntries = 5;
constexpr size_t kSuperDirectoryBytes = kSuperEntries * SAVECHUNKDESC::kSize;
constexpr char kMagic[] = "Quorbexim Tarnwick Super Save";
constexpr char kKey[] = "VozeDezir";
constexpr size_t kMagicLength = sizeof kMagic - 1;
constexpr size_t kKeyLength = sizeof kKey - 1;
constexpr size_t kSecondFlagBytes = CEventRunner::kNpcToggles / 8;
constexpr size_t kMaxSuperSaveBytes = 1u << 20;

bool ReadDirectory(plat::ByteReader& r, SAVECHUNKDESC* directory, int count) {
  for (int i = 0; i < count; ++i) directory[i].Read(r);
  return !r.Failed();
}

// The chunk at a directory entry, up to the next entry or the file's end.
plat::ByteReader ChunkAt(const std::vector<uint8_t>& bytes, const SAVECHUNKDESC* directory, int i, int count) {
  const size_t start = static_cast<size_t>(std::max(directory[i].offset, 0));
  size_t end = i + 1 < count ? static_cast<size_t>(std::max(directory[i + 1].offset, 0)) : bytes.size();
  end = std::min(end, bytes.size());
  if (start >= end) return plat::ByteReader(nullptr, 0);
  return plat::ByteReader(bytes.data() + start, end - start);
}

bool MagicMatches(plat::ByteReader chunk) {
  char text[kMagicLength + 1] = {};
  size_t n = 0;
  for (size_t j = 0; n < kMagicLength && chunk.Remaining(); ++n, j = (j + 1) % kKeyLength) {
    const uint8_t stored = chunk.U8();
    if (stored == 0) break;
    text[n] = static_cast<char>(stored - static_cast<uint8_t>(kKey[j]));
  }
  if (n != kMagicLength) return false;
  for (size_t i = 0; i < kMagicLength; ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(kMagic[i])))
      return false;
  return true;
}

}  // namespace

int CGame::WriteSuperSave() {
  if (hero != 1) return 0;
  plat::CreateDirectories("save");
  const CParty& party = g_gameDataBase.party;
  plat::ByteWriter w;
  w.Zeros(kSuperDirectoryBytes);
  std::vector<SAVECHUNKDESC> directory;
  auto add = [&](SAVECHUNK type, size_t recordSize, size_t count, size_t start) {
    SAVECHUNKDESC d;
    d.type = type;
    d.recordSize = static_cast<uint16_t>(recordSize);
    d.recordCount = static_cast<int16_t>(count);
    d.length = static_cast<uint16_t>(w.Size() - start);
    d.offset = static_cast<int32_t>(start);
    directory.push_back(d);
  };

  size_t start = w.Size();
  w.FixedString("Tarnwick Save File Ver1.00", 34);
  w.I16(kSuperEntries);
  w.I16(static_cast<int16_t>(party.members.empty() ? 0 : party.members[0]));
  w.I16(static_cast<int16_t>(scene ? scene->mapIndex : 0));
  const CGDMainManSoul* first = g_gameDataBase.FindHero(1);
  w.I16(static_cast<int16_t>(first ? first->GetAttribute(26) : 0));
  w.Zeros(2);
  w.I32(party.header[CParty::kSummaryValue]);
  w.I32(party.header[CParty::kMoney]);
  for (float v : menuWalkerPos) w.F32(v);
  for (float v : menuWalkerDir) w.F32(v);
  w.Zeros(SAVESUMMARYDESC::kSize - (w.Size() - start));
  add(SAVECHUNK_SUMMARY, SAVESUMMARYDESC::kSize, 1, start);

  start = w.Size();
  for (size_t i = 0; i < kMagicLength; ++i) w.U8(static_cast<uint8_t>(kMagic[i] + kKey[i % kKeyLength]));
  w.U8(0);
  add(SAVECHUNK_MAGIC, kMagicLength + 1, 1, start);

  start = w.Size();
  w.Bytes(events->npcToggles.data(), kSecondFlagBytes);
  add(SAVECHUNK_FLAGS, kSecondFlagBytes, 1, start);

  start = w.Size();
  WriteRunCounts(w, *this);
  add(SAVECHUNK_EVENTS, 1, w.Size() - start - 4, start);

  start = w.Size();
  WriteNpcStates(w, 1);
  add(SAVECHUNK_NPCS, w.Size() - start, 1, start);

  plat::ByteWriter head;
  for (const SAVECHUNKDESC& d : directory) d.Write(head);
  std::memcpy(w.Bytes().data(), head.Bytes().data(), head.Size());
  const bool ok = plat::WriteFileAtomic(kSuperSavePath, w.Bytes().data(), w.Size());
  if (!ok) DebugTrace(plat::DebugLevel::Error, "The super save was not written");
  return ok ? 1 : 0;
}

int CGame::CheckSuperSave() {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(kSuperSavePath, bytes, kMaxSuperSaveBytes)) return 0;
  plat::ByteReader r(bytes);
  SAVECHUNKDESC directory[kSuperEntries];
  if (!ReadDirectory(r, directory, kSuperEntries)) return 0;
  for (int i = 0; i < 2; ++i) {
    if (directory[i].type == SAVECHUNK_MAGIC) {
      if (!MagicMatches(ChunkAt(bytes, directory, i, kSuperEntries))) {
        DebugTrace("Illegial Save file!");
        return 0;
      }
    } else if (directory[i].type == SAVECHUNK_SUMMARY) {
      if (directory[0].recordSize != SAVESUMMARYDESC::kSize ||
          !ChunkAt(bytes, directory, i, kSuperEntries).CanRead(SAVESUMMARYDESC::kSize)) {
        DebugTrace("Save file version no compatible!");
        return 0;
      }
    }
  }
  return 1;
}

void CGame::ImportSuperSave() {
  std::vector<uint8_t> bytes;
  if (!plat::ReadWholeFile(kSuperSavePath, bytes, kMaxSuperSaveBytes)) return;
  plat::ByteReader r(bytes);
  SAVECHUNKDESC directory[kSuperEntries];
  if (!ReadDirectory(r, directory, kSuperEntries)) return;
  int entries = 1;
  for (int i = 0; i < entries && i < kSuperEntries; ++i) {
    plat::ByteReader chunk = ChunkAt(bytes, directory, i, kSuperEntries);
    switch (directory[i].type) {
      case SAVECHUNK_SUMMARY:
        if (directory[0].recordSize != SAVESUMMARYDESC::kSize || !chunk.CanRead(SAVESUMMARYDESC::kSize)) {
          DebugTrace("Save file version no compatible!");
          break;
        }
        chunk.Skip(34);
        entries = std::clamp<int>(chunk.I16(), 1, kSuperEntries);
        break;
      case SAVECHUNK_FLAGS: {
        std::array<uint8_t, kSecondFlagBytes> flags{};
        if (chunk.Bytes(flags.data(), flags.size())) events->npcToggles = flags;
        break;
      }
      case SAVECHUNK_NPCS: {
        std::vector<NPCVISIBILITYDESC> requests;
        std::vector<NPCSNAPSHOTDESC> unused;
        if (ReadNpcStates(chunk, 1, requests, unused)) pendingNpcVisibility = std::move(requests);
        break;
      }
      case SAVECHUNK_EVENTS: {
        if (!gameResource || !chunk.CanRead(4)) break;
        ApplyRunCounts(*this, ReadRunCounts(chunk, chunk.Remaining(), EventBase(), gameResource->Events().size()));
        break;
      }
      default: break;
    }
  }
}
