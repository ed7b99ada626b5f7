#pragma once
// What a map scene asks of the game around it. A service left out answers
// "nothing": no society to join, the walker at the origin facing +Y, nobody
// told of the scene's coming and going, no special events on leaving a map.
#include "engine/core/math3d.h"

class CSocietyExt;
class MScene;

struct MSceneHost {
  CSocietyExt* (*society)() = nullptr;  // the one the scene's lights and people join
  // Leaves both as they are while there is no walker.
  void (*walkerPosition)(VECTOR3* position, VECTOR3* facing) = nullptr;
  void (*entered)(MScene* scene) = nullptr;  // the scene has loaded a scene file
  void (*left)(MScene* scene) = nullptr;     // the scene is being destroyed
  void (*specialEvents)(int map, int leaving) = nullptr;
};

// Every scene's host from now on; the game installs its own at start-up.
void SetSceneHost(const MSceneHost& host);
const MSceneHost& SceneHost();
