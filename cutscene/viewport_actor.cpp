#include "cutscene/viewport_actor.h"

#include "cutscene/camera_actor.h"
#include "engine/core/viewports.h"

SViewPort::SViewPort(int x, int y, int width, int height)
    : initial_{x, y, width, height}, current_{x, y, width, height} {}

void SViewPort::Reset() {
  for (int i = 0; i < 4; ++i) current_[i] = initial_[i];
  SetViewportRect(viewport_, current_[0], current_[1], current_[2], current_[3]);
}

void SViewPort::SetCamera(STCamera* camera) {
  camera_ = camera;
  SetViewportCamera(viewport_, camera ? camera->GetNode() : 0);
}
