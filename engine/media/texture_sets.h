#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Set files: ".qst" texture sets and ".qsi" image sets, little-endian:
//   4 bytes not checked; uint32 entry count; count x uint32 entry offsets
//   from the start of the set file; the entries, each a complete image.
// The entry n of the set wall is asked for as wall07 for n = 7.

// Splits a base name into the set's base name and the entry number taken from
// its last two characters. False when the name is shorter than 3 characters
// or does not end in two decimal digits.
bool SplitSetNumber(const std::string& baseName, std::string* setBaseName, int* number);

// The offset of entry number in the set: false when the number is at or
// beyond the set's count, or the offset table or the entry's offset lies
// outside the file.
bool FindSetEntry(const std::vector<uint8_t>& set, int number, size_t* entryOffset);
