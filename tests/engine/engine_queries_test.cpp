#include <cmath>
#include <string>
#include <vector>

#include "engine/core/argument_table.h"
#include "engine/core/composites.h"
#include "engine/core/joysticks.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/viewports.h"
#include "engine/core/window_proc.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

class QueriesTest : public EngineTest {
 protected:
  // A node filed in the pool the way the scene graph files them.
  HOBJECT AddNode(int kind, void* kindData = nullptr) {
    auto* node = new NODEDESC;
    node->kind = kind;
    node->kindData = kindData;
    return MakeHandle(OBJTYPE_NODE, static_cast<uint32_t>(g_nodePool.Allocate(node)));
  }
};

TEST_F(QueriesTest, CameraQueries) {
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(0), -1.0f);
  ASSERT_EQ(Open(), 1);
  auto* camera = new CAMERADESC;
  camera->fieldOfView = 24.6f;
  HOBJECT cameraNode = AddNode(NODE_CAMERA, camera);
  HOBJECT lightNode = AddNode(NODE_LIGHT);
  HOBJECT bareCamera = AddNode(NODE_CAMERA);
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(cameraNode), 24.6f);
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(lightNode), -1.0f);
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(bareCamera), -1.0f);
  EXPECT_FLOAT_EQ(GetCameraFieldOfView(cameraNode | 0x01000000u), -1.0f);

  EXPECT_EQ(GetCurrentCamera(), 0u);
  SetViewportCamera(0, cameraNode);
  EXPECT_EQ(GetCurrentCamera(), cameraNode);
  // Destroying the camera takes it out of the viewport.
  DestroyNode(cameraNode);
  EXPECT_EQ(GetCurrentCamera(), 0u);
}

TEST_F(QueriesTest, BillboardMaterial) {
  ASSERT_EQ(Open(), 1);
  auto* billboard = new BILLBOARDDESC;
  HOBJECT node = AddNode(NODE_BILLBOARD, billboard);
  EXPECT_EQ(GetBillboardMaterial(node), 0u);
  billboard->materialIndex = 7;
  EXPECT_EQ(GetBillboardMaterial(node), 0x03000007u);
  EXPECT_EQ(GetBillboardMaterial(AddNode(NODE_MESH)), 0u);
  CloseEngine(0);
  EXPECT_EQ(GetBillboardMaterial(node), 0u);
}

TEST_F(QueriesTest, NodeTimes) {
  ASSERT_EQ(Open(), 1);
  HOBJECT node = AddNode(NODE_DUMMY);
  MarkNodeTime(node);
  clock_->AdvanceSeconds(1.5);
  EXPECT_NEAR(GetNodeElapsedTime(node), 1.5, 1e-9);
  EXPECT_EQ(GetNodeElapsedTime(node + 1), 0.0);
}

TEST_F(QueriesTest, CompositesShowAndPlaceTogether) {
  ASSERT_EQ(Open(), 1);
  auto* composite = new COMPOSITEDESC;
  NODEDESC* root = LookupNode(AddNode(NODE_DUMMY));
  NODEDESC* parent = LookupNode(AddNode(NODE_DUMMY));
  NODEDESC* part = LookupNode(AddNode(NODE_MESH));
  root->parent = parent;
  root->local.row[3] = {1, 2, 3};
  parent->local.row[3] = {10, 0, 0};
  // The parent turns +90 degrees about Z: +X becomes +Y, +Y becomes -X.
  parent->local.row[0] = {0, 1, 0};
  parent->local.row[1] = {-1, 0, 0};
  composite->root = root;
  composite->parts.emplace_back().node = part;
  HOBJECT handle = MakeHandle(OBJTYPE_COMPOSITE, static_cast<uint32_t>(g_compositePool.Allocate(composite)));

  ShowComposite(handle, 0);
  EXPECT_EQ(root->visible, 0);
  EXPECT_EQ(part->visible, 0);
  EXPECT_EQ(composite->visible, 0);
  EXPECT_EQ(parent->visible, 1);

  VECTOR3 position{}, direction{};
  GetCompositeWorldVectors(handle, &position, &direction);
  EXPECT_NEAR(position.x, 10 - 2, 1e-5);
  EXPECT_NEAR(position.y, 1, 1e-5);
  EXPECT_NEAR(position.z, 3, 1e-5);
  EXPECT_NEAR(direction.x, 1, 1e-5);  // the negated second axis
  EXPECT_NEAR(direction.y, 0, 1e-5);
}

TEST_F(QueriesTest, SettingsAndSmallQueries) {
  EXPECT_EQ(GetFreeTextureMemory(), 0u);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(GetFreeTextureMemory(), plat::GetDisplayEnvironment().textureMemory);
  EXPECT_EQ(HasSse2(), 1);
  EXPECT_EQ(GetSpriteLockPitch(), 0);
  EXPECT_EQ(GetMainWindow(), g_gameWorld->window);
  EnableCDAudio(0);
  EXPECT_EQ(g_cdAudioEnabled, 0);
  EnableCDAudio(1);
  int t = -1, p = -1, v = -1;
  GetFrameStatistics(&t, &p, &v);
  EXPECT_EQ(t + p + v, 0);
  GetFrameStatistics(nullptr, nullptr, nullptr);
  SetLineDoubling(1, 0);  // the 3D path only records it
  EXPECT_EQ(g_lineDoubling, 1);
  EXPECT_EQ(LookupViewport(0)->height, 480);
}

