#include "engine/core/pools.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "tests/engine/engine_fixture.h"

namespace enginetest {
namespace {

struct Record {
  int index = -1;
};

TEST(ObjectPool, ReusesFreedSlotsLowestFirstAndStopsWhenFull) {
  ObjectPool<Record, 4> pool;
  Record records[5];
  for (int i = 0; i < 3; ++i) EXPECT_EQ(pool.Allocate(&records[i]), i);
  pool.Free(0);
  EXPECT_EQ(pool.Allocate(&records[3]), 0);  // not slot 3
  EXPECT_EQ(records[3].index, 0);
  EXPECT_EQ(pool.mark, 3u);
  EXPECT_EQ(pool.Allocate(&records[4]), 3);
  EXPECT_EQ(pool.Allocate(&records[0]), -1);
  EXPECT_EQ(pool.mark, 4u);

  EXPECT_EQ(MakeHandle(OBJTYPE_MATERIAL, 0), 0x03000000u);
  EXPECT_EQ(pool.Resolve(MakeHandle(OBJTYPE_MATERIAL, 3), OBJTYPE_MATERIAL), &records[4]);
  EXPECT_EQ(pool.Resolve(MakeHandle(OBJTYPE_NODE, 3), OBJTYPE_MATERIAL), nullptr);
  EXPECT_EQ(pool.Resolve(MakeHandle(OBJTYPE_MATERIAL, 4), OBJTYPE_MATERIAL), nullptr);
  EXPECT_EQ(GetHandleType(0x0300002Au), 0x03000000u);
}

using PoolsTest = EngineTest;

TEST_F(PoolsTest, LookupsCheckTheKind) {
  ASSERT_EQ(Open(), 1);
  auto* node = new NODEDESC;
  node->kind = NODE_DUMMY;
  int slot = g_nodePool.Allocate(node);
  EXPECT_EQ(LookupNode(MakeHandle(OBJTYPE_NODE, slot)), node);
  EXPECT_EQ(LookupNode(MakeHandle(OBJTYPE_MATERIAL, slot)), nullptr);
  EXPECT_EQ(LookupNode(0), nullptr);  // nothing under construction
  EXPECT_EQ(LookupViewport(0), g_gameWorld->defaultViewport);
  EXPECT_EQ(LookupMaterial(0), nullptr);
  // Closing destroys what is left in the pools.
  CloseEngine(1);
  EXPECT_EQ(g_nodePool.mark, 0u);
  EXPECT_EQ(g_nodePool.slots[slot], nullptr);
}

TEST_F(PoolsTest, SeventeenthViewportEndsTheEngineAndItOpensAgain) {
  ASSERT_EQ(Open(), 1);
  plat::WindowHandle window = GetMainWindow();
  for (int i = 1; i < 16; ++i) ASSERT_NE(CreateViewport(0, 0, 10, 10), 0u) << i;
  EXPECT_TRUE(boxes_.Boxes().empty());
  EXPECT_EQ(CreateViewport(0, 0, 10, 10), 0u);
  EXPECT_TRUE(boxes_.Contains("Fatal message", "No more viewport available. (VP01)"));
  EXPECT_EQ(g_engineOpen, 0);
  EXPECT_EQ(IsQuitRequested(), 1);
  EXPECT_EQ(plat::GetLive3DObjects().viewports, 0);

  // A fatal message keeps the window; the engine opens again in it.
  ASSERT_TRUE(plat::IsWindow(window));
  ASSERT_EQ(Open(), 1);
  EXPECT_EQ(GetMainWindow(), window);
  EXPECT_EQ(plat::WindowCount(), 1);

  CloseEngine(1);
  EXPECT_FALSE(plat::IsWindow(window));
  EXPECT_EQ(Open(), 0);
}

TEST_F(PoolsTest, KeptWindowClosedMeanwhileIsReplaced) {
  // An engine that destroyed its window before still hears the next window's close.
  ASSERT_EQ(Open(), 1);
  CloseEngine(1);
  SetQuitFlag(0);
  ASSERT_EQ(Open(), 1);
  plat::WindowHandle window = GetMainWindow();
  CloseEngine(0);
  // With no engine the window's close goes to the default handling, which destroys it.
  plat::PostMessage(window, plat::WM_CLOSE, 0, 0);
  PumpMessages();
  ASSERT_FALSE(plat::IsWindow(window));
  ASSERT_EQ(Open(), 1);
  EXPECT_NE(GetMainWindow(), window);
  EXPECT_TRUE(plat::IsWindow(GetMainWindow()));
  // The new window's close reaches the engine again.
  Post(plat::WM_CLOSE);
  PumpMessages();
  EXPECT_EQ(g_engineOpen, 0);
}

TEST_F(PoolsTest, FreedViewportSlotIsReusedWithTheSameHandle) {
  ASSERT_EQ(Open(), 1);
  HOBJECT first = CreateViewport(0, 0, 100, 100);
  HOBJECT second = CreateViewport(10, 10, 50, 50);
  EXPECT_EQ(first, 0x04000001u);
  DestroyViewport(first);
  EXPECT_EQ(LookupViewport(first), nullptr);
  EXPECT_EQ(CreateViewport(5, 5, 20, 20), first);
  EXPECT_EQ(g_viewportPool.mark, 3u);
  EXPECT_NE(LookupViewport(second), nullptr);

  // The default viewport stays whatever names it.
  VIEWPORTDESC* defaultViewport = g_gameWorld->defaultViewport;
  DestroyViewport(0);
  DestroyViewport(MakeHandle(OBJTYPE_VIEWPORT, defaultViewport->index));
  EXPECT_EQ(LookupViewport(0), defaultViewport);
  EXPECT_EQ(LookupViewport(MakeHandle(OBJTYPE_VIEWPORT, 0)), defaultViewport);
}

TEST_F(PoolsTest, EngineOpensAndClosesManyTimes) {
  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(Open(round % 2), 1) << round;
    CreateViewport(0, 0, 64, 64);
    CloseEngine(1);
    SetQuitFlag(0);
    EXPECT_EQ(plat::WindowCount(), 0);
    EXPECT_EQ(plat::LiveSurfaceCount(), 0);
    EXPECT_EQ(plat::LiveDisplayDeviceCount(), 0);
  }
  EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
}  // namespace enginetest
