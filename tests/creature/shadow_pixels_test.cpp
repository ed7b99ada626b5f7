#include <gtest/gtest.h>

#include "components/gcb_light.h"
#include "components/society_ext.h"
#include "engine/core/cameras.h"
#include "engine/core/lights.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"
#include "engine/core/terrain.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/core/walking.h"
#include "engine/core/world.h"
#include "platform/display.h"
#include "tests/creature/creature_fixture.h"

namespace creaturetest {
namespace {

class ShadowPixels : public CreatureTest {
 protected:
  // A white pre-lit ground of 10-unit cells from -100 to 100, as a terrain.
  static HOBJECT WhiteGround() {
    std::vector<MESHVERTEX> points;
    for (int j = 0; j <= 20; ++j)
      for (int i = 0; i <= 20; ++i) {
        MESHVERTEX v;
        v.x = -100.0f + 10 * i, v.y = -100.0f + 10 * j;
        v.nx = v.ny = v.nz = 1;  // the colour of a pre-lit vertex
        points.push_back(v);
      }
    std::vector<MESHPRIM> words;
    for (int j = 0; j < 20; ++j)
      for (int i = 0; i < 20; ++i) {
        const int a = j * 21 + i, b = a + 1, c = a + 22, d = a + 21;
        words.insert(words.end(), {PRIM_TRIANGLE, 0, 0, a, b, c, PRIM_TRIANGLE, 0, 0, a, c, d});
      }
    BeginNode(NODE_MESH);
    SetMeshFlags(0, MESH_PRELIT);
    AppendMeshData(0, points.data(), static_cast<int>(points.size()), words.data(), static_cast<int>(words.size()), 800,
                   1);
    return CreateTerrain(EndNode(0), 1, 1);
  }

  // The summed 5-6-5 channels of the back-buffer pixel showing a ground point.
  static int Brightness(float x, float y) {
    const VECTOR3 point{x, y, 0};
    VECTOR3 screen;
    EXPECT_EQ(ProjectToScreen(0, &point, &screen, 2, 0), 1);
    uint8_t* pixels = nullptr;
    int pitch = 0;
    plat::Surface& surface = *g_gameWorld->backBuffer;
    EXPECT_EQ(surface.Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
    const uint16_t p =
        reinterpret_cast<const uint16_t*>(pixels + static_cast<int>(screen.y) * pitch)[static_cast<int>(screen.x)];
    surface.Unlock();
    return (p >> 11) + ((p >> 5) & 0x3F) / 2 + (p & 0x1F);
  }
};

// A body floating 5 units above the ground, lit from the side: the light
// node at (-10, 3, 10) stands for a light at (-100, 30, 100), so the body's
// triangle (6..10, 3..7) shades the ground at about (10.7..14.9, 1.8..6).
TEST_F(ShadowPixels, AProjectedShadowDarkensTheGroundWhereTheBodyShadesIt) {
  const HOBJECT ground = WhiteGround();
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetNodePosition(camera, 0, 0, 300, TRANSFORM_SET);
  SetViewportCamera(0, camera);
  datagen::CreatureModel m = TestModel(true);
  m.objects[0].vertices = {{0, 0, 5, 0, 0, 1, 0, 0}, {4, 0, 5, 0, 0, 1, 1, 0}, {0, 4, 5, 0, 0, 1, 0, 1}};
  WriteFile("creature/tall.MCB", McbBytes(m));
  CSocietyExt society(camera);
  const float white[3] = {1, 1, 1};
  const HOBJECT lightNode = CreateLightNode(0, LIGHT_POINT, 1, white);
  SetNodePosition(lightNode, -10, 3, 10, TRANSFORM_SET);
  CGCBLight light(lightNode, LIGHT_POINT);
  ASSERT_EQ(light.Attach(&society), 1);
  CGCBMixCreature c("tall", 1, "creature");
  c.SetFrame(0);  // the body at the root
  c.Attach(&society);
  SetNodePosition(c.rootNode, 6, 3, 0, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(c.rootNode, ground, 0, 0), MOVE_DONE);

  RenderViewport(0, 1, 1);
  const int shadedBefore = Brightness(12.1f, 3.2f), farBefore = Brightness(60, 40);
  EXPECT_EQ(shadedBefore, farBefore);

  c.SetShadowMode(CGCBMixCreature::kProjectedShadow);
  c.ShowShadow(1);
  ASSERT_EQ(c.EndFrame(1), 1);
  ASSERT_TRUE(c.poolEntry);
  RenderViewport(0, 1, 1);
  EXPECT_LT(Brightness(12.1f, 3.2f), shadedBefore);
  EXPECT_LT(Brightness(12.6f, 2.9f), shadedBefore);
  EXPECT_EQ(Brightness(2, -8), farBefore);  // in the patch, out of the shade
  EXPECT_EQ(Brightness(60, 40), farBefore);
  c.Detach();
  light.Detach();
}

}  // namespace
}  // namespace creaturetest
