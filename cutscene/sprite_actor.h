#pragma once
#include <string>

#include "cutscene/actor.h"
#include "cutscene/actor_type.h"
#include "engine/core/handles.h"

// A 2D sprite over the image.
class SSprite : public SActor {
 public:
  // With a directory the image is looked up there (the engine's image
  // directory is restored afterwards). grid 1: columns and rows cut the image
  // into cells; 0: they are the cell size in pixels.
  SSprite(const std::string& file, const std::string& directory, int frames, int columns, int rows, int grid);
  ~SSprite() override;

  int TypeId() const final { return ACTOR_SPRITE; }
  // Hidden.
  void Reset() override { Show(0); }

  virtual void Show(int flag);
  // Each value optional.
  virtual void SetPage(const int* frame, const int* column, const int* row);

  HOBJECT GetSprite() const { return sprite_; }

 protected:
  // No sprite, for stand-ins that replace every operation.
  SSprite() = default;

 private:
  HOBJECT sprite_ = 0;
  std::string fileName_;
};
