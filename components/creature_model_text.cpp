#include "components/creature_model.h"
#include "components/creature_model_readers.h"
#include "game/util/debug_trace.h"

// MINIMAL: the text model reader waits for the text tokenizer.
bool ReadCreatureText(CModelData& model) {
  DebugTrace("file %s open error", model.path.c_str());
  return false;
}
