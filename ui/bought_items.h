#pragma once
#include <cstdint>
#include <vector>

// The trade screen's list of one-of-a-kind items already bought: entries of
// three ints {shop id, item type, item id}, owned by the game object and
// carried by a save slot as an int32 count and the entries.
namespace plat {
class ByteReader;
class ByteWriter;
}  // namespace plat

// The most entries a save slot carries.
constexpr int kMaxBoughtItems = 100;

// The list the trade window and the save slots use (null: none).
void SetBoughtItemList(std::vector<int>* list);
std::vector<int>* GetBoughtItemList();

// Remembers an item once; a full list keeps what it has (a trace line tells).
void AddBoughtItem(std::vector<int>& list, int shopId, int type, int id);
bool IsItemBought(const std::vector<int>& list, int shopId, int type, int id);

// Writes the count and the entries; answers the bytes written (12 n + 4).
int WriteBoughtItemList(const std::vector<int>& list, plat::ByteWriter& out);
// 0, the list untouched, when the stream is in error already or the count
// cannot be read, is negative or above 100; 0 and an empty list when an
// entry cannot be read; else 1.
int ReadBoughtItemList(std::vector<int>& list, plat::ByteReader& in);

// The same on the published list; without one an empty block is written
// and nothing is read.
int WriteBoughtItems(plat::ByteWriter& out);
int ReadBoughtItems(plat::ByteReader& in);
