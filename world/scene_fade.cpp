#include "world/scene_fade.h"

#include "components/mesh_helpers.h"
#include "engine/core/node_states.h"
#include "engine/core/nodes.h"

CFadePlane::CFadePlane(int direction, int frames, int hold)
    : framesLeft(frames), alpha(direction ? 1.0f : 0.0f), direction(direction), hold(hold) {
  const float black[3] = {0, 0, 0};
  const float span = frames > 0 ? static_cast<float>(frames) : 1.0f;
  step = direction ? -1.0f / span : 1.0f / span;
  node = CreateTexturedQuad(0, 0, 640, 480, 0.01f, nullptr, black, 0, 0, 0, 0, 0);
  if (node) {
    SetNodeRenderState(node, NRS_FOG, 0);
    SetNodeAlpha(node, alpha);
  }
}

CFadePlane::~CFadePlane() {
  if (node) DestroyNode(node);
}

int CFadePlane::Step() {
  --framesLeft;
  if (framesLeft > 0) {
    alpha += step;
    if (node) SetNodeAlpha(node, alpha);
    return 0;
  }
  framesLeft = 0;
  if (hold && !direction) return 0;
  alpha = direction ? 0.0f : 1.0f;
  if (node) SetNodeAlpha(node, alpha);
  return hold ? 0 : 1;
}
