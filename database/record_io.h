#pragma once
// Byte forms of the records that both the database file and the save files carry.
#include <cstddef>

#include "database/records.h"
#include "platform/files.h"

void ReadModifier(plat::ByteReader& r, MODIFIERDESC& m);
void WriteModifier(plat::ByteWriter& w, const MODIFIERDESC& m);
// The 296-byte head: name, icon name, description and the 18 values.
void ReadItemHead(plat::ByteReader& r, ITEMDESC& item);
void WriteItemHead(plat::ByteWriter& w, const ITEMDESC& item);

enum class CountWidth { k16, k32 };
// Reads a count and checks that as many elements of at least minBytes each
// can still follow; false (nothing to allocate) for a negative or impossible one.
bool ReadCount(plat::ByteReader& r, CountWidth width, size_t minBytes, size_t& count);
