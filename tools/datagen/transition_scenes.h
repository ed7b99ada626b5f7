#pragma once
// The screen transitions' models: "3deffect.sb", a 200 x 150 plane cut into
// 8 rows of 24 pieces (top row first, so the last 24 are the bottom row),
// and "2_sided.sb", two whole planes (front, then back), all at z 0 around
// the origin with texture coordinates spanning the plane.
#include "tools/datagen/scene_file_writer.h"

namespace datagen {

inline constexpr int kTransitionRows = 8;
inline constexpr int kTransitionColumns = 24;
inline constexpr float kTransitionWidth = 200;
inline constexpr float kTransitionHeight = 150;

SceneFileData BreakingScreenScene();
SceneFileData TwoSidedScene();

}  // namespace datagen
