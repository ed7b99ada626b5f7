#pragma once
#include "components/effect_element.h"

// Points a camera node from eye at target (engine coordinates) with a roll
// in degrees, writing its local transform; a target straight above or below
// only moves it. 0 when the node does not resolve.
int SetCameraLookAt(HOBJECT node, const VECTOR3& eye, const VECTOR3& target, float roll);

// An element over an engine camera node handed in by the effect; without a
// node it changes nothing.
class A_Camera : public A_Model {
 public:
  // The caller's node must survive the element.
  void ForgetNode() { node = 0; }
  void LookAt(float eyeX, float eyeY, float eyeZ, float targetX, float targetY, float targetZ, float roll);
  void LookAtFromHere(float x, float y, float z);
};

// An element over an engine light node.
class A_LightingModel : public A_Model {
 public:
  // 1 when a light was made.
  int CreateLight(int type, float intensity, float r, float g, float b);
  void SetIntensity(float value);
  // Each component kept within 0 to 1.
  void SetColor(float r, float g, float b);
  void GetColor(float* r, float* g, float* b) const;
  float GetIntensity() const { return intensity; }

  float colour[3] = {0, 0, 0};
  float intensity = 0;
};
