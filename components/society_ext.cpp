#include "components/society_ext.h"

#include "components/f_cameras.h"
#include "components/gcb_light.h"
#include "engine/core/nodes.h"
#include "engine/core/viewports.h"
#include "engine/media/sound3d.h"

CSocietyExt::CSocietyExt(HOBJECT viewCamera) : viewCamera_(viewCamera) { LoadCameraScript("camera\\fcamera.sc"); }

CSocietyExt::~CSocietyExt() {
  delete cameraComponent_;
  cameraComponent_ = nullptr;
  lights_.clear();
}

void CSocietyExt::Update(int n) {
  if (listener && listenerNode) {
    UpdateListener(listenerNode);
    CommitSound3D();
  }
  CSociety::Update(n);
}

int CSocietyExt::LoadCameraScript(const char* path) {
  delete cameraComponent_;
  cameraComponent_ = new CFCameras(path);
  cameraComponent_->Attach(this);
  return 1;
}

CGCBase* CSocietyExt::SetCameraComponent(CGCBase* component) {
  if (component == cameraComponent_) return nullptr;
  CGCBase* previous = cameraComponent_;
  cameraComponent_ = component;
  if (auto* script = dynamic_cast<CFCameras*>(previous); script && script->playing) script->Stop();
  if (previous) previous->Detach();
  if (component) component->Attach(this);
  return previous;
}

HOBJECT CSocietyExt::SetViewCamera(HOBJECT node) {
  if (node == viewCamera_) return 0;
  SetViewportCamera(0, node);
  const HOBJECT previous = viewCamera_;
  viewCamera_ = node;
  if (listenerNode) SetNodeParent(listenerNode, node);
  return previous;
}

int CSocietyExt::RegisterLight(CGCBLight* light) { return lights_.insert(light).second ? 1 : 0; }

int CSocietyExt::UnregisterLight(CGCBLight* light) { return static_cast<int>(lights_.erase(light)); }

std::vector<CGCBLight*> CSocietyExt::CollectLights(const VECTOR3* point) {
  std::vector<CGCBLight*> list;
  for (CGCBLight* light : lights_) {
    bool placed = false;
    bool dropped = false;
    for (auto it = list.begin(); it != list.end(); ++it) {
      const int order = light->CompareAt(*it, point);
      if (order == 1) {
        list.insert(it, light);
        placed = true;
        break;
      }
      if (order == -1) {
        dropped = true;
        break;
      }
    }
    if (!placed && !dropped && light->CompareAt(nullptr, point) != -1) list.push_back(light);
  }
  return list;
}

int CSocietyExt::GetMode() { return mode_; }

int CSocietyExt::SetMode(int value) {
  if (value < 0) return 0;
  mode_ = value;
  return 1;
}
