#pragma once
#include "components/gc_base.h"
#include "engine/core/handles.h"
#include "engine/core/math3d.h"

// One engine light node as a component. It registers with its society's
// light set so that creatures can ask which lights shine on them. Every
// operation on the light answers 0 without a light node, else 1.
class CGCBLight : public CGCBase {
 public:
  // kind: 1 directional, 2 point, 3 spot. Colour, range and intensity are
  // read from the node.
  CGCBLight(HOBJECT lightNode, int lightKind);
  ~CGCBLight() override;

  int Update(int n) override;
  // Joins the society and its light set; a society that is not a
  // CSocietyExt, or refuses the light, leaves it detached (0).
  int Attach(CSociety* society) override;
  // 0 without an owner.
  int Detach() override;
  // Shows or hides the light and makes it the on flag.
  void SetVisible(int visible) override;

  int GetVectors(VECTOR3* position, VECTOR3* forward, VECTOR3* up);
  int SetDirection(const VECTOR3* position, const VECTOR3* direction, const VECTOR3* up);
  int SetColour(const float* rgb);
  int SetRange(float value);
  int SetIntensity(float value);
  int SetKind(int kind);
  // Each output may be null.
  int GetProperties(int* kind, float* rgb, float* rangeOut, float* intensityOut);
  // Which of the two shines stronger at the point: -1 when this light is
  // off, or (with a point) not above it or out of range; 1 when it beats
  // other (always when other is null, or other is not above the point or
  // out of range); 0 otherwise. Without a point the intensities decide.
  int CompareAt(const CGCBLight* other, const VECTOR3* point) const;

  HOBJECT lightNode;
  int lightKind;
  int on = 1;
  float colour[3] = {1, 1, 1};
  float range = 0;
  float intensity = 0;

 private:
  // Whether the light stands higher than the point and reaches it.
  bool Reaches(const VECTOR3* point) const;
  // Intensity, over the squared distance for point and spot lights.
  float StrengthAt(const VECTOR3* point) const;
  VECTOR3 WorldPosition() const;
};
