#pragma once
#include "engine/core/handles.h"

struct SCENEMORPHDESC;
struct SCENEZONE;

// Grass swaying in a marked zone of a field map: copies of a morphing grass
// mesh, each at its own frame.
class CQChao {
 public:
  // The frame set stays the scene's.
  CQChao(int count, const SCENEZONE& zone, const SCENEMORPHDESC* frameSet, HOBJECT sourceMesh);
  ~CQChao() = default;
  CQChao(const CQChao&) = delete;
  CQChao& operator=(const CQChao&) = delete;

  // 0 when paused, else 1.
  int Update();
  void SetEnabled(int flag);

  int copyCount;
  const SCENEMORPHDESC* frameSet;
  int paused = 1;
};
