#pragma once
#include <set>
#include <vector>

#include "components/society.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

class CGCBLight;

// The society of a 3D scene. Besides its members it owns the scene's
// camera-script component, keeps the view camera of the default viewport and
// the light components registered with it, and, while the listener flag is
// set, feeds the 3D sound listener from the listener node on every update.
class CSocietyExt : public CSociety {
 public:
  // Creates the camera-script component from "camera\fcamera.sc".
  explicit CSocietyExt(HOBJECT viewCamera);
  // Deletes the camera component, then lets the remaining members go.
  ~CSocietyExt() override;

  void Update(int n) override;

  // Replaces the camera component by a camera script read from path; 1.
  virtual int LoadCameraScript(const char* path);
  // Installs the component (a playing script is stopped first) and hands
  // back the previous one, which the caller then owns; null when it is
  // already the camera component.
  virtual CGCBase* SetCameraComponent(CGCBase* component);
  // Shows the node in the default viewport, carries the listener node along
  // and answers the previous view camera; 0 when it already is the view camera.
  virtual HOBJECT SetViewCamera(HOBJECT node);
  // 1 when inserted, 0 when already present.
  virtual int RegisterLight(CGCBLight* light);
  // How many were erased (0 or 1).
  virtual int UnregisterLight(CGCBLight* light);
  // The registered lights that shine on the point, strongest first; lights
  // of equal strength keep set order.
  virtual std::vector<CGCBLight*> CollectLights(const VECTOR3* point);
  // The most blob shadows a creature of this society casts.
  virtual int GetMode();
  // 0 for a negative value, else 1.
  virtual int SetMode(int value);

  const std::set<CGCBLight*>& Lights() const { return lights_; }
  HOBJECT ViewCamera() const { return viewCamera_; }
  CGCBase* CameraComponent() const { return cameraComponent_; }

  HOBJECT listenerNode = 0;  // fed into the listener while CSociety::listener is set

 private:
  CGCBase* cameraComponent_ = nullptr;  // owned
  std::set<CGCBLight*> lights_;
  HOBJECT viewCamera_;
  int mode_ = 3;
};
