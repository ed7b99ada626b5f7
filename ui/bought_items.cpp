#include "ui/bought_items.h"

#include "platform/files.h"

// MINIMAL: the trade screen's block is missing; an empty block is written.
int WriteBoughtItems(plat::ByteWriter&) { return 0; }
// MINIMAL: the trade screen's block is missing; nothing is read.
int ReadBoughtItems(plat::ByteReader&) { return 0; }
