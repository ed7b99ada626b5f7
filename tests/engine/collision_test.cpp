#include "engine/core/collision.h"
#include "engine/core/composites.h"
#include "engine/core/node_bounds.h"
#include "engine/core/pools.h"
#include "tests/engine/spatial_fixture.h"

namespace enginetest {
namespace {

class CollisionTest : public EngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }

  static HOBJECT Box(VECTOR3 size, VECTOR3 at, float turnDegrees = 0) {
    const HOBJECT box = CreateDummyNode(0, &size);
    SetNodePosition(box, at.x, at.y, at.z, TRANSFORM_SET);
    if (turnDegrees != 0) RotateNode(box, AXIS_POS_Z, turnDegrees, TRANSFORM_LOCAL);
    return box;
  }
};

TEST_F(CollisionTest, BoxesTouchWhenACornerIsInsideOrEdgesCrossFaces) {
  struct Case {
    const char* name;
    VECTOR3 sizeA, atA, sizeB, atB;
    float turnB;
    int contact;
  } cases[] = {
      {"small box inside a big one", {10, 10, 10}, {0, 0, 0}, {1, 1, 1}, {1, 1, 1}, 0, 1},
      {"big box around a small one", {1, 1, 1}, {1, 1, 1}, {10, 10, 10}, {0, 0, 0}, 0, 1},
      {"corner into corner", {2, 2, 2}, {0, 0, 0}, {2, 2, 2}, {1.5f, 1.5f, 1.5f}, 0, 1},
      {"crossing beams, no corner inside", {10, 1, 1}, {0, 0, 0}, {1, 10, 0.8f}, {0, 0, 0}, 0, 1},
      {"turned corner poking in", {2, 2, 2}, {0, 0, 0}, {2, 2, 2}, {2.3f, 0, 0}, 45, 1},
      {"spheres overlap, boxes apart", {2, 2, 2}, {0, 0, 0}, {2, 2, 2}, {2.5f, 0, 0}, 0, 0},
      {"far apart", {2, 2, 2}, {0, 0, 0}, {2, 2, 2}, {5, 0, 0}, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const HOBJECT a = Box(c.sizeA, c.atA);
    const HOBJECT b = Box(c.sizeB, c.atB, c.turnB);
    EXPECT_EQ(TestObjectCollision(a, VOLUME_BOX, b, VOLUME_BOX), c.contact);
    EXPECT_EQ(LookupNode(a)->lastPartner, c.contact ? LookupNode(b) : nullptr);
    EXPECT_EQ(LookupNode(b)->lastPartner, c.contact ? LookupNode(a) : nullptr);
    EXPECT_EQ(LookupNode(a)->partnerPrimitive, -1);
    DestroyNode(a);
    DestroyNode(b);
  }
}

TEST_F(CollisionTest, SpheresApartAreNeverTestedFurther) {
  // The quad's bounds stay at the origin while its vertices move to x = 20,
  // right through the box: the stale spheres decide.
  const HOBJECT quad = MakeSquare(-1, -1, 1, 1, 0);
  int count = 0, frames = 0, floats = 0;
  MESHVERTEX* vertices = GetMeshVertices(quad, &count, &frames, &floats);
  ASSERT_EQ(count, 4);
  for (int i = 0; i < count; ++i) vertices[i].x += 20;
  const HOBJECT box = Box({2, 2, 2}, {20, 0.2f, 0});
  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, quad, VOLUME_MESH), 0);
  UpdateMeshBounds(quad);
  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, quad, VOLUME_MESH), 1);
}

TEST_F(CollisionTest, BoxAgainstMeshNamesTheTriangleForTheBoxOnly) {
  // A line list first: it is skipped but counted in the primitive index.
  BeginNode(NODE_MESH);
  const float line[6] = {0, 0, 0, 0, 10, 0};
  AddMeshLine(0, line, nullptr, 0);
  const float square[12] = {0, 0, 0, 10, 0, 0, 10, 10, 0, 0, 10, 0};
  AddMeshPolygon(0, square, nullptr, nullptr, 4, 0, 0);  // triangles 1 (x > y) and 2
  const HOBJECT mesh = EndNode(0);
  const HOBJECT box = Box({1, 1, 1}, {8, 2, 0});

  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, mesh, VOLUME_MESH), 1);
  EXPECT_EQ(LookupNode(box)->partnerPrimitive, 1);
  EXPECT_EQ(LookupNode(mesh)->partnerPrimitive, -1);
  EXPECT_EQ(LookupNode(box)->lastPartner, LookupNode(mesh));

  SetNodePosition(box, 2, 8, 0, TRANSFORM_SET);
  EXPECT_EQ(TestObjectCollision(mesh, VOLUME_MESH, box, VOLUME_BOX), 1);
  EXPECT_EQ(LookupNode(box)->partnerPrimitive, 2);
  EXPECT_EQ(LookupNode(mesh)->partnerPrimitive, -1);

  // Above the plane: every corner on one side.
  SetNodePosition(box, 8, 2, 0.6f, TRANSFORM_SET);
  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, mesh, VOLUME_MESH), 0);
  // A box volume against a node without a mesh is no contact.
  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, Box({5, 5, 5}, {8, 2, 0}), VOLUME_MESH), 0);
}

