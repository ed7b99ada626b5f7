#pragma once
// An open engine in a fresh working directory holding the sample world's
// automap images, with terrain meshes made of squares and pixel readers.
#include <map>
#include <utility>
#include <vector>

#include "engine/core/engine_queries.h"
#include "engine/media/data_directories.h"
#include "engine/media/sprites.h"
#include "tests/engine/spatial_fixture.h"
#include "tools/datagen/sample_world_parts.h"
#include "world/automap.h"

namespace automaptest {

constexpr uint16_t kBlue = 0x001F;   // the key (0, 0, 255) in 5-6-5
constexpr uint16_t kFill = 0x0008;   // the terrain (0, 0, 64)
constexpr uint16_t kWhite = 0xFFFF;  // the outline

struct Square {
  float x0, y0, x1, y1;
};

// One mesh of flat squares; corners at the same place share a vertex, so
// neighbouring squares share their edge.
inline HOBJECT MakeTerrain(const std::vector<Square>& squares) {
  std::vector<VECTOR3> points;
  std::map<std::pair<float, float>, int> index;
  auto at = [&](float x, float y) {
    auto [it, added] = index.try_emplace({x, y}, static_cast<int>(points.size()));
    if (added) points.push_back({x, y, 0});
    return it->second;
  };
  enginetest::TriangleList triangles;
  for (const Square& s : squares) {
    int a = at(s.x0, s.y0), b = at(s.x1, s.y0), c = at(s.x1, s.y1), d = at(s.x0, s.y1);
    triangles.push_back({a, b, c});
    triangles.push_back({a, c, d});
  }
  return enginetest::MakeMesh(points, triangles);
}

// Squares of side `side` from (x, y), columns x rows, without those skip names.
template <class Skip>
std::vector<Square> Grid(float x, float y, float side, int columns, int rows, Skip skip) {
  std::vector<Square> squares;
  for (int j = 0; j < rows; ++j)
    for (int i = 0; i < columns; ++i)
      if (!skip(i, j)) squares.push_back({x + i * side, y + j * side, x + (i + 1) * side, y + (j + 1) * side});
  return squares;
}

inline uint16_t PixelAt(HOBJECT sprite, int x, int y) {
  const auto* pixels = static_cast<const uint8_t*>(LockSprite(sprite, 0));
  if (!pixels) return 0xDEAD;
  uint16_t value = reinterpret_cast<const uint16_t*>(pixels + y * GetSpriteLockPitch())[x];
  UnlockSprite(sprite, 0);
  return value;
}

inline int CountPixels(HOBJECT sprite, uint16_t value) {
  int width = 0, height = 0, count = 0;
  GetSpriteSize(sprite, &width, &height);
  const auto* pixels = static_cast<const uint8_t*>(LockSprite(sprite, 0));
  if (!pixels) return -1;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (reinterpret_cast<const uint16_t*>(pixels + y * GetSpriteLockPitch())[x] == value) ++count;
  UnlockSprite(sprite, 0);
  return count;
}

inline HOBJECT MakeTarget(int width, int height) {
  BeginSprite(0);
  SetSpriteBlankImage(1, 1, 1, width, height);
  HOBJECT sprite = EndSprite(0);
  ShowSprite(sprite, 0);
  return sprite;
}

inline int ShownOf(HOBJECT sprite) {
  SPRITEDESC* desc = LookupSprite(sprite);
  return desc ? desc->visible : -1;
}

class AutomapTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleAutomapImages(dir_.Path().string() + "/", error)) << error;
    SetImageDirectory(".\\image\\");
  }

  // The panel's automap: cells of 8, a 120-pixel map, view radius 250, origin (16, 15).
  static CAutomap* NewAutomap() { return new CAutomap(8, 120, 250, 16, 15); }

  testsupport::ScopedWorkDir dir_;
  testsupport::DebugTraceCapture trace_;
};

}  // namespace automaptest
