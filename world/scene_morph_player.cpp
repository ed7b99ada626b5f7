#include "world/scene_morph_player.h"

#include <algorithm>

#include "database/scene_records.h"
#include "engine/core/mesh_edit.h"

CMorphPlayer::CMorphPlayer(HOBJECT meshNode, SCENEMORPHDESC* morph, int index)
    : entry(morph), contentIndex(index), node(meshNode) {
  MESHVERTEX* v = GetMeshVertices(node, nullptr, nullptr, nullptr);
  const int stride = FloatsPerVertex();
  const int n = SharedVertexCount();
  for (int i = 0; i < n; ++i) {
    float* f = &entry->frames[static_cast<size_t>(i) * stride];
    f[0] = v[i].x, f[1] = v[i].y, f[2] = v[i].z;
    if (entry->uvFlag) f[3] = v[i].u, f[4] = v[i].v;
  }
}

int CMorphPlayer::FloatsPerVertex() const { return entry->uvFlag ? 5 : 3; }

int CMorphPlayer::SharedVertexCount() const {
  int count = 0;
  if (!GetMeshVertices(node, &count, nullptr, nullptr)) return 0;
  return std::clamp(std::min(count, entry->vertexCount), 0, static_cast<int>(entry->frames.size()) / FloatsPerVertex());
}

void CMorphPlayer::Step(int n) {
  // A negative hold counts as 0: a frame lasts at least one tick.
  const int period = std::max(entry->holdTicks, 0) + 1;
  ticks += n;
  const int advance = ticks / period;
  ticks %= period;
  if (advance <= 0 || entry->frameCount <= 0) return;
  currentFrame = (currentFrame + advance) % entry->frameCount;
  MESHVERTEX* v = GetMeshVertices(node, nullptr, nullptr, nullptr);
  const int stride = FloatsPerVertex();
  const int shared = SharedVertexCount();
  const size_t base = static_cast<size_t>(currentFrame) * entry->vertexCount * stride;
  for (int i = 0; i < shared; ++i) {
    const float* f = &entry->frames[base + static_cast<size_t>(i) * stride];
    v[i].x = f[0], v[i].y = f[1], v[i].z = f[2];
    if (entry->uvFlag) v[i].u = f[3], v[i].v = f[4];
  }
}
