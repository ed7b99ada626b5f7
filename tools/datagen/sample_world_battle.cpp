// The battle's bodies, weapon, action table and hit vertices.
#include <algorithm>

#include "platform/files.h"
#include "tools/datagen/battle_models.h"
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"

namespace datagen {

namespace {

bool WriteModel(const std::string& path, const CreatureModel& model, std::string& error) {
  plat::ByteWriter out;
  if (!WriteCreatureBinary(model, out, error)) return false;
  return WriteOutputFile(path, out.Bytes(), error);
}

// A hero's steps without an enemy in reach: forward and sideways distances
// (sideways positive to the right), spread over the pose's motion span.
struct HeroStep {
  int id;
  float forward;
  float sideways;
};
constexpr HeroStep kHeroSteps[] = {{101, 40, 0},   {102, 28, -28}, {103, 28, 28},  {107, -40, 0}, {108, -28, -28},
                                   {109, -28, 28}, {113, 120, 0},  {114, -120, 0}, {117, 0, -40}, {118, 0, 40}};

// The hero's record: the steps move the hero and strike nothing.
ActionRecordDesc HeroActionRecord(int type) {
  ActionRecordDesc record = BattleActionRecord(type, HeroActionIds());
  for (ActionDesc& a : record.actions)
    for (const HeroStep& step : kHeroSteps)
      if (a.id == step.id) {
        a.hits.clear();
        a.actionMotion = 1;
        a.forward = step.forward;
        a.sideways = step.sideways;
      }
  return record;
}

}  // namespace

bool WriteSampleBattle(const std::string& root, std::string& error) {
  const std::string folder = root + "creature/battle/";
  const int heroPoses = static_cast<int>(HeroActionIds().size());
  const int wolfPoses = static_cast<int>(WolfActionIds().size());
  for (const char* hero : {"m001", "m004"})
    if (!WriteModel(folder + hero + ".MCB", BattleModel(hero, heroPoses), error)) return false;
  if (!WriteModel(folder + "E101.MCB", BattleModel("E101", wolfPoses), error)) return false;
  CreatureModel sword = BattleModel("_m004W", 1, 1);
  sword.objects.resize(1);
  sword.objects[0].name = "bladeW";
  if (!WriteModel(folder + "weapon/_m004W.mcb", sword, error)) return false;

  std::vector<ActionRecordDesc> records = {HeroActionRecord(1), HeroActionRecord(2),
                                           EnemyActionRecord(sample::kEnemyId, WolfActionIds()),
                                           EnemyActionRecord(sample::kShooterId, ShooterActionIds())};
  if (!WriteActionTable(folder + "kbs.acb", records, error)) return false;

  // The wolf's and the bowman's rows, from the battle models' own vertices.
  const std::vector<float> points = BattleHitVertices();
  std::vector<HitVertexRow> rows;
  for (int id : {sample::kEnemyId, sample::kShooterId}) {
    HitVertexRow row{std::to_string(id), {}};
    std::copy(points.begin(), points.end(), row.values.begin());
    rows.push_back(row);
  }
  return WriteHitVertices(folder + "HitVertice.txt", rows, error);
}

}  // namespace datagen
