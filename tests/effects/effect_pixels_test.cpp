#include <gtest/gtest.h>

#include "components/effect_ribbon.h"
#include "engine/core/cameras.h"
#include "engine/core/node_transforms.h"
#include "engine/core/picking.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "platform/display.h"
#include "tests/effects/effects_fixture.h"

namespace effectstest {
namespace {

class EffectPixels : public EffectTest {
 protected:
  // The summed 5-6-5 channels of the back-buffer pixel showing an engine point.
  static int Brightness(const VECTOR3& point) {
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

// A flat ribbon of 10 x 10 at engine height 0, seen from above.
TEST_F(EffectPixels, AnAdditiveRibbonBrightensTheDarkBackgroundItCovers) {
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  SetNodePosition(camera, 0, 0, 100, TRANSFORM_SET);
  SetViewportCamera(0, camera);
  RenderViewport(0, 1, 1);
  const int inside = Brightness({1, 1, 0}), outside = Brightness({15, 10, 0});
  EXPECT_EQ(inside, outside);

  efc::EFCSECTIONALDESC shape = Ribbon("glow", 3).shape;
  shape.top = {-5, 0, 5};
  shape.bottom = {-5, 0, -5};
  shape.lineDirection = {1, 0, 0};
  shape.lineSpacing = 5;
  auto ribbon = BuildSectional(shape, 1);
  ASSERT_EQ(ribbon->Segments().size(), 2u);
  RenderViewport(0, 1, 1);
  EXPECT_GT(Brightness({1, 1, 0}), inside + 4);
  EXPECT_GT(Brightness({-3, -3, 0}), inside + 4);
  EXPECT_EQ(Brightness({15, 10, 0}), outside);
  ribbon->SetVisible(0);
  RenderViewport(0, 1, 1);
  EXPECT_EQ(Brightness({1, 1, 0}), inside);
}

}  // namespace
}  // namespace effectstest
