#include "database/database_loader.h"

#include <algorithm>
#include <utility>

#include "base/debug_trace.h"
#include "database/game_database.h"
#include "database/level_rules.h"
#include "database/record_io.h"
#include "platform/files.h"

namespace {

constexpr size_t kHeaderBytes = 48;
constexpr size_t kSectionCountOffset = 46;
constexpr size_t kSectionEntryBytes = 12;
constexpr int kSectionCount = 7;
constexpr int32_t kMaxStackCount = 99;

// Smallest sizes of the variable records, to refuse counts that cannot fit.
constexpr size_t kItemRecordMinBytes = kItemHeadBytes + 4;
constexpr size_t kCharacterMinBytes = 104 + 4 + 4;

// Everything the file holds, gathered before the database is touched.
struct DatabaseContent {
  std::vector<STARTINVENTORYDESC> inventories;
  std::vector<ITEMDESC> items;
  std::vector<CGDMainManSoul> heroes;
  std::vector<CGDEnemySoul> enemies;
  std::vector<SHOPDESC> shops;
  std::vector<CONDITIONDESC> conditions;
  std::vector<ITEMDESC> skills;
};

bool ReadItemRecord(plat::ByteReader& r, ITEMDESC& item) {
  ReadItemHead(r, item);
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, kModifierBytes, n)) return false;
  item.modifiers.resize(n);
  for (auto& m : item.modifiers) ReadModifier(r, m);
  return !r.Failed();
}

bool ReadInventory(plat::ByteReader& r, STARTINVENTORYDESC& inventory) {
  inventory.money = r.I32();
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 12, n)) return false;
  inventory.items.resize(n);
  for (auto& row : inventory.items) {
    row.type = r.I32();
    row.id = r.I32();
    row.count = r.I32();
  }
  return !r.Failed();
}

// The part every character record begins with.
bool ReadCharacterHead(plat::ByteReader& r, CGDManSoul& soul) {
  size_t start = r.Tell();
  soul.name = r.FixedString(kFixedNameSize);
  soul.modelName = r.FixedString(kFixedModelNameSize);
  soul.kind = r.I32();
  soul.subKind = r.I32();
  r.Seek(start + kFixedDataBytes);
  soul.id = r.I32();
  soul.stateWord = r.I32();
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 12, n)) return false;
  soul.attributes.resize(n);
  for (auto& a : soul.attributes) {
    a.key = r.I32();
    a.base = r.I32();
    a.bonus = r.I32();
  }
  if (!ReadCount(r, CountWidth::k32, kItemRecordMinBytes, n)) return false;
  soul.actions.resize(n);
  for (auto& action : soul.actions)
    if (!ReadItemRecord(r, action)) return false;
  return !r.Failed();
}

bool ReadHero(plat::ByteReader& r, CGDMainManSoul& hero) {
  if (!ReadCharacterHead(r, hero)) return false;
  for (auto& id : hero.equipmentIds) id = r.I32();
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 4, n)) return false;
  hero.learnTable.resize(n);
  for (auto& entry : hero.learnTable) {
    entry.actionId = r.U8();
    entry.reserved = r.U8();
    entry.level = r.U16();
  }
  if (!ReadCount(r, CountWidth::k32, 4, n)) return false;
  hero.levelTable.resize(n);
  for (auto& row : hero.levelTable) {
    size_t c = 0;
    if (!ReadCount(r, CountWidth::k32, 12, c)) return false;
    row.resize(c);
    for (auto& entry : row) {
      entry.key = r.I32();
      entry.value = r.I32();
      entry.reserved = r.I32();
    }
  }
  return !r.Failed();
}

bool ReadEnemy(plat::ByteReader& r, CGDEnemySoul& enemy) {
  if (!ReadCharacterHead(r, enemy)) return false;
  for (auto& v : enemy.values) v = r.I32();
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 12, n)) return false;
  enemy.drops.resize(n);
  for (auto& drop : enemy.drops) {
    drop.id = r.I32();
    drop.count = r.I32();
    drop.type = r.I32();
  }
  if (!ReadCount(r, CountWidth::k32, 4, n)) return false;
  enemy.pairs.resize(n);
  for (auto& pair : enemy.pairs) {
    pair.first = r.U16();
    pair.second = r.U16();
  }
  return !r.Failed();
}

bool ReadShop(plat::ByteReader& r, SHOPDESC& shop) {
  size_t start = r.Tell();
  shop.name = r.FixedString(kShopNameSize);
  r.Seek(start + kShopIdOffset);
  shop.id = r.I32();
  r.Seek(start + kShopHeadBytes);
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 12, n)) return false;
  shop.stock.resize(n);
  for (auto& row : shop.stock) {
    row.itemId = r.I32();
    row.count = r.I32();
    row.itemType = r.I32();
  }
  return !r.Failed();
}

bool ReadCondition(plat::ByteReader& r, CONDITIONDESC& condition) {
  size_t start = r.Tell();
  condition.name = r.FixedString(kConditionNameSize);
  condition.description = r.FixedString(kConditionDescriptionSize);
  r.Seek(start + kConditionIdOffset);
  condition.id = r.I32();
  r.Seek(start + kConditionHeadBytes);
  size_t n = 0;
  if (!ReadCount(r, CountWidth::k32, 12, n)) return false;
  condition.rows.resize(n);
  for (auto& row : condition.rows) {
    row.key = r.I32();
    row.reserved = r.I32();
    row.revertFlag = r.I32();
  }
  return !r.Failed();
}

