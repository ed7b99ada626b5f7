#pragma once
#include "engine/core/handles.h"

// The map scene as a cut-scene sees it: the per-frame update for the engine's
// current camera, the scene's lights and its terrain. The live map scene
// implements it.
class SSceneManager {
 public:
  virtual ~SSceneManager() = default;

  // Per-frame update of the scene content for the engine's current camera.
  virtual void Animate(int frames) = 0;
  // Engine light node and light kind of the i-th light component.
  virtual HOBJECT GetLightNode(int i) = 0;
  virtual int GetLightKind(int i) = 0;
  virtual int GetLightCount() = 0;
  // Engine terrain built from the scene's terrain object, and that object's node.
  virtual HOBJECT GetTerrain() = 0;
  virtual HOBJECT GetTerrainNode() = 0;
};
