// Perspective-corrected texturing on the software path: the stepped terms
// follow the true texture coordinates.
#include <cmath>
#include <map>

#include "engine/core/picking.h"
#include "engine/media/texture_table.h"
#include "tests/softraster/softraster_fixture.h"

namespace softrastertest {
namespace {

constexpr int kSide = 8;

class PerspectiveTest : public SoftRasterTest {
 protected:
  // An 8 x 8 texture whose texel (column, row) has palette index
  // 1 + column + 8 x row, each index its own colour.
  HOBJECT PatternMaterial() {
    std::vector<uint8_t> pixels(kSide * kSide), palette(256 * 3, 0);
    for (int i = 0; i < kSide * kSide; ++i) {
      pixels[i] = static_cast<uint8_t>(1 + i);
      palette[(1 + i) * 3 + 0] = static_cast<uint8_t>((i % kSide) * 32);
      palette[(1 + i) * 3 + 1] = static_cast<uint8_t>((i / kSide) * 32);
      palette[(1 + i) * 3 + 2] = 128;
    }
    const float white[3] = {1, 1, 1}, black[3] = {0, 0, 0};
    HOBJECT m = CreateMaterialFromPixels(white, white, black, black, 0, 8, pixels.data(), palette.data(), kSide, kSide,
                                         0, 0, 0, 0, 0);
    const TEXTUREDESC* t = LookupMaterial(m)->currentFrame;
    for (int i = 0; i < kSide * kSide; ++i) texelOfColour_[t->shadeTable[(1 + i) * 16 + 15]] = i;
    return m;
  }

  // A quad from (x0, z0) on the left to (x1, z1) on the right, y from -h to
  // h, u running 0..1 left to right and v 0..1 bottom to top.
  static HOBJECT Quad(float x0, float z0, float x1, float z1, float h, HOBJECT material) {
    const float positions[] = {x0, -h, z0, x1, -h, z1, x1, h, z1, x0, h, z0};
    const float normals[] = {0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1};
    const float uvs[] = {0, 1, 1, 1, 1, 0, 0, 0};
    BeginNode(NODE_MESH);
    AddMeshPolygon(0, positions, normals, uvs, 4, material, 1);
    HOBJECT node = EndNode(0);
    SetNodeRenderState(node, NRS_LIGHTING, 0);
    return node;
  }

  std::vector<uint16_t> Row(int y) {
    std::vector<uint16_t> row(640);
    for (int x = 0; x < 640; ++x) row[x] = Pixel(x, y);
    return row;
  }

  // The texel column a pixel shows; -1 for a colour of no texel.
  int TexelColumn(uint16_t pixel) {
    auto it = texelOfColour_.find(pixel);
    return it == texelOfColour_.end() ? -1 : it->second % kSide;
  }

  std::map<uint16_t, int> texelOfColour_;
};

TEST_F(PerspectiveTest, FacingQuadLooksTheSameWithAndWithoutPerspective) {
  HOBJECT node = Quad(-1.5f, -10, 1.5f, -10, 1, PatternMaterial());
  for (int y : {150, 240, 300}) {
    SetNodeRenderState(node, NRS_PERSPECTIVE, 0);
    Render();
    std::vector<uint16_t> affine = Row(y);
    SetNodeRenderState(node, NRS_PERSPECTIVE, 1);
    Render();
    std::vector<uint16_t> perspective = Row(y);
    int differing = 0, textured = 0;
    for (int x = 0; x < 640; ++x) {
      differing += affine[x] != perspective[x];
      textured += TexelColumn(perspective[x]) >= 0;
    }
    EXPECT_GT(textured, 400) << "row " << y;
    // Rounding may move a texel edge by a pixel, no more.
    EXPECT_LE(differing, kSide) << "row " << y;
  }
}

TEST_F(PerspectiveTest, QuadAtAnAngleSamplesTheTrueTexelEveryThirtyTwoPixels) {
  const float x0 = -1, z0 = -6, x1 = 3, z1 = -30;
  HOBJECT node = Quad(x0, z0, x1, z1, 0.5f, PatternMaterial());
  SetNodeRenderState(node, NRS_PERSPECTIVE, 1);
  Render();
  const int y = 240;
  std::vector<uint16_t> row = Row(y);
  int start = 0;
  while (start < 640 && TexelColumn(row[start]) < 0) ++start;
  int end = start;
  while (end < 640 && TexelColumn(row[end]) >= 0) ++end;
  ASSERT_GT(end - start, 300);

  // The u where the quad's middle line projects to screen column x.
  auto trueU = [&](double x) {
    double lo = 0, hi = 1;
    for (int i = 0; i < 40; ++i) {
      double u = (lo + hi) / 2;
      VECTOR3 p{static_cast<float>(x0 + u * (x1 - x0)), 0, static_cast<float>(z0 + u * (z1 - z0))}, out{};
      EXPECT_EQ(ProjectToScreen(0, &p, &out, 2, 0), 1);
      (out.x < x ? lo : hi) = u;
    }
    return lo;
  };
  // The rasteriser's texel of u (8.8 of u x 255 shifted down to the width).
  auto texel = [](double u) { return static_cast<int>(u * 255 * kSide / 256); };
  int checked = 0;
  for (int x = start; x < end; x += 32) {
    // Vertex positions are truncated: a texel edge within a pixel and a
    // half is not a fair test.
    int expected = texel(trueU(x - 1.0)), after = texel(trueU(x + 2.0));
    if (expected != after) continue;
    EXPECT_EQ(TexelColumn(row[x]), expected) << "column " << x;
    ++checked;
  }
  EXPECT_GE(checked, 8);
}

}  // namespace
}  // namespace softrastertest
