#include <gtest/gtest.h>

#include "database/game_database.h"
#include "database/item_pool.h"
#include "platform/files.h"
#include "tests/database/database_test_support.h"
#include "tests/support/captures.h"
#include "tools/datagen/database_writer.h"

namespace {

using dbtest::Attributes;
using dbtest::Gear;
using dbtest::Item;
using dbtest::Modifier;

class ItemPoolTest : public dbtest::DatabaseTest {
 protected:
  CParty& party = g_gameDataBase.party;
  CGDItemPool pool{&g_gameDataBase};

  // Every list as long as its slot vector, and every used place marked used.
  void ExpectInStep() {
    for (int list = 0; list < kPartyListCount; ++list) {
      ASSERT_EQ(pool.GetSlots(list).size(), party.itemLists[list].size()) << "list " << list;
      for (int32_t slot : pool.GetSlots(list)) {
        if (slot >= 0) {
          EXPECT_EQ(pool.IsSlotFree(slot), 0) << "slot " << slot;
        }
      }
    }
  }
};

TEST_F(ItemPoolTest, StacksHoldAtMost99) {
  struct Case {
    int32_t held, add, count;
  } cases[] = {{50, 60, 99}, {0, 150, 99}, {10, 5, 15}, {99, 1, 99}};
  for (const auto& c : cases) {
    party.Reset();
    pool.RebuildSlots();
    if (c.held) pool.AddItem(8, 3, c.held, -1);
    EXPECT_EQ(pool.AddItem(8, 3, c.add, -1), 0);
    EXPECT_EQ(pool.GetItemCount(8, 3), c.count) << c.held << " + " << c.add;
    EXPECT_EQ(party.GetItemCount(8, 3), c.count);
    EXPECT_EQ(party.itemLists[kListType8].size(), 1u);
  }
  EXPECT_EQ(pool.SetItemCount(8, 3, 100), 0);
  EXPECT_EQ(pool.GetItemCount(8, 3), 99);
  EXPECT_EQ(pool.SetItemCount(8, 4, 250), 0);
  EXPECT_EQ(pool.GetItemCount(8, 4), 99);
  ExpectInStep();
}

TEST_F(ItemPoolTest, AddingNothingOrToAnUnknownTypeChangesNothing) {
  EXPECT_EQ(pool.AddItem(8, 3, 0, -1), -1);
  EXPECT_EQ(pool.AddItem(8, 3, -4, -1), -1);
  EXPECT_EQ(pool.AddItem(9, 3, 4, -1), -1);
  EXPECT_EQ(pool.GetFirstItem(nullptr), nullptr);
  EXPECT_EQ(pool.IsSlotFree(0), 1);
}

TEST_F(ItemPoolTest, RemovingFreesThePlaceForTheNextNewItem) {
  for (int32_t id = 1; id <= 6; ++id) pool.AddItem(7, id, 3, -1);
  EXPECT_EQ(pool.GetItemSlot(7, 5), 4);
  EXPECT_EQ(pool.RemoveItem(7, 5, 2), 0);
  EXPECT_EQ(pool.GetItemCount(7, 5), 1);
  EXPECT_EQ(pool.RemoveItem(7, 5, 1), 1);
  EXPECT_EQ(pool.GetItemSlot(7, 5), -1);
  EXPECT_EQ(pool.IsSlotFree(4), 1);
  EXPECT_EQ(pool.RemoveItem(7, 5, 1), 0);  // no entry
  EXPECT_EQ(pool.RemoveItem(7, 4, -1), -1);
  EXPECT_EQ(party.itemLists[kListType7][4].id, 6);  // later entries moved up

  pool.AddItem(8, 20, 1, -1);
  EXPECT_EQ(pool.GetItemSlot(8, 20), 4);
  pool.AddItem(8, 21, 1, -1);
  EXPECT_EQ(pool.GetItemSlot(8, 21), 6);
  pool.AddItem(1, 22, 1, 40);  // a place the screen chose
  EXPECT_EQ(pool.GetItemSlot(1, 22), 40);
  EXPECT_EQ(pool.SetItemCount(1, 22, 0), 0);
  EXPECT_EQ(pool.IsSlotFree(40), 1);
  ExpectInStep();
}

TEST_F(ItemPoolTest, ItemsOfTheSharedListAreToldApartByType) {
  pool.AddItem(2, 5, 1, -1);
  pool.AddItem(3, 5, 2, -1);
  EXPECT_EQ(pool.GetItemCount(2, 5), 1);
  EXPECT_EQ(pool.GetItemCount(3, 5), 2);
  EXPECT_NE(pool.GetItemSlot(2, 5), pool.GetItemSlot(3, 5));
}

TEST_F(ItemPoolTest, IterationVisitsEveryListInOrderWithItsPlaces) {
  pool.AddItem(1, 1, 1, -1);
  pool.AddItem(8, 2, 1, -1);
  pool.AddItem(4, 3, 1, -1);
  pool.AddItem(8, 4, 1, -1);
  pool.AddItem(6, 5, 1, -1);
  std::vector<std::pair<int32_t, int32_t>> seen;  // id, place
  int32_t slot = -9;
  for (PARTYITEMDESC* e = pool.GetFirstItem(&slot); e; e = pool.GetNextItem(&slot)) seen.push_back({e->id, slot});
  EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{2, 1}, {4, 3}, {5, 4}, {1, 0}, {3, 2}}));

  pool.RebuildSlots();
  seen.clear();
  for (PARTYITEMDESC* e = pool.GetFirstItem(&slot); e; e = pool.GetNextItem(&slot)) seen.push_back({e->id, slot});
  EXPECT_EQ(seen, (std::vector<std::pair<int32_t, int32_t>>{{2, 0}, {4, 1}, {5, 2}, {1, 3}, {3, 4}}));
  EXPECT_EQ(pool.IsSlotFree(5), 1);
  ExpectInStep();
}

