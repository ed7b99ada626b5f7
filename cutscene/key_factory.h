#pragma once
#include <memory>
#include <string_view>

#include "cutscene/key.h"

// A new key with a zeroed payload, of the type whose key word equals the word
// exactly (case-sensitive, whole word), or of that code; null for any other.
std::unique_ptr<SKey> CreateKeyByName(std::string_view word, int frame);
std::unique_ptr<SKey> CreateKeyByCode(int code, int frame);
