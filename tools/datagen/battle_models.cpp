#include "tools/datagen/battle_models.h"

namespace datagen {

namespace {

CreatureObject Box(const std::string& name, float x0, float y0, float z0, float x1, float y1, float z1, int frames) {
  CreatureObject o;
  o.name = name;
  o.materials = {CreatureMaterial{}};
  o.vertices = {{x0, y0, z0, 0, 0, 1, 0, 0},
                {x1, y0, z0, 0, 0, 1, 1, 0},
                {x1, y1, z1, 0, 0, 1, 1, 1},
                {x0, y1, z1, 0, 0, 1, 0, 1}};
  o.triangles = {{0, 0, 0, 1, 2}, {0, 0, 0, 2, 3}};
  for (int f = 0; f < frames; ++f) o.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
  return o;
}

}  // namespace

BattlePose BattlePoseFrames(int pose) {
  if (pose <= 0) return {0, 0, 0, 0};
  const int first = 1 + (pose - 1) * kBattleFramesPerPose;
  const int last = first + kBattleFramesPerPose - 1;
  return {first, last, first + 2, last - 2};
}

std::vector<float> BattleHitVertices() { return {0, -5, 36, 0, 5, 36, 0, -5, 20, 0, 5, 20}; }

CreatureModel BattleModel(const std::string& name, int poses, int vertexAnimatedParts) {
  CreatureModel m;
  m.name = name;
  m.frames = 1 + poses * kBattleFramesPerPose;
  m.poses.push_back({0, 0, 0, 0, 0});
  for (int k = 1; k <= poses; ++k) {
    const BattlePose p = BattlePoseFrames(k);
    m.poses.push_back({p.first, p.last, p.first, p.p4, p.p5});
  }
  for (int f = 0; f < m.frames; ++f) m.frameOffsets.push_back({0, -1.0f * f, 0});
  m.objects = {Box("body", -10, -5, 20, 10, 5, 20, m.frames), Box("_larm", -14, 0, 24, -10, 0, 30, m.frames),
               Box("_rarm", 10, 0, 24, 14, 0, 30, m.frames), Box("_Lshin", -6, 0, 0, -2, 0, 10, m.frames),
               Box("_Rshin", 2, 0, 0, 6, 0, 10, m.frames)};
  const std::vector<float> hits = BattleHitVertices();
  for (int n = 0; n < vertexAnimatedParts; ++n) {
    CreaturePart part;
    part.name = n == 0 ? "_head" : "_tail" + std::to_string(n);
    part.materials = {CreatureMaterial{}};
    std::vector<CreatureKeyVertex> key;
    for (int v = 0; v < 4; ++v) {
      const float* p = &hits[static_cast<size_t>(v) * 3];
      part.vertices.push_back({p[0], p[1], p[2], 0, 0, 1, 0, 0});
      key.push_back({p[0], p[1], p[2], 0, 0, 1});
    }
    part.triangles = {{0, 0, 0, 1, 2}, {0, 0, 1, 2, 3}};
    part.keys = {key};
    part.weights.assign(static_cast<size_t>(m.frames), 0.0f);
    m.parts.push_back(part);
  }
  return m;
}

std::vector<int> HeroActionIds() {
  // The first attack comes first: on pose 1 it plays the effect "m001e001".
  std::vector<int> ids;
  for (int i = 101; i <= 109; ++i) ids.push_back(i);
  ids.push_back(11);
  for (int i = 113; i <= 120; ++i) ids.push_back(i);
  for (int i = 201; i <= 204; ++i) ids.push_back(i);
  for (int i : {210, 221, 222, 223}) ids.push_back(i);
  for (int i = 300; i <= 305; ++i) ids.push_back(i);
  for (int i : {320, 400, 410, 421, 422, 451, 452, 453, 454, 601, 900}) ids.push_back(i);
  return ids;
}

std::vector<int> WolfActionIds() {
  std::vector<int> ids = {11, 12, 97};
  for (int i = 101; i <= 110; ++i) ids.push_back(i);
  for (int i : {115, 116, 121, 122, 123, 124, 131, 132, 133, 156, 158, 171, 173, 175, 177, 181, 183, 185, 187})
    ids.push_back(i);
  for (int i = 511; i <= 526; ++i)
    if (i <= 516 || i >= 521) ids.push_back(i);
  return ids;
}

ActionRecordDesc BattleActionRecord(int type, const std::vector<int>& ids) {
  ActionRecordDesc record;
  record.type = type;
  int pose = 1;
  for (int id : ids) {
    ActionDesc a;
    a.id = id;
    a.pose = pose++;
    // Idle and walk loops repeat; everything else plays once.
    a.kind = id == 11 || id == 12 ? 0 : 1;
    a.start = 0;
    a.end = 0;
    a.motionFirst = 0;
    a.release = 0;
    a.mode = 2;
    const bool attack = (id >= 131 && id <= 133) || (id >= 101 && id <= 110 && type != 101) ||
                        (id >= 201 && id <= 204) || (id >= 221 && id <= 223) || (id >= 511 && id <= 516);
    const int first = BattlePoseFrames(a.pose).first;
    if (attack) a.hits = {first + 10};
    // The finishing moves and specials strike three times.
    if (id >= 451 && id <= 454) a.hits = {first + 5, first + 10, first + 15};
    record.actions.push_back(a);
  }
  return record;
}

}  // namespace datagen
