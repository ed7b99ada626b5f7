#pragma once
#include <vector>

#include "world/scene_records.h"

class CGameCamera;
class CAutomapPanel;
class CSceneNpc;

// The one live map scene.
// MINIMAL: only the fade flag, the camera and automap links and an empty
// per-tick update exist, and the characters and triggers the walker meets;
// loading, showing and the scene content are missing.
class MScene {
 public:
  // The per-tick scene update with the society's tick count.
  void Tick(int) {}
  void Show(int, int) {}

  int fadeActive = 0;  // a game over waits while it is set
  CGameCamera* camera = nullptr;
  CAutomapPanel* automap = nullptr;
  std::vector<CSceneNpc*> npcs;
  std::vector<TRIGGERDESC> triggers;
};
