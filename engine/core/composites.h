#pragma once
#include <vector>

#include "engine/core/handles.h"

struct NODEDESC;

// Composite models: a root node and part nodes shown and hidden together.
// Nothing in the game makes them; the engine looks them up, walks and empties
// their pools.
struct COMPOSITEPARTDESC {
  NODEDESC* node = nullptr;
};

struct COMPOSITEDESC {
  int index = 0;
  int visible = 1;
  NODEDESC* root = nullptr;
  std::vector<COMPOSITEPARTDESC> parts;
};

// The second composite kind.
struct COMPOSITE2DESC;

void DestroyComposite(HOBJECT composite);
void DestroyComposite2(HOBJECT composite);
