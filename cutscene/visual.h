#pragma once
#include "cutscene/actor.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// An actor with an engine scene node, wrapped behind the operations the key
// tracks use. Modes are TRANSFORMMODE values (0 set, 1 own axes, 2 parent's
// axes) and axes AXISCODE values (0 +X ... 5 -Z). Each kind of visual actor
// supplies these; every output pointer is optional.
class SVisual : public SActor {
 public:
  virtual void SetVisible(int flag) = 0;
  // Returns the node.
  virtual HOBJECT SetPosition(float x, float y, float z, int mode) = 0;
  virtual void Rotate(int axis, float degrees, int mode) = 0;
  // World position and unit forward and up vectors.
  virtual void GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up) = 0;
  // Places the node with its forward axis along the direction (null: 0, 0, -1).
  virtual void SetTransform(const VECTOR3* position, const VECTOR3* forward, const VECTOR3* up) = 0;
  // Replaces the position row of the local matrix.
  virtual void SetPositionXYZ(float x, float y, float z) = 0;
  virtual void GetMatrix(MATRIX34* matrix, int local) = 0;
  virtual void SetMatrix(const MATRIX34* matrix, int mode) = 0;
  virtual void RotateByQuaternion(const QUATERNION* rotation, int mode) = 0;
  virtual int IsVisible() = 0;
  // Moves the node keeping its direction.
  virtual void MoveTo(float x, float y, float z) = 0;
  virtual void SetOpacity(float alpha) = 0;
  virtual float GetOpacity() = 0;
  virtual void SetDrawMode(int mode) = 0;
  // One of the engine's per-node render states (5 colour as opacity, 22 source
  // blend factor, 23 destination blend factor).
  virtual void SetRenderState(int state, int value) = 0;
  virtual int HitTest(HOBJECT viewport, int x, int y) = 0;
  virtual SVisual* GetParent() = 0;
  virtual void SetParent(SVisual* parent) = 0;
  virtual HOBJECT GetNode() = 0;
};
