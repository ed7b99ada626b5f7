// The sample world's walkers: the first hero's and the second hero's.
#include "tools/datagen/sample_world_swordsman.h"

#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {

CreatureModel WalkerModel(const std::string& name) {
  constexpr int kPoses = 13;
  CreatureModel m;
  m.name = name;
  m.frames = 4 * kPoses;
  m.frameOffsets.assign(static_cast<size_t>(m.frames), {0, 0, 0});
  for (int k = 0; k < kPoses; ++k) m.poses.push_back({4 * k, 4 * k + 3, 4 * k, 4 * k, 4 * k + 3});
  CreatureMaterial skin;
  skin.texture = "walker";
  CreatureObject body;
  body.name = "body";
  body.materials = {skin};
  body.vertices = {{-4, 0, 0, 0, -1, 0, 0, 1}, {4, 0, 0, 0, -1, 0, 1, 1}, {0, 0, 40, 0, -1, 0, 0.5f, 0}};
  body.triangles = {{0, 0, 0, 1, 2}};
  CreatureObject top = body;
  top.name = "_top";
  top.hidden = true;
  for (int f = 0; f < m.frames; ++f) {
    body.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0});
    top.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 60});
  }
  m.objects = {body, top};
  return m;
}

FenceFile WalkerFences() {
  FenceFile file;
  Fence swing;
  swing.id = 1;
  FenceFrame raise;
  raise.pose = 10;
  raise.frameCount = 4;
  FenceFrame strike;
  strike.pose = 11;
  strike.frameCount = 4;
  swing.frames = {raise, strike};
  swing.hits = {(1u << 16) | 3};
  Fence follow;
  follow.id = 2;
  FenceFrame turn;
  turn.pose = 12;
  turn.frameCount = 4;
  follow.frames = {turn};
  file.groups = {{swing, follow}};
  file.trees = {FenceTree{0, 1, {FenceTree{1, 2, {}}}}, FenceTree{1, 2, {}}};
  return file;
}

bool WriteSampleSwordsman(const std::string& root, std::string& error) {
  for (const char* name : {"Walk01", "Walk03"}) {
    plat::ByteWriter model;
    if (!WriteCreatureBinary(WalkerModel(name), model, error)) return false;
    if (!WriteOutputFile(root + "creature/" + name + ".MCB", model.Bytes(), error)) return false;
    plat::ByteWriter fences;
    if (!WriteFenceFile(WalkerFences(), fences, error)) return false;
    if (!WriteOutputFile(root + "creature/" + name + ".fn", fences.Bytes(), error)) return false;
  }
  WaveSpec step;
  step.samples = ConstantSamples(2205, 1, 3000);
  if (!WriteWave(root + "waves/step02a.wav", step)) {
    error = "cannot write waves/step02a.wav";
    return false;
  }
  return true;
}

}  // namespace datagen
