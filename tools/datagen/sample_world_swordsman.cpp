// The fences of the sample world's hero creatures and the landing sound;
// the models for test fixtures.
#include "tools/datagen/sample_world_swordsman.h"

#include "tools/datagen/output_file.h"
#include "tools/datagen/sample_world_parts.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {

CreatureModel SwordsmanModel(const std::string& name, int frames, const std::vector<CreaturePose>& poses) {
  CreatureModel m;
  m.name = name;
  m.frames = frames;
  m.frameOffsets.assign(static_cast<size_t>(frames), {0, 0, 0});
  m.poses = poses;
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

CreatureModel WalkerModel(const std::string& name) {
  constexpr int kPoses = 13;
  std::vector<CreaturePose> poses;
  for (int k = 0; k < kPoses; ++k) poses.push_back({4 * k, 4 * k + 3, 4 * k, 4 * k, 4 * k + 3});
  return SwordsmanModel(name, 4 * kPoses, poses);
}

FenceFile WalkerFences() {
  FenceFile file;
  Fence swing;
  swing.id = 1;
  FenceFrame raise;
  raise.pose = 10;
  raise.frameCount = 3;
  FenceFrame strike;
  strike.pose = 11;
  strike.frameCount = 3;
  swing.frames = {raise, strike};
  swing.hits = {(1u << 16) | 3};
  Fence follow;
  follow.id = 2;
  FenceFrame turn;
  turn.pose = 12;
  turn.frameCount = 3;
  follow.frames = {turn};
  file.groups = {{swing, follow}};
  file.trees = {FenceTree{0, 1, {FenceTree{1, 2, {}}}}, FenceTree{1, 2, {}}};
  return file;
}

bool WriteSampleSwordsman(const std::string& root, std::string& error) {
  for (const char* name : {"Walk01", "Walk03"}) {
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
