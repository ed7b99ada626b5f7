#pragma once
#include <memory>

#include "cutscene/key.h"
#include "cutscene/key_manager.h"

// A new track of the class serving the key's type, holding the key; null (the
// key is dropped) for a type no track serves.
std::unique_ptr<SKeyManager> CreateKeyTrack(std::unique_ptr<SKey> key);
