#pragma once
#include <memory>

#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CCameraTrackFile;
class CSocietyExt;

// Plays a camera script: the keyframed cameras of a camera-track file drive
// a camera node, a target dummy it looks at and up to two parent dummies,
// frame by frame. It also steers a camera smoothly towards points and nodes.
//
// The node steered is the owner society's view camera when the component
// has an owner, else its own camera node. Steering factors are k in e^(-k):
// k = 0 goes all the way at once.
class CFCameras : public CGCBase {
 public:
  explicit CFCameras(const char* trackFilePath);
  // Stops a playing script.
  ~CFCameras() override;

  // 0 while idle; a script that does not loop stops on the update that finds
  // it on its last frame (0). Otherwise steps n frames (n itself when not
  // positive) and answers 1.
  int Update(int n) override;

  // Starts camera cameraIndex of the track file under a copy of the
  // reference node (none for 0). With an owner the camera becomes the
  // society's view camera; without one the default viewport's, and
  // previousViewCamera is what Stop gives the view back to. keepMode keeps
  // the camera as the view after Stop. The last two arguments are unused.
  // 0 for an index outside the track file, or without keep mode, previous
  // camera and owner alike.
  virtual int Start(int cameraIndex, HOBJECT referenceNode, int keepMode, HOBJECT previousViewCamera,
                    const VECTOR3* offset, float value);
  // Ends a playing script and frees its nodes (not a kept camera); 1.
  virtual int Stop();
  // Every node back to the camera's start state.
  virtual void Rewind();
  // Advances by frames (negative goes back); wraps while looping, else
  // stays within the script. 1.
  virtual int Step(int frames);

  // 1 without a camera, and once it is within squared distance 10 of the
  // goal (after aiming it at the look-at point); else one step and 0.
  virtual int GlideStep(float scale);
  // Prepares a glide of the node (0: the own camera) to the goal over frames,
  // turning (mode 0) or straight (mode 1) towards the look-at point. 0
  // without a node, for another node than an own camera, for frames below 1,
  // or a look-at point on the node.
  virtual int StartGlide(HOBJECT node, float goalX, float goalY, float goalZ, float lookX, float lookY, float lookZ,
                         int frames, int mode);
  virtual void RestoreGlideStart();
  // Moves towards the node's position plus offset, the offset turned to the
  // facing: the direction to facingNode, else the node's forward axis.
  virtual int ApproachNode(HOBJECT node, unsigned k, const VECTOR3* offset, HOBJECT facingNode);
  // 1 while the move is at least 0.1 squared long, else 0; -1 without a node.
  virtual int ApproachPoint(const VECTOR3* point, unsigned k);
  virtual int TurnTowardsBetween(HOBJECT a, HOBJECT b, unsigned k, float t);
  // Turns the forward axis towards the point, keeping the side axis level.
  // -1 without a node or for a point within 0.1 of it, 0 when already facing
  // it, else 1.
  virtual int TurnTowardsPoint(const VECTOR3* point, unsigned k);
  virtual int TurnTowardsNode(HOBJECT node, unsigned k, const VECTOR3* offset);

  void SetLooping(int flag) { looping = flag; }

  int keepMode = 0;
  int glideMode = 0;  // 0 turn while gliding, 1 straight
  HOBJECT referenceCopy = 0;
  std::unique_ptr<CCameraTrackFile> trackFile;
  int frameCount = 0;
  int currentFrame = 0;
  int cameraIndex = 0;
  int parentCount = 0;
  int looping = 0;
  int playing = 0;
  HOBJECT cameraNode = 0;
  HOBJECT previousViewCamera = 0;
  HOBJECT parentDummies[2] = {0, 0};
  HOBJECT targetNode = 0;
  VECTOR3 glideGoal{0, 0, 0};
  VECTOR3 glideLookAt{0, 0, 0};
  VECTOR3 savedDirection{0, 0, 0};
  VECTOR3 savedPosition{0, 0, 0};
  VECTOR3 glideStep{0, 0, 0};
  float glideAngle = 0;  // degrees per frame
  VECTOR3 glideAxis{0, 0, 0};

 private:
  CSocietyExt* Society() const;
  HOBJECT SteeredNode() const;
  // Turns the node about its own position and levels its side axis.
  void TurnAndLevel(HOBJECT node, const VECTOR3* axis, float degrees);
};
