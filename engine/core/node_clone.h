#pragma once
#include "engine/core/handles.h"

// Cloning nodes. A shallow clone shares the source's kind data (a billboard
// gets its own material copy, a sound emitter a duplicate sound) and starts at
// the identity transform without a parent; a deep clone also takes the
// transform and owns copies of its kind data and of its mesh's materials.
// Both clone the source's level-of-detail group with it. 0 when the source
// does not resolve.
HOBJECT CloneNode(HOBJECT node);
HOBJECT CloneNodeDeep(HOBJECT node);
