#pragma once
#include <cstdint>

#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// A screen quad of one colour; it starts fully transparent.
class STLBoard {
 public:
  STLBoard(float x, float y, float width, float height, int r, int g, int b);
  virtual ~STLBoard();
  STLBoard(const STLBoard&) = delete;
  STLBoard& operator=(const STLBoard&) = delete;

  // Components 0..255.
  virtual void SetColor(int r, int g, int b);

  HOBJECT QuadNode() const { return quad_; }

 protected:
  // No quad, for stand-ins that replace every operation.
  STLBoard() = default;

 private:
  uint8_t r_ = 0, g_ = 0, b_ = 0;
  HOBJECT quad_ = 0;
};

// A full-screen colour quad; it starts fully transparent and black.
class SFade : public STLBoard, public SVisual {
 public:
  SFade(int x, int y, int width, int height);

  int TypeId() const final { return ACTOR_FADE; }
  void Reset() override;
  HOBJECT GetNode() override { return QuadNode(); }

 protected:
  SFade() = default;
};
