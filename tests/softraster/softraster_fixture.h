#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"

namespace softrastertest {

constexpr uint16_t kRed = 0xF800;
constexpr uint16_t kGreen = 0x07E0;
constexpr uint16_t kBackground = 0x0011;

// An open 640 x 480 engine on the software path (5-6-5) whose default
// viewport looks through a camera at the origin down -Z (near 2, far 5000),
// cleared to a dark blue.
class SoftRasterTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    SetRenderMode(0);
    ASSERT_EQ(Open(), 1);
    ASSERT_EQ(g_useDirect3D, 0);
    camera_ = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
    ASSERT_NE(camera_, 0u);
    SetViewportCamera(0, camera_);
    g_gameWorld->defaultViewport->clearColor = kBackground;
  }

  void Render() { RenderViewport(0, 1, 1); }

  uint16_t Pixel(int x, int y) {
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(g_gameWorld->backBuffer->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
    uint16_t value = pixels ? reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch)[x] : 0;
    g_gameWorld->backBuffer->Unlock();
    return value;
  }
  int CountPixels(uint16_t value) {
    int n = 0;
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) n += Pixel(x, y) == value;
    return n;
  }

  static HOBJECT Material(float r, float g, float b) {
    const float ambient[3] = {r, g, b}, diffuse[3] = {r, g, b}, black[3] = {0, 0, 0};
    return CreateMaterial(ambient, diffuse, black, black, 0, nullptr, 0, 0, 0, 0, 0);
  }

  // An 8-bit texture of size x size: palette 0 black, 1 green, 2 red; every
  // texel the given index.
  static HOBJECT TextureMaterial(int width, int height, uint8_t index, int keyBlack) {
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height, index);
    std::vector<uint8_t> palette(256 * 3, 0);
    palette[1 * 3 + 1] = 255;  // red, green, blue
    palette[2 * 3 + 0] = 255;
    const float white[3] = {1, 1, 1}, black[3] = {0, 0, 0};
    return CreateMaterialFromPixels(white, white, black, black, 0, 8, pixels.data(), palette.data(), width, height,
                                    keyBlack, 0, 0, 0, 0);
  }

  static MESHVERTEX Vertex(float x, float y, float z, float u = 0, float v = 0) {
    MESHVERTEX m;
    m.x = x, m.y = y, m.z = z, m.nx = 0, m.ny = 0, m.nz = 1, m.u = u, m.v = v;
    return m;
  }

  // One counter-clockwise triangle facing the camera, lighting off.
  static HOBJECT Triangle(const MESHVERTEX& a, const MESHVERTEX& b, const MESHVERTEX& c, HOBJECT material,
                          int faceFlags = 0) {
    std::vector<MESHVERTEX> vertices = {a, b, c};
    std::vector<MESHPRIM> words = {PRIM_TRIANGLE, static_cast<MESHPRIM>(material), faceFlags, 0, 1, 2};
    BeginNode(NODE_MESH);
    AppendMeshData(0, vertices.data(), 3, words.data(), static_cast<int>(words.size()), 1, 1);
    HOBJECT node = EndNode(0);
    SetNodeRenderState(node, NRS_LIGHTING, 0);
    return node;
  }
  // A triangle over the screen centre at depth z (at z = -10 one unit is
  // about 146 pixels across and 182 down).
  static HOBJECT CentreTriangle(float z, HOBJECT material, float size = 1) {
    return Triangle(Vertex(-size, -size, z, 0, 0), Vertex(size, -size, z, 1, 0), Vertex(0, size, z, 0.5f, 1), material);
  }

  HOBJECT camera_ = 0;
};

}  // namespace softrastertest
