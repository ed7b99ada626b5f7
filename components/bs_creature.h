#pragma once
#include "engine/core/handles.h"

// The small interface through which the game drives any creature.
// MINIMAL: only FindPartNode is declared; the rest of the interface and its
// name field are still missing.
class IBsCreature {
 public:
  virtual ~IBsCreature() = default;

  // The engine node of the object or part of that name (case-insensitive),
  // the root node for a null or empty name; 0 when none.
  virtual HOBJECT FindPartNode(const char* /*name*/) { return 0; }
};
