#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct NODEDESC;
struct TerrainReach;

// Moving nodes over terrains (engine/core/terrain.h). A node is dropped onto
// a terrain, then walked, strafed and turned on it: a step whose box
// footprint ahead would leave the ground, or that meets a collision partner
// (engine/core/collision.h), is undone and reports why.

// The answer of the placing, walking, strafing and turning calls. Any value
// not listed (0 included) means the step would have left the terrain and was
// undone; it is the value of the border edge the node faced (0 when that
// edge is no border or none was found).
enum MOVERESULT : int {
  MOVE_NOTHING = -1,  // the node does not resolve, or no ground under it
  MOVE_BLOCKED = -2,  // a collision partner was met; the step is undone
  MOVE_DONE = -3,
};

// Drops the node along its up axis onto the triangle under its x-y position
// whose height is nearest to the node's (terrain 0: the one it last stood
// on), heightOffset above it; with align the node tilts to the slope. -1 for
// a pre-transformed mesh or when no triangle lies under it. A reach measured
// on the same terrain (terrain.h) spares the search for a point it rules out.
int PlaceNodeOnTerrain(HOBJECT node, HOBJECT terrain, float heightOffset, int align,
                       const TerrainReach* reach = nullptr);
// Along the node's forward axis (negative distance: backward) or its side
// axis (positive: to the right). With followTerrain (and a terrain the node
// stands on) the footprint is checked and the height follows the ground,
// heightOffset above it; align tilts the node to the slope; collide checks
// the node's collision list.
int WalkNodeOnTerrain(HOBJECT node, float distance, int followTerrain, float heightOffset, int align, int collide);
int StrafeNodeOnTerrain(HOBJECT node, float distance, int followTerrain, float heightOffset, int align, int collide);
// Turns about the node's up axis by +degrees (the reverse call: -degrees);
// with checkTerrain all eight box corners must stay over the ground.
int TurnNodeOnTerrain(HOBJECT node, float degrees, int checkTerrain, int collide);
int TurnNodeOnTerrainReverse(HOBJECT node, float degrees, int checkTerrain, int collide);

// The direction of the nearest terrain border ahead of the node (behind it
// when forward is 0), in out: x and y, and z too when components is 3. The
// direction is turned to agree with the movement. 1 when it runs within
// maxDegrees of the movement, else 0 (out still filled when a border was
// found); 0 without a terrain, a triangle under the node or any border hit.
int GetTerrainSlideDirection(HOBJECT node, VECTOR3* out, int components, int forward, float maxDegrees);

// Turns the node about pivot so that its up vector lies along normal.
void AlignNodeToSlope(HOBJECT node, const VECTOR3* pivot, const VECTOR3* up, const VECTOR3* normal);
void AlignNodeToSlope(NODEDESC* node, const VECTOR3* pivot, const VECTOR3* up, const VECTOR3* normal);