// Reads count records of one section; minBytes bounds the count before anything is allocated.
template <typename Record, typename ReadFn>
bool ReadSection(plat::ByteReader& r, size_t count, size_t minBytes, std::vector<Record>& out, ReadFn read) {
  if (count > r.Remaining() / minBytes) return false;
  out.resize(count);
  for (auto& record : out)
    if (!read(r, record)) return false;
  return true;
}

// -1 when the whole file was read, else the section that was damaged (7: the table).
int Parse(const std::vector<uint8_t>& bytes, DatabaseContent& content) {
  plat::ByteReader r(bytes);
  if (!r.Seek(kSectionCountOffset)) return kSectionCount;
  int16_t entries = r.I16();
  if (r.Failed() || entries < kSectionCount) return kSectionCount;
  size_t counts[kSectionCount];
  for (int i = 0; i < kSectionCount; ++i) {
    r.Seek(kHeaderBytes + i * kSectionEntryBytes + 4);
    int16_t n = r.I16();
    if (r.Failed() || n < 0) return kSectionCount;
    counts[i] = static_cast<size_t>(n);
  }
  if (!r.Seek(kHeaderBytes + static_cast<size_t>(entries) * kSectionEntryBytes)) return kSectionCount;

  if (!ReadSection(r, counts[0], 8, content.inventories, ReadInventory)) return 0;
  if (!ReadSection(r, counts[1], kItemRecordMinBytes, content.items, ReadItemRecord)) return 1;
  if (!ReadSection(r, counts[2], kCharacterMinBytes + 24 + 8, content.heroes, ReadHero)) return 2;
  if (!ReadSection(r, counts[3], kCharacterMinBytes + 16 + 8, content.enemies, ReadEnemy)) return 3;
  if (!ReadSection(r, counts[4], kShopHeadBytes + 4, content.shops, ReadShop)) return 4;
  if (!ReadSection(r, counts[5], kConditionHeadBytes + 4, content.conditions, ReadCondition)) return 5;
  if (!ReadSection(r, counts[6], kItemRecordMinBytes, content.skills, ReadItemRecord)) return 6;
  return -1;
}

}  // namespace

CGameDataLoader::CGameDataLoader(int storyIndex) : database(&g_gameDataBase) {
  Load(kGameDatabasePath);
  SetStartingInventory(storyIndex);
  SetupRoster();
}

CGameDataLoader::~CGameDataLoader() {
  for (auto& hero : database->heroes) hero.Reset();
  database->party.Reset();
}

int CGameDataLoader::Load(const char* path) {
  DatabaseContent content;
  std::vector<uint8_t> bytes;
  bool loaded = false;
  if (!plat::ReadWholeFile(path, bytes)) {
    DebugTrace(plat::DebugLevel::Error, "file %s open error", path);
  } else if (int damaged = Parse(bytes, content); damaged >= 0) {
    DebugTrace(plat::DebugLevel::Error, "Game database %s is damaged (section %d)", path, damaged);
    content = DatabaseContent();
  } else {
    loaded = true;
  }
  startingInventories = std::move(content.inventories);
  database->items = std::move(content.items);
  database->heroes = std::move(content.heroes);
  database->enemies = std::move(content.enemies);
  database->shops = std::move(content.shops);
  database->conditions = std::move(content.conditions);
  database->skills = std::move(content.skills);
  return loaded ? 1 : 0;
}

void CGameDataLoader::SetStartingInventory(int index) {
  if (index < 0 || static_cast<size_t>(index) >= startingInventories.size()) return;
  const STARTINVENTORYDESC& inventory = startingInventories[index];
  CParty& party = database->party;
  party.SetMoney(inventory.money);
  for (const auto& row : inventory.items) {
    party.ChangeItemCount(row.id, row.count, row.type, 0);
    // A stack holds at most 99.
    if (party.GetItemCount(row.type, row.id) > kMaxStackCount)
      party.ChangeItemCount(row.id, kMaxStackCount, row.type, 1);
  }
}

void CGameDataLoader::SetupRoster() {
  for (auto& hero : database->heroes) {
    int32_t startLevel = 1;
    for (const auto& a : hero.attributes) {
      if (a.key == kAttrLevel) {
        startLevel = a.base;
        break;
      }
    }
    hero.attributes.clear();
    for (int32_t key = 1; key <= kHeroAttributeCount; ++key) hero.attributes.push_back({key, 0, 0});
    RaiseToLevelEx(&hero, startLevel);
    for (int32_t key : {kAttrHp, kAttrMp, kAttrSpecial}) hero.RefillAttribute(key);
    auto ids = hero.equipmentIds;
    hero.equipmentIds.fill(0);
    for (int slot = 0; slot < kEquipSlotCount; ++slot)
      if (ids[slot] != 0) hero.Equip(kEquipSlotKinds[slot], ids[slot], nullptr);
  }
}
