#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/cameras.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pixel_format.h"
#include "engine/core/viewport_render.h"
#include "engine/core/viewports.h"
#include "engine/core/world.h"
#include "engine/media/model_files.h"
#include "tests/assets/asset_fixtures.h"
#include "tests/assets/engine_assets_fixture.h"
#include "tools/datagen/image_writer.h"
#include "tools/datagen/model_text_writer.h"

namespace {

using assets_test::Encode;

// A cube of half size h, four vertices a face with texture corners, every
// face double-sided, drawn with the texture "crate".
datagen::Qx3Model Cube(float h) {
  datagen::Qx3Object cube;
  cube.index = 1;
  cube.smoothNormals = false;
  datagen::Qx3Material crate;
  crate.texture = "crate";
  cube.materials = {crate};
  const float corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
  const float uvs[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  for (int axis = 0; axis < 3; ++axis) {
    for (float side : {-h, h}) {
      const int first = static_cast<int>(cube.vertices.size());
      for (int c = 0; c < 4; ++c) {
        float p[3];
        p[axis] = side;
        p[(axis + 1) % 3] = corners[c][0];
        p[(axis + 2) % 3] = corners[c][1];
        datagen::Qx3Vertex v;
        v.x = p[0];
        v.y = p[1];
        v.z = p[2];
        v.hasNormal = true;
        (axis == 0 ? v.nx : axis == 1 ? v.ny : v.nz) = side > 0 ? 1.0f : -1.0f;
        v.hasUv = true;
        v.u = uvs[c][0];
        v.v = uvs[c][1];
        cube.vertices.push_back(v);
      }
      cube.faces.push_back({0, {first, first + 1, first + 2, first + 3}, true, -1});
    }
  }
  datagen::Qx3Model model;
  model.objects = {cube};
  return model;
}

class ModelRenderTest : public assets_test::EngineAssetsTest {};

TEST_F(ModelRenderTest, AWrittenTexturedCubeShowsItsTexelAtTheCentre) {
  datagen::ImageDesc crate;
  crate.width = 2;
  crate.height = 2;
  crate.palette = {{255, 0, 0}};
  crate.pixels = {0, 0, 0, 0};
  assets_test::WriteFile("texture/crate.qbt", Encode(datagen::WriteImage, crate));
  assets_test::WriteFile("model/cube.qx3", Encode(datagen::WriteTextModel, Cube(5)));

  const HOBJECT cube = LoadModel(0, "cube");
  ASSERT_TRUE(cube);
  SetNodePosition(cube, 0, 0, -100, 0);
  SetNodeRenderState(cube, NRS_LIGHTING, 0);  // unlit: the texel shows as it is
  const HOBJECT camera = CreateCameraNode(0, 1.33f, 50, 0.86f, 2, 5000);
  ASSERT_TRUE(camera);
  SetViewportCamera(0, camera);
  RenderViewport(0, 1, 1);

  plat::Surface* back = g_gameWorld->backBuffer.get();
  uint8_t* pixels = nullptr;
  int pitch = 0;
  ASSERT_EQ(back->Lock(&pixels, &pitch), plat::SurfaceResult::Ok);
  const uint16_t centre = *reinterpret_cast<uint16_t*>(pixels + 240 * pitch + 320 * 2);
  const uint16_t corner = *reinterpret_cast<uint16_t*>(pixels + 2 * pitch + 2 * 2);
  back->Unlock();
  EXPECT_EQ(centre, PackScreenPixel(255, 0, 0));
  EXPECT_NE(corner, PackScreenPixel(255, 0, 0));
}

}  // namespace
