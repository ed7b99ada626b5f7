#pragma once
#include <string>

#include "tools/datagen/creature_model_desc.h"
#include "tools/datagen/fence_writer.h"

// The sample world's walker creatures and their fences.
namespace datagen {

// A walker of 52 frames: pose k (0 to 12) runs frames 4k to 4k + 3 and loops
// over all of them; 2 stands, 3 to 6 walk, 10 to 12 are one-shot actions. A
// "body" object and a "_top" object 60 above it.
CreatureModel WalkerModel(const std::string& name);
// One group of two fences: fence 1 (pose 10 then pose 11, a hit at frame 3)
// and fence 2 (pose 12), which may follow fence 1.
FenceFile WalkerFences();

}  // namespace datagen
