#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// One outline edge of the arena floor, as two vertex indices of the ground
// mesh, directed as its triangle runs.
struct ARENAEDGE {
  int first = 0;
  int second = 0;
};

// The border of the battle scene's walkable floor: the ground mesh's edges
// that belong to one triangle only. Later enemy waves are placed at points
// set in from it. The floor's triangles run counter-clockwise seen from
// above, so the left side of every outline edge is the inside.
class CBattleArena {
 public:
  // Replaces the outline with the mesh's; a node that is not a mesh gives
  // none. Triangles naming a vertex outside the mesh are skipped.
  void Build(HOBJECT ground);
  // Walks the outline once and takes each edge's midpoint moved `inset`
  // inward, unless it lies nearer than `spacing` to a point already taken
  // or nearer than `minimumDistance` to the centre. Fills up to count
  // points with their inward directions; 1 when count were found. Edges of
  // no length, a ground that has since gone, a negative count or missing
  // output arrays give no points.
  int PickPoints(const VECTOR3& centre, float minimumDistance, float spacing, float inset, int count, VECTOR3* points,
                 VECTOR3* directions) const;
  // Forgets the outline (the end of a battle).
  void Release();

  const std::vector<ARENAEDGE>& Edges() const { return edges_; }

 private:
  HOBJECT ground_ = 0;
  std::vector<ARENAEDGE> edges_;
};
