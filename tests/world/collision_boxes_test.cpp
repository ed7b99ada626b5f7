#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

#include "engine/core/node_transforms.h"
#include "tests/world/block_fixture.h"
#include "world/collision_boxes.h"
#include "world/obj_bound_volume.h"

namespace {

using worldtest::MakeBlock;

ORIENTEDBOX AxisBox(VECTOR3 centre, float hx, float hy, float hz) {
  ORIENTEDBOX box;
  box.centre = centre;
  box.half[0] = hx;
  box.half[1] = hy;
  box.half[2] = hz;
  return box;
}

TEST(CollisionBoxes, OrientedBoxesFollowTheWorldBoxEdges) {
  // Corners in the world-box numbering of a 20 x 10 x 4 box around (1, 2, 3).
  const float x0 = -9, x1 = 11, y0 = -3, y1 = 7, z0 = 1, z1 = 5;
  const VECTOR3 corners[8] = {{x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1},
                              {x1, y0, z0}, {x0, y0, z0}, {x0, y0, z1}, {x1, y0, z1}};
  const ORIENTEDBOX box = BuildOrientedBox({1, 2, 3}, corners);
  EXPECT_FLOAT_EQ(box.axes[0].x, -1);
  EXPECT_FLOAT_EQ(box.axes[1].y, -1);
  EXPECT_FLOAT_EQ(box.axes[2].z, 1);
  EXPECT_FLOAT_EQ(box.half[0], 10);
  EXPECT_FLOAT_EQ(box.half[1], 5);
  EXPECT_FLOAT_EQ(box.half[2], 2);

  VECTOR3 flat[8];
  for (int i = 0; i < 8; ++i) flat[i] = {corners[i].x, corners[i].y, z0};
  const ORIENTEDBOX thin = BuildOrientedBox({1, 2, 1}, flat);
  EXPECT_FLOAT_EQ(thin.half[2], 0) << "a zero-length edge";
  EXPECT_FLOAT_EQ(thin.axes[2].z, 0);
}

TEST(CollisionBoxes, RaysAgainstABox) {
  const ORIENTEDBOX box = AxisBox({0, 0, 0}, 10, 10, 10);
  const struct {
    VECTOR3 origin, direction;
    bool hit;
    float t;
    const char* what;
  } cases[] = {
      {{-20, 0, 0}, {1, 0, 0}, true, 10, "from outside: the entry"},
      {{5, 0, 0}, {1, 0, 0}, true, 5, "from inside: the exit"},
      {{20, 0, 0}, {1, 0, 0}, false, 0, "pointing away"},
      {{-20, 5, 3}, {1, 0, 0}, true, 10, "parallel to two slabs, inside them"},
      {{-20, 15, 0}, {1, 0, 0}, false, 0, "parallel to a slab, outside it"},
      {{-20, 0, 10}, {1, 0, 0}, true, 10, "grazing the top face"},
      {{-20, -20, 0}, {1, 1, 0}, true, 10, "diagonal, entering at a vertical edge"},
  };
  for (const auto& c : cases) {
    float t = -1;
    EXPECT_EQ(IntersectRayBox(c.origin, c.direction, box, &t), c.hit) << c.what;
    if (c.hit) {
      EXPECT_NEAR(t, c.t, 1e-4) << c.what;
    }
  }

  // A box turned 45 degrees about z.
  ORIENTEDBOX turned = AxisBox({0, 0, 0}, 10, 10, 10);
  const float s = std::sqrt(0.5f);
  turned.axes[0] = {s, s, 0};
  turned.axes[1] = {-s, s, 0};
  float t = 0;
  ASSERT_TRUE(IntersectRayBox({-30, 0, 0}, {1, 0, 0}, turned, &t));
  EXPECT_NEAR(t, 30 - 10 * std::sqrt(2.0f), 1e-4) << "the corner on the x axis";
}

TEST(CollisionBoxes, RaysAgainstAPlane) {
  const PLANEDESC floor{{0, 0, 1}, -5};  // z = 5
  EXPECT_FLOAT_EQ(IntersectRayPlane({0, 0, 10}, {0, 0, -1}, floor), 5);
  EXPECT_FLOAT_EQ(IntersectRayPlane({0, 0, 10}, {1, 0, 0}, floor), FLT_MAX) << "parallel, off the plane";
  EXPECT_FLOAT_EQ(IntersectRayPlane({0, 0, 5}, {1, 0, 0}, floor), 0) << "parallel, on the plane";
}

TEST(CollisionBoxes, SegmentsAgainstABox) {
  // A low obstacle 10 high, as the camera passes over it.
  const ORIENTEDBOX box = AxisBox({0, 0, 5}, 10, 10, 5);
  const struct {
    VECTOR3 from, to;
    bool hit;
    float fraction;
    const char* what;
  } cases[] = {
      {{-30, 0, 5}, {30, 0, 5}, true, 20.0f / 60, "through: the entry"},
      {{0, 0, 5}, {30, 0, 5}, true, 10.0f / 30, "from inside: the exit"},
      {{-30, 0, 5}, {-15, 0, 5}, false, 0, "ending before the box"},
      {{-30, 0, 20}, {30, 0, 20}, false, 0, "level and above the box"},
      {{5, 0, 5}, {5, 0, 5}, false, 0, "no length"},
      {{-5, 0, 5}, {5, 0, 5}, false, 0, "inside from end to end"},
  };
  for (const auto& c : cases) {
    float fraction = -1;
    EXPECT_EQ(IntersectSegmentObb(c.from, c.to, box, &fraction), c.hit) << c.what;
    if (c.hit) {
      EXPECT_NEAR(fraction, c.fraction, 1e-5) << c.what;
    }
  }
}

TEST(CollisionBoxes, MovingCylinders) {
  // A wall 2 thick (x -1..1), 100 long (y -50..50) and 100 high on the ground.
  const ORIENTEDBOX wall = AxisBox({0, 0, 50}, 1, 50, 50);
  const struct {
    VECTOR3 to, from;
    float radius, height;
    bool hit;
    VECTOR3 corrected;
    const char* what;
  } cases[] = {
      {{30, 0, 0}, {-30, 0, 0}, 10, 20, true, {-11, 0, 0}, "a fast cylinder is caught on the way, on its side"},
      {{3, 0, 0}, {-2, 0, 0}, 5, 20, true, {-6, 0, 0}, "past the wall in one step: back to the side it came from"},
      {{-20, 0, 0}, {-40, 0, 0}, 10, 20, false, {-20, 0, 0}, "short of the wall"},
      {{0, 0, 100}, {-30, 0, 100}, 10, 20, false, {0, 0, 100}, "above the top"},
      {{0, 0, -20}, {-30, 0, -20}, 10, 20, false, {0, 0, -20}, "below the bottom"},
      {{0, 0, 0}, {-30, 0, 0}, 0, 20, false, {0, 0, 0}, "radius 0 takes only the new position"},
      {{0.5f, 0, 0}, {0.5f, -80, 0}, 5, 20, true, {0.5f, -55, 0}, "end on: pushed back along the wall"},
      {{-4, -53, 0},
       {-11, -53, 0},
       5,
       20,
       true,
       {-6, -53, 0},
       "at a corner the larger share of the motion decides the side"},
  };
  for (const auto& c : cases) {
    VECTOR3 positions[3] = {c.to, c.from, {c.radius, c.height, 0}};
    EXPECT_EQ(TestCylinderHitsBox(positions, wall), c.hit) << c.what;
    EXPECT_NEAR(positions[0].x, c.corrected.x, 1e-4) << c.what;
    EXPECT_NEAR(positions[0].y, c.corrected.y, 1e-4) << c.what;
    EXPECT_NEAR(positions[0].z, c.corrected.z, 1e-4) << c.what;
  }
}

TEST(CollisionBoxes, AJumpAcrossTheMapEndsItsSampling) {
  const ORIENTEDBOX wall = AxisBox({0, 0, 50}, 1, 50, 50);
  VECTOR3 positions[3] = {{1e9f, 0, 0}, {-1e9f, 0, 0}, {0.001f, 20, 0}};
  EXPECT_FALSE(TestCylinderHitsBox(positions, wall));
  EXPECT_FLOAT_EQ(positions[0].x, 1e9f);
}

TEST(CollisionBoxes, GapsBetweenVolumes) {
  ObjBoundVolume low;
  low.centre[2] = 0;
  low.height = 10;
  low.radius = 1;
  ObjBoundVolume high = low;
  high.centre[0] = 5;
  high.centre[2] = 50;
  high.height = 20;
  EXPECT_EQ(low.GetGapTo(high), FLT_MAX) << "bottoms further apart than the taller";
  EXPECT_NEAR(low.GetSphereGapTo(high), std::sqrt(25.0f + 2500.0f) - 2, 1e-4);

  ObjBoundVolume near = low;
  near.centre[0] = 1.5f;
  EXPECT_FLOAT_EQ(low.GetGapTo(near), 0) << "overlapping";
  near.centre[0] = 12;
  near.centre[2] = 9;
  EXPECT_NEAR(low.GetGapTo(near), std::sqrt(144.0f + 81.0f) - 2, 1e-4);
}

TEST(CollisionBoxes, VolumeSegmentsTakeTheBoxNearestTheEnd) {
  ObjBoundVolume volume;
  volume.boxes = {AxisBox({0, 0, 0}, 10, 10, 10), AxisBox({20, 0, 0}, 2, 2, 2)};
  float value = 0;
  ASSERT_TRUE(volume.IntersectSegment({-30, 0, 0}, {30, 0, 0}, &value));
  EXPECT_NEAR(value, 52.0f / 60, 1e-5) << "the small box at x 18..22, seen from b";
  EXPECT_FALSE(volume.IntersectSegment({-30, 30, 0}, {30, 30, 0}, &value));
  EXPECT_FALSE(ObjBoundVolume().IntersectSegment({-30, 0, 0}, {30, 0, 0}, &value)) << "no boxes";
}

class VolumeTest : public enginetest::EngineTest {
 protected:
  void SetUp() override { ASSERT_EQ(Open(), 1); }
};

TEST_F(VolumeTest, AVolumeIsBuiltFromItsNodes) {
  ObjBoundVolume volume;
  volume.Build();
  EXPECT_TRUE(volume.boxes.empty()) << "no nodes, nothing";

  volume.nodes = {MakeBlock({0, 0, 4}, {20, 10, 34})};
  volume.Build();
  ASSERT_EQ(volume.boxes.size(), 1u);
  EXPECT_FLOAT_EQ(volume.radius, 10) << "half the larger span";
  EXPECT_FLOAT_EQ(volume.centre[0], 10);
  EXPECT_FLOAT_EQ(volume.centre[1], 5);
  EXPECT_FLOAT_EQ(volume.centre[2], 4) << "the lowest point";
  EXPECT_FLOAT_EQ(volume.height, 30);
  volume.Build();
  EXPECT_EQ(volume.boxes.size(), 1u) << "boxes are made once";

  ObjBoundVolume two;
  two.nodes = {MakeBlock({0, 0, 0}, {10, 10, 10}), MakeBlock({-30, 0, 0}, {-20, 4, 50})};
  two.Build();
  EXPECT_EQ(two.boxes.size(), 2u);
  EXPECT_FLOAT_EQ(two.radius, 20);
  EXPECT_FLOAT_EQ(two.centre[0], -10);
  EXPECT_FLOAT_EQ(two.height, 50);
}

TEST_F(VolumeTest, FollowingAndRebuilding) {
  ObjBoundVolume volume;
  const HOBJECT block = MakeBlock({-5, -5, 0}, {5, 5, 10});
  volume.nodes = {block};
  volume.Build();
  SetNodePosition(block, 30, 0, 0, TRANSFORM_PARENT);
  volume.Follow();
  EXPECT_FLOAT_EQ(volume.centre[0], 30);
  EXPECT_FLOAT_EQ(volume.boxes[0].centre.x, 0) << "the boxes stay until rebuilt";
  volume.RebuildBoxes();
  ASSERT_EQ(volume.boxes.size(), 1u);
  EXPECT_FLOAT_EQ(volume.boxes[0].centre.x, 30);
  EXPECT_FLOAT_EQ(volume.radius, 5) << "the cylinder is not recomputed";
  volume.Follow();
  EXPECT_FLOAT_EQ(volume.centre[0], 30) << "no movement since";
}

}  // namespace
