#pragma once
// An open engine in a fresh working directory, with helpers that write scene
// files and read them back.
#include <memory>
#include <string>

#include "base/game_globals.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/scene_file_writer.h"
#include "world/scene_data.h"

namespace worldtest {

// Free texture memory that selects the Direct3D path at full detail.
constexpr int kLargeTextureMemory = 64 * 1024 * 1024;

// A triangle mesh object of the given parts, every triangle on part 0.
inline datagen::SceneObjectData Triangle(const std::string& name, std::vector<datagen::ScenePartData> parts) {
  datagen::SceneObjectData o;
  o.name = name;
  o.parts = std::move(parts);
  o.vertices = {{{0, 0, 0}}, {{10, 0, 0}}, {{0, 10, 0}}};
  o.triangles = {{0, 0, 1, 2}};
  return o;
}
inline datagen::ScenePartData Part(const std::string& texture) {
  datagen::ScenePartData p;
  p.texture = texture;
  return p;
}

class SceneFileTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    savedTextureMemory_ = g_hardwareRendering;
    g_hardwareRendering = kLargeTextureMemory;
  }
  void TearDown() override { g_hardwareRendering = savedTextureMemory_; }

  std::unique_ptr<CSceneData> Load(const datagen::SceneFileData& scene, const std::string& name = "test.sb") {
    std::string error;
    EXPECT_TRUE(datagen::WriteSceneFile("scenes/" + name, scene, error)) << error;
    return std::make_unique<CSceneData>("scenes", name.c_str());
  }

  testsupport::ScopedWorkDir dir_;
  testsupport::DebugTraceCapture trace_;
  int savedTextureMemory_ = 0;
};

}  // namespace worldtest
