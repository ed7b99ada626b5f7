#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cutscene/cut_scene.h"
#include "cutscene/sg_society.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tests/support/cutscene_recording_actors.h"
#include "tools/datagen/cutscene_writer.h"
#include "world/scene_manager.h"

namespace cstest {

using datagen::CutKeyData;
using datagen::CutPlayerData;
using datagen::CutSceneData;

// Every cut-scene test runs in a fresh working directory with recording
// actors, an empty call log, and ends the cut-scene society afterwards.
class CutSceneTest : public ::testing::Test {
 protected:
  CutSceneTest() { Log().Clear(); }
  ~CutSceneTest() override { SGSociety::Shutdown(); }

  testsupport::ScopedWorkDir workDir_;
  RecordingFactory factory_;
};

// The same, with the engine at hand (closed until the test opens it).
class CutSceneEngineTest : public enginetest::EngineTest {
 protected:
  CutSceneEngineTest() { Log().Clear(); }
  ~CutSceneEngineTest() override { SGSociety::Shutdown(); }

  testsupport::ScopedWorkDir workDir_;
  RecordingFactory factory_;
};

CutPlayerData Player(const std::string& type, const std::string& name, const std::string& file = "",
                     std::vector<CutKeyData> keys = {});

// Writes "scripts/<name>.spb" or ".sp".
void WriteScript(const std::string& name, const CutSceneData& scene, int binary);
std::vector<uint8_t> BinaryScript(const CutSceneData& scene);
std::string TextScript(const CutSceneData& scene);
// Writes raw bytes as "scripts/<name><extension>".
void WriteRaw(const std::string& fileName, const std::vector<uint8_t>& bytes);
void WriteRaw(const std::string& fileName, const std::string& text);

// A play using every actor kind and every key type with values that differ
// from a fresh key's.
CutSceneData EveryKindPlay();
// One key of every key type, values unlike a fresh key's.
std::vector<CutKeyData> EveryKey(int frame);

// The play as text: actors in order with their names, then per track set
// every track's code and its keys' frames and payload bytes.
std::string Describe(const CCutScene& play);
// The payload bytes of a key as the binary form holds them.
std::vector<uint8_t> PayloadBytes(SKey& key);

// A map scene with a terrain and some lights; it records its Animate calls.
class FakeScene : public SSceneManager {
 public:
  explicit FakeScene(int lights) : lightCount(lights) {}
  void Animate(int frames) override { Log().Add("scene:Animate(" + std::to_string(frames) + ")"); }
  HOBJECT GetLightNode(int i) override { return 0x02000100u + static_cast<HOBJECT>(i); }
  int GetLightKind(int i) override { return 1 + i % 3; }
  int GetLightCount() override { return lightCount; }
  HOBJECT GetTerrain() override { return 0x06000001u; }
  HOBJECT GetTerrainNode() override { return 0x02000042u; }

  int lightCount;
};

}  // namespace cstest