TEST_F(QueriesTest, MatchColorKeyFindsTheSurfacesPixel) {
  ASSERT_EQ(Open(), 1);
  auto surface = g_gameWorld->displayDevice->CreateSurface(4, 4, false);
  surface->Fill(nullptr, 0x1234);
  EXPECT_EQ(MatchColorKey(surface.get(), 0x0000FF), 0xF800);  // red, given as 0x00BBGGRR
  EXPECT_TRUE(surface->HasColorKey());
  EXPECT_EQ(surface->ColorKey(), 0xF800u);
  uint8_t* pixels = nullptr;
  int pitch = 0;
  surface->Lock(&pixels, &pitch);
  EXPECT_EQ(pixels[0] | pixels[1] << 8, 0x1234);  // the old pixel is back
  surface->Unlock();
  EXPECT_EQ(MatchColorKey(surface.get(), -1), 0x1234);
  surface->MarkLost();
  EXPECT_EQ(MatchColorKey(surface.get(), 0), -1);
}

TEST_F(QueriesTest, DebugTextIsDrawnInItsColourOnTheBackBuffer) {
  DrawDebugText(10, 10, "closed", 255, 0, 0);
  ASSERT_EQ(Open(), 1);
  plat::Surface& back = *g_gameWorld->backBuffer;
  auto inked = [&](int* outside) {
    uint8_t* p = nullptr;
    int pitch = 0, count = 0;
    back.Lock(&p, &pitch);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) {
        uint16_t v = static_cast<uint16_t>(p[y * pitch + x * 2] | p[y * pitch + x * 2 + 1] << 8);
        if (v == 0) continue;
        EXPECT_EQ(v, 0xF800);
        ++count;
        if (x < 10 || y < 10 || x >= 110 || y >= 40) ++*outside;
      }
    back.Unlock();
    return count;
  };
  int outside = 0;
  DrawDebugText(10, 10, "", 255, 0, 0);
  EXPECT_EQ(inked(&outside), 0);
  DrawDebugText(10, 10, "Tarnwick", 255, 0, 0);
  EXPECT_GT(inked(&outside), 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(QueriesTest, JoysticksAreOpenedAndAcquired) {
  for (int i = 0; i < 9; ++i) ASSERT_GE(plat::AttachTestJoystick(), 0);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_joysticksPresent, 1);
  ASSERT_EQ(g_gameWorld->joystickCount, 8);
  plat::Joystick& first = *g_gameWorld->joysticks[0]->device;
  EXPECT_EQ(first.AxisMinimum(plat::kJoystickAxisY), -1000);
  EXPECT_EQ(first.AxisMaximum(plat::kJoystickAxisX), 1000);
  EXPECT_EQ(first.DeadZone(plat::kJoystickAxisX), 5000);
  EXPECT_FALSE(first.Acquired());
  Post(plat::WM_ACTIVATEAPP, 1);
  PumpMessages();
  EXPECT_TRUE(first.Acquired());
  CloseEngine(1);
  EXPECT_EQ(plat::OpenJoystickCount(), 0);
  SetQuitFlag(0);

  // A joystick whose axes cannot be set ends the search: only the first is kept.
  plat::SetFailPoint(plat::FailPoint::SetJoystickAxisRange, 2, 1);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_gameWorld->joystickCount, 1);
  EXPECT_EQ(g_joysticksPresent, 1);
  CloseEngine(1);
  SetQuitFlag(0);
  plat::SetFailPoint(plat::FailPoint::CreateJoystickInput);
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(g_joysticksPresent, 0);
}

TEST(ArgumentTable, SplitsAtBlanksAndKeeps32Entries) {
  std::vector<std::string> words = {"/games/tarnwick", "s", "two words", "", "x  y"};
  for (int i = 0; i < 40; ++i) words.push_back("a" + std::to_string(i));
  std::vector<char*> argv;
  for (auto& w : words) argv.push_back(w.data());
  std::vector<std::string> table = BuildArgumentTable(static_cast<int>(argv.size()), argv.data());
  ASSERT_EQ(table.size(), 32u);
  EXPECT_EQ(table[0], "/games/tarnwick");
  EXPECT_EQ(table[1], "s");
  EXPECT_EQ(table[2], "two");
  EXPECT_EQ(table[3], "words");
  EXPECT_EQ(table[4], "x");
  EXPECT_EQ(table[5], "y");
  EXPECT_EQ(table[6], "a0");
  EXPECT_EQ(table[31], "a25");
}

}  // namespace
}  // namespace enginetest
