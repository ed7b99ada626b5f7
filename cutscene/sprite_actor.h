#pragma once
#include "cutscene/actor.h"
#include "cutscene/actor_type.h"

// A 2D sprite over the image.
class SSprite : public SActor {
 public:
  int TypeId() const final { return ACTOR_SPRITE; }

  virtual void Show(int flag) = 0;
  // Each value optional.
  virtual void SetPage(const int* frame, const int* column, const int* row) = 0;
};
