// The battle's bodies, weapon, action table and hit vertices.
#include "platform/files.h"
#include "tools/datagen/battle_models.h"
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

  std::vector<ActionRecordDesc> records = {BattleActionRecord(1, HeroActionIds()),
                                           BattleActionRecord(2, HeroActionIds()),
                                           EnemyActionRecord(sample::kEnemyId, WolfActionIds()),
                                           EnemyActionRecord(sample::kShooterId, ShooterActionIds())};
  if (!WriteActionTable(folder + "kbs.acb", records, error)) return false;

  std::string text = "#Describle\nvertices 2\n#Begin\n";
  for (const char* id : {"101", "102"}) {
    text += id;
    for (float v : BattleHitVertices()) text += " " + std::to_string(v);
    text += "\n";
  }
  text += "#EndDescrible\n";
  return WriteOutputFile(folder + "HitVertice.txt", std::vector<uint8_t>(text.begin(), text.end()), error);
}

}  // namespace datagen
