#pragma once
#include <vector>

#include "engine/core/handles.h"
#include "engine/core/nodes.h"

struct SCENEMORPHDESC;
struct SCENEZONE;

// Grass swaying in a marked zone of a field map: copies of a morphing grass
// mesh scattered over the zone, each at its own frame.
class CQChao {
 public:
  // The frame set stays the scene's. An empty frame set makes no copies.
  CQChao(int count, const SCENEZONE& zone, const SCENEMORPHDESC* frameSet, HOBJECT sourceMesh);
  ~CQChao();
  CQChao(const CQChao&) = delete;
  CQChao& operator=(const CQChao&) = delete;

  // 0 when paused, else 1.
  int Update();
  // Off puts every copy back on frame 0 and pauses.
  void SetEnabled(int flag);

  int copyCount = 0;
  std::vector<HOBJECT> copies;
  std::vector<int> currentFrame;
  // Every frame's full vertex array, frame after frame.
  std::vector<MESHVERTEX> frames;
  int verticesPerFrame = 0;
  const SCENEMORPHDESC* frameSet;
  int paused = 0;

 private:
  void ShowFrame(HOBJECT copy, int frame);
};
