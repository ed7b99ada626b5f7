#pragma once
#include <cstdint>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"

namespace rendertest {

constexpr uint16_t kRed565 = 0xF800;
constexpr uint16_t kGreen565 = 0x07E0;
constexpr uint16_t kBlue565 = 0x001F;
constexpr uint16_t kWhite565 = 0xFFFF;

// An open 640 x 480 engine (5-6-5) whose default viewport looks through a
// camera at the origin down -Z (1.33, 50 mm, 0.86", near 2, far 5000) and
// clears to its background colour.
class RenderTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    camera_ = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
    ASSERT_NE(camera_, 0u);
    SetViewportCamera(0, camera_);
  }

  void SetBackground(float r, float g, float b) {
    VIEWPORTDESC* v = g_gameWorld->defaultViewport;
    v->backgroundColor[0] = r;
    v->backgroundColor[1] = g;
    v->backgroundColor[2] = b;
  }

  void Render() { RenderViewport(0, 1, 1); }

  static uint16_t PixelOf(plat::Surface& surface, int x, int y) {
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(surface.Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
    if (!pixels) return 0;
    uint16_t value = reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch)[x];
    surface.Unlock();
    return value;
  }
  uint16_t Pixel(int x, int y) { return PixelOf(*g_gameWorld->backBuffer, x, y); }

  // Untransformed vertices; for pre-lit meshes the normal slots carry the
  // colour that AppendMeshData packs.
  static MESHVERTEX Vertex(float x, float y, float z, float nx = 0, float ny = 0, float nz = 1, float u = 0,
                           float v = 0) {
    MESHVERTEX m;
    m.x = x, m.y = y, m.z = z, m.nx = nx, m.ny = ny, m.nz = nz, m.u = u, m.v = v;
    return m;
  }

  // A triangle record; material is a handle (0: none).
  static void AddTriangle(std::vector<MESHPRIM>& words, int a, int b, int c, HOBJECT material = 0, int faceFlags = 0) {
    words.insert(words.end(), {PRIM_TRIANGLE, static_cast<MESHPRIM>(material), faceFlags, a, b, c});
  }

  static HOBJECT BuildMesh(unsigned flags, const std::vector<MESHVERTEX>& vertices, const std::vector<MESHPRIM>& words,
                           int primitives) {
    BeginNode(NODE_MESH);
    if (flags) SetMeshFlags(0, flags);
    AppendMeshData(0, vertices.data(), static_cast<int>(vertices.size()), words.data(), static_cast<int>(words.size()),
                   primitives, 1);
    return EndNode(0);
  }

  // A pre-lit triangle facing the camera at depth z, covering the screen
  // centre, in one colour.
  static HOBJECT ColorTriangle(float z, float r, float g, float b, float size = 5, float x = 0, float y = 0) {
    std::vector<MESHPRIM> words;
    AddTriangle(words, 0, 1, 2);
    return BuildMesh(MESH_PRELIT,
                     {Vertex(x - size, y - size, z, r, g, b), Vertex(x + size, y - size, z, r, g, b),
                      Vertex(x, y + size, z, r, g, b)},
                     words, 1);
  }

  static MESHDESC* Mesh(HOBJECT node) { return LookupNode(node)->Mesh(); }

  HOBJECT camera_ = 0;
};

}  // namespace rendertest
