#pragma once
#include "engine/core/handles.h"

// Billboards: a textured quad facing the camera, owning its material.

// With a texture name the material is made with CreateTexturedMaterial and
// texture addressing of stage 0 is clamped; the four options go to the
// texture loader.
HOBJECT CreateBillboardNode(HOBJECT parent, const char* textureName, int frameCount, float width, float height,
                            int keyOption1, int keyOption2, int keyOption3, int keyOption4);
// Frame n counted from the first; past the last frame none is current.
void SetBillboardFrame(HOBJECT node, int frame);
// 1 while a frame is current.
int AdvanceBillboardFrame(HOBJECT node, int count, int wrap);
