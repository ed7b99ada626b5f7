// One scene drawn through the 3D device and through the software rasteriser:
// an unlit sky and fully lit ground match; a see-through talk band in screen
// space shows on both when its culling is off, and on the device alone when
// it keeps it. Both frames are written as pictures to "path-parity-shots".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "components/mesh_helpers.h"
#include "engine/core/cameras.h"
#include "engine/core/fog.h"
#include "engine/core/lights.h"
#include "engine/core/materials.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/frame_png.h"

namespace softrastertest {
namespace {

struct Rgb {
  int r, g, b;
};

constexpr Rgb kSky = {96, 160, 248};
constexpr Rgb kGround = {56, 144, 40};
constexpr Rgb kBand = {200, 40, 40};

// Screen points of the scene's parts (x + y odd: a pixel the software path's
// checkerboard of a see-through quad covers).
constexpr int kSkyX = 320, kSkyY = 60;
constexpr int kGroundX = 320, kGroundY = 300;
constexpr int kOpenBandX = 101, kOpenBandY = 420;
constexpr int kCulledBandX = 501, kCulledBandY = 420;

class PathParity : public enginetest::EngineTest {
 protected:
  // The scene on one path; the frame as 0x00RRGGBB per pixel.
  std::vector<uint32_t> Draw(int device) {
    SetRenderMode(device);
    EXPECT_EQ(Open(), 1);
    const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
    SetViewportCamera(0, camera);
    SetAmbientLight(0, 0, 0);
    const float white[3] = {1, 1, 1};
    CreateLightNode(0, 1, 1, white);  // shines down -Z onto everything facing the camera

    // The sky: unlit, far off, over the top of the screen; the ground: lit, near, below.
    const HOBJECT sky = Quad(-3000, 3000, 0, 1400, 3000, kSky);
    SetNodeRenderState(sky, NRS_LIGHTING, 0);
    Quad(-20, 20, -14, 0.5f, 20, kGround);
    // Talk bands in screen space over the ground: the field talk's with its
    // culling off, the dialogue box's with its culling on.
    const float band[3] = {kBand.r / 255.0f, kBand.g / 255.0f, kBand.b / 255.0f};
    const HOBJECT open = CreateTexturedQuad(20, 400, 200, 60, 0.0001f, nullptr, band, 0, 0, 0, 0, 0);
    SetNodeAlpha(open, 0.8f);
    SetNodeCulling(open, 0);
    const HOBJECT culled = CreateTexturedQuad(420, 400, 200, 60, 0.0001f, nullptr, band, 0, 0, 0, 0, 0);
    SetNodeAlpha(culled, 0.8f);

    RenderViewport(0, 1, 1);
    std::vector<uint32_t> rgb(640 * 480);
    uint8_t* pixels = nullptr;
    int pitch = 0;
    EXPECT_EQ(g_gameWorld->backBuffer->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
    for (int y = 0; pixels && y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        const uint16_t p = reinterpret_cast<const uint16_t*>(pixels + static_cast<size_t>(y) * pitch)[x];
        const uint32_t r = (p >> 11) << 3, g = ((p >> 5) & 63) << 2, b = (p & 31) << 3;
        rgb[static_cast<size_t>(y) * 640 + x] = r << 16 | g << 8 | b;
      }
    g_gameWorld->backBuffer->Unlock();
    CloseEngineAndWindow();
    const std::filesystem::path shots = "path-parity-shots";
    std::filesystem::create_directories(shots);
    EXPECT_TRUE(testsupport::WritePng((shots / (device ? "device.png" : "software.png")).string(), 640, 480, rgb));
    return rgb;
  }

  // A quad facing the camera at depth z, x from left to right and y from
  // bottom to top, in one colour from an 8-bit texture (both paths take those).
  static HOBJECT Quad(float left, float right, float bottom, float top, float depth, Rgb colour) {
    std::vector<uint8_t> texels(16 * 16, 1);
    std::vector<uint8_t> palette(256 * 3, 0);
    palette[3] = static_cast<uint8_t>(colour.r), palette[4] = static_cast<uint8_t>(colour.g),
    palette[5] = static_cast<uint8_t>(colour.b);
    const float one[3] = {1, 1, 1}, none[3] = {0, 0, 0};
    const HOBJECT material =
        CreateMaterialFromPixels(one, one, none, none, 0, 8, texels.data(), palette.data(), 16, 16, 0, 0, 0, 0, 0);
    auto corner = [&](float x, float y, float u, float v) {
      MESHVERTEX m;
      m.x = x, m.y = y, m.z = -depth, m.nx = 0, m.ny = 0, m.nz = 1, m.u = u, m.v = v;
      return m;
    };
    const std::vector<MESHVERTEX> vertices = {corner(left, bottom, 0, 1), corner(right, bottom, 1, 1),
                                              corner(right, top, 1, 0), corner(left, top, 0, 0)};
    const auto m = static_cast<MESHPRIM>(material);
    const std::vector<MESHPRIM> words = {PRIM_TRIANGLE, m, 0, 0, 1, 2, PRIM_TRIANGLE, m, 0, 0, 2, 3};
    BeginNode(NODE_MESH);
    AppendMeshData(0, vertices.data(), 4, words.data(), static_cast<int>(words.size()), 2, 1);
    return EndNode(0);
  }

  static Rgb At(const std::vector<uint32_t>& frame, int x, int y) {
    const uint32_t p = frame[static_cast<size_t>(y) * 640 + x];
    return {static_cast<int>(p >> 16), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF)};
  }
  // Within what the 16-bit screen and the device's texture format keep of a colour.
  static bool Near(Rgb a, Rgb b) {
    return std::abs(a.r - b.r) <= 8 && std::abs(a.g - b.g) <= 8 && std::abs(a.b - b.b) <= 8;
  }
};

std::ostream& operator<<(std::ostream& out, Rgb c) { return out << "(" << c.r << ", " << c.g << ", " << c.b << ")"; }

TEST_F(PathParity, BothPathsAgreeWhereThePartsMakeThemEqual) {
  const std::vector<uint32_t> device = Draw(1);
  const std::vector<uint32_t> software = Draw(0);
  // The device blends a band at 0.8 over the ground; the software path draws
  // every other pixel of it in full, from its material's colour ramp (white:
  // the band's colour is in its vertices, which that path does not read).
  const Rgb blended = {(kBand.r * 4 + kGround.r) / 5, (kBand.g * 4 + kGround.g) / 5, (kBand.b * 4 + kGround.b) / 5};
  const Rgb white = {255, 255, 255};
  struct Point {
    const char* what;
    int x, y;
    Rgb device, software;
  } points[] = {
      {"the unlit sky shows its texture as it is", kSkyX, kSkyY, kSky, kSky},
      {"the fully lit ground shows its texture as it is", kGroundX, kGroundY, kGround, kGround},
      {"the band with its culling off", kOpenBandX, kOpenBandY, blended, white},
      {"between the checkerboard's pixels", kOpenBandX + 1, kOpenBandY, blended, kGround},
      {"a screen-space mesh that keeps its culling is the device's alone", kCulledBandX, kCulledBandY, blended,
       kGround},
  };
  for (const Point& p : points) {
    EXPECT_TRUE(Near(At(device, p.x, p.y), p.device)) << p.what << ": device " << At(device, p.x, p.y);
    EXPECT_TRUE(Near(At(software, p.x, p.y), p.software)) << p.what << ": software " << At(software, p.x, p.y);
  }
}

}  // namespace
}  // namespace softrastertest
