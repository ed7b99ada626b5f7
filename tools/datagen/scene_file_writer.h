#pragma once
// Writer of binary scene files (".sb"): a 20-byte head (version at 16,
// section count at 18), a directory of 16-byte section entries (record count
// at +2, table size at +8, size at +12) and the section bodies in order.
//
// Readings the game's reader and this writer share:
// - A section's size counts its whole body, except section 10's, which counts
//   its points only (the count x 8 polygon headers come first).
// - Version 513 (24-byte morph entries) unless asked otherwise; at least 4
//   sections, so the start position (section 3) is always present.
// - The presence fields of pointers are 1 (an object's animation at +44, a
//   person's routine at +48); other pointers and unexamined bytes are 0.
// - Trigger +28: a Sound trigger's wave name, a Block trigger's initial and
//   current state bytes, any other type an int32 kept within int16.
// - Terrain triangles run counter-clockwise seen from above.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace datagen {

using Vec3 = std::array<float, 3>;

struct SceneZoneData {
  std::array<std::array<float, 2>, 4> corners{};
  float zMin = 0;
  float zMax = 0;
};
// A rectangle from (x0, y0) to (x1, y1) (x0 < x1, y0 < y1), corners in the
// order the quad-volume test expects: the top-left (largest y) first, then
// clockwise, so that corner 1 has the largest x, 2 the smallest y and 3 the
// smallest x.
SceneZoneData SceneRect(float x0, float y0, float x1, float y1, float zMin, float zMax);

struct ScenePointData {
  int32_t id = 0;
  Vec3 position{};
  Vec3 direction{0, -1, 0};
};

struct ScenePortalData {
  std::string destination;  // base name, at most 15 characters
  int16_t point = 0;
  int16_t closed = 0;
  SceneZoneData zone;
};

struct SceneTriggerData {
  std::string name;
  int16_t type = 0;                  // 0 Switch ... 3 Sound ... 7 Block
  std::vector<std::string> targets;  // written as given (the reader keeps 4)
  std::string wave;                  // Sound triggers
  int32_t value = 0;                 // other types
  uint8_t initialState = 0;          // Block triggers
  uint8_t currentState = 0;
  int32_t level = 0;
  SceneZoneData zone;
};

struct SceneVectorKey {
  int32_t frame = 0;
  Vec3 value{};
};
struct SceneRotationKey {
  int32_t frame = 0;
  std::array<float, 4> value{1, 0, 0, 0};  // w, x, y, z
};
struct SceneFloatKey {
  int32_t frame = 0;
  float value = 0;
};

struct SceneItemData {
  int16_t id = 0;
  uint8_t a = 0;
  uint8_t b = 0;
};

// Track frame ranges and the first and last key frames follow from the keys.
struct SceneAnimData {
  uint8_t mode = 3;
  uint8_t repeat = 0;
  int16_t delay = 0;
  int16_t plays = 1;
  uint8_t keyNumber = 0;
  uint8_t links = 0;  // bits 0-1 are the item count
  std::vector<SceneItemData> items;
  std::vector<SceneVectorKey> positionKeys;
  std::vector<SceneRotationKey> rotationKeys;
  std::vector<SceneVectorKey> scaleKeys;
  std::vector<SceneFloatKey> visibilityKeys;
};

struct ScenePersonData {
  std::string name;  // at most 7 characters
  int16_t npcProperty = 0;
  int32_t flags = 0;  // 0x1 FollowKey, 0x8000 Hide
  Vec3 position{};
  Vec3 direction{0, -1, 0};
  std::optional<SceneAnimData> routine;
};

struct ScenePartData {
  std::string texture;
  std::array<uint8_t, 3> options{};
  uint8_t materialFlag = 0;
  uint8_t frameCount = 0;  // billboard frames
  uint8_t ticksPerFrame = 0;
  float power = 0.25f;
  float value28 = 0.05f;
  float alpha = 1.0f;
  int32_t blendMode = 2;
  float value40 = 0;
  int16_t faceFlags = 0;
  Vec3 ambient{1, 1, 1};  // a billboard's width, height
  Vec3 diffuse{1, 1, 1};  // a billboard's position
  Vec3 specular{0, 0, 0};
};

struct SceneVertexData {
  Vec3 position{};
  std::array<uint8_t, 4> color{};  // written with mesh flag 0x10
  std::array<int16_t, 2> uv{};     // written with mesh flag 0x08, 256 per unit
};

struct SceneTriangleData {
  int16_t part = 0;
  int16_t a = 0, b = 0, c = 0;
};

using SceneMatrix = std::array<float, 12>;
constexpr SceneMatrix kIdentityMatrix{1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
SceneMatrix TranslationMatrix(float x, float y, float z);

struct SceneObjectData {
  std::string name;
  uint8_t kind = 4;
  uint8_t flags = 0;      // 0x80 clone
  int16_t meshFlags = 0;  // a clone's source object index
  float scrollU = 0, scrollV = 0, spin = 0;
  std::vector<ScenePartData> parts;
  SceneMatrix matrix = kIdentityMatrix;  // with mesh flag 0x04, and for clones
  std::vector<SceneVertexData> vertices;
  std::vector<SceneTriangleData> triangles;
  std::optional<SceneAnimData> animation;
};

struct SceneCameraData {
  std::string name;
  Vec3 position{};
  Vec3 target{};
  float fieldOfView = 60;
  float roll = 0;
  float nearPlane = 10;
  float farPlane = 12500;
  std::vector<SceneVectorKey> positionKeys;
  std::vector<SceneVectorKey> targetKeys;
  std::vector<SceneFloatKey> fovKeys;
  std::vector<SceneFloatKey> rollKeys;
};

struct SceneLightData {
  std::string name;
  int32_t type = 0;  // 0 point, 1 spot, other directional
  Vec3 position{};
  Vec3 direction{0, 0, -1};
  Vec3 color{1, 1, 1};
  float intensity = 1;
  float range = 1000;
  float innerCone = 30;
  float outerCone = 45;
};

struct SceneMorphData {
  int32_t value0 = 0;
  int32_t frameCount = 0;
  int32_t vertexCount = 0;
  int32_t holdTicks = 0;
  int32_t uvFlag = 0;
  std::vector<float> frames;  // frame x vertex x (x, y, z[, u, v])
};

struct SceneExtAnimData {
  std::string name;
  int32_t kind = 2;  // 1 LEAF_FALL, 2 GRASS_SWING
  int32_t count = 0;
  std::string objectName;
  SceneZoneData zone;
};

struct SceneFileData {
  int16_t version = 513;
  int sectionCount = 11;  // at least 4 are written
  std::vector<ScenePointData> points;
  std::vector<ScenePortalData> portals;
  std::vector<SceneTriggerData> triggers;
  Vec3 start{};
  std::vector<uint8_t> startExtra;  // at most 16 bytes
  std::vector<ScenePersonData> people;
  std::vector<SceneObjectData> objects;
  std::vector<SceneCameraData> cameras;
  std::vector<SceneLightData> lights;
  std::vector<SceneMorphData> morphs;
  std::vector<SceneExtAnimData> extAnims;
  std::vector<std::vector<Vec3>> shadows;
};

// One object's bytes as they lie in section 5.
std::vector<uint8_t> BuildSceneObject(const SceneObjectData& object);
std::vector<uint8_t> BuildSceneFile(const SceneFileData& scene);
bool WriteSceneFile(const std::string& path, const SceneFileData& scene, std::string& error);

}  // namespace datagen
