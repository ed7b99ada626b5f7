#include <cstring>
#include <vector>

#include "engine/core/collision.h"
#include "engine/core/node_states.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/walking.h"
#include "tests/engine/spatial_fixture.h"

namespace enginetest {
namespace {

// A 10 x 10 ground at height 0 and a 2 x 2 x 2 box (up +Z, forward -Y,
// right -X) standing on it.
class WalkingTest : public EngineTest {
 protected:
  void SetUp() override {
    ASSERT_EQ(Open(), 1);
    ground_ = CreateTerrain(MakeSquare(0, 0, 10, 10, 0), 1, 1);
    ASSERT_NE(ground_, 0u);
    const VECTOR3 size = {2, 2, 2};
    box_ = CreateDummyNode(0, &size);
  }

  // Puts the box at (x, y) on the ground, unturned.
  void Stand(float x, float y, float heightOffset = 0) {
    SetNodePosition(box_, x, y, 5, TRANSFORM_SET);
    ASSERT_EQ(PlaceNodeOnTerrain(box_, ground_, heightOffset, 0), MOVE_DONE);
  }

  // Gives the ground's four outline edges the values 11 (y = 0), 12 (x = 10),
  // 13 (y = 10) and 14 (x = 0).
  void MarkBorders() {
    int count = 0;
    int32_t* edges = GetTerrainEdges(ground_, &count);
    ASSERT_EQ(count, 4);
    // The outline runs (0, 1), (1, 2), (2, 3), (3, 0).
    for (int e = 0; e < count; ++e) edges[3 * e + 2] = 11 + edges[3 * e];
  }

  static void ExpectAt(HOBJECT node, VECTOR3 expected) {
    const VECTOR3 p = WorldPosition(node);
    EXPECT_NEAR(p.x, expected.x, 1e-4f);
    EXPECT_NEAR(p.y, expected.y, 1e-4f);
    EXPECT_NEAR(p.z, expected.z, 1e-4f);
  }

  static VECTOR3 Forward(HOBJECT node) {
    VECTOR3 f{0, 0, 0};
    GetNodeWorldVectors(node, nullptr, &f, nullptr);
    return f;
  }

