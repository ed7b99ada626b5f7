#pragma once
#include <string>
#include <vector>

#include "tools/datagen/creature_model_desc.h"
#include "tools/datagen/fence_writer.h"

// The swordsman models of the test fixtures and the sample world's fences
// (for the hero creatures "creature/Walk01" and "Walk03", whose poses 10 to
// 12 last three frames each).
namespace datagen {

// A swordsman of the given frames and poses with no root offsets: a "body"
// object and a hidden "_top" object 60 above it.
CreatureModel SwordsmanModel(const std::string& name, int frames, const std::vector<CreaturePose>& poses);
// A walker of 52 frames: pose k (0 to 12) runs frames 4k to 4k + 3 and loops
// over all of them; 2 stands, 3 to 6 walk, 10 to 12 are one-shot actions.
CreatureModel WalkerModel(const std::string& name);
// One group of two fences: fence 1 (pose 10 then pose 11, three frames each,
// a hit at frame 3) and fence 2 (pose 12), which may follow fence 1.
FenceFile WalkerFences();

}  // namespace datagen
