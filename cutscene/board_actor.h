#pragma once
#include <string>

#include "cutscene/actor_type.h"
#include "cutscene/visual.h"

// An animated billboard image from a texture file.
class SBoard : public SVisual {
 public:
  // With a directory the texture is looked up there (the engine's texture
  // directory is restored afterwards).
  SBoard(const std::string& file, const std::string& directory, int frames, int width, int height);
  ~SBoard() override;

  int TypeId() const final { return ACTOR_BOARD; }
  // Blended at 0.9 opacity, on frame 0, looping.
  void Reset() override;
  // Advances the billboard's frames.
  int Update(int frames) override;
  int HitTest(HOBJECT viewport, int x, int y) override;
  HOBJECT GetNode() override { return node_; }

  virtual void SetFrame(int frame);
  // A colour of the billboard's material; kind 3 is the emissive colour, the
  // others 0 ambient, 1 diffuse, 2 specular. Every output pointer is optional.
  virtual void GetMaterialColor(int kind, float* r, float* g, float* b);
  virtual void SetMaterialColor(int kind, float r, float g, float b);

 protected:
  // No billboard, for stand-ins that replace every operation.
  SBoard() = default;

 private:
  HOBJECT node_ = 0;
  int frameCount_ = 0;
  int loop_ = 1;
  std::string fileName_;
  int width_ = 0;
  int height_ = 0;
};
