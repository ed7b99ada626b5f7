#include "tools/datagen/transition_scenes.h"

#include <string>

namespace datagen {

namespace {

constexpr int16_t kUvFlag = 0x08;
constexpr float kUvUnit = 256;

// A rectangle from (x0, y0) to (x1, y1) of the plane, textured by its place.
SceneObjectData Tile(const std::string& name, float x0, float y0, float x1, float y1) {
  SceneObjectData o;
  o.name = name;
  o.meshFlags = kUvFlag;
  ScenePartData part;
  part.texture = "loadt";
  o.parts = {part};
  auto vertex = [](float x, float y) {
    SceneVertexData v;
    v.position = {x, y, 0};
    v.uv = {static_cast<int16_t>((x / kTransitionWidth + 0.5f) * kUvUnit),
            static_cast<int16_t>((0.5f - y / kTransitionHeight) * kUvUnit)};
    return v;
  };
  o.vertices = {vertex(x0, y0), vertex(x1, y0), vertex(x1, y1), vertex(x0, y1)};
  o.triangles = {{0, 0, 1, 2}, {0, 0, 2, 3}};
  return o;
}

}  // namespace

SceneFileData BreakingScreenScene() {
  SceneFileData scene;
  const float w = kTransitionWidth / kTransitionColumns;
  const float h = kTransitionHeight / kTransitionRows;
  for (int row = 0; row < kTransitionRows; ++row) {
    const float top = kTransitionHeight / 2 - h * static_cast<float>(row);
    for (int column = 0; column < kTransitionColumns; ++column) {
      const float left = -kTransitionWidth / 2 + w * static_cast<float>(column);
      scene.objects.push_back(
          Tile("p" + std::to_string(row * kTransitionColumns + column), left, top - h, left + w, top));
    }
  }
  return scene;
}

SceneFileData TwoSidedScene() {
  SceneFileData scene;
  const float x = kTransitionWidth / 2;
  const float y = kTransitionHeight / 2;
  scene.objects.push_back(Tile("front", -x, -y, x, y));
  SceneObjectData back = Tile("back", -x, -y, x, y);
  back.triangles = {{0, 0, 2, 1}, {0, 0, 3, 2}};  // facing the other way
  scene.objects.push_back(back);
  return scene;
}

}  // namespace datagen
