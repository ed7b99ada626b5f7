#include "components/society_ext.h"

// MINIMAL: no camera-script component is built from "camera\fcamera.sc" yet.
CSocietyExt::CSocietyExt(HOBJECT viewCamera) : viewCamera_(viewCamera) {}

CSocietyExt::~CSocietyExt() { lights_.clear(); }

int CSocietyExt::RegisterLight(CGCBLight* light) { return lights_.insert(light).second ? 1 : 0; }

int CSocietyExt::UnregisterLight(CGCBLight* light) {
  return static_cast<int>(lights_.erase(light));
}
