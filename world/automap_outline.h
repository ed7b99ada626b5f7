#pragma once
#include <vector>

#include "engine/core/handles.h"

// The outline of a scene's walkable terrain: the mesh edges that belong to
// one triangle only, joined into polylines. A closed boundary is one
// polyline whose first and last points are equal. The terrain walls are
// built from it as well as the automap.
struct OUTLINEPOINT {
  float x = 0;
  float y = 0;
  float z = 0;
};
using OutlinePolyline = std::vector<OUTLINEPOINT>;
using TerrainOutline = std::vector<OutlinePolyline>;

struct OUTLINEEXTREME {
  float x = 0;
  float y = 0;
  int edge = 0;
};
// The extreme outline points: largest y, largest x, smallest y, smallest x.
struct OUTLINEBOUNDSDESC {
  OUTLINEEXTREME top;
  OUTLINEEXTREME right;
  OUTLINEEXTREME bottom;
  OUTLINEEXTREME left;
};

// Appends the outline of the terrain mesh's current frame and sets the
// bounds (left untouched without a boundary edge). Triangles whose vertex
// indices lie outside the mesh are skipped. Returns 0.
int ExtractTerrainOutline(HOBJECT terrain, TerrainOutline& outline, OUTLINEBOUNDSDESC& bounds);
