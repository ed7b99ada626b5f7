#pragma once
// The records of a scene file as the field world reads them. Names are kept
// as read (cut at their field's end and first NUL); pointer fields of the file
// become owned members.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/math3d.h"

constexpr HOBJECT kNoMaterial = static_cast<HOBJECT>(-1);

struct SCENEPOINTDESC {
  int32_t id = 0;
  VECTOR3 position{0, 0, 0};
  VECTOR3 direction{0, 0, 0};
};

// Four corners x, y and a height range.
struct SCENEZONE {
  std::array<std::array<float, 2>, 4> corners{};
  float zMin = 0;
  float zMax = 0;
};

struct PORTALDESC {
  std::string destination;  // scene base name; the game appends ".SB"
  int16_t destinationPoint = 0;
  int16_t closed = 0;
  SCENEZONE zone;
};

enum TRIGGERTYPE : int16_t {
  TRIGGER_SWITCH = 0,
  TRIGGER_JUMP = 1,
  TRIGGER_DROP = 2,
  TRIGGER_SOUND = 3,
  TRIGGER_GAME = 4,
  TRIGGER_AUTO = 5,
  TRIGGER_TALK = 6,
  TRIGGER_BLOCK = 7,
};

struct TRIGGERDESC {
  static constexpr int kMaxTargets = 4;
  std::string name;
  int16_t type = 0;
  std::vector<std::string> targetNames;              // at most kMaxTargets
  std::array<uint8_t, kMaxTargets> targetIndices{};  // resolved by the scene content
  // Bytes +28 to +43: a Sound trigger's wave name, else an int32 value (a
  // Block trigger's initial and current state bytes), then the int32 level.
  std::array<uint8_t, 16> typeData{};
  SCENEZONE zone;

  std::string WaveName() const;
  int32_t Value() const;
  uint8_t& InitialState() { return typeData[0]; }
  uint8_t& CurrentState() { return typeData[1]; }
  int32_t Level() const;
};

struct SCENEITEMDESC {
  int16_t itemId = 0;
  uint8_t a = 0;
  uint8_t b = 0;
};

struct SCENEKEYTRACK {
  int32_t firstFrame = 0;
  int32_t lastFrame = 0;
  int32_t keyCount = 0;
};

struct VECTORKEY {
  int32_t frame = 0;
  VECTOR3 value{0, 0, 0};
};

struct ROTATIONKEY {
  int32_t frame = 0;
  QUATERNION value{1, 0, 0, 0};
};

struct FLOATKEY {
  int32_t frame = 0;
  float value = 0;
};

// The keyframed routine of an object or a person.
struct SCENEANIMDESC {
  uint8_t mode = 0;    // bits 0-3 start mode, bits 5-7 sound number
  uint8_t repeat = 0;  // 0 once, 1 bounce
  int16_t delay = 0;
  int16_t playsLeft = 0;
  uint8_t keyNumber = 0;
  uint8_t links = 0;  // bits 0-1 item count, bit 2 trigger, bits 3-7 target number
  std::vector<SCENEITEMDESC> items;
  int16_t firstKey = 9999;
  int16_t lastKey = 0;
  SCENEKEYTRACK position, rotation, scale, visibility;
  std::vector<VECTORKEY> positionKeys;
  std::vector<VECTORKEY> scaleKeys;
  std::vector<ROTATIONKEY> rotationKeys;
  std::vector<FLOATKEY> visibilityKeys;
};

struct SCENEPERSONDESC {
  static constexpr int32_t kFollowKey = 0x1;
  static constexpr int32_t kHide = 0x8000;
  std::string name;  // matched against the game resource's NPC names
  int16_t npcProperty = 0;
  int16_t npcId = 0;  // 1-based row of the NPC table, written at load
  int32_t flags = 0;
  VECTOR3 position{0, 0, 0};
  VECTOR3 direction{0, 0, 0};
  std::unique_ptr<SCENEANIMDESC> routine;
};

