#include <cmath>

#include "engine/core/collision.h"
#include "engine/core/engine_state.h"
#include "engine/core/node_bounds.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/core/terrain.h"
#include "engine/core/walking.h"

namespace {

// Direction codes of the footprint test.
enum FOOTPRINT : int {
  FOOTPRINT_FORWARD = 1,
  FOOTPRINT_BACKWARD = 2,
  FOOTPRINT_RIGHT = 3,
  FOOTPRINT_LEFT = 4,
  FOOTPRINT_ALL = 5,
};

bool PointInTerrainTriangle(const TERRAINDESC* terrain, int triangle, const VECTOR3& point, VECTOR3 corners[3]) {
  return GetTerrainTriangle(terrain, triangle, corners) && IsPointInTriangle2D(&point, corners);
}

// The neighbours of a triangle from the adjacency list; none for an index
// outside the terrain.
const uint32_t* Neighbours(const TERRAINDESC* terrain, int triangle, uint32_t* count) {
  *count = 0;
  if (triangle < 0 || static_cast<size_t>(triangle) >= terrain->adjacencyStarts.size()) return nullptr;
  const size_t start = terrain->adjacencyStarts[triangle];
  if (start >= terrain->adjacency.size()) return nullptr;
  *count = terrain->adjacency[start];
  return terrain->adjacency.data() + start + 1;
}

// A box corner stands on the ground when it lies over the node's triangle,
// one of its neighbours, or any triangle with a corner within the height
// tolerance of the box corner.
bool CornerOverTerrain(const TERRAINDESC* terrain, int current, const VECTOR3& corner) {
  VECTOR3 corners[3];
  if (PointInTerrainTriangle(terrain, current, corner, corners)) return true;
  uint32_t count = 0;
  const uint32_t* neighbours = Neighbours(terrain, current, &count);
  for (uint32_t i = 0; i < count; ++i)
    if (PointInTerrainTriangle(terrain, static_cast<int>(neighbours[i]), corner, corners)) return true;
  for (int f = 0; f < terrain->triangleCount; ++f) {
    if (!PointInTerrainTriangle(terrain, f, corner, corners)) continue;
    for (const VECTOR3& c : corners)
      if (std::fabs(c.z - corner.z) < terrain->heightTolerance) return true;
  }
  return false;
}

// Only the box corners ahead of the movement are checked, all eight for a turn.
bool FootprintOverTerrain(const NODEDESC* node, const TERRAINDESC* terrain, const VECTOR3& p, const VECTOR3& f,
                          int code) {
  VECTOR3 corners[8];
  GetNodeWorldBox(node, nullptr, corners, nullptr);
  VECTOR3 ahead = {f.x, f.y, 0};
  if (code == FOOTPRINT_BACKWARD) ahead = {-f.x, -f.y, 0};
  if (code == FOOTPRINT_RIGHT) ahead = {f.y, -f.x, 0};
  if (code == FOOTPRINT_LEFT) ahead = {-f.y, f.x, 0};
  for (const VECTOR3& corner : corners) {
    const VECTOR3 offset = {corner.x - p.x, corner.y - p.y, 0};
    if (code != FOOTPRINT_ALL && DotVector2(&offset, &ahead) <= 0) continue;
    if (!CornerOverTerrain(terrain, node->terrainTriangle, corner)) return false;
  }
  return true;
}

// The triangle under p, searched in the current triangle, its neighbours,
// then the whole terrain; -1 when none.
int FindTriangleUnder(const TERRAINDESC* terrain, int current, const VECTOR3& p, float* height) {
  VECTOR3 corners[3];
  auto holds = [&](int triangle) {
    if (!PointInTerrainTriangle(terrain, triangle, p, corners)) return false;
    *height = GetTriangleHeightAt(terrain, triangle, corners, &p);
    return true;
  };
  if (holds(current)) return current;
  uint32_t count = 0;
  const uint32_t* neighbours = Neighbours(terrain, current, &count);
  for (uint32_t i = 0; i < count; ++i)
    if (holds(static_cast<int>(neighbours[i]))) return static_cast<int>(neighbours[i]);
  for (int f = 0; f < terrain->triangleCount; ++f)
    if (holds(f)) return f;
  return -1;
}

// The value of the border the node faced: the first edge of its triangle
// that the line through p along d meets.
int CrossedEdgeValue(const TERRAINDESC* terrain, int triangle, const VECTOR3& p, const VECTOR3& d) {
  if (std::fabs(d.x) < 1e-6f && std::fabs(d.y) < 1e-6f) return 0;
  VECTOR3 corners[3];
  int vertices[3];
  if (!GetTerrainTriangle(terrain, triangle, corners, vertices)) return 0;
  auto side = [&](const VECTOR3& q) { return d.x * (q.y - p.y) - d.y * (q.x - p.x); };
  for (int e = 0; e < 3; ++e) {
    const int next = (e + 1) % 3;
    if (side(corners[e]) * side(corners[next]) <= 0) return FindBorderValue(terrain, vertices[e], vertices[next]);
  }
  return 0;
}

bool StandsOnTerrain(const NODEDESC* node) {
  return node->terrain && node->terrain->mesh && node->terrainTriangle != -1;
}

int SideAxis(const NODEDESC* node) {
  if (node->upAxis < 0 || node->upAxis > 5 || node->forwardAxis < 0 || node->forwardAxis > 5) return AXIS_POS_X;
  return g_sideAxisTable[node->upAxis * 6 + node->forwardAxis];
}

int StepNodeOnTerrain(HOBJECT handle, int axisOf(const NODEDESC*), int forwardCode, int backwardCode, float distance,
                      int followTerrain, float heightOffset, int align, int collide) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return MOVE_NOTHING;
  const int axis = axisOf(node);
  TERRAINDESC* terrain = node->terrain;
  const bool following = followTerrain && StandsOnTerrain(node);
  const int previousTriangle = node->terrainTriangle;
  VECTOR3 p{0, 0, 0}, f{0, 0, 0}, up{0, 0, 0};
  float height = 0;
  MoveNodeAlongAxis(node, axis, distance);
  if (following) {
    GetNodeWorldVectors(node, &p, &f, &up);
    const int code = distance >= 0 ? forwardCode : backwardCode;
    int triangle = -1;
    if (FootprintOverTerrain(node, terrain, p, f, code))
      triangle = FindTriangleUnder(terrain, node->terrainTriangle, p, &height);
    if (triangle < 0) {
      MoveNodeAlongAxis(node, axis, -distance);
      GetNodeWorldVectors(node, &p, &f, nullptr);
      return CrossedEdgeValue(terrain, node->terrainTriangle, p, f);
    }
    node->terrainTriangle = triangle;
    MoveNodeAlongAxis(node, node->upAxis, height - p.z + heightOffset);
  }
  if (collide && CheckCollisionList(node)) {
    // Undo exactly what the step did: the height change only when the
    // ground was followed.
    if (following) {
      MoveNodeAlongAxis(node, node->upAxis, p.z - height - heightOffset);
      node->terrainTriangle = previousTriangle;
    }
    MoveNodeAlongAxis(node, axis, -distance);
    return MOVE_BLOCKED;
  }
  if (following && align) AlignNodeToSlope(node, &p, &up, &terrain->normals[node->terrainTriangle]);
  node->heightOffset = heightOffset;
  CopyTransformToLodMembers(node);
  return MOVE_DONE;
}

