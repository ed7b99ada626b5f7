#include "tests/effects/effects_fixture.h"

#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/efficacy_writer.h"
#include "tools/datagen/wave_writer.h"

namespace effectstest {

using namespace datagen;

void WriteOwnerModel(const std::string& name) {
  CreatureModel m;
  m.name = name;
  m.frames = 2;
  m.frameOffsets = {{0, 0, 0}, {0, 0, 0}};
  m.poses = {{0, 1, 0, 0, 1}};
  CreatureMaterial skin;
  skin.texture = "skin";
  const std::vector<std::pair<std::string, std::array<float, 3>>> objects = {
      {"body", {0, 0, 0}}, {"hand", {5, 0, 2}}, {"tip", {5, 0, 8}}};
  for (const auto& [objectName, at] : objects) {
    CreatureObject o;
    o.name = objectName;
    o.materials = {skin};
    o.vertices = {{0, 0, 0, 0, 0, 1, 0, 0}, {1, 0, 0, 0, 0, 1, 1, 0}, {0, 1, 0, 0, 0, 1, 0, 1}};
    o.triangles = {{0, 0, 0, 1, 2}};
    for (int f = 0; f < m.frames; ++f) o.transforms.push_back({1, 0, 0, 0, 1, 0, 0, 0, 1, at[0], at[1], at[2]});
    m.objects.push_back(o);
  }
  plat::ByteWriter out;
  std::string error;
  ASSERT_TRUE(WriteCreatureBinary(m, out, error)) << error;
  ASSERT_TRUE(plat::WriteFileAtomic("data/creature/" + name + ".MCB", out.Bytes().data(), out.Size()));
}

efc::EFCELEMENTDESC Element(const std::string& name, const std::string& target, int placement, const std::string& part,
                            const std::string& secondPart) {
  efc::EFCELEMENTDESC h;
  h.name = name;
  h.target = target;
  h.placement = placement;
  h.part = part;
  h.secondPart = secondPart;
  return h;
}

efc::EFCSECTIONALRECORD Ribbon(const std::string& name, int sections) {
  efc::EFCSECTIONALRECORD r;
  r.header = Element(name);
  r.shape.shape = 2;
  r.shape.width = 2;
  r.shape.length = 6;
  r.shape.texture = "glow00.bmp";
  r.shape.frameCount = 1;
  r.shape.sectionCount = sections;
  r.shape.top = {0, 1, 0};
  r.shape.bottom = {0, -1, 0};
  r.shape.lineDirection = {1, 0, 0};
  r.shape.lineSpacing = 2;
  return r;
}

efc::EFCTRACTIONRECORD Trail(const std::string& name, const std::string& partA, const std::string& partB,
                             int sections) {
  efc::EFCTRACTIONRECORD r;
  r.header = Element(name, "", efc::kAttachPair, partA, partB);
  r.trail.length = 10;
  r.trail.width = 2;
  r.trail.sectionCount = sections;
  r.trail.uvMode = 1;
  r.trail.texture = "trail";
  return r;
}

efc::EFCPARTICLERECORD Emitter(const std::string& name, int pool, int lifetime) {
  efc::EFCPARTICLERECORD r;
  r.header = Element(name);
  r.emitter.templateWidth = r.emitter.templateHeight = 1;
  r.emitter.templateTexture = "spark";
  r.emitter.particleWidth = r.emitter.particleHeight = 1;
  r.emitter.speed = 1;
  r.emitter.poolSize = pool;
  r.emitter.lifetime = lifetime;
  return r;
}

efc::EFCLIGHTRECORD Light(const std::string& name) {
  efc::EFCLIGHTRECORD r;
  r.header = Element(name);
  return r;
}

efc::EFCCAMERARECORD Camera(const std::string& name) {
  efc::EFCCAMERARECORD r;
  r.header = Element(name);
  return r;
}

efc::EFCSOUNDRECORD Sound(const std::string& wave, std::vector<efc::EFCSOUNDCUEDESC> cues) {
  efc::EFCSOUNDRECORD r;
  r.label = "cue";
  r.wave = wave;
  r.cues = std::move(cues);
  return r;
}

void EffectTest::SetUp() {
  ASSERT_EQ(Open(), 1);
  plat::CreateDirectories("data/Efficacy/Texture");
  plat::CreateDirectories("data/creature");
  plat::CreateDirectories("texture");
  SetTextureDirectory(".\\texture");
  WriteOwnerModel("owner");
  owner_ = std::make_unique<CMSwordMan>("owner", 1, ".\\data\\creature");
  ASSERT_NE(owner_->rootNode, 0u);
}

void EffectTest::TearDown() { owner_.reset(); }

void EffectTest::WriteEffect(const std::string& name, const efc::EFCFILEDESC& file) {
  std::string error;
  ASSERT_TRUE(WriteEfficacyFile("data/Efficacy/" + name + ".efc", file, error)) << error;
}

void EffectTest::WriteWave(const std::string& file) {
  WaveSpec spec;
  spec.sampleRate = 44100;
  spec.samples = ConstantSamples(4410, 1, 8000);
  ASSERT_TRUE(datagen::WriteWave("data/Efficacy/" + file, spec));
}

int EffectTest::Play(CEfficacy& effect, const std::string& name, const efc::EFCFILEDESC& file) {
  WriteEffect(name, file);
  return effect.Load(name.c_str(), 0, 0, owner_.get(), 0);
}

}  // namespace effectstest