struct SCENEPARTDESC {
  std::string texture;               // a first letter "K" or "k" marks a colour-keyed texture
  std::array<uint8_t, 3> options{};  // texture-load options A, B, C
  uint8_t materialFlag = 0;
  uint8_t frameCount = 0;  // billboard frames; 0 = not a billboard
  uint8_t ticksPerFrame = 0;
  uint8_t used = 0;
  float power = 0.25f;
  float value28 = 0.05f;
  float alpha = 1.0f;
  int32_t blendMode = 2;
  float value40 = 0;
  int16_t faceFlags = 0;
  float ambient[3] = {};  // a billboard's width, height
  float diffuse[3] = {};  // a billboard's position
  float specular[3] = {};
  HOBJECT material = 0;  // kNoMaterial when creation failed
};

enum SCENEOBJECTKIND : uint8_t {
  SOBJ_TERRAIN = 1,
  SOBJ_BACKGROUND_A = 2,
  SOBJ_STATIC = 4,
  SOBJ_SPINNING = 5,
  SOBJ_KEYFRAMED = 6,
  SOBJ_BILLBOARD = 7,
  SOBJ_MORPH = 8,
  SOBJ_BACKGROUND_B = 9,
  SOBJ_SHADOW_AREA = 10,
};

struct SCENEOBJECTDESC {
  static constexpr uint8_t kSky = 0x01;
  static constexpr uint8_t kMountain = 0x02;
  static constexpr uint8_t kScroll = 0x04;
  static constexpr uint8_t kClone = 0x80;
  static constexpr int16_t kMeshKeyed = 0x01;
  static constexpr int16_t kMeshNoFilter = 0x02;
  static constexpr int16_t kMeshMatrix = 0x04;
  static constexpr int16_t kMeshUv = 0x08;
  static constexpr int16_t kMeshColors = 0x10;
  std::string name;
  uint8_t kind = SOBJ_STATIC;
  uint8_t flags = 0;
  int16_t meshFlags = 0;  // for a clone the source object's index
  float scrollU = 0;
  float scrollV = 0;
  float spin = 0;
  HOBJECT node = 0;
  std::vector<SCENEPARTDESC> parts;
  std::unique_ptr<SCENEANIMDESC> animation;
};

struct SCENECAMERADESC {
  std::string name;
  VECTOR3 position{0, 0, 0};
  VECTOR3 target{0, 0, 0};
  float fieldOfView = 0;
  float roll = 0;
  float nearPlane = 10;
  float farPlane = 12500;
  int32_t positionKeyCount = 0;
  SCENEKEYTRACK positionTrack, fovTrack, rollTrack, targetTrack;
  std::vector<VECTORKEY> positionKeys;
  std::vector<VECTORKEY> targetKeys;
  std::vector<FLOATKEY> fovKeys;
  std::vector<FLOATKEY> rollKeys;
};

struct SCENELIGHTDESC {
  std::string name;
  int32_t type = 0;  // 0 point, 1 spot, other directional
  VECTOR3 position{0, 0, 0};
  VECTOR3 direction{0, 0, 0};
  float color[3] = {};
  float intensity = 0;
  float range = 0;
  float innerCone = 0;  // degrees
  float outerCone = 0;
};

struct SCENEMORPHDESC {
  int32_t value0 = 0;
  int32_t frameCount = 0;
  int32_t vertexCount = 0;
  int32_t holdTicks = 0;  // a frame lasts hold + 1 ticks
  int32_t uvFlag = 0;
  std::vector<float> frames;  // frame x vertex x (x, y, z[, u, v])
};

enum EXTANIMKIND : int32_t { EXTANIM_LEAF_FALL = 1, EXTANIM_GRASS_SWING = 2 };

struct SCENEEXTANIMDESC {
  std::string name;
  int32_t kind = 0;
  int32_t count = 0;
  int32_t objectIndex = 0;  // written at load
  std::string objectName;
  SCENEZONE zone;
};

// A mesh triangle: the part (an index of the object's parts) and three vertex indices.
struct SCENETRIANGLE {
  int part, a, b, c;
};

struct SCENESHADOWDESC {
  std::vector<VECTOR3> points;
};
