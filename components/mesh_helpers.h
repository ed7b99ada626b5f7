#pragma once
#include "engine/core/handles.h"
#include "engine/core/math3d.h"
#include "engine/core/nodes.h"

// Small builders and editors of engine meshes for the game side.

// A grid of (a - 1) x (b - 1) cells over w x d units centred on the origin at
// height 0.2, each cell two triangles with their own vertices, facing +Z and
// textured once over the whole grid. With renderTarget the texture is a
// render target of that name, textureSize square. 0 unless a > 1 and w x d
// is not 0.
HOBJECT CreateGridMesh(int a, int b, float w, float d, const char* textureName, int renderTarget, int textureSize);
// A pre-transformed quad over screen x .. x + width, y .. y + height at
// depth z, white or coloured, with a white material of the texture. The
// three load options are the texture's frame count, colour-key flag and key
// colour (0xBBGGRR). uFlip mirrors the texture, vFlip turns it upside down.
HOBJECT CreateTexturedQuad(float x, float y, float width, float height, float z, const char* textureName,
                           const float* colour, int frameCount, int keyFlag, int keyColour, int uFlip, int vFlip);
// Edits of the x and y of every vertex of the mesh's current frame.
void OffsetMeshXY(HOBJECT node, int dx, int dy);
void ScaleMeshXY(HOBJECT node, float sx, float sy);
// About (cx, cy) by radians; a vertex on the centre stays. The vertex count.
int RotateMeshXY(HOBJECT node, float angle, float cx, float cy);
// The first four vertices show the texture window u .. u + w, v .. v + h;
// the vertex array, null when the node has no mesh.
MESHVERTEX* SetQuadTextureRect(HOBJECT node, float w, float h, float u, float v);
// out = a + t (b - a) over the first n (at most 8) floats of each of count
// vertices; the other floats of out are not written.
void BlendVertices(int count, const MESHVERTEX* a, const MESHVERTEX* b, MESHVERTEX* out, float t, int n);
// Drops the fourth column.
void CopyMatrix44To34(const MATRIX44* source, MATRIX34* destination);
// The node handle of the default viewport's camera; 0 when there is none.
HOBJECT GetDefaultCameraHandle();