TEST_F(ItemPoolTest, ThePoolKeepsStepWithListsChangedBehindIt) {
  pool.AddItem(8, 1, 1, -1);
  pool.AddItem(8, 2, 1, -1);
  party.ChangeItemCount(3, 1, 8, 0);  // the console adds directly to the party
  int32_t slot = -9;
  ASSERT_NE(pool.GetFirstItem(&slot), nullptr);
  pool.GetNextItem(&slot);
  PARTYITEMDESC* third = pool.GetNextItem(&slot);
  ASSERT_NE(third, nullptr);
  EXPECT_EQ(third->id, 3);
  EXPECT_EQ(slot, 2);  // a free place, not an occupied one
  party.itemLists[kListType8].clear();
  EXPECT_EQ(pool.GetFirstItem(&slot), nullptr);
  EXPECT_EQ(pool.IsSlotFree(0), 1);
  ExpectInStep();
}

TEST_F(ItemPoolTest, MovingAndReplacingKeepPlacesAndCounts) {
  pool.AddItem(7, 291, 4, -1);
  pool.AddItem(7, 10, 1, -1);
  EXPECT_EQ(pool.SetItemSlot(7, 291, 9, 1), 9);
  EXPECT_EQ(pool.IsSlotFree(0), 1);
  EXPECT_EQ(pool.IsSlotFree(9), 0);
  EXPECT_EQ(pool.SetItemSlot(7, 999, 3, 1), -1);
  EXPECT_EQ(pool.ReplaceItem(7, 291, 7, 292), 0);
  EXPECT_EQ(pool.GetItemCount(7, 291), 0);
  EXPECT_EQ(pool.GetItemCount(7, 292), 4);
  EXPECT_EQ(pool.GetItemSlot(7, 292), 9);
  EXPECT_EQ(pool.ReplaceItem(7, 291, 7, 293), -1);
  ExpectInStep();
}

TEST_F(ItemPoolTest, TheLeaderEquipsAndUsesItems) {
  g_gameDataBase.items.push_back(Item(1, 1, {Gear(9, 10)}, 120));
  g_gameDataBase.items.push_back(Item(8, 3, {Modifier(kModOnTarget, kModKindAttribute, kAttrHp, kModeAdd, 30, 0)}, 20));
  CGDMainManSoul hero;
  hero.id = 1;
  hero.attributes = Attributes({{9, 50}, {kAttrHp, 40}, {kAttrMaxHp, 100}});
  g_gameDataBase.heroes.push_back(hero);
  EXPECT_EQ(pool.EquipItem(1, 1), -1);  // no leader yet
  party.members = {1};
  CGDMainManSoul* leader = g_gameDataBase.FindHero(1);

  EXPECT_EQ(pool.EquipItem(1, 1), 1);
  EXPECT_EQ(leader->GetAttribute(9), 60);
  EXPECT_EQ(pool.UnequipItem(1), 1);
  EXPECT_EQ(leader->GetAttribute(9), 50);

  pool.AddItem(8, 3, 2, -1);
  EXPECT_EQ(pool.UseItem(8, 3), 0);
  EXPECT_EQ(leader->GetAttribute(kAttrHp), 70);
  EXPECT_EQ(pool.UseItem(8, 3), 1);
  EXPECT_EQ(leader->GetAttribute(kAttrHp), 100);
  EXPECT_EQ(pool.GetItemCount(8, 3), 0);
  EXPECT_EQ(pool.GetItemPrice(8, 3), 20);
  EXPECT_EQ(pool.GetItemPrice(8, 4), 0);
  EXPECT_EQ(pool.GetItemRecord(1, 1), g_gameDataBase.FindItem(1, 1));
}

class ItemPoolBlockTest : public ItemPoolTest {
 protected:
  testsupport::ScopedWorkDir dir;

  int WriteTo(const char* path) {
    auto file = plat::File::CreateWrite(path);
    int written = pool.WriteBlock(*file);
    EXPECT_TRUE(file->Commit());
    return written;
  }
  void WriteBytes(const char* path, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size()));
  }
  int ReadFrom(CGDItemPool& into, const char* path) {
    auto file = plat::File::OpenRead(path);
    return into.ReadBlock(*file);
  }
};

