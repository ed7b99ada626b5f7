#pragma once
#include <set>

#include "components/society.h"
#include "engine/core/handles.h"

class CGCBLight;

// The society of a 3D scene: besides its members it keeps the view camera and
// the light components registered with it.
// MINIMAL: the camera-script component, the sound-listener feed, the mode,
// SetViewCamera and CollectLights are still missing.
class CSocietyExt : public CSociety {
 public:
  explicit CSocietyExt(HOBJECT viewCamera);
  ~CSocietyExt() override;

  // 1 when inserted, 0 when already present.
  virtual int RegisterLight(CGCBLight* light);
  // How many were erased (0 or 1).
  virtual int UnregisterLight(CGCBLight* light);

  const std::set<CGCBLight*>& Lights() const { return lights_; }
  HOBJECT ViewCamera() const { return viewCamera_; }

 private:
  std::set<CGCBLight*> lights_;
  HOBJECT viewCamera_;
};
