#pragma once
#include <string>
#include <vector>

// The program's argument table: the program path first, then every argument
// split at blanks (quotes mean nothing), at most 32 entries; the surplus is
// dropped.
constexpr int kMaxArguments = 32;

std::vector<std::string> BuildArgumentTable(int argc, char** argv);
