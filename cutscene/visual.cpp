#include "cutscene/visual.h"

#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/picking.h"

void SVisual::SetVisible(int flag) {
  ShowNode(GetNode(), flag);
  visible_ = flag;
}

HOBJECT SVisual::SetPosition(float x, float y, float z, int mode) {
  HOBJECT node = GetNode();
  SetNodePosition(node, x, y, z, mode);
  return node;
}

void SVisual::Rotate(int axis, float degrees, int mode) { RotateNode(GetNode(), axis, degrees, mode); }

void SVisual::GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up) {
  GetNodeWorldVectors(GetNode(), position, forward, up);
}

void SVisual::SetTransform(const VECTOR3* position, const VECTOR3* forward, const VECTOR3* up) {
  // The engine turns a null direction straight down; an actor looks ahead.
  const VECTOR3 ahead{0, 0, -1};
  const VECTOR3 origin{0, 0, 0};
  SetNodeDirection(GetNode(), position ? position : &origin, forward ? forward : &ahead, up);
}

void SVisual::SetPositionXYZ(float x, float y, float z) {
  HOBJECT node = GetNode();
  MATRIX34 m;
  GetNodeMatrix(node, &m, 1);
  m.row[3] = {x, y, z};
  SetNodeMatrix(node, &m, 0);
}

void SVisual::GetMatrix(MATRIX34* matrix, int local) {
  if (matrix) GetNodeMatrix(GetNode(), matrix, local);
}

void SVisual::SetMatrix(const MATRIX34* matrix, int mode) {
  if (matrix) SetNodeMatrix(GetNode(), matrix, mode);
}

void SVisual::RotateByQuaternion(const QUATERNION* rotation, int mode) {
  if (rotation) RotateNodeByQuaternion(GetNode(), rotation, mode);
}

int SVisual::IsVisible() { return visible_; }

void SVisual::MoveTo(float x, float y, float z) {
  HOBJECT node = GetNode();
  VECTOR3 forward, up;
  GetNodeWorldVectors(node, nullptr, &forward, &up);
  const VECTOR3 position{x, y, z};
  SetNodeDirection(node, &position, &forward, &up);
}

void SVisual::SetOpacity(float alpha) {
  opacity_ = alpha;
  SetNodeAlpha(GetNode(), alpha);
}

float SVisual::GetOpacity() { return opacity_; }

int SVisual::SetDrawMode(int mode) {
  SetNodeDrawMode(GetNode(), mode);
  return 1;
}

int SVisual::SetRenderState(int state, int value) {
  SetNodeRenderState(GetNode(), state, value);
  return 1;
}

int SVisual::HitTest(HOBJECT viewport, int x, int y) {
  HOBJECT node = GetNode();
  return PickNode(viewport, &node, 1, 0, x, y, nullptr);
}

SVisual* SVisual::GetParent() { return parent_; }

void SVisual::SetParent(SVisual* parent) {
  parent_ = parent;
  SetNodeParent(GetNode(), parent ? parent->GetNode() : 0);
}