TEST_F(ItemPoolBlockTest, ASavedPoolComesBackAtItsPlaces) {
  pool.AddItem(8, 1, 5, -1);
  pool.AddItem(8, 2, 1, 7);
  pool.AddItem(1, 3, 1, -1);
  pool.AddItem(5, 4, 1, 300);
  EXPECT_EQ(WriteTo("pool.bin"), 4 + 28 + 4 * 4);

  CGDItemPool restored(&g_gameDataBase);
  EXPECT_EQ(ReadFrom(restored, "pool.bin"), 100);
  const std::pair<int32_t, int32_t> entries[] = {{8, 1}, {8, 2}, {1, 3}, {5, 4}};
  for (auto [type, id] : entries) EXPECT_EQ(restored.GetItemSlot(type, id), pool.GetItemSlot(type, id)) << id;
  restored.AddItem(7, 9, 1, -1);
  EXPECT_EQ(restored.GetItemSlot(7, 9), 2);  // 0, 1 and 7 are taken
  restored.AddItem(7, 10, 1, -1);
  EXPECT_EQ(restored.GetItemSlot(7, 10), 3);
}

TEST_F(ItemPoolBlockTest, ABlockOfAnotherVersionOrMagicRestoresNothing) {
  pool.AddItem(8, 1, 1, -1);
  pool.AddItem(8, 2, 1, -1);
  std::array<std::vector<int32_t>, 5> slots{{{5, 6}, {}, {}, {}, {}}};
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    int result;
  } cases[] = {
      {"version 99", datagen::WriteItemPositionBlock(slots, 99), 99},
      {"not IPOS",
       [&] {
         auto b = datagen::WriteItemPositionBlock(slots);
         b[4] = 'X';
         return b;
       }(),
       0},
  };
  for (const auto& c : cases) {
    WriteBytes("block.bin", c.bytes);
    EXPECT_EQ(ReadFrom(pool, "block.bin"), c.result) << c.what;
    for (int list = 0; list < kPartyListCount; ++list) EXPECT_TRUE(pool.GetSlots(list).empty()) << c.what;
    for (int32_t slot = 0; slot < CGDItemPool::kSlotCount; ++slot)
      ASSERT_EQ(pool.IsSlotFree(slot), 1) << c.what << " slot " << slot;
  }
  WriteBytes("block.bin", datagen::WriteItemPositionBlock(slots));
  EXPECT_EQ(ReadFrom(pool, "block.bin"), 100);
  EXPECT_EQ(pool.GetItemSlot(8, 2), 6);
}

TEST_F(ItemPoolBlockTest, DamagedBlocksAreRefusedWithATraceAndChangeNothing) {
  std::array<std::vector<int32_t>, 5> slots{{{1, 2, 3}, {4}, {}, {}, {}}};
  const std::vector<uint8_t> good = datagen::WriteItemPositionBlock(slots);
  auto withLength = [&](int32_t length) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[i] = static_cast<uint8_t>(static_cast<uint32_t>(length) >> (8 * i));
    return b;
  };
  auto withCount = [&](int32_t count) {
    std::vector<uint8_t> b = good;
    for (int i = 0; i < 4; ++i) b[12 + i] = static_cast<uint8_t>(static_cast<uint32_t>(count) >> (8 * i));
    return b;
  };
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"cut in the middle", std::vector<uint8_t>(good.begin(), good.end() - 6)},
      {"length beyond the file", withLength(100000)},
      {"negative length", withLength(-8)},
      {"count beyond the block", withCount(1000)},
      {"negative count", withCount(-1)},
      {"no length", {1, 2}},
      {"IPOS without its version", {4, 0, 0, 0, 'I', 'P', 'O', 'S'}},
      {"fifth count beyond the block",
       [&] {
         std::vector<uint8_t> b = good;
         b[b.size() - 4] = 7;  // the last list's count
         return b;
       }()},
  };
  // The places of the game in memory, which no damaged block may touch.
  pool.AddItem(8, 1, 1, 9);
  pool.AddItem(1, 5, 1, 3);
  std::vector<std::vector<int32_t>> places;
  for (int list = 0; list < kPartyListCount; ++list) places.push_back(pool.GetSlots(list));
  for (const auto& c : cases) {
    WriteBytes("block.bin", c.bytes);
    testsupport::DebugTraceCapture trace;
    EXPECT_EQ(ReadFrom(pool, "block.bin"), 0) << c.what;
    EXPECT_FALSE(trace.Lines().empty()) << c.what;
    for (int list = 0; list < kPartyListCount; ++list) EXPECT_EQ(pool.GetSlots(list), places[list]) << c.what;
    for (int32_t slot = 0; slot < CGDItemPool::kSlotCount; ++slot)
      ASSERT_EQ(pool.IsSlotFree(slot), slot == 9 || slot == 3 ? 0 : 1) << c.what << " slot " << slot;
  }
}

}  // namespace
