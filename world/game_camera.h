#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CSceneData;
class MScene;

// The field camera of the map scene.
// MINIMAL: it keeps the flags the game sets and owns its camera node;
// following, orbiting, wall pull-in, close-ups and the aimer drawing are
// missing, so the node stays where it was put.
class CGameCamera {
 public:
  CGameCamera() = default;
  ~CGameCamera();
  CGameCamera(const CGameCamera&) = delete;
  CGameCamera& operator=(const CGameCamera&) = delete;

  void ShowAimer(int on) { aimerShown = on; }
  void CenterCursor() {}
  void RestoreView() {}
  void Activate();
  // Creates the camera node; viewport 0 gets it.
  void SetProjection(float fieldOfView, float aspect, float nearPlane, float farPlane);
  void SetViewport(HOBJECT value) { viewport = value; }
  void ResetOrbit(float distance) { orbitDistance = distance; }
  void Update(int) {}
  // The camera node's world position and view direction; each optional.
  void GetPositionAndDirection(VECTOR3* position, VECTOR3* direction) const;

  int aimerShown = 0;
  int mouseLookLocked = 0;
  HOBJECT node = 0;
  HOBJECT viewport = 0;
  HOBJECT targetNode = 0;
  HOBJECT terrain = 0;
  float baseYaw = 0;
  float orbitDistance = 0;
  CSceneData* sceneData = nullptr;
  MScene* scene = nullptr;
};