  HOBJECT ground_ = 0;
  HOBJECT box_ = 0;
};

TEST_F(WalkingTest, PlacingPicksTheFloorNearestTheNode) {
  const HOBJECT floors =
      MakeMesh({{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}, {0, 0, 10}, {10, 0, 10}, {10, 10, 10}, {0, 10, 10}},
               {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}});
  const HOBJECT terrain = CreateTerrain(floors, 1, 1);
  struct Case {
    float startZ;
    float offset;
    float endZ;
    int triangle;
  } cases[] = {
      {8, 0, 10, 2},
      {3, 1.5f, 1.5f, 0},
      {12, -1, 9, 2},
      {5, 0, 0, 0},  // equally far from both: the earlier triangle stays
  };
  for (const Case& c : cases) {
    SetNodePosition(box_, 6, 4, c.startZ, TRANSFORM_SET);
    EXPECT_EQ(PlaceNodeOnTerrain(box_, terrain, c.offset, 0), MOVE_DONE);
    ExpectAt(box_, {6, 4, c.endZ});
    EXPECT_EQ(LookupNode(box_)->terrainTriangle, c.triangle) << c.startZ;
    EXPECT_EQ(LookupNode(box_)->heightOffset, 0.0f);  // placing does not store it
  }
  // Terrain 0 means the terrain the node last stood on.
  SetNodePosition(box_, 6, 4, 9, TRANSFORM_SET);
  EXPECT_EQ(PlaceNodeOnTerrain(box_, 0, 0, 0), MOVE_DONE);
  ExpectAt(box_, {6, 4, 10});
}

TEST_F(WalkingTest, PlacingFailsWithoutGroundUnderTheNode) {
  SetNodePosition(box_, 20, 20, 0, TRANSFORM_SET);
  EXPECT_EQ(PlaceNodeOnTerrain(box_, ground_, 0, 0), MOVE_NOTHING);
  EXPECT_EQ(LookupNode(box_)->terrain, LookupTerrain(ground_));
  EXPECT_EQ(LookupNode(box_)->terrainTriangle, -1);

  const HOBJECT plain = CreateDummyNode(0, nullptr);
  EXPECT_EQ(PlaceNodeOnTerrain(plain, 0, 0, 0), MOVE_NOTHING);  // never stood on one
  EXPECT_EQ(PlaceNodeOnTerrain(0x02FFFFFF, ground_, 0, 0), MOVE_NOTHING);

  const HOBJECT screenMesh = MakeSquare(0, 0, 1, 1, 0);
  SetMeshFlags(screenMesh, MESH_PRETRANSFORMED);
  SetNodePosition(screenMesh, 5, 5, 0, TRANSFORM_SET);
  EXPECT_EQ(PlaceNodeOnTerrain(screenMesh, ground_, 0, 0), MOVE_NOTHING);
  EXPECT_EQ(LookupNode(screenMesh)->terrain, nullptr);
}

// A measured reach only spares searches: every drop answers and leaves the
// node as the full search does, the flat triangle's line far off included.
TEST_F(WalkingTest, AMeasuredReachPlacesAsTheFullSearch) {
  const HOBJECT mesh = MakeMesh({{0, 0, 0}, {10, 0, 0}, {10, 10, 2}, {0, 10, 0}, {20, 20, 0}, {30, 30, 0}, {40, 40, 0}},
                                {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}});
  const HOBJECT terrain = CreateTerrain(mesh, 1, 1);
  const TerrainReach reach = MeasureTerrainReach(LookupTerrain(terrain));
  ASSERT_EQ(reach.flat, std::vector<int>{2});
  struct Case {
    float x, y;
    bool ruledOut;
  } cases[] = {
      {5, 4, false},         {10, 0, false},       {0, 10, false},    {10.001f, 5, false},
      {-3, 5, true},         {5, 90, true},        {100, 100, false},  // on the flat triangle's line
      {90000, 90000, false}, {90000, 90001, true}, {-7, -7, false},
  };
  for (const Case& c : cases) {
    const VECTOR3 drop = {c.x, c.y, 50};
    EXPECT_EQ(reach.MayHold(drop), !c.ruledOut) << c.x << "," << c.y;
    SetNodePosition(box_, c.x, c.y, 50, TRANSFORM_SET);
    const int full = PlaceNodeOnTerrain(box_, terrain, 1, 1);
    const MATRIX34 fullMatrix = LookupNode(box_)->local;
    const int fullTriangle = LookupNode(box_)->terrainTriangle;
    SetNodePosition(box_, c.x, c.y, 50, TRANSFORM_SET);
    LookupNode(box_)->terrain = nullptr;
    EXPECT_EQ(PlaceNodeOnTerrain(box_, terrain, 1, 1, &reach), full) << c.x << "," << c.y;
    EXPECT_EQ(LookupNode(box_)->terrainTriangle, fullTriangle);
    EXPECT_EQ(LookupNode(box_)->terrain, LookupTerrain(terrain));
    EXPECT_EQ(std::memcmp(&LookupNode(box_)->local, &fullMatrix, sizeof fullMatrix), 0);
  }
  // A reach of another terrain is not trusted.
  SetNodePosition(box_, 5, 5, 50, TRANSFORM_SET);
  const TerrainReach other = MeasureTerrainReach(LookupTerrain(ground_));
  EXPECT_EQ(PlaceNodeOnTerrain(box_, terrain, 0, 0, &other), MOVE_DONE);
}

