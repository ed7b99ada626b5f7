#pragma once
#include "cutscene/actor.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// An actor with an engine scene node, wrapped behind the operations the key
// tracks use. Modes are TRANSFORMMODE values (0 set, 1 own axes, 2 parent's
// axes) and axes AXISCODE values (0 +X ... 5 -Z). Each kind supplies its node;
// every output pointer is optional.
class SVisual : public SActor {
 public:
  virtual void SetVisible(int flag);
  // Returns the node.
  virtual HOBJECT SetPosition(float x, float y, float z, int mode);
  virtual void Rotate(int axis, float degrees, int mode);
  // World position and unit forward and up vectors.
  virtual void GetTransform(VECTOR3* position, VECTOR3* forward, VECTOR3* up);
  // Places the node with its forward axis along the direction (null: 0, 0, -1).
  virtual void SetTransform(const VECTOR3* position, const VECTOR3* forward, const VECTOR3* up);
  // Replaces the position row of the local matrix.
  virtual void SetPositionXYZ(float x, float y, float z);
  virtual void GetMatrix(MATRIX34* matrix, int local);
  virtual void SetMatrix(const MATRIX34* matrix, int mode);
  virtual void RotateByQuaternion(const QUATERNION* rotation, int mode);
  virtual int IsVisible();
  // Moves the node keeping its direction.
  virtual void MoveTo(float x, float y, float z);
  virtual void SetOpacity(float alpha);
  virtual float GetOpacity();
  // Returns what the node's kind reports (the creature: its object count).
  virtual int SetDrawMode(int mode);
  // One of the engine's per-node render states (5 colour as opacity, 22 source
  // blend factor, 23 destination blend factor).
  virtual int SetRenderState(int state, int value);
  // 1 when the screen point picks the node.
  virtual int HitTest(HOBJECT viewport, int x, int y);
  virtual SVisual* GetParent();
  virtual void SetParent(SVisual* parent);
  virtual HOBJECT GetNode() = 0;

 protected:
  float opacity_ = 1.0f;
  int visible_ = 1;

 private:
  SVisual* parent_ = nullptr;
};
