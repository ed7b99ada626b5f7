#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

struct CAMERADESC;
struct NODEDESC;
struct VIEWPORTDESC;

// What every screen-space query starts from: the viewport, its camera with
// the camera's data, the camera's composed world transform and the view
// matrix (its inverse).
struct VIEWQUERY {
  VIEWPORTDESC* viewport = nullptr;
  NODEDESC* camera = nullptr;
  const CAMERADESC* lens = nullptr;
  MATRIX34 cameraWorld{};
  MATRIX44 view{};
};

// False while the engine is closed, without a world, for a viewport that
// does not resolve or has no area, or without a camera carrying its data.
bool BeginViewQuery(HOBJECT viewport, VIEWQUERY* query);
// Whether the software path draws every second row only (viewports then hold
// half their y and height).
bool LinesDoubled();
// (p, 1) times m, all four components.
void TransformPoint4(const VECTOR3* p, const MATRIX44* m, float out[4]);
