#pragma once
#include <cstdint>

#include "engine/core/math3d.h"

namespace plat {
class Device3D;
}

struct CAMERADESC;
struct MESHDESC;
struct NODEDESC;
struct POINTSDESC;

// The primitive emitters: one mesh (or billboard, point list or debug
// overlay) becomes the device's draw calls. Draw flags are the device's
// (plat::kDrawDoNotClip, plat::kDrawDoNotLight).
//
// Triangles (A, B, C) are sent as C, B, A, and a second time as A, B, C when
// their face flags are non-zero (two-sided). A single-material triangle mesh
// goes in one call over its whole vertex array; otherwise the vertices of
// each run of primitives with one material are gathered into a batch. Index
// arrays are 32-bit and sized by the real count, so any mesh fits. Every
// emitter draws the mesh's first primitiveCountCopy primitives (its draw
// limit) and answers that number. The single-material path counts the
// second faces it draws in the frame statistics' triangle count.

// Chooses the emitter by the mesh's class (pre-transformed, pre-lit or
// device-lit), its primitive layout and the draw mode (0 textured, 1
// untextured, 2 wireframe).
int DrawMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);

int DrawTLMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);
int DrawTLMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
int DrawLitMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);
int DrawLightmapMesh(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
int DrawLitMeshRuns(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
int DrawLitMeshMixed(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);
int DrawLitMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
int DrawColorMesh(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);
int DrawColorMeshRuns(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
int DrawColorMeshMixed(plat::Device3D& device, MESHDESC* mesh, int drawMode, uint32_t drawFlags);
int DrawColorMeshLines(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);

// Debug overlays: the node's bounds box as lines, a mesh's vertices as points.
void DrawNodeBox(plat::Device3D& device, const NODEDESC* node, uint32_t drawFlags);
void DrawMeshVertices(plat::Device3D& device, MESHDESC* mesh, uint32_t drawFlags);
// The points of type 1 as one point list (the renderer leaves point lists undrawn).
void DrawPointsNode(plat::Device3D& device, const POINTSDESC* points);
// The billboard quad's four view-space corners against the camera's four
// side planes: 0 outside, 1 crossing, 2 inside.
int TestBillboardFrustum(const CAMERADESC* camera, const VECTOR3 corners[4]);
