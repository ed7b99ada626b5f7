// Damaged copies of written models load without harm: an empty or partial
// model, never a read out of bounds, and every node and material freed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>

#include "components/creature_model.h"
#include "tests/creature/creature_fixture.h"

namespace creaturetest {
namespace {

using Bytes = std::vector<uint8_t>;

// Random byte flips, extreme 16- or 32-bit values at random offsets, or a cut.
Bytes Mutant(const Bytes& good, std::mt19937& rng, bool text) {
  Bytes b = good;
  std::uniform_int_distribution<size_t> at(0, b.size() - 1);
  switch (rng() % 4) {
    case 0:
      for (int i = 0; i < 4; ++i) b[at(rng)] = static_cast<uint8_t>(rng());
      break;
    case 1: {
      static const char* const kHuge[] = {"2147483647", "-2147483648", "99999", "-1", "1e39", "nan"};
      const char* huge = kHuge[rng() % 6];
      const size_t p = at(rng);
      if (text) {
        b.insert(b.begin() + static_cast<long>(p), huge, huge + std::strlen(huge));
      } else if (p + 4 <= b.size()) {
        const uint32_t v = rng() % 2 ? 0x7FFFFFFFu : 0xFFFF8000u;
        for (int i = 0; i < (rng() % 2 ? 2 : 4); ++i) b[p + i] = static_cast<uint8_t>(v >> (8 * i));
      }
      break;
    }
    case 2: b.resize(at(rng)); break;
    default: b[at(rng)] = text ? '\n' : 0; break;
  }
  return b;
}

class CorruptModels : public CreatureTest {};

TEST_F(CorruptModels, DamagedCopiesLoadWithoutHarm) {
  const int nodes = LiveNodes(), materials = LiveMaterials();
  std::mt19937 rng(7);
  for (bool text : {false, true}) {
    const Bytes good = text ? TextBytes(TestModel(false)) : McbBytes(TestModel(true));
    const char* path = text ? "creature/m.txt" : "creature/m.MCB";
    for (int i = 0; i < 300; ++i) {
      WriteFile(path, Mutant(good, rng, text));
      CModelData model(path);
      for (const CREATUREPART& p : model.parts) {
        std::vector<MESHVERTEX> buffer(p.vertexCount);
        for (int k = 0; k < p.keyCount; ++k) model.KeyVertices(p, k, buffer.data());
      }
    }
  }
  EXPECT_EQ(LiveNodes(), nodes);
  EXPECT_EQ(LiveMaterials(), materials);
}

// Values a writer can put in a well-formed file that the game cannot use:
// refused, or read without costing more than the file's size.
TEST_F(CorruptModels, HandMadeHostileModels) {
  // The test model with a second part of no vertices and two empty key sets.
  const auto withEmptyPart = [] {
    datagen::CreatureModel m = TestModel(true);
    datagen::CreaturePart empty;
    empty.name = "empty";
    empty.keys = {{}, {}};
    empty.weights.assign(m.frames, 0.0f);
    m.parts.push_back(empty);
    return m;
  };
  // Its ".MCB" bytes with the empty part's key count (the record's int32 at
  // 20, after the name) made huge: some 48 GB of key sets, had they been kept.
  const auto hugeKeyCount = [&] {
    Bytes b = McbBytes(withEmptyPart());
    const std::string name("empty\0", 6);
    const auto at = std::search(b.begin(), b.end(), name.begin(), name.end());
    EXPECT_NE(at, b.end());
    if (at != b.end()) std::memcpy(&*at + 20, "\xFF\xFF\xFF\x7F", 4);
    return b;
  };
  const auto withPose = [](datagen::CreaturePose pose) {
    datagen::CreatureModel m = TestModel(true);
    m.poses.push_back(pose);
    return m;
  };
  const datagen::CreaturePose windowBeyond{1, 10, INT32_MIN, 1, 10};
  const datagen::CreaturePose spanBeyond{INT32_MIN, INT32_MAX, 0, 0, 0};
  struct Case {
    const char* what;
    const char* path;
    Bytes bytes;
    bool loads;
  };
  const Case cases[] = {
      {"a part of no vertices and 2^31 - 1 keys", "creature/m.MCB", hugeKeyCount(), true},
      {"a pose whose window starts at INT_MIN", "creature/m.MCB", McbBytes(withPose(windowBeyond)), false},
      {"the same pose in text", "creature/m.txt", TextBytes(withPose(windowBeyond)), false},
      {"a text pose from INT_MIN to INT_MAX", "creature/m.txt", TextBytes(withPose(spanBeyond)), false},
      {"a part of no vertices in text", "creature/m.txt", TextBytes(withEmptyPart()), true},
  };
  const int nodes = LiveNodes(), materials = LiveMaterials();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile(c.path, c.bytes);
    {
      CModelData model(c.path);
      EXPECT_EQ(!model.Empty(), c.loads);
      if (c.loads) {
        ASSERT_EQ(model.parts.size(), 2u);
        MESHVERTEX buffer[3];
        EXPECT_EQ(model.KeyVertices(model.parts[1], 1, buffer), nullptr) << "an empty key set gives no vertices";
        EXPECT_NE(model.KeyVertices(model.parts[0], 1, buffer), nullptr);
      }
    }
    EXPECT_EQ(LiveNodes(), nodes);
    EXPECT_EQ(LiveMaterials(), materials);
  }
}

}  // namespace
}  // namespace creaturetest