int ForwardAxis(const NODEDESC* node) { return node->forwardAxis; }

int TurnOnTerrain(HOBJECT handle, float degrees, int checkTerrain, int collide) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return MOVE_NOTHING;
  TurnNodeAboutAxis(node, node->upAxis, degrees);
  const TERRAINDESC* terrain = node->terrain;
  if (checkTerrain && terrain && terrain->mesh && node->terrainTriangle >= 0) {
    VECTOR3 p, f;
    GetNodeWorldVectors(node, &p, &f, nullptr);
    if (!FootprintOverTerrain(node, terrain, p, f, FOOTPRINT_ALL)) {
      TurnNodeAboutAxis(node, node->upAxis, -degrees);
      GetNodeWorldVectors(node, &p, &f, nullptr);
      return CrossedEdgeValue(terrain, node->terrainTriangle, p, f);
    }
  }
  if (collide && CheckCollisionList(node)) {
    TurnNodeAboutAxis(node, node->upAxis, -degrees);
    return MOVE_BLOCKED;
  }
  return MOVE_DONE;
}

}  // namespace

int PlaceNodeOnTerrain(HOBJECT handle, HOBJECT terrainHandle, float heightOffset, int align,
                       const TerrainReach* reach) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node) return MOVE_NOTHING;
  if (const MESHDESC* mesh = node->Mesh(); mesh && (mesh->flags & MESH_PRETRANSFORMED)) return MOVE_NOTHING;
  TERRAINDESC* terrain = terrainHandle ? LookupTerrain(terrainHandle) : node->terrain;
  node->terrain = terrain;
  node->terrainTriangle = -1;
  if (!terrain || !terrain->mesh) return MOVE_NOTHING;

  VECTOR3 p;
  GetNodeWorldVectors(node, &p, nullptr, nullptr);
  if (reach && reach->terrain == terrain && !reach->MayHold(p)) return MOVE_NOTHING;
  int best = -1;
  float bestDistance = 1000000.0f;
  float bestHeight = 0;
  for (int f = 0; f < terrain->triangleCount; ++f) {
    VECTOR3 corners[3];
    if (!PointInTerrainTriangle(terrain, f, p, corners)) continue;
    const float height = GetTriangleHeightAt(terrain, f, corners, &p);
    if (std::fabs(height - p.z) < bestDistance) {
      best = f;
      bestDistance = std::fabs(height - p.z);
      bestHeight = height;
    }
  }
  if (best < 0) return MOVE_NOTHING;
  node->terrainTriangle = best;
  MoveNodeAlongAxis(node, node->upAxis, bestHeight - p.z + heightOffset);
  if (align) {
    VECTOR3 up;
    GetNodeWorldVectors(node, &p, nullptr, &up);
    AlignNodeToSlope(node, &p, &up, &terrain->normals[best]);
  }
  CopyTransformToLodMembers(node);
  return MOVE_DONE;
}

