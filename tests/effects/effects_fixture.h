#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "components/efficacy.h"
#include "components/efficacy_records.h"
#include "components/sword_man.h"
#include "engine/media/data_directories.h"
#include "platform/files.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"

namespace effectstest {

// The owner's parts: "body" at the root, "hand" at effect (5, 2, 0) and
// "tip" at effect (5, 8, 0) (engine (5, 0, 2) and (5, 0, 8)).
constexpr VECTOR3 kHand{5, 2, 0};
constexpr VECTOR3 kTip{5, 8, 0};

// Writes "data/creature/<name>.MCB": a two-frame model with the objects
// body, hand and tip and one pose.
void WriteOwnerModel(const std::string& name);

// Effect records with everything zero but what the arguments give.
efc::EFCELEMENTDESC Element(const std::string& name, const std::string& target = "", int placement = 0,
                            const std::string& part = "", const std::string& secondPart = "");
template <class Key>
Key KeyAt(int frame, int attached = 0, int hidden = 0) {
  Key k;
  k.frame = frame;
  k.attached = attached;
  k.hidden = hidden;
  return k;
}
// A straight ribbon of n sections along x (shape 2).
efc::EFCSECTIONALRECORD Ribbon(const std::string& name, int sections = 4);
efc::EFCTRACTIONRECORD Trail(const std::string& name, const std::string& partA, const std::string& partB,
                             int sections = 4);
efc::EFCPARTICLERECORD Emitter(const std::string& name, int pool, int lifetime);
efc::EFCLIGHTRECORD Light(const std::string& name);
efc::EFCCAMERARECORD Camera(const std::string& name);
efc::EFCSOUNDRECORD Sound(const std::string& wave, std::vector<efc::EFCSOUNDCUEDESC> cues);

// An open engine in a fresh working directory with "data/Efficacy/Texture"
// and "data/creature", the texture directory at ".\texture", the game's
// trace captured, and an owner swordsman loaded from the harness model.
class EffectTest : public enginetest::EngineTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes "data/Efficacy/<name>.efc".
  void WriteEffect(const std::string& name, const efc::EFCFILEDESC& file);
  // Writes a short wave of one level as "data/Efficacy/<file>".
  void WriteWave(const std::string& file);
  // Writes the effect and loads it for the owner.
  int Play(CEfficacy& effect, const std::string& name, const efc::EFCFILEDESC& file);

  testsupport::ScopedWorkDir workDir_;
  testsupport::DebugTraceCapture trace_;
  std::unique_ptr<CMSwordMan> owner_;
};

}  // namespace effectstest
