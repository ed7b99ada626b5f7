#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/mix_creature.h"
#include "engine/core/pools.h"
#include "engine/media/data_directories.h"
#include "platform/files.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/creature_binary_writer.h"
#include "tools/datagen/creature_text_writer.h"

namespace creaturetest {

// A model of 31 frames: a shown object "body" whose position is (frame, 0, 0),
// a hidden object "hand", and a part "mface" of three vertices whose two key
// sets differ in z by 10 (weights 0, 0.5, 1 on frames 0 to 2, then 0).
// Poses: 0 loops 10..20; 1 runs 0..30 looping 10..30; 2 is 0..9; 3 is 25..28.
datagen::CreatureModel TestModel(bool quantised);

// Writes through the writer; the test fails on a writer error.
std::vector<uint8_t> McbBytes(const datagen::CreatureModel& model);
std::vector<uint8_t> TextBytes(const datagen::CreatureModel& model);
void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes);

int LiveNodes();
int LiveMaterials();

// A square of ground from -half to half in x and y at height 0, as a terrain
// (its mesh node in meshNode when asked).
HOBJECT MakeGround(float half, HOBJECT* meshNode = nullptr);
// The body object's position x and the part's first vertex z.
float BodyX(CGCBMixCreature& creature);
float PartZ(CGCBMixCreature& creature);

// An open engine (the Direct3D path) in a fresh working directory with a
// "creature" and a "texture" folder, and the game's trace captured.
class CreatureTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    plat::CreateDirectories("creature");
    plat::CreateDirectories("texture");
    SetTextureDirectory(".\\texture");
  }

  // "creature/tester.MCB" (or ".txt") written from TestModel and loaded.
  std::unique_ptr<CGCBMixCreature> Make(bool quantised = true, bool text = false) {
    WriteFile(text ? "creature/tester.txt" : "creature/tester.MCB",
              text ? TextBytes(TestModel(quantised)) : McbBytes(TestModel(quantised)));
    return std::make_unique<CGCBMixCreature>(text ? "tester.txt" : "tester", 1, "creature");
  }

  testsupport::ScopedWorkDir workDir_;
  testsupport::DebugTraceCapture trace_;
};

}  // namespace creaturetest
