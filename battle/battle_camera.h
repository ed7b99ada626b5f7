#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "platform/qel/camera_controller.h"
#include "platform/qel/camera_track.h"
#include "platform/qel/lct_camera.h"

class CBattleSys;

// A node's matrix as the library's M16: which 1 the local transform, any
// other value the world transform.
void NodeAsM16(HOBJECT node, int which, float* m16);

// The battle's one camera node, driven by the mouse orbit around the hero
// (mode 1), a procedural track (mode 2) or a scripted shot (mode 3). The
// battle code reaches the three drivers directly to aim and start them, and
// sets cameraMode as its phases require.
class CBattleCamera {
 public:
  enum : int { MODE_NONE = 0, MODE_ORBIT = 1, MODE_TRACK = 2, MODE_CONTROLLER = 3 };

  static constexpr const char* kControllerFile = ".\\Creature\\battle\\camcon.cc";

  // Made on first use; the engine must be open.
  static CBattleCamera* Instance();
  // Deletes the camera and its node.
  static void Destroy();

  // The nine tracks, then the shots of kControllerFile.
  void LoadTracksAndController();
  // cameraNode becomes the default viewport's camera.
  void UseEngineCamera();
  // Places the orbit camera behind the hero facing `direction` (three floats)
  // and centres the mouse.
  void InitOrbit(const float* direction);

  // The orbit turns the camera and the hero (nothing without a hero body).
  // 0 when the mouse had left the box around the screen's centre (it is put
  // back), else the mouse's y.
  int UpdateOrbit(CBattleSys* sys, int frames);
  void UpdateTrack(CBattleSys* sys, int frames);
  // The shot's matrix is taken in the frame of controllerMatrix.
  void UpdateController(CBattleSys* sys, int frames);
  // The update of the current cameraMode; nothing in mode 0.
  void Update(CBattleSys* sys, int frames);
  // Whether the track (mode 2) or the shot (mode 3) still plays; 0 in other modes.
  int IsPlaying() const;

  HOBJECT cameraNode = 0;
  qmz::CCameraTrack track;
  qmz::CLCTCamera orbit;
  qmz::CCameraController controller;
  int cameraMode = MODE_NONE;
  float controllerMatrix[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
  std::vector<int> controllerIds;

 private:
  CBattleCamera();
  ~CBattleCamera();
  CBattleCamera(const CBattleCamera&) = delete;
  CBattleCamera& operator=(const CBattleCamera&) = delete;

  static CBattleCamera* instance_;
};
