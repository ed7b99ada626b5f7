#pragma once
#include "components/b_sprite.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CSceneData;
class MScene;
class TerrainBoundary;

// The third-person camera of the field. It orbits the target node (the
// party leader) at a distance that follows the pitch, turns with the mouse
// (turning the target with it), pulls in before the walls and obstacles
// between its look-at point and itself, and flies an eased close-up towards
// a character when a talk begins. The map scene owns and updates it; the
// game sets its target, wall set and mouse-look lock.
class CGameCamera {
 public:
  // The limits every camera starts with.
  static constexpr float kYawRange = 6.2831853f;
  static constexpr float kPitchUpper = 1.0471976f;   // 60 degrees
  static constexpr float kPitchLower = -0.2617994f;  // -15 degrees
  static constexpr int kScreenCentreX = 320;
  static constexpr int kScreenCentreY = 240;

  // Loads the hidden aimer sprite ("image\aimer" under the current directory).
  CGameCamera();
  ~CGameCamera();
  CGameCamera(const CGameCamera&) = delete;
  CGameCamera& operator=(const CGameCamera&) = delete;

  // Creates the camera node (the map scene: 65 degrees, 4/3, 10, 7500);
  // viewport 0 gets it.
  void SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane);
  void SetViewport(HOBJECT value) { viewport = value; }
  // Makes the camera node its viewport's camera.
  void Activate();
  // The far plane: how far the field is seen.
  void SetViewDistance(float distance);

  // The look-at point's offset from the target; starts behind the target.
  // Without a target it shows "Man Node ID Error!" and changes nothing.
  void StartFollow(float radius, float elevation, float height);
  // Puts the camera on the target's placement, level, at the distance.
  void ResetOrbit(float distance);
  // Orbits the look-at point and pulls in before walls. The game passes
  // the frames elapsed; the orbit is closed-form and does not need them.
  void Update(int frames);
  // Places the camera node at position looking at point, rolled by degrees.
  // A point on the position, or straight above or below it, keeps the matrix.
  void LookAt(const VECTOR3& position, const VECTOR3& point, float roll);

  // Mouse look: ignored while the look is locked (close-ups, scene entry).
  void OnMouseMove(int x, int y);
  void AddYaw(float degrees);
  void AddPitch(float radians);
  // The yaw limit in degrees (180 turns freely); the accumulated yaw restarts.
  void SetYawRange(float degrees);
  // Unlocks mouse look and takes the mouse's position as the reference.
  void CenterCursor();

  // Locks mouse look and prepares the flight towards the character's node
  // (near: a slight angle; else from its side).
  void BeginTalkCloseUp(HOBJECT npcNode, int near);
  // Advances the flight by n frames; 1 once it has arrived.
  int StepCloseUp(int n);
  // The way back: start and end swap.
  void ReverseCloseUp();
  void SetCloseUpFrames(int frames);

  // From the last orbit; each optional.
  void GetPositionAndDirection(VECTOR3* position, VECTOR3* direction) const;
  // The point on the near plane under a screen point (640 x 480).
  void UnprojectScreenPoint(VECTOR3* out, int x, int y) const;
  // The walker's alpha: faded while the camera is pulled in close.
  float GetWalkerFade() const;
  // The last orbit back on the camera node, and the node active again.
  void RestoreView();
  void ShowAimer(int on);

  // Projection.
  float nearDistance = 0;
  float halfWidth = 0;
  float halfHeight = 0;
  // Mouse look.
  float pixelsPerTurn = 2000;
  float yawLimit = 180;  // degrees; 180 turns freely
  float accumulatedYaw = 0;
  int cursorX = kScreenCentreX;
  int cursorY = kScreenCentreY;
  int turnsWalker = 1;      // mouse yaw turns the target node too
  int mouseLookLocked = 0;  // close-up mode
  // The scene.
  TerrainBoundary* boundary = nullptr;  // linked by the game before updates
  CSceneData* sceneData = nullptr;
  MScene* scene = nullptr;
  HOBJECT terrain = 0;
  HOBJECT node = 0;
  HOBJECT targetNode = 0;
  HOBJECT viewport = 0;
  // The orbit.
  float orbitDistance = 0;
  float pulledInDistance = 0;
  float orbitYaw = 0;  // radians
  float pitch = 0;     // radians
  float heightOffset = 0;
  float baseYaw = 0;  // radians, added to the target's heading
  float yawRange = kYawRange;
  float pitchUpper = kPitchUpper;
  float pitchLower = kPitchLower;
  MATRIX34 targetMatrix{};
  MATRIX34 lastOrbit{};
  float followRadius = 0;
  float followYaw = 0;
  float followElevation = 0;
  VECTOR3 followOffset{0, 0, 0};
  float pendingYaw = 0;
  int pendingYawSet = 0;
  int dirty = 0;
  VECTOR3 lookAt{0, 0, 0};
  VECTOR3 lastLookAt{0, 0, 0};
  // The aimer.
  CBSprite aimer;
  int aimerShown = 0;
  // The close-up.
  MATRIX34 closeUpStart{};
  float startRotation[4] = {1, 0, 0, 0};
  float endRotation[4] = {1, 0, 0, 0};
  VECTOR3 startPosition{0, 0, 0};
  VECTOR3 endPosition{0, 0, 0};
  float closeUpProgress = 0;
  int closeUpFrames = 30;
  float closeUpStep = 1.0f / 30;

 private:
  // The target's heading and the look-at point for this frame.
  void ComputeLookAt();
  // The distance the pitch asks for.
  float DistanceForPitch() const;
  void TakeLastOrbit();
};
