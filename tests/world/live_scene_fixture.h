#pragma once
// Scene files, a game resource and the sample people's model in a fresh
// working directory, loaded as live content or as the map scene.
#include <memory>
#include <string>
#include <vector>

#include "database/game_resource.h"
#include "platform/files.h"
#include "tests/world/scene_fixture.h"
#include "tools/datagen/game_resource_writer.h"
#include "tools/datagen/sample_world_maps.h"
#include "tools/datagen/sample_world_parts.h"
#include "world/map_scene.h"
#include "world/scene_content.h"

namespace worldtest {

// A flat square terrain from -half to half at height 0.
inline datagen::SceneObjectData Ground(float half) {
  datagen::SceneObjectData o;
  o.name = "ground";
  o.kind = 1;
  o.parts = {Part("grass")};
  o.vertices = {{{-half, -half, 0}}, {{half, -half, 0}}, {{half, half, 0}}, {{-half, half, 0}}};
  o.triangles = {{0, 0, 1, 2}, {0, 0, 2, 3}};
  return o;
}

// A keyframed object moving from x 0 to 10 over frames 0 to 10.
inline datagen::SceneObjectData Keyframed(const std::string& name, uint8_t mode, uint8_t repeat, int16_t plays) {
  datagen::SceneObjectData o = Triangle(name, {Part("wood")});
  o.kind = 6;
  datagen::SceneAnimData a;
  a.mode = mode;
  a.repeat = repeat;
  a.plays = plays;
  a.positionKeys = {{0, {0, 0, 0}}, {10, {10, 0, 0}}};
  o.animation = a;
  return o;
}

inline datagen::ScenePersonData Person(const std::string& name, datagen::Vec3 position) {
  datagen::ScenePersonData p;
  p.name = name;
  p.position = position;
  return p;
}

class LiveSceneTest : public SceneFileTest {
 protected:
  void SetUp() override {
    SceneFileTest::SetUp();
    plat::CreateDirectories("creature");
    plat::CreateDirectories("texture");
    plat::CreateDirectories("Resource");
    std::string error;
    ASSERT_TRUE(datagen::WriteSamplePeople("./", error)) << error;
    WriteResource({{'k', datagen::sample::kNpcModel, 0, "Mira", 1}, {'k', datagen::sample::kNpcModel, 0, "Bram", 2}},
                  {"A004.SB", "e001.SB"});
  }

  void WriteResource(const std::vector<datagen::NpcData>& npcs, const std::vector<std::string>& scenes) {
    datagen::GameResourceData r;
    r.npcs = npcs;
    for (const std::string& s : scenes) {
      datagen::MapData m;
      m.caption = "place";
      m.scene = s;
      r.maps.push_back(m);
    }
    std::string error;
    ASSERT_TRUE(datagen::WriteGameResource("Resource/Zudur.res", r, error)) << error;
    resource_.Open(nullptr);
  }

  CSceneContent& Content(const datagen::SceneFileData& scene, bool withPeople = true) {
    content_.reset();
    data_ = Load(scene);
    content_ = std::make_unique<CSceneContent>(*data_, withPeople ? &resource_ : nullptr);
    return *content_;
  }

  std::unique_ptr<MScene> Scene(const datagen::SceneFileData& scene, const std::string& name = "a004.sb") {
    std::string error;
    EXPECT_TRUE(datagen::WriteSceneFile("scenes/" + name, scene, error)) << error;
    return std::make_unique<MScene>(name.c_str(), &resource_);
  }

  void TearDown() override {
    content_.reset();
    data_.reset();
    SceneFileTest::TearDown();
  }

  CGameResource resource_;
  std::unique_ptr<CSceneData> data_;
  std::unique_ptr<CSceneContent> content_;
};

}  // namespace worldtest
