#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "world/collision_boxes.h"

// The collision volume of a model: one oriented box per model node and the
// upright cylinder around them all. The owner fills the nodes, then builds.
class ObjBoundVolume {
 public:
  ObjBoundVolume() = default;
  virtual ~ObjBoundVolume() = default;
  ObjBoundVolume(const ObjBoundVolume&) = default;
  ObjBoundVolume& operator=(const ObjBoundVolume&) = default;
  ObjBoundVolume(ObjBoundVolume&&) = default;
  ObjBoundVolume& operator=(ObjBoundVolume&&) = default;

  // The cylinder from the nodes' world boxes; boxes are made only once.
  void Build();
  // New boxes at the nodes' current placement; the cylinder stays.
  void RebuildBoxes();
  // Moves the cylinder by the first node's movement since the last call.
  void Follow();
  // The horizontal-and-vertical gap between the cylinders, 0 when they
  // overlap; FLT_MAX when their bottoms lie further apart than the taller.
  float GetGapTo(const ObjBoundVolume& other) const;
  // The same gap without the height test.
  float GetSphereGapTo(const ObjBoundVolume& other) const;
  // The box hit nearest b on the segment a..b, as a fraction measured from a.
  bool IntersectSegment(const VECTOR3& a, const VECTOR3& b, float* value) const;

  VECTOR3 cachedPosition{0, 0, 0};  // the first node's position at the last Build or Follow
  std::vector<HOBJECT> nodes;
  float centre[3] = {0, 0, 0};  // middle of the extent in x and y, its bottom in z
  float radius = 0;
  float height = 0;
  std::vector<ORIENTEDBOX> boxes;  // one per node

 private:
  float CentreDistanceGap(const ObjBoundVolume& other) const;
};
