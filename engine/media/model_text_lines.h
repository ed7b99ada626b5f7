#pragma once
#include <string>

#include "platform/files.h"

// Lines of the text model format.

// Reads the next line: CR and the line break are dropped, a backslash is
// dropped and makes the next line break part of the line, tabs become
// blanks. The length of the line read, 0 for an empty line, -1 at the end of
// the file with nothing read.
int ReadLine(plat::ByteReader& file, std::string& line);

// Tabs to blanks, leading and trailing blanks removed; answers the number of
// leading blanks removed.
int TrimLine(std::string& text);
