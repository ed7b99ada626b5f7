#pragma once
#include "engine/core/handles.h"

// Light nodes (kind data LIGHTDESC, nodes.h) shine along their local -Z.
// Light calls act only on light nodes; handle 0 is the node under construction.

// Range 3000; the colour is kept as (1, 1, 1) when null.
HOBJECT CreateLightNode(HOBJECT parent, int type, float intensity, const float* color);
void SetLightType(HOBJECT light, int type);
void SetLightIntensity(HOBJECT light, float intensity);
void SetLightColor(HOBJECT light, float red, float green, float blue);
void SetLightRange(HOBJECT light, float range);
// Each output optional; color receives three floats.
void GetLightProperties(HOBJECT light, float* intensity, float* color, float* range);
// Direct3D path: the angles; software path: the cosines of the half angles.
void SetSpotlightCone(HOBJECT light, float innerDegrees, float outerDegrees, float falloff);
