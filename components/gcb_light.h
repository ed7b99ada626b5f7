#pragma once
#include "components/gc_base.h"
#include "engine/core/handles.h"

// One engine light node as a component; it registers with its society's light
// set so that creatures can ask which lights shine on them.
// MINIMAL: the light's colour, range and intensity, its setters and the light
// strength comparison are still missing.
class CGCBLight : public CGCBase {
 public:
  // kind: 1 directional, 2 point, 3 spot.
  CGCBLight(HOBJECT lightNode, int lightKind);
  ~CGCBLight() override;

  // Joins the society and its light set; a society that is not a CSocietyExt,
  // or refuses the light, leaves it detached (0).
  int Attach(CSociety* society) override;
  int Detach() override;

  HOBJECT lightNode;
  int lightKind;
  int on = 1;
};
