#pragma once
#include "engine/core/handles.h"

// Render-to-texture (Direct3D path): a material whose texture is a render
// target shows what a list of mesh nodes looks like through a camera node.
// Drawing stays 2 pixels inside the texture's edges.

// A material whose only frame is an empty render-target texture of that
// size, entered in the texture table under name; the material as it is when
// it already has a texture (of that name), without texture when the texture
// cannot be made; 0 on the software path, while closed, or when the table is
// full ("No more texture available." to the debugger output).
HOBJECT CreateRenderTextureMaterial(const float* ambient, const float* diffuse, const float* specular,
                                    const float* emissive, float power, const char* name, int width, int height,
                                    int keyOn, int keyRed, int keyGreen, int keyBlue);
// Turns the material's single texture into a render target: textures of at
// least 32 x 32 without mip levels. 1 when it is one.
int EnableRenderTexture(HOBJECT material);
// Mode 1 only: draws the listed meshes (triangle layout) flat, unlit and
// untextured into the material's render target through the camera.
int UpdateRenderTexture(const HOBJECT* nodes, int count, HOBJECT material, HOBJECT camera, int mode, int clear);
int RenderToTexture(const HOBJECT* nodes, int count, HOBJECT material, HOBJECT camera, int clear);
// The number of primitives a mesh draws: min(total, n), 0 for a negative n.
void SetMeshDrawLimit(HOBJECT node, int n);
