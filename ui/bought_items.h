#pragma once
// The trade screen's list of one-of-a-kind items already bought, as a save
// slot carries it.
namespace plat {
class ByteReader;
class ByteWriter;
}  // namespace plat

// Appends the block; answers its length.
int WriteBoughtItems(plat::ByteWriter& out);
// Restores the list from a block; answers the bytes used.
int ReadBoughtItems(plat::ByteReader& in);
