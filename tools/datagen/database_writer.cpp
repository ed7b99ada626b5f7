#include "tools/datagen/database_writer.h"

#include "platform/files.h"

namespace datagen {
namespace {

constexpr int kSectionCount = 7;

void WriteModifier(plat::ByteWriter& w, const ModifierData& m) {
  for (int32_t v : {m.flags, m.kind, m.key, m.period, m.turns, m.mode, m.value, m.revertFlag}) w.I32(v);
  w.I32(0);  // applied total
  w.I32(0);  // reserved
}

void WriteItem(plat::ByteWriter& w, const ItemData& item) {
  w.FixedString(item.name, 64);
  w.FixedString(item.icon, 32);
  w.FixedString(item.description, 128);
  int32_t values[18] = {};
  values[0] = item.id;
  values[1] = item.type;
  values[3] = item.price;
  values[4] = item.useKind;
  values[5] = item.reachFirst;
  values[6] = item.reachSecond;
  values[7] = item.mpCost;
  values[8] = item.skillGain;
  values[9] = item.basePower;
  values[12] = item.pointsNeeded;
  for (int32_t v : values) w.I32(v);
  w.I32(static_cast<int32_t>(item.modifiers.size()));
  for (const auto& m : item.modifiers) WriteModifier(w, m);
}

// The 104 bytes every character begins with, then its attributes and actions.
void WriteCharacterHead(plat::ByteWriter& w, const std::string& name, const std::string& model, int32_t kind,
                        int32_t subKind, int32_t id, int32_t stateWord, const std::vector<AttributeData>& attributes,
                        const std::vector<ItemData>& actions) {
  w.FixedString(name, 32);
  w.FixedString(model, 32);
  w.I32(kind);
  w.I32(subKind);
  w.Zeros(24);
  w.I32(id);
  w.I32(stateWord);
  w.I32(static_cast<int32_t>(attributes.size()));
  for (const auto& a : attributes) {
    w.I32(a.key);
    w.I32(a.base);
    w.I32(a.bonus);
  }
  w.I32(static_cast<int32_t>(actions.size()));
  for (const auto& action : actions) WriteItem(w, action);
}

void WriteHero(plat::ByteWriter& w, const HeroData& hero) {
  WriteCharacterHead(w, hero.name, hero.model, hero.kind, hero.subKind, hero.id, hero.stateWord, hero.attributes,
                     hero.actions);
  for (int32_t id : hero.equipment) w.I32(id);
  w.I32(static_cast<int32_t>(hero.learning.size()));
  for (const auto& entry : hero.learning) {
    w.U8(entry.actionId);
    w.U8(0);
    w.U16(entry.level);
  }
  w.I32(static_cast<int32_t>(hero.levels.size()));
  for (const auto& row : hero.levels) {
    w.I32(static_cast<int32_t>(row.size()));
    for (const auto& entry : row) {
      w.I32(entry.key);
      w.I32(entry.value);
      w.I32(0);
    }
  }
}

void WriteEnemy(plat::ByteWriter& w, const EnemyData& enemy) {
  WriteCharacterHead(w, enemy.name, enemy.model, enemy.kind ? enemy.kind : enemy.id, 0, enemy.id, enemy.stateWord,
                     enemy.attributes, enemy.actions);
  w.I32(enemy.money);
  w.I32(enemy.experience);
  w.I32(0);
  w.I32(0);
  w.I32(static_cast<int32_t>(enemy.drops.size()));
  for (const auto& drop : enemy.drops) {
    w.I32(drop.id);
    w.I32(drop.count);
    w.I32(drop.type);
  }
  w.I32(static_cast<int32_t>(enemy.pairs.size()));
  for (const auto& [first, second] : enemy.pairs) {
    w.U16(first);
    w.U16(second);
  }
}

void WriteShop(plat::ByteWriter& w, const ShopData& shop) {
  w.FixedString(shop.name, 64);
  w.Zeros(192 - 64);
  w.I32(shop.id);
  w.Zeros(4);
  w.I32(static_cast<int32_t>(shop.stock.size()));
  for (const auto& row : shop.stock) {
    w.I32(row.itemId);
    w.I32(row.count);
    w.I32(row.itemType);
  }
}

void WriteCondition(plat::ByteWriter& w, const ConditionData& condition) {
  w.FixedString(condition.name, 32);
  w.FixedString(condition.description, 192);
  w.I32(condition.id);
  w.Zeros(12);
  w.I32(static_cast<int32_t>(condition.rows.size()));
  for (const auto& row : condition.rows) {
    w.I32(row.key);
    w.I32(0);
    w.I32(row.revertFlag);
  }
}

void WriteInventory(plat::ByteWriter& w, const StartInventoryData& inventory) {
  w.I32(inventory.money);
  w.I32(static_cast<int32_t>(inventory.items.size()));
  for (const auto& row : inventory.items) {
    w.I32(row.type);
    w.I32(row.id);
    w.I32(row.count);
  }
}

template <typename Record, typename WriteFn>
void WriteSection(plat::ByteWriter& w, const std::vector<Record>& records, WriteFn write) {
  for (const auto& record : records) write(w, record);
}

}  // namespace

std::vector<uint8_t> WriteDatabase(const DatabaseData& data) {
  plat::ByteWriter w;
  w.FixedString("Tarnwick game database", 46);
  w.I16(kSectionCount);
  const size_t counts[kSectionCount] = {
      data.startInventories.size(), data.items.size(), data.heroes.size(), data.enemies.size(), data.shops.size(),
      data.conditions.size(),       data.skills.size()};
  // Entry: section number, record count, then the section's offset (filled below).
  size_t table = w.Size();
  for (int i = 0; i < kSectionCount; ++i) {
    w.I32(i);
    w.I16(static_cast<int16_t>(counts[i]));
    w.I16(0);
    w.I32(0);
  }
  auto mark = [&](int section) { w.PatchU32(table + section * 12 + 8, static_cast<uint32_t>(w.Size())); };
  mark(0);
  WriteSection(w, data.startInventories, WriteInventory);
  mark(1);
  WriteSection(w, data.items, WriteItem);
  mark(2);
  WriteSection(w, data.heroes, WriteHero);
  mark(3);
  WriteSection(w, data.enemies, WriteEnemy);
  mark(4);
  WriteSection(w, data.shops, WriteShop);
  mark(5);
  WriteSection(w, data.conditions, WriteCondition);
  mark(6);
  WriteSection(w, data.skills, WriteItem);
  return std::move(w.Bytes());
}

bool WriteDatabaseFile(const std::string& path, const DatabaseData& data) {
  std::vector<uint8_t> bytes = WriteDatabase(data);
  return plat::WriteFileAtomic(path, bytes.data(), bytes.size());
}

std::vector<uint8_t> WriteItemPositionBlock(const std::array<std::vector<int32_t>, 5>& slots, int32_t version) {
  plat::ByteWriter block;
  block.Bytes("IPOS", 4);
  block.I32(version);
  for (const auto& list : slots) {
    block.I32(static_cast<int32_t>(list.size()));
    for (int32_t slot : list) block.I32(slot);
  }
  plat::ByteWriter w;
  w.I32(static_cast<int32_t>(block.Size()));
  w.Bytes(block.Bytes().data(), block.Size());
  return std::move(w.Bytes());
}

}  // namespace datagen
