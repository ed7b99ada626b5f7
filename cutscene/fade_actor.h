#pragma once
#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// A flat quad of one colour.
class STLBoard {
 public:
  virtual ~STLBoard() = default;
  // Components 0..255.
  virtual void SetColor(int r, int g, int b) = 0;
};

// A full-screen colour quad; it starts fully transparent and black.
class SFade : public STLBoard, public SVisual {
 public:
  int TypeId() const final { return ACTOR_FADE; }
};
