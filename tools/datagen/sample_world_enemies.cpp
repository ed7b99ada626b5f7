// The enemies' minds and props: the shooter E102 with its bolt, the trap
// marker, the last enemy's death sound, the behaviour switches and the AI
// monitor's names.
#include <cmath>
#include <numbers>

#include "platform/files.h"
#include "tools/datagen/battle_models.h"
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/model_binary_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {

namespace {

using namespace sample;

bool WriteCreature(const std::string& path, const CreatureModel& model, std::string& error) {
  plat::ByteWriter out;
  return WriteCreatureBinary(model, out, error) && WriteOutputFile(path, out.Bytes(), error);
}

// The shooter holds a bow and a bolt: two parts whose names end in "W".
CreatureModel ShooterModel() {
  CreatureModel model = BattleModel(kShooterModel, static_cast<int>(ShooterActionIds().size()));
  for (const char* name : {"_bowW", "_boltW"}) {
    CreatureObject part = model.objects[1];
    part.name = name;
    model.objects.push_back(part);
  }
  return model;
}

CreatureModel BoltModel() {
  CreatureModel bolt = BattleModel("_E311W", 1, 1);
  bolt.objects.resize(1);
  bolt.objects[0].name = "boltW";
  return bolt;
}

// A grey box of 20 units, the trap's marker.
Qb3Model MarkerBox() {
  Qb3Model box;
  box.materials.resize(1);
  const float h = 10;
  for (int i = 0; i < 8; ++i)
    box.vertices.push_back({i & 1 ? h : -h, i & 2 ? h : -h, i & 4 ? 2 * h : 0, 0, 0, 1, 0, 0});
  const uint32_t faces[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1}, {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
  for (const auto& f : faces) {
    box.primitives.push_back({ModelPrimitive::Triangle, 0, 1, {f[0], f[1], f[2]}});
    box.primitives.push_back({ModelPrimitive::Triangle, 0, 1, {f[0], f[2], f[3]}});
  }
  return box;
}

// A falling groan of half a second.
WaveSpec DeathSound() {
  WaveSpec spec;
  spec.sampleRate = kSampleRate;
  const int frames = kSampleRate / 2;
  double phase = 0;
  for (int i = 0; i < frames; ++i) {
    phase += 2 * std::numbers::pi * (400.0 - 300.0 * i / frames) / kSampleRate;
    spec.samples.push_back(static_cast<int16_t>(std::lround(6000.0 * (frames - i) / frames * std::sin(phase))));
  }
  return spec;
}

}  // namespace

std::vector<int> ShooterActionIds() {
  std::vector<int> ids = {11, 12};
  for (int i = 101; i <= 110; ++i) ids.push_back(i);
  for (int i : {115, 116, 121, 122, 123, 124, 151, 152, 153, 156, 171, 177, 187}) ids.push_back(i);
  for (int i = 511; i <= 526; ++i)
    if (i <= 516 || i >= 521) ids.push_back(i);
  return ids;
}

ActionRecordDesc EnemyActionRecord(int type, const std::vector<int>& ids) {
  ActionRecordDesc record = BattleActionRecord(type, ids);
  for (ActionDesc& a : record.actions) {
    // Moves walk along the pose's track; shots leave at a hit frame.
    if (a.id == 97 || (a.id >= 101 && a.id <= 110) || a.id == 115 || a.id == 116) a.trackMotion = 1;
    if (a.id >= 151 && a.id <= 153) a.hits = {BattlePoseFrames(a.pose).first + 10};
  }
  return record;
}

std::vector<AiRow> SampleAiRows() {
  // The wolf closes in two ways, bites and flees when weak; the shooter
  // keeps its distance, shoots, cures its allies and flees.
  return {{kEnemyModel, {1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 1, 0, 0}},
          {kShooterModel, {1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0}}};
}

std::vector<std::string> SampleInfoNames() {
  return {"None",
          "ApproachNear",
          "ApproachSide",
          "ApproachRush",
          "Attack",
          "QuickAttack",
          "BackAttack",
          "AttackAndStep",
          "PowerAttack",
          "NearAlly",
          "CureSelf",
          "Escape",
          "CureAlly",
          "ReleaseAlly",
          "Unused",
          "ApproachAttackRange",
          "ApproachForCureAlly",
          "ApproachForReleaseAlly",
          "BeBlock",
          "BeSnatch",
          "CureAlly",
          "CureSelf",
          "Die",
          "DoingAttack",
          "Escape",
          "FallDown",
          "NearAlly",
          "Palsy",
          "PrepareAttack",
          "ReleaseAlly",
          "ResumeAttack",
          "StandUp",
          "Wait"};
}

bool WriteSampleEnemies(const std::string& root, std::string& error) {
  const std::string folder = root + kBattleFolder;
  plat::ByteWriter marker;
  if (!WriteCreature(folder + kShooterModel + ".MCB", ShooterModel(), error) ||
      !WriteCreature(folder + "weapon/_E311W.MCB", BoltModel(), error) ||
      !WriteBinaryModel(MarkerBox(), marker, error) || !WriteOutputFile(root + "model/HOUN.qb3", marker.Bytes(), error))
    return false;
  return WriteOutputFile(root + "waves/enemydie.wav", BuildWave(DeathSound()), error);
}

}  // namespace datagen
