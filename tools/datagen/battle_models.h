#pragma once
#include <string>
#include <vector>

#include "tools/datagen/action_table_writer.h"
#include "tools/datagen/creature_model_desc.h"

// The battle's sample bodies: a shown object "body" (a box 20 wide, 10 deep
// and 40 high), the limb objects "_larm", "_rarm", "_Lshin", "_Rshin", and
// one vertex-animated part "_head" whose three vertices are the hit
// vertices. Pose 0 is a single frame; pose k (1 or more) runs
// kBattleFramesPerPose frames; the position track moves 1 forward a frame.
namespace datagen {

inline constexpr int kBattleFramesPerPose = 20;

struct BattlePose {
  int first, last, p4, p5;
};

// The model with `poses` poses (the part count is for the body's warning tests).
CreatureModel BattleModel(const std::string& name, int poses, int vertexAnimatedParts = 1);
BattlePose BattlePoseFrames(int pose);
// The hit vertices of BattleModel, head front, head behind, body front, body behind.
std::vector<float> BattleHitVertices();
// One action per id, each on its own pose (1, 2, ...), hit frames on attacks.
ActionRecordDesc BattleActionRecord(int type, const std::vector<int>& ids);
// The sample's action ids of the heroes (types 1 and 2) and the wolf (101).
std::vector<int> HeroActionIds();
std::vector<int> WolfActionIds();

}  // namespace datagen
