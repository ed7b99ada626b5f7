#pragma once
#include "engine/core/handles.h"

// Models: ".qb3" binary and ".qx3" text files (engine/media/model_binary.h,
// engine/media/model_text.h), from the model package or loose files.

// The model's root node under parent, or 0 (also while the engine is closed).
// The package entry comes first, then the disk search; a found file's
// extension picks the reader.
HOBJECT LoadModel(HOBJECT parent, const char* name);
