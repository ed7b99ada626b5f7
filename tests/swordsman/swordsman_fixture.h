#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/sword_man.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/creature_model_desc.h"
#include "tools/datagen/fence_writer.h"

namespace swordtest {

// A swordsman of 40 frames. Poses: 0 idle 0..9; 1 10..14; 2 15..24 looping 18..21; 3 25..29
// with its follow-up window from 27.
datagen::CreatureModel SwordModel(const std::string& name);

// Two fences: index 0 (id 3) plays pose 1 for 5 frames, then pose 3 for 3;
// index 1 (id 5) plays pose 1 for 10 frames with hits at frames 3 (value
// 0x21) and 7 (0x22). Fence 3's tree (key 100) lists fence 5 (key 101).
datagen::FenceFile TwoFences();

std::vector<uint8_t> FenceBytes(const datagen::FenceFile& file);
void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
int LiveNodes();

// An open engine in a fresh working directory with a "creature" folder and
// the game's trace captured.
class SwordTest : public enginetest::EngineTest {
 protected:
  void SetUp() override;

  // "creature/<name>.MCB" and, unless fences is null, "creature/<name>.fn".
  void WriteSword(const std::string& name, const datagen::FenceFile* fences);
  std::unique_ptr<CMSwordMan> MakeSword(const std::string& name = "sword");
  // A fence whose shot code is code (one compose frame of pose 1, 5 frames).
  datagen::FenceFile ShotFence(int code, int id = 1);
  // Steps the creature's update passes n times by one tick.
  static void Tick(CMSwordMan& sword, int n);

  testsupport::ScopedWorkDir workDir_;
  testsupport::DebugTraceCapture trace_;
};

}  // namespace swordtest