TEST_F(WalkingTest, StepsWhoseCornersAheadLeaveTheGroundAreUndone) {
  MarkBorders();
  struct Case {
    const char* name;
    VECTOR3 start;
    bool strafe;
    float distance;
    int result;
    VECTOR3 end;
  } cases[] = {
      // The bottom border faces the node along its forward line.
      {"forward over the y = 0 border", {5, 1.5f, 0}, false, 1, 11, {5, 1.5f, 0}},
      {"backward away from it", {5, 1.5f, 0}, false, -1, MOVE_DONE, {5, 2.5f, 0}},
      // The forward line through the node meets the diagonal first: no border.
      {"backward over the y = 10 border", {5, 8.5f, 0}, false, -1, 0, {5, 8.5f, 0}},
      {"forward with the rear corners already off", {5, 9.8f, 0}, false, 0.5f, MOVE_DONE, {5, 9.3f, 0}},
      {"right (-X) over the x = 0 border", {1.5f, 5, 0}, true, 1, 0, {1.5f, 5, 0}},
      {"left (+X) inward", {1.5f, 5, 0}, true, -1, MOVE_DONE, {2.5f, 5, 0}},
      // Strafing reports the edge along the forward line as well.
      {"left over the x = 10 border", {8.5f, 5, 0}, true, -1, 11, {8.5f, 5, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stand(c.start.x, c.start.y);
    const int result =
        c.strafe ? StrafeNodeOnTerrain(box_, c.distance, 1, 0, 0, 0) : WalkNodeOnTerrain(box_, c.distance, 1, 0, 0, 0);
    EXPECT_EQ(result, c.result);
    ExpectAt(box_, c.end);
  }
}

TEST_F(WalkingTest, TurningChecksAllEightCorners) {
  Stand(5, 9.8f);  // the rear corners stand beyond the y = 10 border
  MATRIX34 before;
  GetNodeMatrix(box_, &before, 1);
  EXPECT_EQ(TurnNodeOnTerrain(box_, 10, 1, 0), 0);
  MATRIX34 after;
  GetNodeMatrix(box_, &after, 1);
  for (int r = 0; r < 4; ++r) {
    EXPECT_NEAR(after.row[r].x, before.row[r].x, 1e-5f);
    EXPECT_NEAR(after.row[r].y, before.row[r].y, 1e-5f);
  }
  EXPECT_EQ(TurnNodeOnTerrain(box_, 90, 0, 0), MOVE_DONE);  // unchecked
  EXPECT_NEAR(Forward(box_).x, 1, 1e-5f);

  Stand(5, 5);
  EXPECT_EQ(TurnNodeOnTerrainReverse(box_, 90, 1, 0), MOVE_DONE);
  EXPECT_NEAR(Forward(box_).x, -1, 1e-5f);
  EXPECT_EQ(TurnNodeOnTerrain(0x02FFFFFF, 90, 1, 0), MOVE_NOTHING);
}

TEST_F(WalkingTest, FollowingTheGroundSetsHeightAndSlope) {
  // z = x / 2 over a 20 x 20 square.
  const HOBJECT slope =
      CreateTerrain(MakeMesh({{0, 0, 0}, {20, 0, 10}, {20, 20, 10}, {0, 20, 0}}, {{0, 1, 2}, {0, 2, 3}}), 1, 1);
  SetNodePosition(box_, 5, 10, 50, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(box_, slope, 1, 0), MOVE_DONE);
  ExpectAt(box_, {5, 10, 3.5f});
  ASSERT_EQ(TurnNodeOnTerrain(box_, 90, 1, 0), MOVE_DONE);  // now facing +X

  EXPECT_EQ(WalkNodeOnTerrain(box_, 4, 1, 1, 0, 0), MOVE_DONE);
  ExpectAt(box_, {9, 10, 5.5f});
  EXPECT_EQ(LookupNode(box_)->heightOffset, 1.0f);

  EXPECT_EQ(WalkNodeOnTerrain(box_, 2, 1, 0, 1, 0), MOVE_DONE);
  VECTOR3 up;
  GetNodeWorldVectors(box_, nullptr, nullptr, &up);
  VECTOR3 normal = {-0.5f, 0, 1};
  NormalizeVector3(&normal);
  EXPECT_NEAR(up.x, normal.x, 1e-4f);
  EXPECT_NEAR(up.y, normal.y, 1e-4f);
  EXPECT_NEAR(up.z, normal.z, 1e-4f);
}

TEST_F(WalkingTest, WithoutFollowingTheStepIsUncheckedButTheOffsetIsKept) {
  Stand(5, 1.5f);
  EXPECT_EQ(WalkNodeOnTerrain(box_, 5, 0, 2, 0, 0), MOVE_DONE);
  ExpectAt(box_, {5, -3.5f, 0});
  EXPECT_EQ(LookupNode(box_)->heightOffset, 2.0f);
  EXPECT_EQ(StrafeNodeOnTerrain(box_, 3, 0, 0, 0, 0), MOVE_DONE);
  ExpectAt(box_, {2, -3.5f, 0});
  EXPECT_EQ(WalkNodeOnTerrain(0x02FFFFFF, 1, 1, 0, 0, 0), MOVE_NOTHING);
  EXPECT_EQ(StrafeNodeOnTerrain(0x02FFFFFF, 1, 1, 0, 0, 0), MOVE_NOTHING);
}

TEST_F(WalkingTest, ACollisionPartnerBlocksTheStepExactly) {
  const VECTOR3 size = {2, 2, 2};
  const HOBJECT wall = CreateDummyNode(0, &size);
  SetNodePosition(wall, 4.3f, 2, 0.2f, TRANSFORM_SET);
  ASSERT_EQ(AddCollisionPartner(box_, VOLUME_BOX, wall, VOLUME_BOX), 1);

  struct Case {
    const char* name;
    int follow;
    float offset;
  } cases[] = {{"following the ground", 1, 0.7f}, {"without following, with an offset never applied", 0, 0.7f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Stand(4, 5.5f);
    EXPECT_EQ(WalkNodeOnTerrain(box_, 1, c.follow, c.offset, 0, 1), MOVE_DONE);
    const VECTOR3 before = WorldPosition(box_);
    const int triangle = LookupNode(box_)->terrainTriangle;
    EXPECT_EQ(WalkNodeOnTerrain(box_, 1.5f, c.follow, c.offset, 0, 1), MOVE_BLOCKED);
    ExpectAt(box_, before);
    EXPECT_EQ(LookupNode(box_)->terrainTriangle, triangle);
    EXPECT_EQ(LookupNode(box_)->lastPartner, LookupNode(wall));
    EXPECT_EQ(LookupNode(wall)->lastPartner, LookupNode(box_));
  }

  // A long box turned across the partner is turned back.
  const VECTOR3 longSize = {1, 6, 1};
  const HOBJECT beam = CreateDummyNode(0, &longSize);
  SetNodePosition(beam, 5, 6, 0, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(beam, ground_, 0, 0), MOVE_DONE);
  SetNodePosition(wall, 7.5f, 6, 0, TRANSFORM_SET);
  ASSERT_EQ(AddCollisionPartner(beam, VOLUME_BOX, wall, VOLUME_BOX), 1);
  EXPECT_EQ(TurnNodeOnTerrain(beam, 90, 1, 1), MOVE_BLOCKED);
  EXPECT_NEAR(Forward(beam).y, -1, 1e-5f);
  EXPECT_EQ(TurnNodeOnTerrain(beam, 90, 1, 0), MOVE_DONE);
}

// The ground is one big triangle whose western border runs 30 degrees off
// the node's forward direction (-Y); the border's stored direction points
// against the movement.
TEST_F(WalkingTest, SlideDirectionFollowsTheBorderAhead) {
  const float k = 17.320508f;  // 20 * cos(30 degrees)
  const HOBJECT wedge = CreateTerrain(MakeMesh({{-5, k, 0}, {15, -k, 0}, {40, 0, 0}}, {{0, 1, 2}}), 1, 1);
  SetNodePosition(box_, 5, 5, 0, TRANSFORM_SET);
  ASSERT_EQ(PlaceNodeOnTerrain(box_, wedge, 0, 0), MOVE_DONE);

  struct Case {
    int components;
    float maxDegrees;
    int result;
  } cases[] = {{2, 45, 1}, {2, 20, 0}, {3, 45, 1}};
  for (const Case& c : cases) {
    VECTOR3 out = {0, 0, 99};
    EXPECT_EQ(GetTerrainSlideDirection(box_, &out, c.components, 1, c.maxDegrees), c.result) << c.maxDegrees;
    EXPECT_NEAR(out.x, 20, 1e-3f);
    EXPECT_NEAR(out.y, -2 * k, 1e-3f);
    EXPECT_EQ(out.z, c.components == 3 ? 0.0f : 99.0f);
  }

  VECTOR3 out{};
  const HOBJECT loose = CreateDummyNode(0, nullptr);
  EXPECT_EQ(GetTerrainSlideDirection(loose, &out, 2, 1, 45), 0);
  EXPECT_EQ(GetTerrainSlideDirection(box_, nullptr, 2, 1, 45), 0);
}

}  // namespace
}  // namespace enginetest
