#pragma once
#include "engine/core/handles.h"

// The bar over an enemy's head: a red quad with a white outline that stands
// over the node it follows and faces the camera; its length shows a per cent.
class CFighterGauge {
 public:
  CFighterGauge() = default;
  ~CFighterGauge();
  CFighterGauge(const CFighterGauge&) = delete;
  CFighterGauge& operator=(const CFighterGauge&) = delete;

  // A hidden bar of width x height at full length; 0 when no node could be made.
  int Create(const char* textureName, int width, int height);
  // Ignored outside 0 to 100.
  void SetPercent(float p);
  void Show(int flag);
  void Follow(HOBJECT node);
  // Over the followed node, facing against the camera's forward vector.
  void Place(HOBJECT cameraNode);

  HOBJECT node = 0;
  HOBJECT target = 0;
  int width = 0;
  int height = 0;
  float percent = 100;
  // The quad's right-hand vertices, by index: the mesh may move its array.
  int rightVertices[2] = {-1, -1};
  int shown = 0;
};
