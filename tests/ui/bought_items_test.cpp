#include <gtest/gtest.h>

#include <vector>

#include "platform/files.h"
#include "tests/support/captures.h"
#include "ui/bought_items.h"

namespace {

std::vector<int> Entries(int n) {
  std::vector<int> list;
  for (int i = 0; i < n; ++i) list.insert(list.end(), {1, 7, i});
  return list;
}

std::vector<uint8_t> Block(int32_t count, int entries) {
  plat::ByteWriter out;
  out.I32(count);
  for (int i = 0; i < entries * 3; ++i) out.I32(i);
  return out.Bytes();
}

TEST(BoughtItemsTest, OneHundredEntriesRoundTrip) {
  std::vector<int> list = Entries(100);
  plat::ByteWriter out;
  EXPECT_EQ(WriteBoughtItemList(list, out), 12 * 100 + 4);
  std::vector<int> back = {9, 9, 9};
  plat::ByteReader in(out.Bytes());
  EXPECT_EQ(ReadBoughtItemList(back, in), 1);
  EXPECT_EQ(back, list);
}

TEST(BoughtItemsTest, BadBlocksAreRefused) {
  struct Case {
    int32_t count;
    int entries;
    int result;
    size_t left;  // ints in the list afterwards
  } cases[] = {{101, 101, 0, 3}, {-1, 0, 0, 3}, {2, 1, 0, 0}, {0, 0, 1, 0}, {2, 2, 1, 6}};
  for (const Case& c : cases) {
    std::vector<int> list = {4, 5, 6};
    std::vector<uint8_t> bytes = Block(c.count, c.entries);
    plat::ByteReader in(bytes);
    EXPECT_EQ(ReadBoughtItemList(list, in), c.result) << c.count;
    EXPECT_EQ(list.size(), c.left) << c.count;
  }
  std::vector<int> list = {4, 5, 6};
  plat::ByteReader empty(nullptr, 0);
  EXPECT_EQ(ReadBoughtItemList(list, empty), 0);
  EXPECT_EQ(list.size(), 3u);
}

TEST(BoughtItemsTest, TheListKeepsWhatASaveCanCarry) {
  testsupport::DebugTraceCapture trace;
  std::vector<int> list;
  AddBoughtItem(list, 1, 7, 5);
  AddBoughtItem(list, 1, 7, 5);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_TRUE(IsItemBought(list, 1, 7, 5));
  EXPECT_FALSE(IsItemBought(list, 2, 7, 5));
  list = Entries(100);
  AddBoughtItem(list, 3, 1, 1);
  EXPECT_EQ(list.size(), 300u);
  EXPECT_FALSE(IsItemBought(list, 3, 1, 1));
  EXPECT_TRUE(trace.Contains("not kept"));

  // A longer list from elsewhere is written as the reader takes it.
  list = Entries(120);
  plat::ByteWriter out;
  EXPECT_EQ(WriteBoughtItemList(list, out), 12 * 100 + 4);
  std::vector<int> back;
  plat::ByteReader in(out.Bytes());
  EXPECT_EQ(ReadBoughtItemList(back, in), 1);
  EXPECT_EQ(back.size(), 300u);
}

TEST(BoughtItemsTest, ThePublishedListIsWhatSavesCarry) {
  std::vector<int> list = Entries(2);
  SetBoughtItemList(&list);
  plat::ByteWriter out;
  EXPECT_EQ(WriteBoughtItems(out), 28);
  list.clear();
  plat::ByteReader in(out.Bytes());
  EXPECT_EQ(ReadBoughtItems(in), 1);
  EXPECT_EQ(list, Entries(2));
  SetBoughtItemList(nullptr);
  plat::ByteWriter none;
  EXPECT_EQ(WriteBoughtItems(none), 4);
}

}  // namespace
