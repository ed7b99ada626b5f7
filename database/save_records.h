#pragma once
// The party and character chunks of a save slot. Counted lists carry an int16
// count; the hero's fixed data, own actions, learning and level tables are not
// saved: they come from the database file.
#include <cstddef>

#include "platform/files.h"

class CParty;
class CGameDataBase;
class CGDMainManSoul;

void WritePartyChunk(const CParty& party, plat::ByteWriter& w);
// Replaces the header values, members and item lists; false (party unchanged) when damaged.
bool ReadPartyChunk(plat::ByteReader& r, CParty& party);

// One hero's live state: attributes, effects, condition stacks, protections,
// equipment records, learned actions, skill progress and switched-on skills.
void WriteCharacterRecord(const CGDMainManSoul& hero, plat::ByteWriter& w);
// Reads count records into the heroes of the same id (unknown ids are skipped);
// equipment is restored without applying its modifiers again. False when damaged:
// the records before the damage are kept.
bool ReadCharacterRecords(plat::ByteReader& r, size_t count, CGameDataBase& database);
