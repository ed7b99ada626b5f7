// The cursor modes of the field and the interface.
#include "game/game.h"
#include "ui/menu_agency.h"
#include "world/game_camera.h"
#include "world/map_scene.h"

namespace {

void ShowAimer(MScene* scene, int on) {
  if (scene && scene->camera) scene->camera->ShowAimer(on);
}

}  // namespace

void CGame::SetCursorMode(int kind) {
  if (kind == 1) {
    mouse.Lock(1);
    SetCursorShape(0, 0);
    mouse.Centre();
  } else if (kind == 2) {
    mouse.Lock(0);
    SetCursorShape(1, 0);
    if (cursorMode != 2) mouse.Centre();
  }
  cursorMode = kind;
}

void CGame::SetCursorShape(int mode, int cursorType) {
  switch (mode) {
    case 0:
      mouse.SetShape(0);
      mouse.Show(0);
      ShowAimer(scene, 1);
      break;
    case 1:
      mouse.SetShape(cursorType);
      mouse.Show(1);
      ShowAimer(scene, 0);
      break;
    case 2:
      mouse.Show(0);
      ShowAimer(scene, 0);
      break;
    default: break;
  }
}
