#include "engine/core/engine_state.h"
#include "engine/core/lod_groups.h"
#include "engine/core/node_transforms.h"
#include "tests/engine/scene_fixture.h"

namespace enginetest {
namespace {

using TransformsTest = SceneTest;

void ExpectVector(const VECTOR3& v, float x, float y, float z) {
  EXPECT_NEAR(v.x, x, 1e-5f);
  EXPECT_NEAR(v.y, y, 1e-5f);
  EXPECT_NEAR(v.z, z, 1e-5f);
}

VECTOR3 WorldPosition(HOBJECT node) {
  VECTOR3 p{};
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  return p;
}

TEST_F(TransformsTest, ChildFollowsItsTurnedParent) {
  HOBJECT parent = CreateDummyNode(0, nullptr);
  HOBJECT child = CreateDummyNode(parent, nullptr);
  RotateNode(parent, AXIS_POS_Z, 90, TRANSFORM_SET);
  SetNodePosition(child, 1, 0, 0, TRANSFORM_SET);
  ExpectVector(WorldPosition(child), 0, 1, 0);
  // A disabled parent contributes nothing.
  Node(parent)->enabled = 0;
  ExpectVector(WorldPosition(child), 1, 0, 0);
}

TEST_F(TransformsTest, ModesOfTheTransformCalls) {
  HOBJECT node = CreateDummyNode(0, nullptr);
  struct Case {
    const char* name;
    void (*apply)(HOBJECT);
    VECTOR3 position;
  } cases[] = {
      // Turned +90 about Z, a local move along +Y goes along world -X.
      {"local move after a turn",
       [](HOBJECT n) {
         RotateNode(n, AXIS_POS_Z, 90, TRANSFORM_LOCAL);
         SetNodePosition(n, 0, 1, 0, TRANSFORM_LOCAL);
       },
       {-1, 0, 0}},
      {"parent move ignores the turn",
       [](HOBJECT n) {
         RotateNode(n, AXIS_POS_Z, 90, TRANSFORM_LOCAL);
         SetNodePosition(n, 0, 1, 0, TRANSFORM_PARENT);
       },
       {0, 1, 0}},
      {"parent turn turns the position",
       [](HOBJECT n) {
         SetNodePosition(n, 1, 0, 0, TRANSFORM_PARENT);
         RotateNode(n, AXIS_POS_Z, 90, TRANSFORM_PARENT);
       },
       {0, 1, 0}},
      {"local turn keeps the position",
       [](HOBJECT n) {
         SetNodePosition(n, 1, 0, 0, TRANSFORM_PARENT);
         RotateNode(n, AXIS_NEG_Z, 30, TRANSFORM_LOCAL);
       },
       {1, 0, 0}},
      {"parent scale scales the position",
       [](HOBJECT n) {
         SetNodePosition(n, 1, 2, 3, TRANSFORM_PARENT);
         ScaleNode(n, 2, 2, 2, TRANSFORM_PARENT);
       },
       {2, 4, 6}},
      {"set position resets the rotation",
       [](HOBJECT n) {
         RotateNode(n, AXIS_POS_X, 45, TRANSFORM_LOCAL);
         SetNodePosition(n, 1, 2, 3, TRANSFORM_SET);
       },
       {1, 2, 3}},
      {"mode 7 changes nothing",
       [](HOBJECT n) {
         SetNodePosition(n, 1, 0, 0, 7);
         RotateNode(n, AXIS_POS_Z, 90, 7);
         ScaleNode(n, 3, 3, 3, 7);
       },
       {0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetNodePosition(node, 0, 0, 0, TRANSFORM_SET);
    Node(node)->dirty = 0;
    c.apply(node);
    ExpectVector(WorldPosition(node), c.position.x, c.position.y, c.position.z);
    EXPECT_EQ(Node(node)->dirty, 1);
  }
  // After "set position", the node is unrotated.
  SetNodePosition(node, 1, 2, 3, TRANSFORM_SET);
  MATRIX34 local;
  GetNodeMatrix(node, &local, 1);
  ExpectVector(local.row[0], 1, 0, 0);
  ExpectVector(local.row[2], 0, 0, 1);
}

TEST_F(TransformsTest, NegativeAxisCodesTurnTheOtherWay) {
  HOBJECT a = CreateDummyNode(0, nullptr);
  HOBJECT b = CreateDummyNode(0, nullptr);
  RotateNode(a, AXIS_NEG_Z, 30, TRANSFORM_LOCAL);
  RotateNode(b, AXIS_POS_Z, -30, TRANSFORM_LOCAL);
  MATRIX34 ma, mb;
  GetNodeMatrix(a, &ma, 1);
  GetNodeMatrix(b, &mb, 1);
  for (int r = 0; r < 3; ++r) ExpectVector(ma.row[r], mb.row[r].x, mb.row[r].y, mb.row[r].z);
  // The same turn as a quaternion.
  HOBJECT q = CreateDummyNode(0, nullptr);
  const VECTOR3 z{0, 0, 1};
  QUATERNION turn;
  MakeQuaternionFromAxisAngle(-30, &z, &turn);
  RotateNodeByQuaternion(q, &turn, TRANSFORM_SET);
  MATRIX34 mq;
  GetNodeMatrix(q, &mq, 1);
  for (int r = 0; r < 3; ++r) ExpectVector(mq.row[r], mb.row[r].x, mb.row[r].y, mb.row[r].z);
  MoveNodeAlongAxis(a, AXIS_NEG_Y, 2);  // local -Y by 2
  MoveNodeAlongAxis(a, 9, 5);           // no such axis
  VECTOR3 p = WorldPosition(a);
  EXPECT_NEAR(p.x, -2 * ma.row[1].x, 1e-5f);
  EXPECT_NEAR(p.y, -2 * ma.row[1].y, 1e-5f);
}

TEST_F(TransformsTest, WorldMatrixComposesUpTheChain) {
  HOBJECT root = CreateDummyNode(0, nullptr);
  HOBJECT mid = CreateDummyNode(root, nullptr);
  HOBJECT leaf = CreateDummyNode(mid, nullptr);
  SetNodePosition(root, 10, 0, 0, TRANSFORM_SET);
  RotateNode(mid, AXIS_POS_Z, 90, TRANSFORM_SET);
  SetNodePosition(leaf, 0, 0, 5, TRANSFORM_SET);
  ScaleNode(leaf, 2, 1, 1, TRANSFORM_LOCAL);
  MATRIX34 world;
  GetNodeMatrix(leaf, &world, 0);
  ExpectVector(world.row[3], 10, 0, 5);
  ExpectVector(world.row[0], 0, 2, 0);  // local X doubled, then turned onto +Y
}

TEST_F(TransformsTest, SetNodeDirection) {
  HOBJECT mesh = MakeMesh({});
  HOBJECT camera;
  BeginNode(NODE_CAMERA);
  camera = EndNode(0);
  const VECTOR3 at{1, 2, 3};
  struct Case {
    const char* name;
    HOBJECT node;
    VECTOR3 direction;
    bool hasDirection;
    VECTOR3 forward;
    VECTOR3 up;
  } cases[] = {
      {"mesh along +X", mesh, {1, 0, 0}, true, {1, 0, 0}, {0, 0, 1}},
      {"mesh along -Y diagonal up", mesh, {0, -1, 1}, true, {0, -0.7071068f, 0.7071068f}, {0, 0.7071068f, 0.7071068f}},
      {"camera straight down", camera, {0, 0, -1}, true, {0, 0, -1}, {0, -1, 0}},
      {"camera with no direction", camera, {}, false, {0, 0, -1}, {0, -1, 0}},
      {"camera straight up", camera, {0, 0, 1}, true, {0, 0, 1}, {0, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetNodeDirection(c.node, &at, c.hasDirection ? &c.direction : nullptr, nullptr);
    VECTOR3 position, forward, up;
    GetNodeWorldVectors(c.node, &position, &forward, &up);
    ExpectVector(position, 1, 2, 3);
    ExpectVector(forward, c.forward.x, c.forward.y, c.forward.z);
    ExpectVector(up, c.up.x, c.up.y, c.up.z);
  }
  // An up vector turns the node about its forward axis.
  const VECTOR3 east{1, 0, 0}, north{0, 1, 0};
  SetNodeDirection(camera, &at, &east, &north);
  VECTOR3 forward, up;
  GetNodeWorldVectors(camera, nullptr, &forward, &up);
  ExpectVector(forward, 1, 0, 0);
  ExpectVector(up, 0, 1, 0);
}

TEST_F(TransformsTest, AxesAndTheSideAxisTable) {
  HOBJECT node = CreateDummyNode(0, nullptr);
  SetNodeAxes(node, 9, AXIS_POS_Y);
  EXPECT_EQ(Node(node)->forwardAxis, AXIS_NEG_Y);
  EXPECT_EQ(Node(node)->upAxis, AXIS_POS_Y);
  struct Entry {
    int up, forward, side;
  } entries[] = {{2, 4, 3}, {1, 5, 0}, {2, 5, 0}, {5, 2, 0}};
  for (const Entry& e : entries) EXPECT_EQ(g_sideAxisTable[e.up * 6 + e.forward], e.side) << e.up << e.forward;
}

TEST_F(TransformsTest, LevelOfDetailMembersStandWhereTheOwnerStands) {
  HOBJECT owner = CreateDummyNode(0, nullptr);
  HOBJECT member = CreateDummyNode(0, nullptr);
  const float distance = 100;
  ASSERT_EQ(SetupLodGroup(owner, &member, &distance, 1), 1);
  SetNodePosition(owner, 4, 5, 6, TRANSFORM_SET);
  RotateNode(owner, AXIS_POS_X, 30, TRANSFORM_LOCAL);
  SetNodeAxes(owner, AXIS_POS_X, AXIS_POS_Z);
  for (int r = 0; r < 4; ++r)
    ExpectVector(Node(member)->local.row[r], Node(owner)->local.row[r].x, Node(owner)->local.row[r].y,
                 Node(owner)->local.row[r].z);
  EXPECT_EQ(Node(member)->forwardAxis, AXIS_POS_X);
  // Calls on a member stay with the member.
  SetNodePosition(member, 0, 0, 0, TRANSFORM_SET);
  ExpectVector(WorldPosition(owner), 4, 5, 6);
}

TEST_F(TransformsTest, ClosedEngineAndBadHandlesDoNothing) {
  HOBJECT node = CreateDummyNode(0, nullptr);
  SetNodePosition(node + 1, 1, 1, 1, TRANSFORM_SET);
  ExpectVector(WorldPosition(node), 0, 0, 0);
  MATRIX34 out{};
  out.row[3] = {7, 7, 7};
  GetNodeMatrix(node + 1, &out, 1);
  ExpectVector(out.row[3], 7, 7, 7);
}

}  // namespace
}  // namespace enginetest