TEST_F(CollisionTest, MeshAgainstMeshNamesEachOthersTriangles) {
  // Each mesh starts with a far triangle, so indices differ between them.
  const HOBJECT floor =
      MakeMesh({{100, 100, 50}, {101, 100, 50}, {100, 101, 50}, {0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}},
               {{0, 1, 2}, {3, 4, 5}, {3, 5, 6}});
  const HOBJECT wall =
      MakeMesh({{-100, 0, 50}, {-101, 0, 50}, {-100, 1, 50}, {7, 1, -1}, {7, 3, -1}, {7, 3, 1}, {7, 1, 1}},
               {{0, 1, 2}, {0, 2, 1}, {3, 4, 5}, {3, 5, 6}});
  EXPECT_EQ(TestObjectCollision(floor, VOLUME_MESH, wall, VOLUME_MESH), 1);
  EXPECT_EQ(LookupNode(floor)->partnerPrimitive, 2);
  EXPECT_EQ(LookupNode(wall)->partnerPrimitive, 1);

  SetNodePosition(wall, 0, 20, 0, TRANSFORM_SET);
  EXPECT_EQ(TestObjectCollision(floor, VOLUME_MESH, wall, VOLUME_MESH), 0);
  EXPECT_EQ(LookupNode(floor)->partnerPrimitive, -1);
  EXPECT_EQ(LookupNode(wall)->partnerPrimitive, -1);
}

TEST_F(CollisionTest, UnknownVolumesAndHandlesGiveNoContact) {
  const HOBJECT a = Box({2, 2, 2}, {0, 0, 0});
  const HOBJECT b = Box({2, 2, 2}, {1, 0, 0});
  ASSERT_EQ(TestObjectCollision(a, VOLUME_BOX, b, VOLUME_BOX), 1);
  EXPECT_EQ(TestObjectCollision(a, 3, b, VOLUME_BOX), 0);
  EXPECT_EQ(LookupNode(a)->lastPartner, nullptr);
  EXPECT_EQ(LookupNode(b)->lastPartner, nullptr);
  EXPECT_EQ(TestObjectCollision(a, VOLUME_BOX, b, 3), 0);
  EXPECT_EQ(TestObjectCollision(a, VOLUME_BOX, 0x02FFFFFF, VOLUME_BOX), 0);
  EXPECT_EQ(TestObjectCollision(a, VOLUME_BOX, 0x06000000, VOLUME_BOX), 0);  // a terrain handle
}

TEST_F(CollisionTest, CompositesTestEveryPart) {
  const HOBJECT far = Box({1, 1, 1}, {50, 0, 0});
  const HOBJECT near = Box({1, 1, 1}, {0.5f, 0, 0});
  const HOBJECT box = Box({2, 2, 2}, {0, 0, 0});
  auto* composite = new COMPOSITEDESC;
  composite->parts.resize(3);
  composite->parts[0].node = LookupNode(far);
  composite->parts[2].node = LookupNode(near);  // part 1 is missing
  const int slot = g_compositePool.Allocate(composite);
  ASSERT_GE(slot, 0);
  const HOBJECT handle = MakeHandle(OBJTYPE_COMPOSITE, static_cast<uint32_t>(slot));

  EXPECT_EQ(TestObjectCollision(handle, VOLUME_BOX, box, VOLUME_BOX), 1);
  EXPECT_EQ(LookupNode(box)->lastPartner, LookupNode(near));
  EXPECT_EQ(TestObjectCollision(box, VOLUME_BOX, handle, VOLUME_BOX), 1);

  SetNodePosition(near, 0, 30, 0, TRANSFORM_SET);
  EXPECT_EQ(TestObjectCollision(handle, VOLUME_BOX, box, VOLUME_BOX), 0);
  g_compositePool.Free(static_cast<uint32_t>(slot));
  delete composite;
}

TEST_F(CollisionTest, CollisionListsPairNodesBothWays) {
  const HOBJECT a = Box({2, 2, 2}, {0, 0, 0});
  const HOBJECT b = Box({2, 2, 2}, {10, 0, 0});
  const HOBJECT c = Box({2, 2, 2}, {1, 0, 0});
  EXPECT_EQ(CheckCollisionList(a), 0);  // empty list

  struct Refusal {
    HOBJECT node;
    int volume;
    HOBJECT partner;
    int partnerVolume;
  } refusals[] = {{a, VOLUME_BOX, a, VOLUME_BOX},
                  {a, 0, b, VOLUME_BOX},
                  {a, VOLUME_BOX, b, 3},
                  {a, VOLUME_BOX, 0x02FFFFFF, VOLUME_BOX}};
  for (const Refusal& r : refusals) EXPECT_EQ(AddCollisionPartner(r.node, r.volume, r.partner, r.partnerVolume), 0);

  ASSERT_EQ(AddCollisionPartner(a, VOLUME_BOX, b, VOLUME_BOX), 1);
  EXPECT_EQ(AddCollisionPartner(b, VOLUME_BOX, a, VOLUME_BOX), 0);  // already paired
  EXPECT_EQ(CheckCollisionList(a), 0);
  ASSERT_EQ(AddCollisionPartner(c, VOLUME_BOX, a, VOLUME_BOX), 1);
  EXPECT_EQ(LookupNode(a)->collisionTail->partner, LookupNode(c));

  EXPECT_EQ(CheckCollisionList(a), 1);
  EXPECT_EQ(LookupNode(a)->lastPartner, LookupNode(c));
  EXPECT_EQ(LookupNode(c)->lastPartner, LookupNode(a));
  EXPECT_EQ(CheckCollisionList(b), 0);  // b's only partner is a, far away
  EXPECT_EQ(CheckCollisionList(c), 1);

  // A destroyed partner leaves no entry behind.
  DestroyNode(c);
  EXPECT_EQ(CheckCollisionList(a), 0);
  EXPECT_EQ(LookupNode(a)->collisionHead, LookupNode(a)->collisionTail);
}

}  // namespace
}  // namespace enginetest