int WalkNodeOnTerrain(HOBJECT node, float distance, int followTerrain, float heightOffset, int align, int collide) {
  return StepNodeOnTerrain(node, ForwardAxis, FOOTPRINT_FORWARD, FOOTPRINT_BACKWARD, distance, followTerrain,
                           heightOffset, align, collide);
}

int StrafeNodeOnTerrain(HOBJECT node, float distance, int followTerrain, float heightOffset, int align, int collide) {
  return StepNodeOnTerrain(node, SideAxis, FOOTPRINT_RIGHT, FOOTPRINT_LEFT, distance, followTerrain, heightOffset,
                           align, collide);
}

int TurnNodeOnTerrain(HOBJECT node, float degrees, int checkTerrain, int collide) {
  return TurnOnTerrain(node, degrees, checkTerrain, collide);
}

int TurnNodeOnTerrainReverse(HOBJECT node, float degrees, int checkTerrain, int collide) {
  return TurnOnTerrain(node, -degrees, checkTerrain, collide);
}

void AlignNodeToSlope(NODEDESC* node, const VECTOR3* pivot, const VECTOR3* up, const VECTOR3* normal) {
  const float cosine = DotVector3(up, normal);
  if (std::fabs(cosine - 1) <= 1e-6f) return;
  VECTOR3 axis;
  CrossVector3Normalized(&axis, up, normal);
  const float degrees = std::acos(std::fmax(-1.0f, std::fmin(1.0f, cosine))) * kRadiansToDegrees;
  MATRIX34 turn;
  BuildLineRotationMatrix34(&turn, pivot, &axis, degrees);
  SetNodeMatrix(node, &turn, TRANSFORM_PARENT);
}

void AlignNodeToSlope(HOBJECT handle, const VECTOR3* pivot, const VECTOR3* up, const VECTOR3* normal) {
  NODEDESC* node = LookupOpenNode(handle);
  if (!node || !pivot || !up || !normal) return;
  AlignNodeToSlope(node, pivot, up, normal);
}
