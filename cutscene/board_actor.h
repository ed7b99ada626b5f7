#pragma once
#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// An animated billboard image.
class SBoard : public SVisual {
 public:
  int TypeId() const final { return ACTOR_BOARD; }

  // A colour of the billboard's material; kind 3 is the emissive colour.
  // Every output pointer is optional.
  virtual void GetMaterialColor(int kind, float* r, float* g, float* b) = 0;
  virtual void SetMaterialColor(int kind, float r, float g, float b) = 0;
};
