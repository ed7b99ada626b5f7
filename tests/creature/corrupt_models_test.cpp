// Damaged copies of written models load without harm: an empty or partial
// model, never a read out of bounds, and every node and material freed.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

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

}  // namespace
}  // namespace creaturetest
